// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pictures.h"

#include <QPainter>
#include <QSvgRenderer>

namespace kelsing {

QIcon Pictures::programIcon() {
    return QIcon(QStringLiteral(":/kelsing/icons/kelsing-schedule.svg"));
}

namespace {

// The theme's symbol of a name if asked for and there is one, else the program's own picture,
// drawn straight from its file: an icon would load the toolkit's SVG icon plugin first.
QPixmap symbol(const QString& themeName, const QString& ownFile, QSize size, qreal devicePixelRatio,
               bool fromTheme) {
    if (fromTheme && QIcon::hasThemeIcon(themeName)) {
        return QIcon::fromTheme(themeName).pixmap(size, devicePixelRatio);
    }
    // Fitted into the size with its proportions kept, as an icon would be.
    QSvgRenderer renderer(ownFile);
    const QSize pixels =
        renderer.defaultSize().scaled(size * devicePixelRatio, Qt::KeepAspectRatio);
    QPixmap picture(pixels);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels) / devicePixelRatio));
    return picture;
}

} // namespace

QPixmap Pictures::infoPicture(QSize size, qreal devicePixelRatio, bool fromTheme) {
    return symbol(QStringLiteral("help-about"), QStringLiteral(":/kelsing/pictures/help-about.svg"),
                  size, devicePixelRatio, fromTheme);
}

QPixmap Pictures::printerPicture(QSize size, qreal devicePixelRatio, bool fromTheme) {
    return symbol(QStringLiteral("document-print"),
                  QStringLiteral(":/kelsing/pictures/document-print.svg"), size, devicePixelRatio,
                  fromTheme);
}

QPixmap Pictures::background(QSize size, qreal devicePixelRatio) {
    QPixmap picture(size * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    paintBackground(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return picture;
}

void Pictures::paintBackground(QPainter& painter, const QRectF& area) {
    QSvgRenderer renderer(QStringLiteral(":/kelsing/pictures/background.svg"));
    renderer.render(&painter, area);
}

} // namespace kelsing
