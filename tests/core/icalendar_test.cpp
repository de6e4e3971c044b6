// Calendar files of a crew's shifts, read back with libical, a real iCalendar parser.

#include "calendar/observances.h"
#include "crews/crewcatalogue.h"
#include "export/icalendar.h"
#include "rotation/rotationengine.h"
#include "testsupport.h"

#include <libical/ical.h>
#include <map>
#include <memory>
#include <sstream>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

using test::dateOf;

struct ParsedEvent {
    std::string uid;
    std::string summary;
    std::string description;
    DaySerial start = 0;
    DaySerial end = 0; // exclusive
};

DaySerial serialOf(icaltimetype t) {
    return dateOf(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day));
}

std::vector<ParsedEvent> parse(const std::string& text) {
    std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)> calendar(
        icalparser_parse_string(text.c_str()), &icalcomponent_free);
    std::vector<ParsedEvent> events;
    if (!calendar) {
        ADD_FAILURE() << "libical cannot read the file";
        return events;
    }
    EXPECT_EQ(icalcomponent_isa(calendar.get()), ICAL_VCALENDAR_COMPONENT);
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
        event.start = serialOf(start);
        event.end = serialOf(icalcomponent_get_dtend(e));
        events.push_back(event);
    }
    return events;
}

std::string label(CrewCode crew, DaySerial date) {
    const ScheduleSelection s = crew.decode();
    return std::string(labelText(ASS(static_cast<float>(date), s.code, s.subCode)));
}

ShiftCalendarOptions options(bool includeOff, bool merge, std::string stamp = "20070301T120000Z") {
    return {includeOff, merge, std::move(stamp)};
}

TEST(ShiftCalendarTest, EveryDaysLabelRoundTripsThroughAParser) {
    const DaySerial from = dateOf(2007, 1, 1);
    const DaySerial to = dateOf(2007, 12, 31);
    for (const CatalogueChoice& entry : CrewCatalogue::allChoices()) {
        const CrewCode crew = entry.choice.code;
        SCOPED_TRACE(crew.text());
        for (const bool includeOff : {false, true}) {
            std::map<DaySerial, std::string> expected;
            for (DaySerial d = from; d <= to; ++d) {
                const std::string shift = label(crew, d);
                if (!shift.empty() && (includeOff || shift != "Off")) {
                    expected[d] = shift;
                }
            }
            std::map<DaySerial, std::string> found;
            for (const ParsedEvent& event :
                 parse(shiftCalendar(crew, "x", from, to, options(includeOff, false)))) {
                EXPECT_EQ(event.end, event.start + 1);
                found[event.start] = event.summary;
            }
            EXPECT_EQ(found, expected);
        }
    }
}

TEST(ShiftCalendarTest, CaptionsGoIntoTheDescription) {
    const CrewCode crew(14);
    const YearObservances observances(2007);
    for (const ParsedEvent& event :
         parse(shiftCalendar(crew, "Brenmoor All Crews", dateOf(2007, 1, 1), dateOf(2007, 12, 31),
                             options(false, false)))) {
        EXPECT_EQ(event.description, observances.captionFor(event.start));
    }
}

TEST(ShiftCalendarTest, AReExportKeepsItsUids) {
    const CrewCode crew(83.2);
    const auto uids = [&](const std::string& stamp) {
        std::vector<std::string> found;
        for (const ParsedEvent& event :
             parse(shiftCalendar(crew, "Corvath 403", dateOf(2007, 3, 1), dateOf(2007, 5, 31),
                                 options(true, false, stamp)))) {
            found.push_back(event.uid);
        }
        return found;
    };
    const std::vector<std::string> first = uids("20070301T120000Z");
    EXPECT_EQ(first.size(), 92u);
    EXPECT_EQ(first, uids("20080101T000000Z"));
    EXPECT_EQ(first.front(), "20070301-crew83.2@kelsing-shifts");
    // Another crew's events never take these identities.
    const std::string other = shiftCalendar(CrewCode(83.1), "Corvath 402", dateOf(2007, 3, 1),
                                            dateOf(2007, 3, 1), options(true, false));
    EXPECT_EQ(other.find(first.front()), std::string::npos);
}

TEST(ShiftCalendarTest, MergedRunsCoverTheSameDays) {
    const CrewCode crew(10);
    const DaySerial from = dateOf(2007, 3, 1);
    const DaySerial to = dateOf(2007, 4, 30);
    const std::vector<ParsedEvent> runs =
        parse(shiftCalendar(crew, "Brenmoor A Crew", from, to, options(true, true)));
    DaySerial next = from;
    std::string previous;
    for (const ParsedEvent& run : runs) {
        EXPECT_EQ(run.start, next);
        EXPECT_NE(run.summary, previous); // a run ends where the shift changes
        for (DaySerial d = run.start; d < run.end; ++d) {
            EXPECT_EQ(label(crew, d), run.summary);
        }
        next = run.end;
        previous = run.summary;
    }
    EXPECT_EQ(next, to + 1);
    // The clock change falls on Sunday 11 March 2007 inside a run.
    bool found = false;
    for (const ParsedEvent& run : runs) {
        found = found || run.description.find("2007-03-11 DST Starts") != std::string::npos;
    }
    EXPECT_TRUE(found);
}

TEST(ShiftCalendarTest, HeaderNamesTheProgram) {
    const std::string text =
        shiftCalendar(CrewCode(14), "Brenmoor All Crews", 0, -1, options(false, false));
    EXPECT_EQ(text, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
                    "PRODID:-//Kelsing//Kelsing Shift Workers Schedule 2.3.0//EN\r\n"
                    "CALSCALE:GREGORIAN\r\nMETHOD:PUBLISH\r\n"
                    "X-WR-CALNAME:Brenmoor All Crews shifts\r\nEND:VCALENDAR\r\n");
}

TEST(CalendarTextTest, EscapesTextValues) {
    EXPECT_EQ(escapeCalendarText("a,b;c\\d\ne"), "a\\,b\\;c\\\\d\\ne");
    EXPECT_EQ(escapeCalendarText("Tobrin's"), "Tobrin's");
}

TEST(CalendarTextTest, FoldsLongLinesAtSeventyFiveOctets) {
    for (const std::string& line :
         {std::string(75, 'a'), std::string(76, 'b'), std::string(300, 'c'),
          "DESCRIPTION:" + std::string(70, 'x') + "\xc3\xa9\xc3\xa9\xc3\xa9" +
              std::string(80, 'y')}) {
        const std::string folded = foldCalendarLine(line);
        ASSERT_TRUE(folded.ends_with("\r\n"));
        std::string unfolded;
        std::istringstream in(folded);
        for (std::string part; std::getline(in, part);) {
            ASSERT_TRUE(part.ends_with('\r'));
            part.pop_back();
            EXPECT_LE(part.size(), 75u);
            // No continuation starts in the middle of a UTF-8 character.
            if (unfolded.empty()) {
                unfolded = part;
            } else {
                ASSERT_EQ(part.front(), ' ');
                EXPECT_NE(static_cast<unsigned char>(part[1]) & 0xC0, 0x80);
                unfolded += part.substr(1);
            }
        }
        EXPECT_EQ(unfolded, line);
    }
}

} // namespace
} // namespace kelsing
