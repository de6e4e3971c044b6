// SPDX-License-Identifier: GPL-3.0-or-later
// Properties of the whole calendar as the month sheet shows it, checked against std::chrono rather
// than the date helpers: every month of the years 100 to 9999 with its days under the right
// weekdays, the clock changes and the Monday holidays once a year on their days, and every
// rotation repeating with its cycle across month, year and leap-day boundaries.

#include "crews/crewcatalogue.h"
#include "rotation/rotationengine.h"
#include "rotation/scheduletable.h"
#include "sheet/sheetfills.h"
#include "testsupport.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

using namespace std::chrono;
using test::dateOf;
using test::iso;
using test::monthLength;

DaySerial serialOf(year_month_weekday date) {
    return toDaySerial(year_month_day{sys_days{date}});
}

DaySerial serialOf(year_month_weekday_last date) {
    return toDaySerial(year_month_day{sys_days{date}});
}

// Where each caption of the rules below belongs in year y, by std::chrono alone.
DaySerial ruleDate(std::string_view caption, int y) {
    const year yy{y};
    const bool newClockRule = y >= 2007;
    if (caption == "Family Day") {
        return serialOf(yy / February / Monday[3]);
    }
    if (caption == "DST Starts") {
        return newClockRule ? serialOf(yy / March / Sunday[2]) : serialOf(yy / April / Sunday[1]);
    }
    if (caption == "Victoria Day") {
        const sys_days may24{yy / May / 24};
        return toDaySerial(year_month_day{may24 - (weekday{may24} - Monday)});
    }
    if (caption == "Heritage Day") {
        return serialOf(yy / August / Monday[1]);
    }
    if (caption == "Labour Day") {
        return serialOf(yy / September / Monday[1]);
    }
    if (caption == "Thanks giving Day") {
        return serialOf(yy / October / Monday[2]);
    }
    if (caption == "DST Ends") {
        return newClockRule ? serialOf(yy / November / Sunday[1])
                            : serialOf(yy / October / Sunday[last]);
    }
    return 0;
}

// The rules of the holiday table in its order; a later one wins a shared day.
constexpr std::array<std::string_view, 14> kRuleOrder = {
    "New Years Day", "Family Day",        "Good Friday",  "Easter Sunday", "DST Starts",
    "Victoria Day",  "Canada Day",        "Heritage Day", "Labour Day",    "Thanks giving Day",
    "DST Ends",      "Remem- brance Day", "Xmas Day",     "Boxing Day"};

int ruleRow(std::string_view caption) {
    return static_cast<int>(std::find(kRuleOrder.begin(), kRuleOrder.end(), caption) -
                            kRuleOrder.begin());
}

struct Shown {
    DaySerial date;
    int column; // 0 = Sunday
};

// Every month of every year through the start-up fill: the days fill their cells from the 1st's
// weekday on, only today's number is red, and each rule's caption stands once a year on its day,
// in the Sunday column for a clock change and the Monday column for a Monday holiday, unless a
// later rule of the table takes that day.
TEST(SheetCalendarProperties, EveryMonthOfEveryYearAsTheSheetShowsIt) {
    const DaySerial today = dateOf(2007, 3, 15);
    int redCells = 0;
    for (int y = kFirstYear; y <= kLastYear; ++y) {
        std::map<std::string, std::vector<Shown>> captions;
        std::map<DaySerial, std::string> captionOn;
        for (int m = 1; m <= 12; ++m) {
            SheetModel sheet;
            sheet.title = MonthYear{static_cast<Int16>(m), static_cast<Int16>(y)};
            FormLoadCalendar(sheet, today);
            const int firstColumn = static_cast<int>(
                weekday{sys_days{year{y} / month{static_cast<unsigned>(m)} / 1}}.c_encoding());
            const int length = monthLength(y, m);
            for (int c = 0; c < SheetModel::kCellCount; ++c) {
                const DayCell& cell = sheet.cells[static_cast<std::size_t>(c)];
                const int day = c - firstColumn + 1;
                const bool inMonth = day >= 1 && day <= length;
                ASSERT_EQ(cell.dayNumber, inMonth ? std::to_string(day) : std::string())
                    << y << "-" << m << " cell " << c;
                if (!inMonth) {
                    ASSERT_EQ(cell.caption, "") << y << "-" << m << " cell " << c;
                    continue;
                }
                const DaySerial date =
                    dateOf(y, static_cast<unsigned>(m), static_cast<unsigned>(day));
                ASSERT_EQ(cell.dayNumberColour == Colours::kRed, date == today) << iso(date);
                redCells += cell.dayNumberColour == Colours::kRed ? 1 : 0;
                if (!cell.caption.empty()) {
                    captions[cell.caption].push_back({date, c % SheetModel::kColumnCount});
                    captionOn[date] = cell.caption;
                }
            }
        }
        for (const std::string_view caption :
             {"Family Day", "DST Starts", "Victoria Day", "Heritage Day", "Labour Day",
              "Thanks giving Day", "DST Ends"}) {
            const DaySerial due = ruleDate(caption, y);
            const std::vector<Shown>& shown = captions[std::string(caption)];
            if (shown.empty()) {
                // Only a later rule of the table may take the day.
                ASSERT_TRUE(captionOn.contains(due)) << y << " " << caption;
                ASSERT_GT(ruleRow(captionOn[due]), ruleRow(caption)) << y << " " << caption;
                continue;
            }
            ASSERT_EQ(shown.size(), 1u) << y << " " << caption;
            ASSERT_EQ(shown.front().date, due) << y << " " << caption;
            const bool clockChange = caption.starts_with("DST");
            ASSERT_EQ(shown.front().column, clockChange ? 0 : 1) << iso(due) << " " << caption;
            const auto ymd = toYearMonthDay(due);
            const unsigned m = static_cast<unsigned>(ymd.month());
            if (caption == "DST Starts") {
                ASSERT_TRUE(m == 3 || m == 4) << iso(due);
            } else if (caption == "DST Ends") {
                ASSERT_TRUE(m == 10 || m == 11) << iso(due);
            } else if (caption == "Victoria Day") {
                ASSERT_EQ(m, 5u) << iso(due);
                ASSERT_GE(static_cast<unsigned>(ymd.day()), 18u) << iso(due);
                ASSERT_LE(static_cast<unsigned>(ymd.day()), 24u) << iso(due);
            }
        }
    }
    EXPECT_EQ(redCells, 1);
}

