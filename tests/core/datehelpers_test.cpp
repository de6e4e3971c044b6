// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/datehelpers.h"
#include "calendar/dayserial.h"
#include "testsupport.h"

#include <ostream>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

using test::dateOf;
using test::iso;

constexpr Int16 kSunday = 1;
constexpr Int16 kMonday = 2;
constexpr Int16 kSaturday = 7;

// ---------------------------------------------------------------------------------------------
// DateFromParts

struct PartsCase {
    Int16 year, month, day;
    DaySerial expected;
};

void PrintTo(const PartsCase& c, std::ostream* os) {
    *os << c.year << "/" << c.month << "/" << c.day;
}

class DateFromPartsTable : public ::testing::TestWithParam<PartsCase> {};

TEST_P(DateFromPartsTable, RollsMonthsAndDays) {
    const PartsCase& c = GetParam();
    EXPECT_EQ(DateFromParts(c.year, c.month, c.day), c.expected)
        << c.year << "/" << c.month << "/" << c.day << " gave "
        << iso(DateFromParts(c.year, c.month, c.day));
}

INSTANTIATE_TEST_SUITE_P(
    Rollover, DateFromPartsTable,
    ::testing::Values(
        // months outside 1..12 move whole years
        PartsCase{2007, 13, 1, dateOf(2008, 1, 1)}, PartsCase{2007, 0, 1, dateOf(2006, 12, 1)},
        PartsCase{2007, -1, 1, dateOf(2006, 11, 1)}, PartsCase{2007, -11, 1, dateOf(2006, 1, 1)},
        PartsCase{2007, -12, 1, dateOf(2005, 12, 1)}, PartsCase{2007, 24, 1, dateOf(2008, 12, 1)},
        PartsCase{2007, 25, 1, dateOf(2009, 1, 1)}, PartsCase{2000, 32767, 1, dateOf(4730, 7, 1)},
        PartsCase{9000, -32768, 1, dateOf(6269, 4, 1)},
        // days outside the month count from the 1st
        PartsCase{2008, 3, 0, dateOf(2008, 2, 29)}, PartsCase{2007, 3, 0, dateOf(2007, 2, 28)},
        PartsCase{2000, 2, 30, dateOf(2000, 3, 1)}, PartsCase{1900, 2, 29, dateOf(1900, 3, 1)},
        PartsCase{2007, 1, 32, dateOf(2007, 2, 1)}, PartsCase{2007, 12, 32, dateOf(2008, 1, 1)},
        PartsCase{2007, 1, -1, dateOf(2006, 12, 30)}, PartsCase{2007, 3, -365, dateOf(2006, 2, 28)},
        PartsCase{2007, 13, 0, dateOf(2007, 12, 31)}, PartsCase{2007, 0, 0, dateOf(2006, 11, 30)},
        PartsCase{2000, 1, 32767, dateOf(2000, 1, 1) + 32766},
        // a start far outside the years may still land inside them
        PartsCase{11, 1, 32767, dateOf(11, 1, 1) + 32766},
        PartsCase{10089, 1, -32768, dateOf(10089, 1, 1) - 32769},
        // the ends of the supported years
        PartsCase{100, 1, 1, dateOf(100, 1, 1)}, PartsCase{9999, 12, 31, dateOf(9999, 12, 31)},
        PartsCase{99, 13, 1, dateOf(100, 1, 1)}, PartsCase{10000, 0, 31, dateOf(9999, 12, 31)}));

struct YMD {
    Int16 year, month, day;
};

void PrintTo(const YMD& c, std::ostream* os) {
    *os << c.year << "/" << c.month << "/" << c.day;
}

class DateFromPartsRangeTest : public ::testing::TestWithParam<YMD> {};

TEST_P(DateFromPartsRangeTest, OutsideTheYearsIsARangeError) {
    const YMD& c = GetParam();
    EXPECT_THROW(DateFromParts(c.year, c.month, c.day), DateRangeError)
        << c.year << "/" << c.month << "/" << c.day;
}

INSTANTIATE_TEST_SUITE_P(Ends, DateFromPartsRangeTest,
                         ::testing::Values(YMD{99, 12, 31}, YMD{100, 1, 0}, YMD{100, 0, 1},
                                           YMD{10000, 1, 1}, YMD{9999, 12, 32}, YMD{9999, 13, 1},
                                           YMD{0, 1, 1}, YMD{-1, 1, 1}, YMD{150, 1, -32768},
                                           YMD{9950, 1, 32767}, YMD{-32768, -32768, -32768},
                                           YMD{32767, 32767, 32767}, YMD{-32768, 1, 32767},
                                           YMD{32767, 1, -32768}));

