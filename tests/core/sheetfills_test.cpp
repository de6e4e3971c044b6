// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/observances.h"
#include "rotation/rotationengine.h"
#include "sheet/sheetfills.h"
#include "testsupport.h"

#include <initializer_list>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

using test::dateOf;

// A day that no sheet below shows, for fills that must mark no day red.
const DaySerial kFarToday = dateOf(1950, 6, 15);

constexpr Rgb kJunk{1, 2, 3};
constexpr Rgb kOtherJunk{4, 5, 6};

enum class Fill { Plain, Single, Left, Right };

const char* nameOf(Fill fill) {
    constexpr const char* kNames[] = {"FormLoadCalendar", "Label5Update", "LeftUpdate",
                                      "RightUpdate"};
    return kNames[static_cast<int>(fill)];
}

void run(Fill fill, SheetModel& sheet, CrewCode crew, DaySerial today) {
    switch (fill) {
    case Fill::Plain:
        FormLoadCalendar(sheet, today);
        break;
    case Fill::Single:
        Label5Update(sheet, crew, today);
        break;
    case Fill::Left:
        LeftUpdate(sheet, crew, today);
        break;
    case Fill::Right:
        RightUpdate(sheet, crew, today);
        break;
    }
}

SheetModel sheetOf(int month, int year) {
    SheetModel sheet;
    sheet.title = MonthYear{static_cast<Int16>(month), static_cast<Int16>(year)};
    return sheet;
}

// A sheet whose every cell shows something left over from elsewhere.
SheetModel dirtySheetOf(int month, int year) {
    SheetModel sheet = sheetOf(month, year);
    for (DayCell& cell : sheet.cells) {
        cell = {"99",
                kJunk,
                "x",
                "y",
                kJunk,
                Fonts::kLongShiftLine,
                "l",
                kJunk,
                "r",
                kOtherJunk,
                OwnMark{"Leave", kJunk, "o", kJunk, false, "e", kJunk, "s", "n"}};
    }
    sheet.ShownMonth = 99;
    sheet.ShownYear = 99;
    return sheet;
}

SheetModel filled(Fill fill, int month, int year, CrewCode crew = CrewCode(),
                  DaySerial today = kFarToday) {
    SheetModel sheet = sheetOf(month, year);
    run(fill, sheet, crew, today);
    return sheet;
}

const Fill kAllFills[] = {Fill::Plain, Fill::Single, Fill::Left, Fill::Right};

// ---------------------------------------------------------------------------------------------
// Where the days of a month go.

struct FrameCase {
    int month, year;
    int firstCell, lastCell;
};

void PrintTo(const FrameCase& c, std::ostream* os) {
    *os << c.month << "/" << c.year;
}

class MonthFrameTable : public ::testing::TestWithParam<FrameCase> {};

