// SPDX-License-Identifier: GPL-3.0-or-later
// The month in a terminal: what the window shows, in 80 columns.

#include "crews/crewcatalogue.h"
#include "sheet/offtogether.h"
#include "sheet/sheetfills.h"
#include "sheet/textsheet.h"
#include "testsupport.h"

#include <vector>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

using test::dateOf;
using test::linesOf;

// The text of a line without its colour escapes.
std::string visible(const std::string& line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\x1b') {
            i = line.find('m', i);
            continue;
        }
        out += line[i];
    }
    return out;
}

SheetModel singleSheet(MonthYear month, CrewCode crew, DaySerial today) {
    SheetModel sheet;
    sheet.title = month;
    FormLoadCalendar(sheet, today);
    Label5Update(sheet, crew, today);
    return sheet;
}

SheetModel sideBySideSheet(MonthYear month, CrewCode left, CrewCode right, DaySerial today) {
    SheetModel sheet;
    sheet.title = month;
    LeftUpdate(sheet, left, today);
    RightUpdate(sheet, right, today);
    return sheet;
}

// The column of a cell's text on its lines: the k-th field between bars.
std::string field(const std::string& line, int k) {
    std::size_t start = 0;
    for (int i = 0; i <= k; ++i) {
        start = line.find('|', start) + 1;
    }
    return line.substr(start, line.find('|', start) - start);
}

TEST(TextSheetTest, EveryCrewAndPairFitsEightyColumns) {
    const std::vector<CatalogueChoice> choices = CrewCatalogue::allChoices();
    for (const MonthYear month : {MonthYear{3, 2008}, MonthYear{11, 2007}, MonthYear{12, 9999}}) {
        for (std::size_t i = 0; i < choices.size(); ++i) {
            const CrewCode crew = choices[i].choice.code;
            const CrewCode other = choices[(i * 7 + 3) % choices.size()].choice.code;
            const std::pair<SheetModel, bool> sheets[] = {
                {singleSheet(month, crew, dateOf(2008, 3, 9)), false},
                {sideBySideSheet(month, crew, other, 0), true}};
            for (const auto& [sheet, sideBySide] : sheets) {
                for (const bool colour : {false, true}) {
                    const std::string text = renderMonthSheet(sheet, {sideBySide, colour});
                    for (const std::string& line : linesOf(text)) {
                        ASSERT_LE(visible(line).size(), 80u) << line;
                    }
                }
            }
        }
    }
}

TEST(TextSheetTest, CellsShowNumberCaptionAndShiftUnderTheirWeekday) {
    const SheetModel sheet = singleSheet({11, 2007}, CrewCode(14), dateOf(2007, 11, 20));
    const std::vector<std::string> lines = linesOf(renderMonthSheet(sheet, {}));
    EXPECT_NE(lines[0].find("November 2007"), std::string::npos);
    EXPECT_EQ(field(lines[2], 0), "  Sunday  ");
    EXPECT_EQ(field(lines[2], 6), " Saturday ");
    // The week of Sunday 11 November: the caption wraps at its space, the all-crews line too.
    std::size_t week = 0;
    while (week < lines.size() && field(lines[week], 0) != "        11") {
        ++week;
    }
    ASSERT_LT(week, lines.size());
    EXPECT_EQ(field(lines[week + 1], 0), "Remem-    ");
    EXPECT_EQ(field(lines[week + 2], 0), "brance Day");
    const std::string shift = sheet.cells[14].shift; // 11 November is in cell 14
    ASSERT_EQ(shift.size(), 11u);
    EXPECT_EQ(field(lines[week + 3], 0), shift.substr(0, 8) + "  ");
    EXPECT_EQ(field(lines[week + 4], 0), shift.substr(9) + "        ");
}

TEST(TextSheetTest, WeeksWithoutDaysAreLeftOut) {
    // February 2009 fills exactly four weeks.
    const SheetModel sheet = singleSheet({2, 2009}, CrewCode(10), 0);
    const std::vector<std::string> lines = linesOf(renderMonthSheet(sheet, {}));
    int borders = 0;
    for (const std::string& line : lines) {
        borders += line.starts_with("+--") ? 1 : 0;
    }
    EXPECT_EQ(borders, 2 + 4);
}

TEST(TextSheetTest, SideBySideShowsBothShortLabels) {
    const SheetModel sheet = sideBySideSheet({11, 2007}, CrewCode(74.1), CrewCode(70.1), 0);
    const std::string text = renderMonthSheet(sheet, {true, false});
    // 1 November 2007: left "D(8)", right "Aftnn" share a line when they fit.
    EXPECT_NE(text.find("|D(8) Aftnn|"), std::string::npos);
    // A pair too long for one line goes on two: the left above, the right below on the right.
    EXPECT_NE(text.find("|D(12)     |"), std::string::npos);
    EXPECT_NE(text.find("|     Aftnn|"), std::string::npos);
}

TEST(TextSheetTest, ColoursFollowTheWindowOnlyWhenAsked) {
    const SheetModel sheet = singleSheet({3, 2007}, CrewCode(10), dateOf(2007, 3, 15));
    const std::string plain = renderMonthSheet(sheet, {false, false});
    const std::string coloured = renderMonthSheet(sheet, {false, true});
    EXPECT_EQ(plain.find('\x1b'), std::string::npos);
    EXPECT_NE(coloured.find("\x1b[1;38;2;255;0;0m15\x1b[0m"), std::string::npos); // today
    EXPECT_NE(coloured.find("\x1b[38;2;0;0;255mDays\x1b[0m"), std::string::npos);
    EXPECT_NE(coloured.find("\x1b[38;2;0;128;0mOff\x1b[0m"), std::string::npos);
    EXPECT_NE(coloured.find("\x1b[38;2;255;128;255m  Sunday  \x1b[0m"), std::string::npos);
    // Nights are black in the window: the terminal's own colour here.
    EXPECT_EQ(coloured.find("mNights"), std::string::npos);
    std::vector<std::string> plainLines = linesOf(plain);
    std::vector<std::string> colouredLines = linesOf(coloured);
    ASSERT_EQ(plainLines.size(), colouredLines.size());
    for (std::size_t i = 0; i < plainLines.size(); ++i) {
        EXPECT_EQ(visible(colouredLines[i]), plainLines[i]);
    }
}

TEST(TextSheetTest, LinesForScriptsHoldEveryDayInOrder) {
    SheetModel sheet = sideBySideSheet({2, 2008}, CrewCode(83), CrewCode(75), 0);
    markDaysOffTogether(sheet);
    const std::vector<std::string> lines = linesOf(renderMonthLines(sheet, {true, false}));
    ASSERT_EQ(lines.size(), 29u);
    EXPECT_EQ(lines[0].substr(0, 18), "2008-02-01\tFriday\t");
    EXPECT_EQ(lines[28].substr(0, 18), "2008-02-29\tFriday\t");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const DayCell& cell = sheet.cells[5 + i];
        EXPECT_EQ(lines[i].substr(lines[i].find('\t', 11) + 1),
                  cell.caption + '\t' + cell.leftShift + '\t' + cell.rightShift + '\t' +
                      (cell.leftShift == "Off" && cell.rightShift == "Off" ? "together" : ""));
    }
}

TEST(TextSheetTest, MonthNames) {
    EXPECT_EQ(englishMonthName(1), "January");
    EXPECT_EQ(englishMonthName(12), "December");
}

} // namespace
} // namespace kelsing
