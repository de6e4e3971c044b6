// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/dayserial.h"

#include <cstdio>

namespace kelsing {

namespace {

constexpr std::chrono::sys_days kEpoch{std::chrono::year{1899} / 12 / 30};

constexpr DaySerial serialOf(std::chrono::year_month_day date) {
    return static_cast<DaySerial>((std::chrono::sys_days{date} - kEpoch).count());
}

constexpr DaySerial kFirstSerial = serialOf(std::chrono::year{kFirstYear} / 1 / 1);
constexpr DaySerial kLastSerial = serialOf(std::chrono::year{kLastYear} / 12 / 31);

// Remainder in 0..6 for negative serials too.
constexpr int mod7(long long value) {
    const int r = static_cast<int>(value % 7);
    return r < 0 ? r + 7 : r;
}

} // namespace

DaySerial toDaySerial(std::chrono::year_month_day date) {
    return serialOf(date);
}

std::chrono::year_month_day toYearMonthDay(DaySerial serial) {
    return std::chrono::year_month_day{kEpoch + std::chrono::days{serial}};
}

bool isSupportedSerial(DaySerial serial) {
    return serial >= kFirstSerial && serial <= kLastSerial;
}

std::string isoDate(DaySerial serial) {
    const auto ymd = toYearMonthDay(serial);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return buffer;
}

Int16 sundayWeekday(DaySerial serial) {
    return static_cast<Int16>(mod7(serial + 6LL) + 1);
}

Int16 mondayWeekday(DaySerial serial) {
    return static_cast<Int16>(mod7(serial + 5LL) + 1);
}

} // namespace kelsing
