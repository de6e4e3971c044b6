// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/datehelpers.h"

namespace kelsing {

namespace {

constexpr long long floorDiv(long long a, long long b) {
    const long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

DaySerial DateFromParts(Int16 year, Int16 month, Int16 day) {
    const long long yearShift = floorDiv(month - 1LL, 12);
    const long long rolledYear = year + yearShift;
    const auto rolledMonth = static_cast<unsigned>(month - 1LL - 12 * yearShift + 1);
    // A 16-bit day moves the date by less than 90 years, so a first-of-month further out than
    // that cannot land inside the supported years (and would leave chrono's year range).
    if (rolledYear < kFirstYear - 100 || rolledYear > kLastYear + 100) {
        throw DateRangeError("date outside the years 100..9999");
    }
    const DaySerial first = toDaySerial(std::chrono::year{static_cast<int>(rolledYear)} /
                                        std::chrono::month{rolledMonth} / 1);
    const DaySerial result = first + (day - 1);
    if (!isSupportedSerial(result)) {
        throw DateRangeError("date outside the years 100..9999");
    }
    return result;
}

DaySerial GoToMonday(Int16 year, Int16 month, Int16 day) {
    const Int16 w = mondayWeekday(DateFromParts(year, month, day));
    return DateFromParts(year, month, narrow16(day - w + 1LL));
}

DaySerial NDow(Int16 year, Int16 month, Int16 n, Int16 dow) {
    const Int16 w1 = sundayWeekday(DateFromParts(year, month, 1));
    const int ahead = ((dow - w1) % 7 + 7) % 7;
    const Int16 weeks = mul16(sub16(n, 1), 7);
    return DateFromParts(year, month, narrow16(1LL + ahead + weeks));
}

Int16 DOWsInMonth(Int16 year, Int16 month, Int16 dow) {
    try {
        const DaySerial lastDay = DateFromParts(year, add16(month, 1), 0);
        const Int16 last = narrow16(static_cast<unsigned>(toYearMonthDay(lastDay).day()));
        Int16 count = 0;
        for (Int16 i = 1; i <= last; ++i) {
            if (sundayWeekday(DateFromParts(year, month, i)) == dow) {
                count = add16(count, 1);
            }
        }
        return count;
    } catch (const ArithmeticError&) {
        return 0;
    }
}

DaySerial EasterDate(Int16 year) {
    // Anonymous Gregorian algorithm (Meeus/Jones/Butcher); right for every Gregorian year, where
    // the old closed formula holds only for 1900..2099.
    if (year < kFirstYear || year > kLastYear) {
        throw DateRangeError("Easter outside the years 100..9999");
    }
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return DateFromParts(year, static_cast<Int16>(month), static_cast<Int16>(day));
}

} // namespace kelsing
