// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/fontchoice.h"
#include "base/int16.h"
#include "base/rgb.h"
#include "sheet/ownmark.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kelsing {

namespace Colours {
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGreen{0, 128, 0};
inline constexpr Rgb kPurple{128, 0, 128};
inline constexpr Rgb kOrangeBrown{192, 64, 0};
inline constexpr Rgb kSundayHead{255, 128, 255};
inline constexpr Rgb kSaturdayHead{255, 0, 255};
} // namespace Colours

namespace Fonts {
inline constexpr FontChoice kShiftLine{"Tahoma", 8};
inline constexpr FontChoice kLongShiftLine{"Smallfonts", 7}; // all-crews lines of 11 characters
inline constexpr FontChoice kDayNumber{"MS Sans Serif", 18};
inline constexpr FontChoice kCaption{"Small Fonts", 6.75};
} // namespace Fonts

/// What one day cell shows: its frame with the day number, the holiday or clock-change caption,
/// the single view's shift line and the side-by-side view's two half lines.
struct DayCell {
    std::string dayNumber; // Label2
    Rgb dayNumberColour = Colours::kBlack;
    std::string caption; // Label7
    std::string shift;   // Label4
    Rgb shiftColour = Colours::kBlack;
    FontChoice shiftFont = Fonts::kShiftLine;
    std::string leftShift; // Label12
    Rgb leftShiftColour = Colours::kBlack;
    std::string rightShift; // Label13
    Rgb rightShiftColour = Colours::kBlack;
    OwnMark own; // the user's own entry, single view only
    // Both crews side by side are off, marked only when the user asks for it.
    bool offTogether = false;
    friend bool operator==(const DayCell&, const DayCell&) = default;
};

/// A month of a year.
struct MonthYear {
    Int16 month = 1;
    Int16 year = 1;
    friend constexpr bool operator==(MonthYear, MonthYear) = default;
};

/// The month sheet: 38 day cells in rows of seven from Sunday under the weekday heads, and the
/// month title, which is the authority for the shown month.
struct SheetModel {
    static constexpr int kCellCount = 38;
    static constexpr int kColumnCount = 7;

    std::array<DayCell, kCellCount> cells;
    std::optional<MonthYear> title; // empty until a month has been laid out
    Int16 ShownMonth = 0;           // set from the title by every fill
    Int16 ShownYear = 0;
    friend bool operator==(const SheetModel&, const SheetModel&) = default;
};

/// The weekday heads, Sunday first.
inline constexpr std::array<std::string_view, SheetModel::kColumnCount> kWeekdayHeads = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

/// The text colour of weekday head k (0 = Sunday).
constexpr Rgb weekdayHeadColour(int k) {
    return k == 0 ? Colours::kSundayHead : k == 6 ? Colours::kSaturdayHead : Colours::kBlack;
}

} // namespace kelsing
