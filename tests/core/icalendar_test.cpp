// SPDX-License-Identifier: GPL-3.0-or-later
// Calendar files of a crew's shifts, read back with libical, a real iCalendar parser.

#include "calendar/observances.h"
#include "crews/crewcatalogue.h"
#include "export/calendarname.h"
#include "export/icalendar.h"
#include "export/shiftcalendarwriter.h"
#include "icalreading.h"
#include "rotation/rotationengine.h"
#include "testsupport.h"

#include <cstdint>
#include <libical/ical.h>
#include <limits>
#include <map>
#include <memory>
#include <sstream>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

using test::dateOf;

using ParsedEvent = test::ParsedEvent;

std::vector<ParsedEvent> parse(const std::string& text) {
    return test::parseCalendar(text);
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

// A calendar that holds a merged export and a day-by-day one of the same days keeps every event:
// no two share a UID, and a run's UID names its first and last day as libical reads them.
TEST(ShiftCalendarTest, MergedRunsNeverTakeTheUidOfADay) {
    const DaySerial from = dateOf(2020, 1, 1);
    const DaySerial to = dateOf(2020, 3, 31);
    for (const double code : {10.0, 14.0, 74.0, 83.2}) {
        const CrewCode crew(code);
        SCOPED_TRACE(crew.text());
        std::map<std::string, int> uses;
        std::vector<ParsedEvent> events =
            parse(shiftCalendar(crew, "x", from, to, options(true, true)));
        ASSERT_FALSE(events.empty());
        for (const ParsedEvent& run : events) {
            EXPECT_TRUE(run.uid.starts_with(run.firstDay + '-' + run.lastDay + '-')) << run.uid;
        }
        for (const ParsedEvent& day :
             parse(shiftCalendar(crew, "x", from, to, options(true, false)))) {
            events.push_back(day);
        }
        for (const ParsedEvent& event : events) {
            EXPECT_EQ(++uses[event.uid], 1) << event.uid;
        }
    }
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

// The calendar's last day has no next day with a four-digit year: its events must still read
// without an error, and end where they should.
struct LastDayCase {
    int fromDay; // in December 9999
    bool includeOff;
    bool merge;
};

class LastDayTable : public ::testing::TestWithParam<LastDayCase> {};

TEST_P(LastDayTable, EventsEndingOnTheLastDayStayValid) {
    const LastDayCase& c = GetParam();
    const DaySerial from = dateOf(9999, 12, static_cast<unsigned>(c.fromDay));
    const DaySerial last = dateOf(9999, 12, 31);
    const std::vector<ParsedEvent> events = parse(
        shiftCalendar(CrewCode(83.2), "Corvath 403", from, last, options(c.includeOff, c.merge)));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().end, last + 1);
    DaySerial covered = 0;
    for (const ParsedEvent& event : events) {
        EXPECT_GE(event.start, from);
        EXPECT_LE(event.end, last + 1);
        covered += event.end - event.start;
    }
    if (c.includeOff) {
        EXPECT_EQ(covered, last - from + 1); // Corvath 403 has a shift or "Off" every day
    }
}

INSTANTIATE_TEST_SUITE_P(December9999, LastDayTable,
                         ::testing::Values(LastDayCase{31, false, false},
                                           LastDayCase{31, true, true}, LastDayCase{1, true, false},
                                           LastDayCase{1, true, true},
                                           LastDayCase{25, false, true}));

// Pieces of any size join to the same file, merged runs across their seams included, and the
// progress climbs from 0 to 1.
class WriterSliceTable : public ::testing::TestWithParam<int> {};

TEST_P(WriterSliceTable, PiecesJoinToTheWholeCalendar) {
    const DaySerial from = dateOf(2007, 2, 20);
    const DaySerial to = dateOf(2008, 3, 10);
    const std::string whole =
        shiftCalendar(CrewCode(10), "Brenmoor A Crew", from, to, options(true, true));
    ShiftCalendarWriter writer(CrewCode(10), "Brenmoor A Crew shifts", from, to,
                               options(true, true));
    EXPECT_EQ(writer.progress(), 0.0);
    std::string joined;
    double progress = 0;
    while (writer.next(joined, GetParam())) {
        EXPECT_GE(writer.progress(), progress);
        EXPECT_LE(writer.nextDay() - from, to - from + 1);
        progress = writer.progress();
    }
    EXPECT_TRUE(writer.finished());
    EXPECT_EQ(writer.progress(), 1.0);
    EXPECT_EQ(writer.nextDay(), to + 1);
    EXPECT_EQ(joined, whole);
}

INSTANTIATE_TEST_SUITE_P(Days, WriterSliceTable, ::testing::Values(0, 1, 2, 7, 31, 366, 5000));

// The stamp keeps a four-digit year whatever the clock says; expected texts from GNU date -u.
struct StampCase {
    std::int64_t seconds;
    const char* stamp;
};

class StampTable : public ::testing::TestWithParam<StampCase> {};

TEST_P(StampTable, AValidUtcDateTime) {
    EXPECT_EQ(calendarStamp(GetParam().seconds), GetParam().stamp);
}

INSTANTIATE_TEST_SUITE_P(
    Clock, StampTable,
    ::testing::Values(StampCase{0, "19700101T000000Z"}, StampCase{1000000000, "20010909T014640Z"},
                      StampCase{-1, "19691231T235959Z"},
                      StampCase{253402300799, "99991231T235959Z"},
                      StampCase{253402300800, "99991231T235959Z"},
                      StampCase{std::numeric_limits<std::int64_t>::max(), "99991231T235959Z"},
                      StampCase{-59011459200, "01000101T000000Z"},
                      StampCase{-59011459201, "01000101T000000Z"},
                      StampCase{std::numeric_limits<std::int64_t>::min(), "01000101T000000Z"}));

// One name for a crew's calendar, in the chooser's words, whatever wording a crew box has.
struct NameCase {
    double code;
    const char* name;
};

class CalendarNameTable : public ::testing::TestWithParam<NameCase> {};

TEST_P(CalendarNameTable, NamedInTheChoosersWords) {
    const CrewCode crew(GetParam().code);
    EXPECT_EQ(crewCalendarName(crew), GetParam().name);
    EXPECT_EQ(crewCalendarFileName(crew), std::string(GetParam().name) + ".ics");
}

INSTANTIATE_TEST_SUITE_P(Crews, CalendarNameTable,
                         ::testing::Values(NameCase{83.2, "Corvath 403 shifts"},
                                           NameCase{84.9, "Corvath All 506-509 shifts"},
                                           NameCase{84.4, "Corvath All 501-504 shifts"},
                                           NameCase{70.4, "Halvex All shifts"},
                                           NameCase{14, "Brenmoor All Crews shifts"},
                                           NameCase{99, "Tobrin's All X Crews shifts"},
                                           NameCase{80 + 0.2, "Corvath 3 shifts"},
                                           NameCase{12.3, "Crew 12.3 shifts"},
                                           NameCase{1e6, "Crew 1000000 shifts"}));

} // namespace
} // namespace kelsing
