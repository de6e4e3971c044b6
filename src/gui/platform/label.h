// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/twips.h"

#include <QAccessible>
#include <QColor>
#include <QPixmap>
#include <QWidget>

class QPainter;

namespace kelsing {

/// A label of the designed windows: plain text (never rich text) or a picture, transparent or
/// opaque, with or without a single-line border, and a click made of a press and a release on it.
/// The text keeps within the contents margins.
class Label final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Label)

public:
    explicit Label(const QString& objectName, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor& color);

    /// An opaque label fills its area with `background`; an invalid colour keeps it transparent.
    void setBackground(const QColor& background);
    void setBorder(bool border);
    /// The mapping the label is laid out at, which gives its border's and focus frame's width.
    void setTwips(const Twips& twips);
    void setAlignment(Qt::Alignment alignment);
    void setWordWrap(bool wrap);
    void setUnderline(bool underline);
    void setPixmap(const QPixmap& pixmap);
    bool hasPixmap() const { return !m_pixmap.isNull(); }

    /// What a screen reader calls the label: static text unless its owner says otherwise (a
    /// button, a link, a list entry).
    QAccessible::Role accessibleRole() const { return m_role; }
    void setAccessibleRole(QAccessible::Role role);

    /// Clicks the label as the user would, for a screen reader's press action, Return or Space;
    /// a disabled label takes no clicks.
    void click();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintFocus(QPainter& painter);
    QString m_text;
    QColor m_textColor = Qt::black;
    QColor m_background;
    QPixmap m_pixmap;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignTop;
    bool m_border = false;
    Twips m_twips;
    bool m_wordWrap = false;
    bool m_pressed = false;
    QAccessible::Role m_role = QAccessible::StaticText;
};

} // namespace kelsing
