// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/twipsrect.h"
#include "platform/twips.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QTransform>

class QPainter;

namespace kelsing {

/// Draws single-line borders on whole device pixels, all of one width: a line starts on the
/// device pixel where its place in twips falls, and its width is the border's rounded once for
/// the device. So frames that overlap by a border share one line, and no line comes out wider or
/// narrower than another for where it falls between device pixels: on a screen of any device
/// pixel ratio, in a window of any scale, and on a printed page.
class BorderPainter {
public:
    /// Borders drawn with `painter`, whose coordinates are the pixels of `twips` with twips (0, 0)
    /// at their origin; no line leaves `bounds` (pixels), the area that the painter paints. The
    /// painter's transformation must stay as it is while the borders are drawn.
    BorderPainter(QPainter& painter, const Twips& twips, const QRect& bounds);

    /// The border of a frame at `place`: its left and top lines on its first 15 twips, its right
    /// and bottom lines on its last, where a neighbour that overlaps it by a border has its own;
    /// or, for `widthsIn` above 0, a frame as many line widths inside that border.
    void drawFrame(const TwipsRect& place, const QColor& colour, int widthsIn = 0);

    /// A border along the inside of `rect` (pixels), for a control without a place in twips; or
    /// one `widthsIn` line widths further in.
    void drawInside(const QRect& rect, const QColor& colour, int widthsIn = 0);

    /// The width of every line, in device pixels.
    int width() const { return m_width; }

private:
    QPoint toDevice(QPointF pixels) const;
    void fill(QPoint first, QPoint last, const QColor& colour, int widthsIn);

    QPainter& m_painter;
    Twips m_twips;
    QTransform m_toDevice;
    QRect m_bounds; // in device pixels
    int m_width = 1;
};

} // namespace kelsing
