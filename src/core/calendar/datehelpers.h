// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/int16.h"
#include "calendar/dayserial.h"

namespace kelsing {

/// The one way dates are built: months outside 1..12 roll whole years, days outside the month
/// roll from the 1st (day 0 is the last day of the month before); throws DateRangeError when the
/// resulting date lies outside the years 100..9999.
DaySerial DateFromParts(Int16 year, Int16 month, Int16 day);

/// The Monday on or before the given date.
DaySerial GoToMonday(Int16 year, Int16 month, Int16 day);

/// The n-th occurrence (1 = first) of weekday dow (1 = Sunday) in a month; an n past the last
/// occurrence rolls into the next month.
DaySerial NDow(Int16 year, Int16 month, Int16 n, Int16 dow);

/// How often weekday dow (1 = Sunday) occurs in a month; 0 for a dow outside 1..7 and for any
/// failure, which it swallows.
Int16 DOWsInMonth(Int16 year, Int16 month, Int16 dow);

/// Gregorian Easter Sunday of a year.
DaySerial EasterDate(Int16 year);

} // namespace kelsing
