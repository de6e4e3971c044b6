// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "crews/crewcode.h"

#include <string>

namespace kelsing {

/// The name of a crew's calendar: the employer and the crew in the chooser's words, then
/// "shifts" ("Corvath 403 shifts", "Corvath All 506-509 shifts", "Halvex All shifts"). The one
/// rule for every calendar file of a crew's shifts, wherever it is written: its X-WR-CALNAME and
/// the stem of its default file name. The crew is found by the rotation its code selects, so a
/// code however it was written names the crew that the chooser hands out for that rotation; a
/// code no chooser entry hands out is named by itself ("Crew 12.3 shifts").
std::string crewCalendarName(CrewCode crew);

/// The default file name of a crew's calendar: its name and ".ics" ("Corvath 403 shifts.ics").
std::string crewCalendarFileName(CrewCode crew);

} // namespace kelsing
