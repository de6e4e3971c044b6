// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/twipsrect.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace kelsing {

/// The one mapping from twips (1/1440 inch) to device-independent pixels: 15 twips per pixel
/// at scale 1, so that the whole window scales by changing one factor.
class Twips {
public:
    static constexpr double kTwipsPerPixel = 15.0;
    /// The width of a single-line border: one pixel at scale 1.
    static constexpr int kBorderTwips = 15;

    explicit Twips(double scale = 1.0)
        : m_scale(scale) {}

    /// The largest mapping at which an area of `width` x `height` twips fits into `pixels`,
    /// never below `smallest`: the area keeps its proportions whatever shape `pixels` has.
    static Twips fitting(QSize pixels, int width, int height, double smallest = 1.0);

    double scale() const { return m_scale; }

    /// A length in pixels.
    int px(int twips) const;

    QPoint point(int x, int y) const;
    QSize size(int width, int height) const;
    QRect rect(int left, int top, int width, int height) const;
    QRect rect(const TwipsRect& r) const { return rect(r.left, r.top, r.width, r.height); }

    /// A pixel position back in twips (for finding what lies under a click).
    QPoint toTwips(QPoint pixels) const;

    /// The pixel size of a font of `points` (1 point = 20 twips).
    int fontPixels(double points) const;

    /// The width of a single-line border in device pixels on a device of `devicePixels` device
    /// pixels per pixel: rounded once, so that every border drawn there has it, never below one.
    int borderWidth(double devicePixels) const;

private:
    double m_scale;
};

} // namespace kelsing
