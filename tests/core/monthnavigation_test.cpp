// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/monthnavigation.h"
#include "sheet/sheetfills.h"
#include "testsupport.h"

#include <optional>
#include <ostream>

#include <gtest/gtest.h>

namespace kelsing {

inline std::ostream& operator<<(std::ostream& os, MonthStep step) {
    switch (step) {
    case MonthStep::PreviousYear:
        return os << "<<";
    case MonthStep::PreviousMonth:
        return os << "<";
    case MonthStep::NextMonth:
        return os << ">";
    case MonthStep::NextYear:
        return os << ">>";
    }
    return os;
}

inline void PrintTo(const RepaintPlan& plan, std::ostream* os) {
    *os << "{formLoad " << plan.formLoad << ", label5 " << plan.label5Update << ", left "
        << plan.leftUpdate << ", right " << plan.rightUpdate << "}";
}

namespace {

struct StepCase {
    MonthYear from;
    MonthStep step;
    std::optional<MonthYear> to;
};

void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.from.month << "/" << c.from.year << " " << c.step;
}

class StepTable : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepTable, ShowsTheNeighbouringMonth) {
    const StepCase& c = GetParam();
    const auto to = steppedMonth(c.from, c.step);
    ASSERT_EQ(to.has_value(), c.to.has_value())
        << c.from.month << "/" << c.from.year << " " << c.step;
    if (to) {
        EXPECT_EQ(to->month, c.to->month) << c.step;
        EXPECT_EQ(to->year, c.to->year) << c.step;
    }
}

constexpr auto kPrevYear = MonthStep::PreviousYear;
constexpr auto kPrev = MonthStep::PreviousMonth;
constexpr auto kNext = MonthStep::NextMonth;
constexpr auto kNextYear = MonthStep::NextYear;

INSTANTIATE_TEST_SUITE_P(Steps, StepTable,
                         ::testing::Values(StepCase{{1, 2007}, kPrev, MonthYear{12, 2006}},
                                           StepCase{{12, 2007}, kNext, MonthYear{1, 2008}},
                                           StepCase{{2, 2008}, kPrevYear, MonthYear{2, 2007}},
                                           StepCase{{2, 2008}, kNextYear, MonthYear{2, 2009}},
                                           StepCase{{6, 2008}, kPrev, MonthYear{5, 2008}},
                                           StepCase{{6, 2008}, kNext, MonthYear{7, 2008}},
                                           // the first month that can be shown: January 100
                                           StepCase{{1, 100}, kPrev, std::nullopt},
                                           StepCase{{1, 100}, kPrevYear, std::nullopt},
                                           StepCase{{12, 100}, kPrevYear, std::nullopt},
                                           StepCase{{2, 100}, kPrev, MonthYear{1, 100}},
                                           StepCase{{1, 101}, kPrevYear, MonthYear{1, 100}},
                                           StepCase{{1, 100}, kNext, MonthYear{2, 100}},
                                           // the last: December 9999
                                           StepCase{{12, 9999}, kNext, std::nullopt},
                                           StepCase{{12, 9999}, kNextYear, std::nullopt},
                                           StepCase{{1, 9999}, kNextYear, std::nullopt},
                                           StepCase{{11, 9999}, kNext, MonthYear{12, 9999}},
                                           StepCase{{12, 9998}, kNextYear, MonthYear{12, 9999}},
                                           StepCase{{12, 9999}, kPrev, MonthYear{11, 9999}}));

TEST(StepTest, WalksFromTheFirstToTheLastMonthAndBack) {
    MonthYear shown{1, 100};
    int steps = 0;
    while (const auto next = steppedMonth(shown, MonthStep::NextMonth)) {
        ASSERT_EQ(next->month, shown.month == 12 ? 1 : shown.month + 1);
        ASSERT_EQ(next->year, shown.month == 12 ? shown.year + 1 : shown.year);
        shown = *next;
        ++steps;
    }
    EXPECT_EQ(shown, (MonthYear{12, 9999}));
    EXPECT_EQ(steps, 9900 * 12 - 1);
    while (const auto back = steppedMonth(shown, MonthStep::PreviousYear)) {
        ASSERT_EQ(back->month, 12);
        ASSERT_EQ(back->year, shown.year - 1);
        shown = *back;
    }
    EXPECT_EQ(shown, (MonthYear{12, 100}));
}

