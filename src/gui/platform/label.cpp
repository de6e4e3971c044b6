// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/label.h"

#include "platform/borderpainter.h"
#include "platform/labelaccessible.h"

#include <QMouseEvent>
#include <QPainter>

namespace kelsing {

Label::Label(const QString& objectName, QWidget* parent)
    : QWidget(parent) {
    setObjectName(objectName);
    LabelAccessible::install();
}

void Label::setText(const QString& text) {
    if (text == m_text) {
        return;
    }
    m_text = text;
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    update();
}

void Label::setAccessibleRole(QAccessible::Role role) {
    m_role = role;
}

void Label::click() {
    if (isEnabled()) {
        emit clicked();
    }
}

void Label::setTextColor(const QColor& color) {
    m_textColor = color;
    update();
}

void Label::setBackground(const QColor& background) {
    m_background = background;
    update();
}

void Label::setBorder(bool border) {
    m_border = border;
    update();
}

void Label::setTwips(const Twips& twips) {
    m_twips = twips;
    update();
}

void Label::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

void Label::setWordWrap(bool wrap) {
    m_wordWrap = wrap;
    update();
}

void Label::setUnderline(bool underline) {
    QFont f = font();
    f.setUnderline(underline);
    setFont(f);
}

void Label::setPixmap(const QPixmap& pixmap) {
    m_pixmap = pixmap;
    update();
}

void Label::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    if (m_background.isValid()) {
        painter.fillRect(area, m_background);
    }
    if (m_border) {
        BorderPainter(painter, m_twips, area).drawInside(area, Qt::black);
    }
    if (!m_pixmap.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(area, m_pixmap);
    }
    if (!m_text.isEmpty()) {
        // A disabled label is drawn greyed out.
        painter.setPen(isEnabled() ? m_textColor
                                   : palette().color(QPalette::Disabled, QPalette::Text));
        const int inset = m_border ? 2 : 0;
        painter.drawText(contentsRect().adjusted(inset, inset, -inset, -inset),
                         static_cast<int>(m_alignment) | (m_wordWrap ? Qt::TextWordWrap : 0),
                         m_text);
    }
}

void Label::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
}

void Label::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click) {
        emit clicked();
    }
}

void Label::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange) {
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace kelsing
