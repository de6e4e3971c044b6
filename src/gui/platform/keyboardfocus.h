// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAbstractButton;
class QPainter;
class QRect;
class QWidget;

namespace kelsing {

/// Where the keyboard focus shows: in a window only once its user has pressed a key there, and
/// no longer after a mouse press, so that a window used with the mouse alone looks as designed.
/// The window's Qt::WA_KeyboardFocusChange says which, as it does for Qt's own styles.
namespace KeyboardFocus {

/// Watches the program's key and mouse presses, once per program.
void install();

/// Whether `widget` has the focus and its window shows it.
bool shows(const QWidget* widget);

/// Draws the focus frame inside `area`: one line, as wide as the designed windows' borders.
void paintFrame(QPainter& painter, const QRect& area);

/// Makes Return and Enter click `button` as Space does, in a window that is no dialog.
void clickOnReturn(QAbstractButton* button);

} // namespace KeyboardFocus

} // namespace kelsing
