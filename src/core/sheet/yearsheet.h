// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/int16.h"
#include "base/rgb.h"
#include "calendar/dayserial.h"
#include "sheet/monthsheet.h"
#include "sheet/ownmark.h"
#include "sheet/sheetmodel.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kelsing {

/// A crew's shift on a day of the year: the side-by-side view's short label and its colour.
struct YearShift {
    std::string text;
    Rgb colour = Colours::kBlack;
    friend bool operator==(const YearShift&, const YearShift&) = default;
};

/// One day of the year at a glance.
struct YearDay {
    DaySerial date = 0;
    int day = 0;         // 1..31
    std::string caption; // holiday or clock change
    // The single crew's shift, or the left and the right crew's; empty for a side without one.
    std::array<YearShift, 2> shifts;
    bool offTogether = false;
    OwnMark own; // the user's own entry, on the single crew's year only
    friend bool operator==(const YearDay&, const YearDay&) = default;
};

/// A holiday or clock change listed under its month.
struct YearHoliday {
    int day = 0;
    std::string caption;
    friend bool operator==(const YearHoliday&, const YearHoliday&) = default;
};

/// One month block: its days in the sheet's cells from Sunday (a cell without a day has day 0),
/// and its holidays in date order.
struct YearMonth {
    int month = 1;
    std::array<YearDay, SheetModel::kCellCount> cells;
    std::vector<YearHoliday> holidays;
};

/// A year at a glance for one crew or two crews side by side: twelve month blocks, and, for two
/// crews, the days both are off.
struct YearSheet {
    Int16 year = 0;
    bool sideBySide = false;
    std::array<bool, 2> hasCrew{}; // the single or left crew, the right crew
    std::array<YearMonth, 12> months;
    int daysOffTogether = 0;
    bool hasOwnDays = false; // whether any day has an own entry

    /// Every short label of the side-by-side view's table that the year shows, in its order.
    std::vector<YearShift> labels() const;

    /// What the letters after each crew's of the year's all-crews lines ("AO BD CN DO") stand
    /// for: "D Days, N Nights, O Off"; empty when it shows none.
    std::string allCrewsKey() const;
};

/// The year of a view's crews: the single crew's shifts, or the two sides' shifts, as short
/// labels in the side-by-side view's colours; days off together with two crews. The user's own
/// days, when given, are marked on the single crew's year as the month sheet marks them; the
/// caller gives them only where they apply (ownDaysApplyTo).
YearSheet yearSheet(Int16 year, const ViewCrews& crews, const OwnDays* ownDays = nullptr);

} // namespace kelsing
