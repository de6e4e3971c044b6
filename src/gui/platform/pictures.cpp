#include "platform/pictures.h"

#include <QPainter>
#include <QSvgRenderer>

namespace kelsing {

QIcon Pictures::programIcon() {
    return QIcon(QStringLiteral(":/kelsing/icons/kelsing-schedule.svg"));
}

QIcon Pictures::infoIcon(bool fromTheme) {
    const QIcon own(QStringLiteral(":/kelsing/pictures/help-about.svg"));
    return fromTheme ? QIcon::fromTheme(QStringLiteral("help-about"), own) : own;
}

QIcon Pictures::printerIcon(bool fromTheme) {
    const QIcon own(QStringLiteral(":/kelsing/pictures/document-print.svg"));
    return fromTheme ? QIcon::fromTheme(QStringLiteral("document-print"), own) : own;
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
