// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/offtogether.h"

#include "sheet/sheetfills.h"

#include <limits>

namespace kelsing {

namespace {

constexpr std::string_view kOff = "Off";
// No day of the supported years is today: a sheet worked out here marks none.
constexpr DaySerial kNoToday = std::numeric_limits<DaySerial>::min();

} // namespace

bool isOffTogether(const DayCell& cell) {
    return !cell.dayNumber.empty() && cell.leftShift == kOff && cell.rightShift == kOff;
}

void markDaysOffTogether(SheetModel& sheet, bool on) {
    for (DayCell& cell : sheet.cells) {
        cell.offTogether = on && isOffTogether(cell);
    }
}

int countDaysOffTogether(const SheetModel& sheet) {
    int count = 0;
    for (const DayCell& cell : sheet.cells) {
        count += cell.offTogether ? 1 : 0;
    }
    return count;
}

DaysOffTogether::DaysOffTogether(const ViewCrews& crews)
    : m_crews(crews) {
    m_crews.sideBySide = true;
}

bool DaysOffTogether::on(DaySerial date) {
    if (m_crews.left.value() == 0 || m_crews.right.value() == 0) {
        return false;
    }
    const auto ymd = toYearMonthDay(date);
    const MonthYear month{static_cast<Int16>(unsigned(ymd.month())),
                          static_cast<Int16>(int(ymd.year()))};
    if (m_sheet.title != month) {
        m_sheet = monthSheet(month, m_crews, kNoToday);
    }
    const int w1 = sundayWeekday(date - static_cast<int>(unsigned(ymd.day())) + 1);
    const DayCell& cell =
        m_sheet.cells.at(static_cast<std::size_t>(cellOfDay(w1, int(unsigned(ymd.day())))));
    return isOffTogether(cell);
}

std::vector<DaySerial> DaysOffTogether::sharedWeekends(DaySerial from, int count) {
    std::vector<DaySerial> saturdays;
    const DaySerial lastDay = toDaySerial(std::chrono::year{kLastYear} / 12 / 31);
    // The first Saturday on or after `from` (weekday 7 counted from Sunday).
    DaySerial saturday = from + (7 - sundayWeekday(from));
    for (; saturday < from + kSearchDays && saturday + 1 <= lastDay &&
           static_cast<int>(saturdays.size()) < count;
         saturday += 7) {
        if (on(saturday) && on(saturday + 1)) {
            saturdays.push_back(saturday);
        }
    }
    return saturdays;
}

} // namespace kelsing
