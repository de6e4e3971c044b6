// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/observances.h"

#include "calendar/datehelpers.h"

namespace kelsing {

namespace {

constexpr Int16 kSunday = 1;
constexpr Int16 kMonday = 2;
// The year from which the clock changes follow the March/November rule.
constexpr Int16 kNewDstRuleYear = 2007;

DaySerial dstStarts(Int16 y) {
    return y < kNewDstRuleYear ? NDow(y, 4, 1, kSunday) : NDow(y, 3, 2, kSunday);
}

DaySerial dstEnds(Int16 y) {
    // The count of October Sundays is taken whatever the year, as the old rule needs it.
    const Int16 octoberSundays = DOWsInMonth(y, 10, kSunday);
    return y < kNewDstRuleYear ? NDow(y, 10, octoberSundays, kSunday) : NDow(y, 11, 1, kSunday);
}

} // namespace

YearObservances::YearObservances(Int16 y) {
    const DaySerial easter = EasterDate(y);
    m_rules = {{
        {"New Years Day", DateFromParts(y, 1, 1)},
        {"Family Day", NDow(y, 2, 3, kMonday)},
        {"Good Friday", easter - 2},
        {"Easter Sunday", easter},
        {"DST Starts", dstStarts(y)},
        {"Victoria Day", GoToMonday(y, 5, 24)},
        {"Canada Day", DateFromParts(y, 7, 1)},
        {"Heritage Day", NDow(y, 8, 1, kMonday)},
        {"Labour Day", NDow(y, 9, 1, kMonday)},
        {"Thanks giving Day", NDow(y, 10, 2, kMonday)},
        {"DST Ends", dstEnds(y)},
        {"Remem- brance Day", DateFromParts(y, 11, 11)},
        {"Xmas Day", DateFromParts(y, 12, 25)},
        {"Boxing Day", DateFromParts(y, 12, 26)},
    }};
}

std::string_view YearObservances::captionFor(DaySerial date) const {
    for (auto rule = m_rules.rbegin(); rule != m_rules.rend(); ++rule) {
        if (rule->date == date) {
            return rule->caption;
        }
    }
    return {};
}

std::string_view ObservanceCaption(Int16 year, DaySerial date) {
    return YearObservances(year).captionFor(date);
}

} // namespace kelsing
