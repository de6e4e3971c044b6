// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/label.h"

#include "platform/borderpainter.h"
#include "platform/keyboardfocus.h"
#include "platform/labelaccessible.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kelsing {

Label::Label(const QString& objectName, QWidget* parent)
    : QWidget(parent) {
    setObjectName(objectName);
    LabelAccessible::install();
    KeyboardFocus::install();
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
    paintFocus(painter);
}

void Label::paintFocus(QPainter& painter) {
    if (!KeyboardFocus::shows(this)) {
        return;
    }
    // Inside a border, clear of it, and inside the parent where a label reaches beyond it,
    // as the chooser's crew list does beyond its two-column width.
    QRect bounds = rect();
    if (const QWidget* parent = parentWidget()) {
        bounds &= QRect(mapFromParent(QPoint(0, 0)), parent->size());
    }
    BorderPainter(painter, m_twips, bounds)
        .drawInside(rect(), KeyboardFocus::kFrameColour,
                    m_border ? KeyboardFocus::kFrameWidthsIn : 0);
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

void Label::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        // A held key clicks once, as it does a button.
        if (!event->isAutoRepeat()) {
            click();
        }
        return;
    }
    if ((key == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
        (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        // The label's menu, where a right click in its middle would open it.
        const QPoint middle = rect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, middle, mapToGlobal(middle));
        QCoreApplication::sendEvent(this, &menu);
        return;
    }
    QWidget::keyPressEvent(event);
}

void Label::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange) {
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace kelsing
