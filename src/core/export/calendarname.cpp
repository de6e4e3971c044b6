// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/calendarname.h"

#include "base/errors.h"
#include "crews/crewcatalogue.h"

#include <algorithm>
#include <optional>

namespace kelsing {

std::string crewCalendarName(CrewCode crew) {
    std::optional<ScheduleSelection> selection;
    try {
        selection = crew.decode();
    } catch (const ArithmeticError&) {
        // A code beyond 16 bits selects no rotation and is named by itself below.
    }
    for (const CatalogueChoice& entry : CrewCatalogue::allChoices()) {
        if (selection && entry.choice.code.decode() == *selection) {
            std::string name = entry.choice.boxText;
            std::replace(name.begin(), name.end(), '\n', ' ');
            return name + " shifts";
        }
    }
    return "Crew " + crew.text() + " shifts";
}

std::string crewCalendarFileName(CrewCode crew) {
    std::string name = crewCalendarName(crew);
    // A file name never holds a folder separator, whatever a caption may come to hold.
    std::replace(name.begin(), name.end(), '/', '-');
    return name + ".ics";
}

} // namespace kelsing
