// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "sheet/textsheet.h"
#include "sheet/yearsheet.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kelsing {

/// What a year or a month says beside its days for two crews: how many days both are off, and
/// the next shared weekends.
struct OffTogetherSummary {
    int days = 0;
    std::string span;                // "2007", "March 2007"
    DaySerial from = 0;              // where the weekends were looked for from
    std::vector<DaySerial> weekends; // their Saturdays
};

/// The crews of a year's title: the single crew's name, or both names side by side ("Halvex P-6
/// | Corvath 403"), a side without a crew said so; empty without any crew.
std::string yearCrewsTitle(const YearSheet& year, const std::array<std::string, 2>& names);

/// A weekend by its Saturday: "17-18 Mar 2007", "31 Mar-1 Apr 2007", "30-31 Dec 2006".
std::string weekendText(DaySerial saturday);

/// The lines that follow a sheet of two crews: "14 days off together in 2007" and the next
/// shared weekends, one a line.
std::string renderOffTogether(const OffTogetherSummary& summary);

/// The year as a terminal shows it, in 80 columns: the crews, three months across with weeks
/// from Sunday, each day's number in its shift's colour (with two crews only where both have
/// the same shift), holidays marked "+" and listed under their month, days off together
/// marked "*", today in reverse video, and a legend.
std::string renderYear(const YearSheet& year, const std::array<std::string, 2>& names,
                       DaySerial today, const TextSheetOptions& options);

} // namespace kelsing
