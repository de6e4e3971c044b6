// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a calendar file with libical, an independent iCalendar reader, and prints each event's
// first day and summary, YYYY-MM-DD<TAB>SUMMARY; exit status 1 when libical cannot read it or
// finds a fault in it.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <libical/ical.h>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kelsing_feed_reader FILE\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)> calendar(
        icalparser_parse_string(text.c_str()), &icalcomponent_free);
    if (!calendar || icalcomponent_isa(calendar.get()) != ICAL_VCALENDAR_COMPONENT) {
        std::cerr << argv[1] << ": not a calendar\n";
        return 1;
    }
    if (const int errors = icalcomponent_count_errors(calendar.get()); errors != 0) {
        std::cerr << argv[1] << ": " << errors << " faults\n";
        return 1;
    }
    for (icalcomponent* event =
             icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
         event != nullptr;
         event = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
        const icaltimetype start = icalcomponent_get_dtstart(event);
        std::printf("%04d-%02d-%02d\t%s\n", start.year, start.month, start.day,
                    icalcomponent_get_summary(event));
    }
    return 0;
}
