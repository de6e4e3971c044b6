// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "sheet/sheetmodel.h"

#include <chrono>
#include <cstdio>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace kelsing::test {

/// The day serial of a calendar date, worked out by chrono alone, so that a test never checks
/// DateFromParts against itself.
inline DaySerial dateOf(int year, unsigned month, unsigned day) {
    return toDaySerial(std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day});
}

/// YYYY-MM-DD of a day serial, for failure messages.
inline std::string iso(DaySerial serial) {
    const auto ymd = toYearMonthDay(serial);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u (serial %d)", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(serial));
    return text;
}

/// Gregorian month length by the leap-year rule, independent of chrono.
constexpr int monthLength(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

/// The lines of a text, without their line ends.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace kelsing::test

namespace kelsing {

// Readable failure messages for the sheet model.
inline void PrintTo(const Rgb& colour, std::ostream* os) {
    *os << "RGB(" << int{colour.red} << "," << int{colour.green} << "," << int{colour.blue} << ")";
}

inline void PrintTo(const FontChoice& font, std::ostream* os) {
    *os << "\"" << font.family << "\" " << font.pointSize;
}

inline void PrintTo(const DayCell& cell, std::ostream* os) {
    *os << "{day \"" << cell.dayNumber << "\" ";
    PrintTo(cell.dayNumberColour, os);
    *os << ", caption \"" << cell.caption << "\", shift \"" << cell.shift << "\" ";
    PrintTo(cell.shiftColour, os);
    *os << " ";
    PrintTo(cell.shiftFont, os);
    *os << ", left \"" << cell.leftShift << "\" ";
    PrintTo(cell.leftShiftColour, os);
    *os << ", right \"" << cell.rightShift << "\" ";
    PrintTo(cell.rightShiftColour, os);
    *os << "}";
}

} // namespace kelsing
