// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "testsupport.h"

#include <libical/ical.h>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kelsing::test {

/// An event of a calendar file as libical, a real iCalendar parser, reads it.
struct ParsedEvent {
    std::string uid;
    std::string summary;
    std::string description;
    DaySerial start = 0;
    DaySerial end = 0;    // exclusive
    std::string firstDay; // YYYYMMDD, as libical writes the first and the last day
    std::string lastDay;
};

inline DaySerial serialOfIcalDate(icaltimetype t) {
    return dateOf(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day));
}

/// The all-day events of a calendar file, read with libical; a failed test when libical finds
/// no calendar or any error in it.
inline std::vector<ParsedEvent> parseCalendar(const std::string& text) {
    std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)> calendar(
        icalparser_parse_string(text.c_str()), &icalcomponent_free);
    std::vector<ParsedEvent> events;
    if (!calendar) {
        ADD_FAILURE() << "libical cannot read the file";
        return events;
    }
    EXPECT_EQ(icalcomponent_isa(calendar.get()), ICAL_VCALENDAR_COMPONENT);
    EXPECT_EQ(icalcomponent_count_errors(calendar.get()), 0)
        << text.substr(text.size() > 400 ? text.size() - 400 : 0);
    for (icalcomponent* e =
             icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
         e != nullptr;
         e = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
        ParsedEvent event;
        event.uid = icalcomponent_get_uid(e);
        event.summary = icalcomponent_get_summary(e);
        if (const char* description = icalcomponent_get_description(e)) {
            event.description = description;
        }
        const icaltimetype start = icalcomponent_get_dtstart(e);
        EXPECT_TRUE(icaltime_is_date(start)) << event.uid;
        event.start = serialOfIcalDate(start);
        icaltimetype end = icalcomponent_get_dtend(e);
        event.end = serialOfIcalDate(end);
        event.firstDay = icaltime_as_ical_string(start);
        icaltime_adjust(&end, -1, 0, 0, 0);
        event.lastDay = icaltime_as_ical_string(end);
        events.push_back(event);
    }
    return events;
}

} // namespace kelsing::test
