#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace kelsing {

/// The program's pictures: its icon, the small images of the main window and its background.
namespace Pictures {

/// The program's icon, drawn for 48 x 48 pixels.
QIcon programIcon();

/// The information symbol of the info image: the desktop theme's, else the program's own.
QIcon infoIcon();

/// The printer symbol of the printer image: the desktop theme's, else the program's own.
QIcon printerIcon();

/// The main window's background picture, drawn for `size` at `devicePixelRatio`.
QPixmap background(QSize size, qreal devicePixelRatio = 1.0);

} // namespace Pictures

} // namespace kelsing
