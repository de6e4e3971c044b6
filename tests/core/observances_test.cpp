// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/datehelpers.h"
#include "calendar/observances.h"
#include "testsupport.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

using test::dateOf;
using test::iso;

struct Observance {
    DaySerial date;
    std::string_view caption;
};

TEST(ObservanceCaptionTest, Year2007HasExactlyItsFourteenDays) {
    const std::map<DaySerial, std::string_view> expected = {
        {dateOf(2007, 1, 1), "New Years Day"}, {dateOf(2007, 2, 19), "Family Day"},
        {dateOf(2007, 3, 11), "DST Starts"},   {dateOf(2007, 4, 6), "Good Friday"},
        {dateOf(2007, 4, 8), "Easter Sunday"}, {dateOf(2007, 5, 21), "Victoria Day"},
        {dateOf(2007, 7, 1), "Canada Day"},    {dateOf(2007, 8, 6), "Heritage Day"},
        {dateOf(2007, 9, 3), "Labour Day"},    {dateOf(2007, 10, 8), "Thanks giving Day"},
        {dateOf(2007, 11, 4), "DST Ends"},     {dateOf(2007, 11, 11), "Remem- brance Day"},
        {dateOf(2007, 12, 25), "Xmas Day"},    {dateOf(2007, 12, 26), "Boxing Day"},
    };
    for (DaySerial date = dateOf(2007, 1, 1); date <= dateOf(2007, 12, 31); ++date) {
        const auto found = expected.find(date);
        const std::string_view want = found == expected.end() ? "" : found->second;
        EXPECT_EQ(ObservanceCaption(2007, date), want) << iso(date);
    }
}

void PrintTo(const Observance& c, std::ostream* os) {
    *os << test::iso(c.date);
}

class ObservanceCaptionTable : public ::testing::TestWithParam<Observance> {};

TEST_P(ObservanceCaptionTable, CaptionOfTheDay) {
    const Observance& c = GetParam();
    const auto year = static_cast<Int16>(static_cast<int>(toYearMonthDay(c.date).year()));
    EXPECT_EQ(ObservanceCaption(year, c.date), c.caption) << iso(c.date);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, ObservanceCaptionTable,
    ::testing::Values(
        // the old clock-change rule up to 2006 ...
        Observance{dateOf(2006, 4, 2), "DST Starts"}, Observance{dateOf(2006, 10, 29), "DST Ends"},
        Observance{dateOf(2006, 3, 12), ""}, Observance{dateOf(2006, 11, 5), ""},
        Observance{dateOf(2005, 10, 30), "DST Ends"},
        // ... and the new one from 2007, whose old-rule dates stay plain
        Observance{dateOf(2007, 4, 1), ""}, Observance{dateOf(2007, 10, 28), ""},
        Observance{dateOf(2008, 3, 9), "DST Starts"},
        Observance{dateOf(2008, 3, 21), "Good Friday"},
        Observance{dateOf(2008, 3, 23), "Easter Sunday"},
        Observance{dateOf(2008, 11, 2), "DST Ends"},
        // Easter Sunday on the first Sunday of April: the clock change wins
        Observance{dateOf(1999, 4, 4), "DST Starts"}, Observance{dateOf(1999, 4, 2), "Good Friday"},
        Observance{dateOf(2010, 5, 24), "Victoria Day"},
        Observance{dateOf(2011, 5, 23), "Victoria Day"}, Observance{dateOf(2011, 5, 24), ""},
        Observance{dateOf(2007, 7, 1), "Canada Day"}, Observance{dateOf(2007, 7, 2), ""},
        // 2100, where only a Gregorian Easter is a Sunday
        Observance{dateOf(2100, 3, 28), "Easter Sunday"},
        Observance{dateOf(2100, 3, 26), "Good Friday"}, Observance{dateOf(2100, 3, 27), ""},
        // the ends of the years the sheet can show
        Observance{dateOf(100, 1, 1), "New Years Day"},
        Observance{dateOf(9999, 12, 26), "Boxing Day"}, Observance{dateOf(9999, 12, 31), ""}));

// Where each rule's day must lie, by calendar facts rather than by the date helpers.
struct Window {
    unsigned month, firstDay, lastDay;
    int weekday; // 1 = Sunday .. 7 = Saturday; 0 for any
};