TEST_P(MonthFrameTable, DaysFillTheirCellsInEveryFill) {
    const FrameCase& c = GetParam();
    for (const Fill fill : kAllFills) {
        SCOPED_TRACE(nameOf(fill));
        const SheetModel sheet = filled(fill, c.month, c.year, CrewCode(10));
        EXPECT_EQ(sheet.ShownMonth, c.month);
        EXPECT_EQ(sheet.ShownYear, c.year);
        for (int cell = 0; cell < SheetModel::kCellCount; ++cell) {
            const bool inMonth = cell >= c.firstCell && cell <= c.lastCell;
            EXPECT_EQ(sheet.cells[static_cast<std::size_t>(cell)].dayNumber,
                      inMonth ? std::to_string(cell - c.firstCell + 1) : "")
                << "cell " << cell;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Months, MonthFrameTable,
                         ::testing::Values(FrameCase{3, 2008, 6, 36}, FrameCase{2, 2009, 0, 27},
                                           FrameCase{2, 2008, 5, 33}, FrameCase{1, 2006, 0, 30},
                                           FrameCase{3, 2007, 4, 34}, FrameCase{12, 9999, 3, 33},
                                           FrameCase{1, 100, 5, 35}));

TEST(SheetFillsTest, EveryMonthStartsUnderItsWeekdayAndNeverReachesCell37) {
    for (int year : {100, 101, 1899, 1900, 2000, 2007, 2008, 2009, 2100, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            SCOPED_TRACE(::testing::Message() << year << "-" << month);
            const SheetModel sheet = filled(Fill::Plain, month, year);
            const int firstCell = sundayWeekday(dateOf(year, static_cast<unsigned>(month), 1)) - 1;
            int days = 0;
            for (int cell = 0; cell < SheetModel::kCellCount; ++cell) {
                const std::string& number = sheet.cells[static_cast<std::size_t>(cell)].dayNumber;
                if (!number.empty()) {
                    ++days;
                    EXPECT_EQ(number, std::to_string(cell - firstCell + 1));
                }
            }
            EXPECT_EQ(days, test::monthLength(year, month));
            EXPECT_EQ(sheet.cells[37].dayNumber, "");
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Today's mark and the captions.

TEST(SheetFillsTest, TodayIsRedOnlyInItsOwnMonth) {
    const DaySerial today = dateOf(2008, 3, 15); // cell 6 + 14
    for (const Fill fill : kAllFills) {
        SCOPED_TRACE(nameOf(fill));
        for (const auto& [month, year] : std::initializer_list<std::pair<int, int>>{
                 {3, 2008}, {2, 2008}, {4, 2008}, {3, 2007}}) {
            const SheetModel sheet = filled(fill, month, year, CrewCode(10), today);
            for (int cell = 0; cell < SheetModel::kCellCount; ++cell) {
                const bool isToday = month == 3 && year == 2008 && cell == 20;
                EXPECT_EQ(sheet.cells[static_cast<std::size_t>(cell)].dayNumberColour,
                          isToday ? Colours::kRed : Colours::kBlack)
                    << month << "/" << year << " cell " << cell;
            }
        }
    }
}

TEST(SheetFillsTest, CaptionsSitBesideTheShifts) {
    const std::map<int, std::string> captions = {
        {14, "DST Starts"}, {26, "Good Friday"}, {28, "Easter Sunday"}};
    for (const Fill fill : kAllFills) {
        SCOPED_TRACE(nameOf(fill));
        const SheetModel sheet = filled(fill, 3, 2008, CrewCode(10));
        for (int cell = 0; cell < SheetModel::kCellCount; ++cell) {
            const auto found = captions.find(cell);
            EXPECT_EQ(sheet.cells[static_cast<std::size_t>(cell)].caption,
                      found == captions.end() ? "" : found->second)
                << "cell " << cell;
        }
        // a holiday keeps its shift
        if (fill == Fill::Single) {
            EXPECT_FALSE(sheet.cells[28].shift.empty());
        }
        if (fill == Fill::Left) {
            EXPECT_FALSE(sheet.cells[28].leftShift.empty());
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The single view's shift line.

struct LineLook {
    Rgb colour;
    FontChoice font;
};

LineLook singleLook(std::string_view label) {
    static const std::map<std::string_view, Rgb> colours = {{"Days", Colours::kBlue},
                                                            {"Nights", Colours::kBlack},
                                                            {"Off", Colours::kGreen},
                                                            {"Training", Colours::kPurple},
                                                            {"Afternoons", Colours::kOrangeBrown}};
    const auto found = colours.find(label);
    return {found == colours.end() ? Colours::kBlack : found->second,
            label.size() > 10 ? Fonts::kLongShiftLine : Fonts::kShiftLine};
}

class SingleViewTable : public ::testing::TestWithParam<double> {};

TEST_P(SingleViewTable, ShiftLineTextColourAndFont) {
    const CrewCode crew(GetParam());
    const auto [code, sub] = crew.decode();
    for (int month = 1; month <= 12; ++month) {
        const SheetModel sheet = filled(Fill::Single, month, 2007, crew);
        for (int day = 1; day <= test::monthLength(2007, month); ++day) {
            const DaySerial date =
                dateOf(2007, static_cast<unsigned>(month), static_cast<unsigned>(day));
            const DayCell& cell = sheet.cells[static_cast<std::size_t>(
                cellOfDay(sundayWeekday(dateOf(2007, static_cast<unsigned>(month), 1)), day))];
            const std::string_view label = labelText(ASS(static_cast<float>(date), code, sub));
            SCOPED_TRACE(test::iso(date));
            EXPECT_EQ(cell.shift, label);
            EXPECT_EQ(cell.shiftColour, singleLook(label).colour);
            EXPECT_EQ(cell.shiftFont, singleLook(label).font);
            EXPECT_EQ(cell.leftShift, "");
            EXPECT_EQ(cell.rightShift, "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Crews, SingleViewTable,
                         ::testing::Values(0.0, 10.0, 14.0, 50.0, 70.0, 70.4, 74.0, 75.0, 84.9));

TEST(SingleViewTest, TheLooksOfTheSpecialLabels) {
    // 2007-01-01: code 14 "AO BO CD DN", 74/0 "Days (12)", 75/0 "Days (8)", 50 "Training"
    const int cell = 1; // Monday 2007-01-01
    const struct {
        double crew;
        std::string_view text;
        Rgb colour;
        FontChoice font;
    } cases[] = {
        {14, "AO BO CD DN", Colours::kBlack, Fonts::kLongShiftLine},
        {74, "Days (12)", Colours::kBlack, Fonts::kShiftLine},
        {75, "Days (8)", Colours::kBlack, Fonts::kShiftLine},
        {50, "Training", Colours::kPurple, Fonts::kShiftLine},
        {70, "Days", Colours::kBlue, Fonts::kShiftLine},
    };
    for (const auto& c : cases) {
        const SheetModel sheet = filled(Fill::Single, 1, 2007, CrewCode(c.crew));
        EXPECT_EQ(sheet.cells[cell].shift, c.text);
        EXPECT_EQ(sheet.cells[cell].shiftColour, c.colour) << c.text;
        EXPECT_EQ(sheet.cells[cell].shiftFont, c.font) << c.text;
    }
    // "Afternoons" has ten characters and keeps the usual font: crew AA of Halvex on
    // 2007-01-21 (position 23 of its cycle)
    const SheetModel afternoons = filled(Fill::Single, 1, 2007, CrewCode(70));
    EXPECT_EQ(afternoons.cells[21].shift, "Afternoons");
    EXPECT_EQ(afternoons.cells[21].shiftColour, Colours::kOrangeBrown);
    EXPECT_EQ(afternoons.cells[21].shiftFont, Fonts::kShiftLine);
}

// ---------------------------------------------------------------------------------------------
// What each fill resets and what it leaves alone.

// The sheet that a fill gives from a dirty start, built from a clean fill and what the fill
// must leave as it was.
SheetModel expectedFromDirty(Fill fill, const SheetModel& clean) {
    SheetModel expected = clean;
    for (DayCell& cell : expected.cells) {
        const bool inMonth = !cell.dayNumber.empty();
        switch (fill) {
        case Fill::Plain:
            cell.shiftColour = kJunk;
            cell.leftShiftColour = kJunk;
            cell.rightShiftColour = kOtherJunk;
            break;
        case Fill::Single:
            cell.leftShiftColour = kJunk;
            cell.rightShiftColour = kOtherJunk;
            break;
        case Fill::Left:
            cell.shiftColour = kJunk;
            cell.rightShift = "r";
            cell.rightShiftColour = kOtherJunk;
            if (!inMonth) {
                cell.leftShiftColour = kJunk;
            }
            break;
        case Fill::Right:
            cell.shiftColour = kJunk;
            cell.leftShift = "l";
            cell.leftShiftColour = kJunk;
            if (!inMonth) {
                cell.rightShiftColour = kOtherJunk;
            }
            break;
        }
    }
    return expected;
}

TEST(SheetResetTest, EachFillResetsExactlyItsParts) {
    for (const Fill fill : kAllFills) {
        SCOPED_TRACE(nameOf(fill));
        for (const auto& [month, year] :
             std::initializer_list<std::pair<int, int>>{{3, 2008}, {2, 2009}}) {
            SheetModel sheet = dirtySheetOf(month, year);
            run(fill, sheet, CrewCode(10), kFarToday);
            const SheetModel expected =
                expectedFromDirty(fill, filled(fill, month, year, CrewCode(10)));
            for (int c = 0; c < SheetModel::kCellCount; ++c) {
                EXPECT_EQ(sheet.cells[static_cast<std::size_t>(c)],
                          expected.cells[static_cast<std::size_t>(c)])
                    << month << "/" << year << " cell " << c;
            }
            EXPECT_EQ(sheet.ShownMonth, month);
            EXPECT_EQ(sheet.ShownYear, year);
        }
    }
}

TEST(SheetResetTest, FillsAreIdempotentAndForgetThePreviousMonth) {
    for (const Fill fill : kAllFills) {
        for (const double crew : {0.0, 14.0, 70.0, 84.9}) {
            SCOPED_TRACE(::testing::Message() << nameOf(fill) << " crew " << crew);
            const SheetModel once = filled(fill, 3, 2008, CrewCode(crew));
            SheetModel twice = once;
            run(fill, twice, CrewCode(crew), kFarToday);
            EXPECT_EQ(twice, once);
            // January 2008 starts on a Tuesday, so it fills cells that March leaves empty
            SheetModel moved = filled(fill, 1, 2008, CrewCode(crew));
            moved.title = MonthYear{3, 2008};
            run(fill, moved, CrewCode(crew), kFarToday);
            for (int c = 0; c < SheetModel::kCellCount; ++c) {
                const DayCell& got = moved.cells[static_cast<std::size_t>(c)];
                const DayCell& want = once.cells[static_cast<std::size_t>(c)];
                if (fill == Fill::Plain || fill == Fill::Single) {
                    EXPECT_EQ(got, want) << "cell " << c;
                    continue;
                }
                // a half line outside the month keeps the colour it last had
                EXPECT_EQ(std::tie(got.dayNumber, got.dayNumberColour, got.caption, got.shift,
                                   got.leftShift, got.rightShift),
                          std::tie(want.dayNumber, want.dayNumberColour, want.caption, want.shift,
                                   want.leftShift, want.rightShift))
                    << "cell " << c;
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The side-by-side halves.

std::pair<std::string_view, std::optional<Rgb>> halfLook(std::string_view label) {
    static const std::map<std::string_view, std::pair<std::string_view, Rgb>> table = {
        {"Days", {"Days", Colours::kBlue}},
        {"Days (8)", {"D(8)", Colours::kBlue}},
        {"Days (12)", {"D(12)", Colours::kBlue}},
        {"Nights", {"Nights", Colours::kBlack}},
        {"Off", {"Off", Colours::kGreen}},
        {"Training", {"Training", Colours::kPurple}},
        {"Afternoons", {"Aftnn", Colours::kOrangeBrown}}};
    const auto found = table.find(label);
    if (found == table.end()) {
        return {label, std::nullopt};
    }
    return {found->second.first, found->second.second};
}

class HalfLineTable : public ::testing::TestWithParam<double> {};

TEST_P(HalfLineTable, ShortLabelsAndTheirColours) {
    const CrewCode crew(GetParam());
    const auto [code, sub] = crew.decode();
    for (const Fill fill : {Fill::Left, Fill::Right}) {
        SCOPED_TRACE(nameOf(fill));
        for (int month = 1; month <= 12; ++month) {
            // start from colours that an unlisted text must keep
            SheetModel sheet = dirtySheetOf(month, 2007);
            run(fill, sheet, crew, kFarToday);
            const int w1 = sundayWeekday(dateOf(2007, static_cast<unsigned>(month), 1));
            for (int day = 1; day <= test::monthLength(2007, month); ++day) {
                const DaySerial date =
                    dateOf(2007, static_cast<unsigned>(month), static_cast<unsigned>(day));
                const DayCell& cell = sheet.cells[static_cast<std::size_t>(cellOfDay(w1, day))];
                const auto [text, colour] =
                    halfLook(labelText(ASS(static_cast<float>(date), code, sub)));
                const bool left = fill == Fill::Left;
                SCOPED_TRACE(test::iso(date));
                EXPECT_EQ(left ? cell.leftShift : cell.rightShift, text);
                EXPECT_EQ(left ? cell.leftShiftColour : cell.rightShiftColour,
                          colour.value_or(left ? kJunk : kOtherJunk));
                EXPECT_EQ(cell.shift, "");
                EXPECT_EQ(cell.shiftFont, Fonts::kShiftLine);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Crews, HalfLineTable,
                         ::testing::Values(0.0, 10.0, 14.0, 50.0, 70.0, 74.0, 74.2, 75.0, 83.2));

TEST(HalfLineTest, DaysTwelveBesideAfternoons) {
    // Left P-6 of Halvex (Days (12) on Mondays), right AA of Halvex, afternoons on 2007-01-22.
    SheetModel sheet = sheetOf(1, 2007);
    LeftUpdate(sheet, CrewCode(74), kFarToday);
    RightUpdate(sheet, CrewCode(70), kFarToday);
    const DayCell& cell = sheet.cells[22];
    EXPECT_EQ(cell.dayNumber, "22");
    EXPECT_EQ(cell.leftShift, "D(12)");
    EXPECT_EQ(cell.leftShiftColour, Colours::kBlue);
    EXPECT_EQ(cell.rightShift, "Aftnn");
    EXPECT_EQ(cell.rightShiftColour, Colours::kOrangeBrown);
}

TEST(HalfLineTest, AnUnlistedTextKeepsThePreviousColour) {
    SheetModel sheet = sheetOf(3, 2008);
    LeftUpdate(sheet, CrewCode(10), kFarToday);
    const SheetModel first = sheet;
    for (const double crew : {0.0, 14.0}) {
        LeftUpdate(sheet, CrewCode(crew), kFarToday);
        for (int c = 0; c < SheetModel::kCellCount; ++c) {
            const DayCell& cell = sheet.cells[static_cast<std::size_t>(c)];
            EXPECT_EQ(cell.leftShiftColour,
                      first.cells[static_cast<std::size_t>(c)].leftShiftColour)
                << crew << " cell " << c;
            EXPECT_EQ(cell.leftShift.size(), cell.dayNumber.empty() || crew == 0 ? 0u : 11u)
                << crew << " cell " << c;
        }
    }
}

TEST(HalfLineTest, EachSideKeepsTheOther) {
    SheetModel sheet = sheetOf(3, 2008);
    Label5Update(sheet, CrewCode(70), kFarToday);
    LeftUpdate(sheet, CrewCode(12), kFarToday);
    const SheetModel afterLeft = sheet;
    for (const DayCell& cell : afterLeft.cells) {
        EXPECT_EQ(cell.shift, "");
        EXPECT_EQ(cell.rightShift, "");
    }
    RightUpdate(sheet, CrewCode(80.2), kFarToday);
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        const DayCell& cell = sheet.cells[static_cast<std::size_t>(c)];
        const DayCell& before = afterLeft.cells[static_cast<std::size_t>(c)];
        EXPECT_EQ(cell.leftShift, before.leftShift) << c;
        EXPECT_EQ(cell.leftShiftColour, before.leftShiftColour) << c;
        EXPECT_EQ(cell.rightShift.empty(), cell.dayNumber.empty()) << c;
    }
    // going back to the single view empties both halves
    Label5Update(sheet, CrewCode(70), kFarToday);
    for (const DayCell& cell : sheet.cells) {
        EXPECT_EQ(cell.leftShift, "");
        EXPECT_EQ(cell.rightShift, "");
        EXPECT_EQ(cell.shift.empty(), cell.dayNumber.empty());
    }
}

// ---------------------------------------------------------------------------------------------
// The start-up calendar.

TEST(FormLoadCalendarTest, AnEmptyTitleShowsTodaysMonth) {
    const DaySerial today = dateOf(2009, 2, 10);
    SheetModel sheet;
    FormLoadCalendar(sheet, today);
    ASSERT_TRUE(sheet.title.has_value());
    EXPECT_EQ(*sheet.title, (MonthYear{2, 2009}));
    EXPECT_EQ(sheet.ShownMonth, 2);
    EXPECT_EQ(sheet.ShownYear, 2009);
    EXPECT_EQ(sheet.cells[9].dayNumber, "10");
    EXPECT_EQ(sheet.cells[9].dayNumberColour, Colours::kRed);
    EXPECT_EQ(sheet.cells[15].caption, "Family Day");
    // a title keeps its month
    sheet.title = MonthYear{12, 9999};
    FormLoadCalendar(sheet, today);
    EXPECT_EQ(*sheet.title, (MonthYear{12, 9999}));
    EXPECT_EQ(sheet.cells[3].dayNumber, "1");
    EXPECT_EQ(sheet.cells[27].caption, "Xmas Day");
}

} // namespace
} // namespace kelsing
