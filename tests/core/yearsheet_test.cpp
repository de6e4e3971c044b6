// SPDX-License-Identifier: GPL-3.0-or-later
// The year at a glance: its days against the calendar, the days two crews are off together
// against the rotation, and the year as a terminal draws it.

#include "calendar/datehelpers.h"
#include "rotation/rotationengine.h"
#include "sheet/offtogether.h"
#include "sheet/sheetfills.h"
#include "sheet/textyear.h"
#include "sheet/yearsheet.h"
#include "testsupport.h"

#include <algorithm>
#include <chrono>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

using test::dateOf;
using test::linesOf;

bool off(CrewCode crew, DaySerial date) {
    const ScheduleSelection rotation = crew.decode();
    return labelText(ASS(static_cast<float>(date), rotation.code, rotation.subCode)) == "Off";
}

class YearSheetTable : public ::testing::TestWithParam<int> {};

// Every day once, in the cell of its weekday from Sunday; both crews off exactly where the
// rotation says "Off" for both; every holiday listed under its month in date order.
TEST_P(YearSheetTable, DaysWeekdaysAndDaysOffTogether) {
    const int year = GetParam();
    const CrewCode left(74);
    const CrewCode right(70.1);
    const YearSheet sheet = yearSheet(static_cast<Int16>(year), {true, {}, left, right});
    int days = 0;
    int together = 0;
    for (unsigned month = 1; month <= 12; ++month) {
        const YearMonth& block = sheet.months[month - 1];
        std::vector<YearHoliday> captions;
        for (std::size_t c = 0; c < block.cells.size(); ++c) {
            const YearDay& day = block.cells[c];
            if (day.day == 0) {
                continue;
            }
            ++days;
            const auto date = std::chrono::year{year} / std::chrono::month{month} /
                              std::chrono::day{static_cast<unsigned>(day.day)};
            ASSERT_TRUE(date.ok()) << year << '-' << month << '-' << day.day;
            EXPECT_EQ(day.date, dateOf(year, month, static_cast<unsigned>(day.day)));
            EXPECT_EQ(c % 7, std::chrono::weekday{std::chrono::sys_days{date}}.c_encoding());
            EXPECT_EQ(day.offTogether, off(left, day.date) && off(right, day.date))
                << test::iso(day.date);
            together += day.offTogether ? 1 : 0;
            if (!day.caption.empty()) {
                captions.push_back({day.day, day.caption});
            }
        }
        EXPECT_EQ(block.holidays, captions);
    }
    const bool leap = std::chrono::year{year}.is_leap();
    EXPECT_EQ(days, leap ? 366 : 365);
    EXPECT_EQ(sheet.daysOffTogether, together);
}

INSTANTIATE_TEST_SUITE_P(EdgesAndLeapYears, YearSheetTable,
                         ::testing::Values(100, 1900, 2000, 2007, 2008, 9999));

// One crew, or two with a side empty, is never off together; the empty side is said.
TEST(YearSheetTest, NoDaysOffTogetherWithoutTwoCrews) {
    const std::array<std::string, 2> names = {"Halvex P-6", "Corvath 403"};
    const std::pair<ViewCrews, std::string> views[] = {
        {{false, CrewCode(74), {}, {}}, "Halvex P-6"},
        {{true, {}, {}, CrewCode(83.2)}, "no crew on the left | Corvath 403"},
        {{true, {}, CrewCode(74), {}}, "Halvex P-6 | no crew on the right"},
        {{true, {}, {}, {}}, ""}};
    for (const auto& [crews, title] : views) {
        const YearSheet sheet = yearSheet(2007, crews);
        EXPECT_EQ(sheet.daysOffTogether, 0) << title;
        EXPECT_EQ(yearCrewsTitle(sheet, names), title);
        EXPECT_TRUE(DaysOffTogether(crews).sharedWeekends(dateOf(2007, 1, 1)).empty()) << title;
    }
}

// Own days on the single crew's year: each entry on its date only, the rotation's shift struck
// through exactly where the rotation has the crew working and the entry replaces it, the same
// mark as the month sheet's.
struct OwnYearRow {
    OwnDay entry;
    std::string entryText;
    bool replaces; // whether the entry stands in for a worked shift
};

class OwnYearTable : public ::testing::TestWithParam<OwnYearRow> {};

