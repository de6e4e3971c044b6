// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/int16.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelsing {

// A date as a whole number of days since 1899-12-30 (0 is Saturday 1899-12-30).
using DaySerial = std::int32_t;

inline constexpr Int16 kFirstYear = 100;
inline constexpr Int16 kLastYear = 9999;

/// The day serial of a valid Gregorian date.
DaySerial toDaySerial(std::chrono::year_month_day date);

/// The Gregorian date of a day serial.
std::chrono::year_month_day toYearMonthDay(DaySerial serial);

/// The date of a day serial as ISO 8601 text, YYYY-MM-DD.
std::string isoDate(DaySerial serial);

/// The day serial of ISO 8601 text YYYY-MM-DD, with a four-digit year 0100..9999 and a date that
/// exists in the calendar; nullopt for any other text.
std::optional<DaySerial> parseIsoDate(std::string_view text);

/// Whether a day serial lies in the supported years 100..9999.
bool isSupportedSerial(DaySerial serial);

/// Weekday counted from Sunday: 1 = Sunday ... 7 = Saturday.
Int16 sundayWeekday(DaySerial serial);

/// Weekday counted from Monday: 1 = Monday ... 7 = Sunday.
Int16 mondayWeekday(DaySerial serial);

} // namespace kelsing