TEST(StepTest, TheEndMonthsCanBeFilled) {
    // Stepping stops at the ends, and the months at the ends still fill without failing.
    for (const MonthYear end : {MonthYear{1, 100}, MonthYear{12, 9999}}) {
        SheetModel sheet;
        sheet.title = end;
        EXPECT_NO_THROW(Label5Update(sheet, CrewCode(84.9), test::dateOf(2007, 1, 1)));
        EXPECT_NO_THROW(LeftUpdate(sheet, CrewCode(10), test::dateOf(2007, 1, 1)));
        EXPECT_NO_THROW(FormLoadCalendar(sheet, test::dateOf(2007, 1, 1)));
        EXPECT_EQ(sheet.ShownMonth, end.month);
        EXPECT_EQ(sheet.ShownYear, end.year);
    }
}

// ---------------------------------------------------------------------------------------------
// The repaint after a step or a click on the month title.

struct RepaintCase {
    const char* what;
    NavigationState state;
    RepaintPlan afterStep;
    RepaintPlan afterTitle;
};

void PrintTo(const RepaintCase& c, std::ostream* os) {
    *os << c.what;
}

class RepaintTable : public ::testing::TestWithParam<RepaintCase> {};

TEST_P(RepaintTable, RunsTheFillsOfTheActiveView) {
    const RepaintCase& c = GetParam();
    EXPECT_EQ(stepRepaint(c.state), c.afterStep) << c.what;
    EXPECT_EQ(titleRepaint(c.state), c.afterTitle) << c.what;
}

constexpr bool kSingle = false;
constexpr bool kSideBySide = true;

NavigationState crews(double single, double left, double right, bool sideBySide) {
    return {CrewCode(single), CrewCode(left), CrewCode(right), sideBySide};
}

// Plans as {formLoad, label5Update, leftUpdate, rightUpdate}.
INSTANTIATE_TEST_SUITE_P(
    Views, RepaintTable,
    ::testing::Values(
        RepaintCase{"single, nothing chosen anywhere",
                    crews(0, 0, 0, kSingle),
                    {true, false, false, false},
                    {true, false, false, false}},
        RepaintCase{"single crew chosen",
                    crews(80.2, 0, 0, kSingle),
                    {false, true, false, false},
                    {false, true, false, false}},
        RepaintCase{"single crew chosen, sides left over",
                    crews(14, 12, 83.2, kSingle),
                    {false, true, false, false},
                    {false, true, false, false}},
        // no single crew, but a left crew left over from the side-by-side view: the step runs
        // the start-up routine and then the left fill; the title skips the start-up routine
        RepaintCase{"single, no single crew, left left over",
                    crews(0, 12, 0, kSingle),
                    {true, false, true, false},
                    {false, false, true, false}},
        RepaintCase{"single, no single crew, both sides left over",
                    crews(0, 12, 84.9, kSingle),
                    {true, false, true, true},
                    {false, false, true, true}},
        RepaintCase{"side by side, no crew on either side",
                    crews(0, 0, 0, kSideBySide),
                    {true, false, false, false},
                    {true, false, false, false}},
        // the single crew does not count in the side-by-side view; the title click, which
        // would refill nothing, lays out its month with the start-up routine
        RepaintCase{"side by side, only a single crew",
                    crews(70.1, 0, 0, kSideBySide),
                    {true, false, false, false},
                    {true, false, false, false}},
        RepaintCase{"side by side, left only",
                    crews(0, 10, 0, kSideBySide),
                    {false, false, true, false},
                    {false, false, true, false}},
        RepaintCase{"side by side, right only",
                    crews(0, 0, 99, kSideBySide),
                    {false, false, false, true},
                    {false, false, false, true}},
        RepaintCase{"side by side, both",
                    crews(54, 90, 80, kSideBySide),
                    {false, false, true, true},
                    {false, false, true, true}}));

} // namespace
} // namespace kelsing