TEST_P(OwnYearTable, MarkedAsOnTheMonthSheet) {
    const OwnYearRow& row = GetParam();
    const CrewCode crew(83.2);
    const auto ymd = toYearMonthDay(row.entry.date);
    const Int16 year = static_cast<Int16>(int(ymd.year()));
    const OwnDays days({row.entry});
    const YearSheet sheet = yearSheet(year, {false, crew, {}, {}}, &days);
    EXPECT_TRUE(sheet.hasOwnDays);
    int marked = 0;
    for (const YearMonth& block : sheet.months) {
        for (const YearDay& day : block.cells) {
            if (day.own.word.empty()) {
                continue;
            }
            ++marked;
            EXPECT_EQ(day.date, row.entry.date);
            EXPECT_EQ(day.own.entryText, row.entryText);
            const ScheduleSelection rotation = crew.decode();
            const std::string shift(
                labelText(ASS(static_cast<float>(day.date), rotation.code, rotation.subCode)));
            EXPECT_EQ(day.own.rotationWorked, !(row.replaces && shift != "Off")) << shift;
            const MonthYear month{static_cast<Int16>(unsigned(ymd.month())), year};
            const SheetModel monthly = monthSheet(month, {false, crew, {}, {}}, 0, &days);
            const DaySerial first = DateFromParts(year, month.month, 1);
            const DayCell& cell =
                monthly.cells[static_cast<std::size_t>(cellOfDay(sundayWeekday(first), day.day))];
            EXPECT_EQ(day.own, cell.own);
        }
    }
    EXPECT_EQ(marked, 1);
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, OwnYearTable,
    ::testing::Values(
        OwnYearRow{{dateOf(2008, 1, 1), OwnDayKind::Leave, "", ""}, "Leave", true},
        OwnYearRow{{dateOf(2008, 2, 29), OwnDayKind::Sick, "", "flu"}, "Sick", true},
        OwnYearRow{{dateOf(2007, 3, 15), OwnDayKind::Swap, "Training", ""}, "Training", true},
        OwnYearRow{{dateOf(2007, 7, 4), OwnDayKind::Extra, "Nights", ""}, "+Nights", false},
        OwnYearRow{{dateOf(2007, 12, 31), OwnDayKind::Note, "", "dentist"}, "Note", false}),
    [](const ::testing::TestParamInfo<OwnYearRow>& info) {
        return std::string(kindName(info.param.entry.kind));
    });

// Shared weekends: Saturday and Sunday both off, from the first Saturday on or after the start,
// never past the last day of 9999.
TEST(YearSheetTest, SharedWeekendsAndTheirText) {
    const ViewCrews crews{true, {}, CrewCode(74), CrewCode(70.1)};
    DaysOffTogether days(crews);
    for (const DaySerial from : {dateOf(2007, 3, 11), dateOf(2008, 12, 1)}) {
        const std::vector<DaySerial> weekends = days.sharedWeekends(from);
        ASSERT_EQ(weekends.size(), 3u);
        DaySerial previous = from - 1;
        for (const DaySerial saturday : weekends) {
            EXPECT_GT(saturday, previous);
            EXPECT_EQ(std::chrono::weekday{std::chrono::sys_days{toYearMonthDay(saturday)}},
                      std::chrono::Saturday);
            EXPECT_TRUE(off(crews.left, saturday) && off(crews.right, saturday + 1));
            previous = saturday;
        }
    }
    for (const DaySerial saturday : days.sharedWeekends(dateOf(9999, 11, 1), 10)) {
        EXPECT_LT(saturday, dateOf(9999, 12, 31));
    }
    EXPECT_EQ(weekendText(dateOf(2007, 3, 17)), "17-18 Mar 2007");
    EXPECT_EQ(weekendText(dateOf(2007, 3, 31)), "31 Mar-1 Apr 2007");
    EXPECT_EQ(weekendText(dateOf(2011, 12, 31)), "31 Dec 2011-1 Jan 2012");
}

// The drawn year: 80 columns, the same text with and without colours, every month named.
TEST(YearSheetTest, TheTerminalYearFitsAndColoursChangeNoText) {
    const YearSheet sheet = yearSheet(2008, {true, {}, CrewCode(74), CrewCode(70.1)});
    const std::array<std::string, 2> names = {"Halvex P-6", "Halvex BB"};
    const std::string plain = renderYear(sheet, names, dateOf(2008, 2, 29), {true, false});
    const std::string coloured = renderYear(sheet, names, dateOf(2008, 2, 29), {true, true});
    for (const std::string& line : linesOf(plain)) {
        EXPECT_LE(line.size(), 80u) << line;
    }
    std::string stripped;
    for (std::size_t i = 0; i < coloured.size(); ++i) {
        if (coloured[i] == '\x1b') {
            i = coloured.find('m', i);
        } else {
            stripped += coloured[i];
        }
    }
    // The coloured legend names the shifts besides.
    EXPECT_TRUE(stripped.starts_with(plain.substr(0, plain.rfind("\n\n"))));
    EXPECT_NE(coloured.find("\x1b[7m"), std::string::npos); // today
    for (int month = 1; month <= 12; ++month) {
        EXPECT_NE(plain.find(englishMonthName(month)), std::string::npos) << month;
    }
    // One mark for each day both are off, and the legend's.
    EXPECT_EQ(std::count(plain.begin(), plain.end(), '*'), sheet.daysOffTogether + 1);
}

} // namespace
} // namespace kelsing
