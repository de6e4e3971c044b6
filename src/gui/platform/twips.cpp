// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/twips.h"

#include <algorithm>
#include <cmath>

namespace kelsing {

Twips Twips::fitting(QSize pixels, int width, int height, double smallest) {
    const double across = pixels.width() * kTwipsPerPixel / width;
    const double down = pixels.height() * kTwipsPerPixel / height;
    return Twips(std::max(smallest, std::min(across, down)));
}

int Twips::px(int twips) const {
    return static_cast<int>(std::lround(twips * m_scale / kTwipsPerPixel));
}

QPoint Twips::point(int x, int y) const {
    return {px(x), px(y)};
}

QSize Twips::size(int width, int height) const {
    return {px(width), px(height)};
}

QRect Twips::rect(int left, int top, int width, int height) const {
    // Both edges are rounded, so rectangles that share an edge in twips share it in pixels.
    const int x = px(left);
    const int y = px(top);
    return {x, y, px(left + width) - x, px(top + height) - y};
}

QPoint Twips::toTwips(QPoint pixels) const {
    const double factor = kTwipsPerPixel / m_scale;
    return {static_cast<int>(std::floor(pixels.x() * factor)),
            static_cast<int>(std::floor(pixels.y() * factor))};
}

int Twips::fontPixels(double points) const {
    return std::max(1, static_cast<int>(std::lround(points * 20.0 * m_scale / kTwipsPerPixel)));
}

int Twips::borderWidth(double devicePixels) const {
    const double width = kBorderTwips * m_scale / kTwipsPerPixel * devicePixels;
    return std::max(1, static_cast<int>(std::lround(width)));
}

} // namespace kelsing
