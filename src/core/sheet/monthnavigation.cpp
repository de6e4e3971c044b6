// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/monthnavigation.h"

#include "calendar/datehelpers.h"

namespace kelsing {

namespace {

// The last test of both repaints: the single fill when the single view shows a crew, otherwise
// the fill of each side that has one.
void chooseFills(const NavigationState& state, RepaintPlan& plan) {
    if (state.single.value() > 0 && !state.sideBySide) {
        plan.label5Update = true;
        return;
    }
    plan.leftUpdate = state.left.value() > 0;
    plan.rightUpdate = state.right.value() > 0;
}

} // namespace

MonthYear currentMonth(DaySerial today) {
    if (!isSupportedSerial(today)) {
        // Serials below the calendar's first day are the days before January 100.
        return today < toDaySerial(std::chrono::year{kFirstYear} / 1 / 1)
                   ? MonthYear{1, kFirstYear}
                   : MonthYear{12, kLastYear};
    }
    const auto ymd = toYearMonthDay(today);
    return {static_cast<Int16>(static_cast<unsigned>(ymd.month())),
            static_cast<Int16>(static_cast<int>(ymd.year()))};
}

std::optional<MonthYear> steppedMonth(MonthYear shown, MonthStep step) {
    Int16 year = shown.year;
    Int16 month = shown.month;
    switch (step) {
    case MonthStep::PreviousYear:
        year = sub16(year, 1);
        break;
    case MonthStep::PreviousMonth:
        month = sub16(month, 1);
        break;
    case MonthStep::NextMonth:
        month = add16(month, 1);
        break;
    case MonthStep::NextYear:
        year = add16(year, 1);
        break;
    }
    try {
        const auto ymd = toYearMonthDay(DateFromParts(year, month, 1));
        return MonthYear{static_cast<Int16>(static_cast<unsigned>(ymd.month())),
                         static_cast<Int16>(static_cast<int>(ymd.year()))};
    } catch (const DateRangeError&) {
        return std::nullopt;
    }
}

RepaintPlan stepRepaint(const NavigationState& state) {
    RepaintPlan plan;
    if (state.left.value() + state.right.value() == 0 && state.sideBySide) {
        plan.formLoad = true;
    }
    if (state.single.value() == 0 && !state.sideBySide) {
        plan.formLoad = true;
    }
    chooseFills(state, plan);
    return plan;
}

RepaintPlan titleRepaint(const NavigationState& state) {
    RepaintPlan plan;
    if (state.single.value() + state.left.value() + state.right.value() == 0) {
        plan.formLoad = true;
    }
    chooseFills(state, plan);
    // The side-by-side view with no crew on either side, but one in the single view, would
    // otherwise leave the old month's days under the new title.
    if (!plan.formLoad && !plan.label5Update && !plan.leftUpdate && !plan.rightUpdate) {
        plan.formLoad = true;
    }
    return plan;
}

} // namespace kelsing