TEST(DateFromPartsTest, RangeErrorIsAnArithmeticError) {
    EXPECT_THROW(DateFromParts(10000, 1, 1), ArithmeticError);
}

// Walks every day of the years 100..9999 with a counter and the leap-year rule, and checks that
// building, splitting and the weekday agree with it and with the fixed points of the serials.
TEST(DayWalkTest, EveryDayOfTheSupportedYearsAgrees) {
    DaySerial serial = DateFromParts(100, 1, 1);
    Int16 weekday = sundayWeekday(serial);
    int anchorsSeen = 0;
    EXPECT_FALSE(isSupportedSerial(serial - 1));
    for (int y = 100; y <= 9999; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= test::monthLength(y, m); ++d) {
                ASSERT_EQ(DateFromParts(static_cast<Int16>(y), static_cast<Int16>(m),
                                        static_cast<Int16>(d)),
                          serial)
                    << y << "-" << m << "-" << d;
                const auto ymd = toYearMonthDay(serial);
                ASSERT_TRUE(static_cast<int>(ymd.year()) == y &&
                            static_cast<unsigned>(ymd.month()) == static_cast<unsigned>(m) &&
                            static_cast<unsigned>(ymd.day()) == static_cast<unsigned>(d))
                    << iso(serial) << " for " << y << "-" << m << "-" << d;
                ASSERT_EQ(sundayWeekday(serial), weekday) << iso(serial);
                ASSERT_EQ(mondayWeekday(serial), weekday == kSunday ? 7 : weekday - 1)
                    << iso(serial);
                ASSERT_TRUE(isSupportedSerial(serial));
                if (y == 1899 && m == 12 && d == 30) {
                    EXPECT_EQ(serial, 0);
                    EXPECT_EQ(weekday, kSaturday);
                    ++anchorsSeen;
                }
                if (y == 1994 && m == 5 && d == 9) {
                    EXPECT_EQ(serial, 34463);
                    EXPECT_EQ(weekday, kMonday);
                    ++anchorsSeen;
                }
                if (y == 2007 && m == 4 && d == 8) {
                    EXPECT_EQ(serial, 39180);
                    EXPECT_EQ(weekday, kSunday);
                    ++anchorsSeen;
                }
                ++serial;
                weekday = static_cast<Int16>(weekday % 7 + 1);
            }
        }
    }
    EXPECT_EQ(anchorsSeen, 3);
    EXPECT_FALSE(isSupportedSerial(serial));
}

// ---------------------------------------------------------------------------------------------
// GoToMonday

struct MondayCase {
    YMD date;
    DaySerial expected;
};

void PrintTo(const MondayCase& c, std::ostream* os) {
    *os << c.date.year << "/" << c.date.month << "/" << c.date.day;
}

class GoToMondayTable : public ::testing::TestWithParam<MondayCase> {};

