// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "crews/crewcode.h"
#include "sheet/sheetmodel.h"

#include <optional>

namespace kelsing {

/// The four step buttons above the sheet.
enum class MonthStep { PreviousYear, PreviousMonth, NextMonth, NextYear };

/// The month that shows today: today's month, or the nearest month of the calendar (January 100,
/// December 9999) when the clock lies outside it.
MonthYear currentMonth(DaySerial today);

/// The month that a step shows from `shown`; nullopt when it would leave January 100 to
/// December 9999, where the step does nothing.
std::optional<MonthYear> steppedMonth(MonthYear shown, MonthStep step);

/// Which repaints a navigation runs, in this order: the start-up routine, then the single fill or
/// the left and then the right fill.
struct RepaintPlan {
    bool formLoad = false;
    bool label5Update = false;
    bool leftUpdate = false;
    bool rightUpdate = false;
    friend constexpr bool operator==(RepaintPlan, RepaintPlan) = default;
};

/// The crews of both views and which view is showing, as navigation reads them.
struct NavigationState {
    CrewCode single;
    CrewCode left;
    CrewCode right;
    bool sideBySide = false;
};

/// The repaint after a step button.
RepaintPlan stepRepaint(const NavigationState& state);

/// The repaint after a click on the month title.
RepaintPlan titleRepaint(const NavigationState& state);

} // namespace kelsing
