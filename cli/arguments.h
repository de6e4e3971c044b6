// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/int16.h"
#include "calendar/dayserial.h"
#include "crews/crewcatalogue.h"
#include "sheet/sheetmodel.h"

#include <optional>
#include <string_view>

namespace kelsing::cli {

/// An ISO date YYYY-MM-DD with a four-digit year 0100..9999 that exists in the calendar.
std::optional<DaySerial> parseIsoDate(std::string_view text);

/// A year 100..9999 written as plain decimal digits.
std::optional<Int16> parseYear(std::string_view text);

/// A 16-bit signed integer written as decimal digits with an optional minus sign.
std::optional<Int16> parseInt16(std::string_view text);

/// A crew as the chooser hands it out: a crew code (14, 80.2) or a path of exact captions
/// ("Brenmoor/All Crews", "Corvath/401-404/403").
std::optional<CrewChoice> parseCrew(std::string_view text);

/// A month YYYY-MM with a four-digit year 0100..9999.
std::optional<MonthYear> parseYearMonth(std::string_view text);

} // namespace kelsing::cli
