// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/twipsrect.h"
#include "sheet/sheetmodel.h"

#include <optional>

namespace kelsing {

/// Where the parts of the sheet stand; neighbouring frames overlap by 15 twips so that they share
/// one border line.
namespace SheetLayout {

inline constexpr TwipsRect kMonthTitle{1680, 120, 3615, 495};

/// The update notice, element 38 of the cells' frames: in the sixth row right of its three
/// cells, where no day ever falls, sharing its left, top, right and bottom lines with the grid's.
inline constexpr TwipsRect kNotice{3000, 4560, 3855, 735};

constexpr int column(int cell) {
    return cell % SheetModel::kColumnCount;
}
constexpr int row(int cell) {
    return cell / SheetModel::kColumnCount;
}

/// Head k (0 = Sunday) of the weekday row.
constexpr TwipsRect weekdayHead(int k) {
    return {120 + 960 * k, 720, 975, 255};
}

/// The bordered frame of a cell, with its day number in the upper right.
constexpr TwipsRect dayFrame(int c) {
    return {120 + 960 * column(c), 960 + 720 * row(c), 975, 735};
}

/// The caption in a cell's upper left; cells 0, 1, 2 and 8 were laid out wider.
constexpr TwipsRect caption(int c) {
    const bool wide = c == 0 || c == 1 || c == 2 || c == 8;
    return {120 + 960 * column(c), 960 + 720 * row(c), wide ? 615 : 495, 495};
}

/// The single view's shift line along a cell's lower edge.
constexpr TwipsRect shiftLine(int c) {
    return {120 + 960 * column(c), 1440 + 720 * row(c), 975, 255};
}

/// The left crew's half of the shift line.
constexpr TwipsRect leftHalf(int c) {
    return {120 + 960 * column(c), 1440 + 720 * row(c), 495, 255};
}

/// The right crew's half of the shift line.
constexpr TwipsRect rightHalf(int c) {
    return {600 + 960 * column(c), 1440 + 720 * row(c), 495, 255};
}

/// The cell whose frame holds the point; in the shared border the later cell, drawn on top, wins.
constexpr std::optional<int> cellAt(int x, int y) {
    for (int c = SheetModel::kCellCount - 1; c >= 0; --c) {
        if (dayFrame(c).contains(x, y)) {
            return c;
        }
    }
    return std::nullopt;
}

} // namespace SheetLayout

} // namespace kelsing
