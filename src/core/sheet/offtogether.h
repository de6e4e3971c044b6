// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "sheet/monthsheet.h"
#include "sheet/sheetmodel.h"

#include <optional>
#include <vector>

namespace kelsing {

/// Whether the two crews of a side-by-side cell are both free: each half line says "Off".
bool isOffTogether(const DayCell& cell);

/// Marks every cell on which both crews are off, or, with `on` false, clears every mark.
void markDaysOffTogether(SheetModel& sheet, bool on = true);

/// How many cells of a sheet are marked off together.
int countDaysOffTogether(const SheetModel& sheet);

/// Where the next shared weekends are looked for from when a span is shown: today while it lies
/// in the span, else the span's first day.
constexpr DaySerial sharedWeekendsFrom(DaySerial first, DaySerial last, DaySerial today) {
    return today >= first && today <= last ? today : first;
}

/// The days two crews side by side are off together, worked out from their month sheets as the
/// window fills them, one month at a time.
class DaysOffTogether {
public:
    static constexpr int kWeekendCount = 3;
    static constexpr int kSearchDays = 366;

    explicit DaysOffTogether(const ViewCrews& crews);

    /// Whether both crews are off on a date of the years 100..9999; never without two crews.
    bool on(DaySerial date);

    /// The Saturdays of the first `count` weekends whose Saturday is on or after `from` and on
    /// which both crews are off Saturday and Sunday, looked for within a year from `from` and
    /// not past 9999-12-31.
    std::vector<DaySerial> sharedWeekends(DaySerial from, int count = kWeekendCount);

private:
    ViewCrews m_crews;
    SheetModel m_sheet; // the month last asked about
};

} // namespace kelsing
