// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/dayserial.h"

#include <charconv>
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

// The value of exactly `count` decimal digits at the start of `text`, if they are digits.
std::optional<int> digits(std::string_view text, std::size_t count) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + count, value);
    if (error != std::errc{} || end != text.data() + count || text[0] == '-' || text[0] == '+') {
        return std::nullopt;
    }
    return value;
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

std::optional<DaySerial> parseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const auto year = digits(text, 4);
    const auto month = digits(text.substr(5), 2);
    const auto day = digits(text.substr(8), 2);
    if (!year || !month || !day) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year{*year},
                                           std::chrono::month{static_cast<unsigned>(*month)},
                                           std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok() || *year < kFirstYear || *year > kLastYear) {
        return std::nullopt;
    }
    return toDaySerial(date);
}

Int16 sundayWeekday(DaySerial serial) {
    return static_cast<Int16>(mod7(serial + 6LL) + 1);
}

Int16 mondayWeekday(DaySerial serial) {
    return static_cast<Int16>(mod7(serial + 5LL) + 1);
}

} // namespace kelsing
