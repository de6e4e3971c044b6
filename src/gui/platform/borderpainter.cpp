// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/borderpainter.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

namespace kelsing {

namespace {

// What floating point leaves of a position that falls on a device pixel's edge.
constexpr double kEdgeTolerance = 1e-6;

int snapped(double position) {
    return static_cast<int>(std::floor(position + 0.5));
}

} // namespace

BorderPainter::BorderPainter(QPainter& painter, const Twips& twips, const QRect& bounds)
    : m_painter(painter)
    , m_twips(twips)
    , m_toDevice(painter.deviceTransform()) {
    // Only the device pixels wholly inside: a window clips a control to whole device pixels,
    // which at a fractional ratio may leave out a pixel that the control only partly covers.
    const QRectF area = m_toDevice.mapRect(QRectF(bounds));
    m_bounds = QRect(QPoint(static_cast<int>(std::ceil(area.left() - kEdgeTolerance)),
                            static_cast<int>(std::ceil(area.top() - kEdgeTolerance))),
                     QPoint(static_cast<int>(std::floor(area.right() + kEdgeTolerance)) - 1,
                            static_cast<int>(std::floor(area.bottom() + kEdgeTolerance)) - 1));
    const double devicePixels = (std::abs(m_toDevice.m11()) + std::abs(m_toDevice.m22())) / 2;
    m_width = twips.borderWidth(devicePixels);
}

QPoint BorderPainter::toDevice(QPointF pixels) const {
    const QPointF device = m_toDevice.map(pixels);
    return {snapped(device.x()), snapped(device.y())};
}

void BorderPainter::drawFrame(const TwipsRect& place, const QColor& colour, int widthsIn) {
    const int border = Twips::kBorderTwips;
    fill(toDevice(m_twips.point(place.left, place.top)),
         toDevice(
             m_twips.point(place.left + place.width - border, place.top + place.height - border)),
         colour, widthsIn);
}

void BorderPainter::drawInside(const QRect& rect, const QColor& colour, int widthsIn) {
    fill(toDevice(rect.topLeft()),
         toDevice(rect.bottomRight() + QPoint(1, 1)) - QPoint(m_width, m_width), colour, widthsIn);
}

void BorderPainter::fill(QPoint first, QPoint last, const QColor& colour, int widthsIn) {
    // `first` is where the left and top lines start, `last` where the right and bottom ones do.
    const QPoint lowest = m_bounds.topLeft();
    const QPoint highest(std::max(lowest.x(), m_bounds.right() + 1 - m_width),
                         std::max(lowest.y(), m_bounds.bottom() + 1 - m_width));
    const auto inside = [&lowest, &highest](QPoint p) {
        return QPoint(std::clamp(p.x(), lowest.x(), highest.x()),
                      std::clamp(p.y(), lowest.y(), highest.y()));
    };
    // A frame inside a border moves in from where the border is drawn by whole line widths, so
    // that its gaps are alike on every side too.
    const QPoint in(widthsIn * m_width, widthsIn * m_width);
    first = inside(first) + in;
    last = inside(last) - in;
    last = QPoint(std::max(first.x(), last.x()), std::max(first.y(), last.y()));
    const int across = last.x() - first.x() + m_width;
    const int down = last.y() - first.y() + m_width;
    m_painter.save();
    // Drawn in device pixels themselves, so that each line covers whole pixels only.
    m_painter.setWorldTransform(m_painter.deviceTransform().inverted() *
                                m_painter.worldTransform());
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.fillRect(QRect(first.x(), first.y(), across, m_width), colour);
    m_painter.fillRect(QRect(first.x(), last.y(), across, m_width), colour);
    m_painter.fillRect(QRect(first.x(), first.y(), m_width, down), colour);
    m_painter.fillRect(QRect(last.x(), first.y(), m_width, down), colour);
    m_painter.restore();
}

} // namespace kelsing
