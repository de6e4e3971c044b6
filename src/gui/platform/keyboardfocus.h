// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

class QAbstractButton;
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

/// The colour of the focus frame, one line drawn as the designed windows' borders are (with a
/// BorderPainter): the dark blue of their captions and connector lines, which stands out on
/// white, on the background picture and on the chooser's lavender.
inline const QColor kFrameColour{0, 0, 128};

/// How far inside a border the focus frame stands, in line widths: the border and a gap.
inline constexpr int kFrameWidthsIn = 2;

/// Makes Return and Enter click `button` as Space does, in a window that is no dialog.
void clickOnReturn(QAbstractButton* button);

} // namespace KeyboardFocus

} // namespace kelsing