// A crew's shifts read off the sheets of consecutive months, one per day, single and left view.
struct DaySequence {
    std::vector<std::string> single;
    std::vector<std::string> left;
};

DaySequence shiftsShown(CrewCode crew, int fromYear, int toYear) {
    DaySequence days;
    for (int y = fromYear; y <= toYear; ++y) {
        for (int m = 1; m <= 12; ++m) {
            SheetModel sheet;
            sheet.title = MonthYear{static_cast<Int16>(m), static_cast<Int16>(y)};
            Label5Update(sheet, crew, 0);
            SheetModel halves = sheet;
            LeftUpdate(halves, crew, 0);
            for (std::size_t c = 0; c < sheet.cells.size(); ++c) {
                if (!sheet.cells[c].dayNumber.empty()) {
                    days.single.push_back(sheet.cells[c].shift);
                    days.left.push_back(halves.cells[c].leftShift);
                }
            }
        }
    }
    return days;
}

// Every crew that the chooser hands out, on the sheets of runs of years around the ends of the
// calendar, around leap and non-leap century years and around today: the shift of each day comes
// back one cycle later, across month ends, year ends and February 29.
TEST(RotationPeriodProperties, EveryCrewRepeatsWithItsCycleOnTheSheets) {
    const std::array<std::pair<int, int>, 5> spans = {{{kFirstYear, kFirstYear + 4},
                                                       {1896, 1904},
                                                       {1996, 2008},
                                                       {2096, 2104},
                                                       {kLastYear - 4, kLastYear}}};
    for (const CatalogueChoice& choice : CrewCatalogue::allChoices()) {
        const ScheduleSelection selection = choice.choice.code.decode();
        const auto rotation = SelectRotation(selection.code, selection.subCode);
        ASSERT_TRUE(rotation) << choice.choice.boxText;
        const std::size_t cycle = rotation->rotation->labels.size();
        for (const auto& [from, to] : spans) {
            const DaySequence days = shiftsShown(choice.choice.code, from, to);
            const std::size_t expectedDays =
                static_cast<std::size_t>(dateOf(to, 12, 31) - dateOf(from, 1, 1) + 1);
            ASSERT_EQ(days.single.size(), expectedDays) << from;
            for (std::size_t d = 0; d + cycle < days.single.size(); ++d) {
                ASSERT_FALSE(days.single[d].empty()) << choice.choice.boxText << " " << from;
                ASSERT_EQ(days.single[d + cycle], days.single[d])
                    << choice.choice.boxText << " "
                    << iso(dateOf(from, 1, 1) + static_cast<int>(d));
                ASSERT_EQ(days.left[d + cycle], days.left[d])
                    << choice.choice.boxText << " "
                    << iso(dateOf(from, 1, 1) + static_cast<int>(d));
            }
        }
    }
}

// Every pair of schedule code and sub-code (0 to 9, as the sheets pass them) that the table holds,
// on the days around every March 1 and every January 1 of the years 100 to 9999: a day and the
// day one cycle later or earlier have the same label, whether or not a February 29 lies between.
TEST(RotationPeriodProperties, EveryRotationRepeatsAcrossEveryLeapDayAndYearEnd) {
    int pairs = 0;
    std::set<std::pair<const Rotation*, Int16>> seen;
    for (int code = 0; code <= 99; ++code) {
        for (int sub = 0; sub <= 9; ++sub) {
            const auto c16 = static_cast<Int16>(code);
            const auto s16 = static_cast<Int16>(sub);
            const auto rotation = SelectRotation(c16, s16);
            // A sub-code that a code ignores selects what sub-code 0 did.
            if (!rotation || !seen.insert({rotation->rotation, rotation->crewOffset}).second) {
                continue;
            }
            ++pairs;
            const int cycle = static_cast<int>(rotation->rotation->labels.size());
            const auto label = [&](DaySerial d) {
                return labelText(ASS(static_cast<float>(d), c16, s16));
            };
            for (int y = kFirstYear; y <= kLastYear; ++y) {
                for (const DaySerial around : {dateOf(y, 3, 1), dateOf(y, 1, 1)}) {
                    for (DaySerial d = around - 3; d <= around + 1; ++d) {
                        const std::string_view here = label(d);
                        ASSERT_FALSE(here.empty()) << code << "/" << sub << " " << iso(d);
                        if (d + cycle <= dateOf(kLastYear, 12, 31)) {
                            ASSERT_EQ(label(d + cycle), here)
                                << code << "/" << sub << " " << iso(d);
                        }
                        if (d - cycle >= dateOf(kFirstYear, 1, 1)) {
                            ASSERT_EQ(label(d - cycle), here)
                                << code << "/" << sub << " " << iso(d);
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(pairs, 40);
}

} // namespace
} // namespace kelsing
