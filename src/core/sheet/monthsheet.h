// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "crews/crewcode.h"
#include "owndays/owndays.h"
#include "sheet/sheetmodel.h"

namespace kelsing {

/// The crews of a view: the single view's crew, or the two crews side by side; a code of 0 is a
/// crew box with no crew chosen.
struct ViewCrews {
    bool sideBySide = false;
    CrewCode single;
    CrewCode left;
    CrewCode right;
};

/// The sheet of `month` for a view, as a step of the window leaves it: the plain calendar, then
/// the single crew's shift line when the single view has a crew, otherwise the half lines of each
/// side that has one (the single view hides them). The user's own days, when given, are marked
/// on the single crew's sheet (OwnDaysUpdate).
SheetModel monthSheet(MonthYear month, const ViewCrews& crews, DaySerial today,
                      const OwnDays* ownDays = nullptr);

} // namespace kelsing
