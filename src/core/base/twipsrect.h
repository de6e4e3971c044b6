// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelsing {

/// A rectangle in twips (1/1440 inch) within the main window's client area.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    constexpr bool contains(int x, int y) const {
        return x >= left && x < left + width && y >= top && y < top + height;
    }
    friend constexpr bool operator==(TwipsRect, TwipsRect) = default;
};

} // namespace kelsing