TEST_P(GoToMondayTable, GivesTheMondayOnOrBefore) {
    const MondayCase& c = GetParam();
    EXPECT_EQ(GoToMonday(c.date.year, c.date.month, c.date.day), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, GoToMondayTable,
                         ::testing::Values(MondayCase{{2007, 5, 24}, dateOf(2007, 5, 21)},
                                           MondayCase{{2010, 5, 24}, dateOf(2010, 5, 24)},
                                           MondayCase{{2009, 3, 1}, dateOf(2009, 2, 23)},
                                           MondayCase{{2008, 1, 6}, dateOf(2007, 12, 31)},
                                           MondayCase{{2007, 13, 6}, dateOf(2007, 12, 31)},
                                           MondayCase{{2007, 6, 0}, dateOf(2007, 5, 28)},
                                           MondayCase{{100, 1, 4}, dateOf(100, 1, 4)}));

TEST(GoToMondayTest, EveryDayMapsToTheMondayOfItsWeek) {
    for (DaySerial date = dateOf(1990, 1, 1); date <= dateOf(2030, 12, 31); ++date) {
        const auto ymd = toYearMonthDay(date);
        const DaySerial monday = GoToMonday(static_cast<Int16>(static_cast<int>(ymd.year())),
                                            static_cast<Int16>(static_cast<unsigned>(ymd.month())),
                                            static_cast<Int16>(static_cast<unsigned>(ymd.day())));
        ASSERT_EQ(sundayWeekday(monday), kMonday) << iso(date);
        ASSERT_TRUE(date - monday >= 0 && date - monday <= 6) << iso(date);
    }
}

TEST(GoToMondayTest, TheDayArgumentMustStayIn16Bits) {
    // Day -32768 of 0200-01 is a Monday and maps to itself; the same day of 0201-01 is a
    // Tuesday, whose Monday would need day -32769.
    EXPECT_EQ(GoToMonday(200, 1, -32768), dateOf(110, 4, 14));
    EXPECT_THROW(GoToMonday(201, 1, -32768), OverflowError);
}

TEST(GoToMondayTest, AMondayBeforeTheYearsIsARangeError) {
    // 0100-01-01 is a Friday, its Monday is in the year 99.
    ASSERT_EQ(sundayWeekday(dateOf(100, 1, 1)), 6);
    EXPECT_THROW(GoToMonday(100, 1, 1), DateRangeError);
}

// ---------------------------------------------------------------------------------------------
// NDow and DOWsInMonth

struct NDowCase {
    Int16 year, month, n, dow;
    DaySerial expected;
};

void PrintTo(const NDowCase& c, std::ostream* os) {
    *os << c.year << "/" << c.month << " #" << c.n << " of " << c.dow;
}

class NDowTable : public ::testing::TestWithParam<NDowCase> {};

TEST_P(NDowTable, FindsTheNthWeekday) {
    const NDowCase& c = GetParam();
    EXPECT_EQ(NDow(c.year, c.month, c.n, c.dow), c.expected)
        << "got " << iso(NDow(c.year, c.month, c.n, c.dow));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NDowTable,
    ::testing::Values(
        NDowCase{2007, 2, 3, 2, dateOf(2007, 2, 19)}, NDowCase{2007, 3, 2, 1, dateOf(2007, 3, 11)},
        NDowCase{2006, 4, 1, 1, dateOf(2006, 4, 2)}, NDowCase{2007, 11, 1, 1, dateOf(2007, 11, 4)},
        NDowCase{2007, 10, 2, 2, dateOf(2007, 10, 8)},
        NDowCase{2006, 10, 5, 1, dateOf(2006, 10, 29)},
        // September 2007 has four Mondays: the fifth rolls into October
        NDowCase{2007, 9, 5, 2, dateOf(2007, 10, 1)}, NDowCase{2007, 9, 6, 2, dateOf(2007, 10, 8)},
        // Saturdays like any other weekday
        NDowCase{2007, 9, 1, 7, dateOf(2007, 9, 1)}, NDowCase{2007, 9, 5, 7, dateOf(2007, 9, 29)},
        // occurrence 0 is the week before the first
        NDowCase{2007, 1, 0, 2, dateOf(2006, 12, 25)},
        NDowCase{2007, 13, 1, 1, dateOf(2008, 1, 6)}));

TEST(NDowTest, OverflowOfTheOccurrenceIsAnError) {
    EXPECT_THROW(NDow(2007, 1, 32767, 1), OverflowError);
    EXPECT_THROW(NDow(2007, 1, -32768, 1), OverflowError);
    EXPECT_THROW(NDow(2007, 1, 4682, 1), OverflowError);
    EXPECT_THROW(NDow(9999, 12, 6, 1), DateRangeError);
}

TEST(NDowTest, OccurrencesAndCountsAgreeOverManyMonths) {
    for (int y : {100, 101, 1582, 1900, 1999, 2000, 2006, 2007, 2100, 9998}) {
        for (int y2 = y; y2 < y + (y == 1999 ? 40 : 1); ++y2) {
            const auto year = static_cast<Int16>(y2);
            for (Int16 m = 1; m <= 12; ++m) {
                SCOPED_TRACE(::testing::Message() << y2 << "-" << m);
                int total = 0;
                for (Int16 dow = 1; dow <= 7; ++dow) {
                    const DaySerial first = NDow(year, m, 1, dow);
                    const auto firstDay = static_cast<unsigned>(toYearMonthDay(first).day());
                    EXPECT_EQ(sundayWeekday(first), dow);
                    EXPECT_TRUE(firstDay >= 1 && firstDay <= 7) << iso(first);
                    for (Int16 n = 2; n <= 5; ++n) {
                        EXPECT_EQ(NDow(year, m, n, dow), first + 7 * (n - 1));
                    }
                    const Int16 count = DOWsInMonth(year, m, dow);
                    EXPECT_TRUE(count == 4 || count == 5) << count;
                    total += count;
                    // the count finds the last occurrence: it is in the month, a week on is not
                    const DaySerial lastOne = NDow(year, m, count, dow);
                    EXPECT_EQ(static_cast<unsigned>(toYearMonthDay(lastOne).month()),
                              static_cast<unsigned>(m));
                    EXPECT_NE(static_cast<unsigned>(toYearMonthDay(lastOne + 7).month()),
                              static_cast<unsigned>(m));
                }
                EXPECT_EQ(total, test::monthLength(y2, m));
            }
        }
    }
}

struct CountCase {
    Int16 year, month, dow;
    Int16 expected;
};

void PrintTo(const CountCase& c, std::ostream* os) {
    *os << c.year << "/" << c.month << " weekday " << c.dow;
}

class DOWsInMonthTable : public ::testing::TestWithParam<CountCase> {};

TEST_P(DOWsInMonthTable, CountsOrGivesZero) {
    const CountCase& c = GetParam();
    EXPECT_EQ(DOWsInMonth(c.year, c.month, c.dow), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, DOWsInMonthTable,
                         ::testing::Values(CountCase{2006, 10, 1, 5}, CountCase{2005, 10, 1, 5},
                                           CountCase{2007, 2, 1, 4}, CountCase{2008, 2, 6, 5},
                                           CountCase{2008, 2, 5, 4}, CountCase{9999, 12, 6, 5},
                                           CountCase{100, 1, 6, 5},
                                           // not a weekday
                                           CountCase{2007, 2, 8, 0}, CountCase{2007, 2, 0, 0},
                                           CountCase{2007, 2, -1, 0}, CountCase{2007, 2, 32767, 0},
                                           // failures are swallowed
                                           CountCase{10000, 1, 1, 0}, CountCase{99, 12, 1, 0},
                                           CountCase{9999, 13, 1, 0}, CountCase{2007, 32767, 1, 0},
                                           CountCase{-32768, 1, 1, 0}));

TEST(DOWsInMonthTest, LastSundayOfOctober2005) {
    EXPECT_EQ(NDow(2005, 10, DOWsInMonth(2005, 10, kSunday), kSunday), dateOf(2005, 10, 30));
}

// ---------------------------------------------------------------------------------------------
// EasterDate

// The closed formula the calendar used to have, in its 16-bit arithmetic (every operand is
// positive for the years tested, so C++'s / and % agree with truncating division).
DaySerial closedFormulaEaster(int year) {
    const int d = ((255 - 11 * (year % 19)) - 21) % 30 + 21;
    const int c = d > 48 ? -1 : 0;
    const int e = (year + year / 4 + d + c + 1) % 7;
    return dateOf(year, 3, 1) + d + c + 6 - e;
}

TEST(EasterDateTest, AgreesWithTheClosedFormulaFrom1900To2099) {
    for (int y = 1900; y <= 2099; ++y) {
        EXPECT_EQ(EasterDate(static_cast<Int16>(y)), closedFormulaEaster(y)) << y;
    }
}

TEST(EasterDateTest, ClosedFormulaIsWrongIn2100) {
    // The reason for the Gregorian computation: the old formula puts Easter on a Saturday.
    EXPECT_EQ(closedFormulaEaster(2100), dateOf(2100, 3, 27));
    EXPECT_EQ(sundayWeekday(closedFormulaEaster(2100)), kSaturday);
    EXPECT_EQ(EasterDate(2100), dateOf(2100, 3, 28));
}

TEST(EasterDateTest, AlwaysASundayFromMarch22ToApril25) {
    for (int y = 100; y <= 9999; ++y) {
        const DaySerial easter = EasterDate(static_cast<Int16>(y));
        ASSERT_EQ(sundayWeekday(easter), kSunday) << iso(easter);
        ASSERT_GE(easter, dateOf(y, 3, 22)) << iso(easter);
        ASSERT_LE(easter, dateOf(y, 4, 25)) << iso(easter);
    }
}

struct EasterCase {
    Int16 year;
    DaySerial expected;
};

void PrintTo(const EasterCase& c, std::ostream* os) {
    *os << c.year;
}

class EasterDateTable : public ::testing::TestWithParam<EasterCase> {};

TEST_P(EasterDateTable, KnownDates) {
    EXPECT_EQ(EasterDate(GetParam().year), GetParam().expected)
        << "got " << iso(EasterDate(GetParam().year));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EasterDateTable,
    ::testing::Values(EasterCase{1900, dateOf(1900, 4, 15)}, EasterCase{2007, dateOf(2007, 4, 8)},
                      EasterCase{2008, dateOf(2008, 3, 23)}, EasterCase{2011, dateOf(2011, 4, 24)},
                      EasterCase{2038, dateOf(2038, 4, 25)}, EasterCase{2100, dateOf(2100, 3, 28)},
                      // outside 1900..2099, where only the Gregorian computation is right
                      EasterCase{1818, dateOf(1818, 3, 22)}, EasterCase{1886, dateOf(1886, 4, 25)},
                      EasterCase{2285, dateOf(2285, 3, 22)}, EasterCase{2200, dateOf(2200, 4, 6)},
                      EasterCase{1700, dateOf(1700, 4, 11)}));

TEST(EasterDateTest, OutsideTheYearsIsARangeError) {
    EXPECT_THROW(EasterDate(99), DateRangeError);
    EXPECT_THROW(EasterDate(10000), DateRangeError);
    EXPECT_THROW(EasterDate(-1), DateRangeError);
}

} // namespace
} // namespace kelsing