Window windowOf(std::string_view caption, int year) {
    const bool newRule = year >= 2007;
    if (caption == "New Years Day")
        return {1, 1, 1, 0};
    if (caption == "Family Day")
        return {2, 15, 21, 2};
    if (caption == "DST Starts")
        return newRule ? Window{3, 8, 14, 1} : Window{4, 1, 7, 1};
    if (caption == "Victoria Day")
        return {5, 18, 24, 2};
    if (caption == "Canada Day")
        return {7, 1, 1, 0};
    if (caption == "Heritage Day")
        return {8, 1, 7, 2};
    if (caption == "Labour Day")
        return {9, 1, 7, 2};
    if (caption == "Thanks giving Day")
        return {10, 8, 14, 2};
    if (caption == "DST Ends")
        return newRule ? Window{11, 1, 7, 1} : Window{10, 25, 31, 1};
    if (caption == "Remem- brance Day")
        return {11, 11, 11, 0};
    if (caption == "Xmas Day")
        return {12, 25, 25, 0};
    if (caption == "Boxing Day")
        return {12, 26, 26, 0};
    return {0, 0, 0, 0};
}

// Every year the sheet can show: each rule lands once in its window, Easter and Good Friday on
// the Gregorian dates, and the only collision is Easter on the first Sunday of April before 2007.
TEST(YearObservancesTest, EveryYearHasItsCaptionsInTheirPlaces) {
    int collisions1901To2006 = 0;
    for (int y = 100; y <= 9999; ++y) {
        const auto year = static_cast<Int16>(y);
        const YearObservances observances(year);
        const DaySerial easter = EasterDate(year);
        std::map<std::string_view, std::vector<DaySerial>> found;
        for (DaySerial date = dateOf(y, 1, 1); date <= dateOf(y, 12, 31); ++date) {
            const std::string_view caption = observances.captionFor(date);
            if (!caption.empty()) {
                found[caption].push_back(date);
            }
        }
        const bool collision = y < 2007 && easter <= dateOf(y, 4, 7) && easter >= dateOf(y, 4, 1);
        collisions1901To2006 += collision && y >= 1901;
        ASSERT_EQ(found.size(), collision ? 13u : 14u) << y;
        for (const auto& [caption, dates] : found) {
            ASSERT_EQ(dates.size(), 1u) << y << " " << caption;
            const DaySerial date = dates.front();
            const auto ymd = toYearMonthDay(date);
            if (caption == "Easter Sunday") {
                ASSERT_EQ(date, easter) << y;
                continue;
            }
            if (caption == "Good Friday") {
                ASSERT_EQ(date, easter - 2) << y;
                continue;
            }
            const Window w = windowOf(caption, y);
            ASSERT_NE(w.month, 0u) << "unknown caption " << caption;
            ASSERT_EQ(static_cast<unsigned>(ymd.month()), w.month) << iso(date) << " " << caption;
            ASSERT_GE(static_cast<unsigned>(ymd.day()), w.firstDay) << iso(date) << " " << caption;
            ASSERT_LE(static_cast<unsigned>(ymd.day()), w.lastDay) << iso(date) << " " << caption;
            if (w.weekday != 0) {
                ASSERT_EQ(sundayWeekday(date), w.weekday) << iso(date) << " " << caption;
            }
        }
        ASSERT_EQ(found.contains("Easter Sunday"), !collision) << y;
    }
    EXPECT_EQ(collisions1901To2006, 25);
}

TEST(YearObservancesTest, CaptionForAgreesWithObservanceCaption) {
    for (int y : {100, 1899, 1900, 1999, 2006, 2007, 2008, 2038, 2100, 9999}) {
        const YearObservances observances(static_cast<Int16>(y));
        for (DaySerial date = dateOf(y, 1, 1); date <= dateOf(y, 12, 31); ++date) {
            ASSERT_EQ(observances.captionFor(date), ObservanceCaption(static_cast<Int16>(y), date))
                << iso(date);
        }
    }
}

TEST(YearObservancesTest, DatesOfAnotherYearHaveNoCaption) {
    // The rules are worked out for the shown year only.
    const YearObservances observances(2007);
    EXPECT_EQ(observances.captionFor(dateOf(2008, 1, 1)), "");
    EXPECT_EQ(observances.captionFor(dateOf(2006, 12, 25)), "");
}

TEST(YearObservancesTest, YearsOutsideTheRangeFail) {
    EXPECT_THROW(YearObservances(99), ArithmeticError);
    EXPECT_THROW(YearObservances(10000), ArithmeticError);
    EXPECT_THROW(ObservanceCaption(10000, dateOf(9999, 12, 31)), ArithmeticError);
}

} // namespace
} // namespace kelsing
