// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QRectF>
#include <QSize>

class QPainter;

namespace kelsing {

/// The program's pictures: its icon, the small images of the main window and its background.
namespace Pictures {

/// The program's icon, drawn for 48 x 48 pixels.
QIcon programIcon();

/// The information symbol of the info image, drawn for `size` at `devicePixelRatio`: the desktop
/// theme's when asked for and it has one, else the program's own. Looking in the theme reads
/// its index, a few milliseconds.
QPixmap infoPicture(QSize size, qreal devicePixelRatio, bool fromTheme = true);

/// The printer symbol of the printer image, drawn as the information symbol.
QPixmap printerPicture(QSize size, qreal devicePixelRatio, bool fromTheme = true);

/// The main window's background picture, drawn for `size` at `devicePixelRatio`.
QPixmap background(QSize size, qreal devicePixelRatio = 1.0);

/// Paints the background picture into `area` of a painter's device, as lines and areas where
/// the device keeps them so (a PDF file, a printer).
void paintBackground(QPainter& painter, const QRectF& area);

} // namespace Pictures

} // namespace kelsing
