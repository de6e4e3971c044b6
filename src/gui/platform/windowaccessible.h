// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>

class QWidget;

namespace kelsing {

/// What a screen reader makes of the program's windows: the role each announces itself by, and
/// the popups it can find. Qt calls every plain window a "filler" and leaves popups out of the
/// program's tree, where a screen reader looks for what has the focus.
namespace WindowAccessible {

/// Gives the top-level `window` its role (a frame, a dialog); a popup so marked is in the
/// program's tree while it shows. Call before anything asks for the window's interface.
void setRole(QWidget* window, QAccessible::Role role);

} // namespace WindowAccessible

} // namespace kelsing
