// SPDX-License-Identifier: GPL-3.0-or-later
#include "rotation/rotationengine.h"
#include "testsupport.h"

#include <cmath>
#include <iomanip>
#include <limits>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

using test::dateOf;
using test::iso;

// The labels of a shorthand list ("O O D D | N N ..."); bars are for reading only.
std::vector<std::string> expand(std::string_view shorthand) {
    std::vector<std::string> labels;
    while (!shorthand.empty()) {
        const auto space = shorthand.find(' ');
        const std::string_view token = shorthand.substr(0, space);
        shorthand = space == std::string_view::npos ? "" : shorthand.substr(space + 1);
        if (token == "D")
            labels.emplace_back("Days");
        else if (token == "N")
            labels.emplace_back("Nights");
        else if (token == "O")
            labels.emplace_back("Off");
        else if (token == "T")
            labels.emplace_back("Training");
        else if (token == "A")
            labels.emplace_back("Afternoons");
        else if (token == "D12")
            labels.emplace_back("Days (12)");
        else if (token == "D8")
            labels.emplace_back("Days (8)");
        else if (token != "|")
            ADD_FAILURE() << "bad shorthand " << token;
    }
    return labels;
}

std::string label(DaySerial date, Int16 code, Int16 sub) {
    return std::string(labelText(ASS(static_cast<float>(date), code, sub)));
}

// Position of a day in a cycle: the non-negative remainder of (date - base - k) / cycle.
int positionOf(long long date, long long base, long long k, long long cycle) {
    const long long r = (date - base - k) % cycle;
    return static_cast<int>(r < 0 ? r + cycle : r);
}

// ---------------------------------------------------------------------------------------------
// One crew's rotation: the list, base day (as a calendar date) and crew offset of each pair.

constexpr std::string_view kFourCrew =
    "O O O O D D D | N N O O O O O | D D N N O O O | O O D D N N N";
constexpr std::string_view kFiveCrew =
    "T T T T O O O | N N N N O O O | D D D O N N N | O O O D D D D | O O O O O O O";
constexpr std::string_view kHalvexAA =
    "D D D D D D D | O O O O N N N | N N N N O O A | A A A A A A O";
constexpr std::string_view kDayOnly28 =
    "O O O O D D D | D D O O O O O | D D D D O O O | O O D D D D D";
constexpr std::string_view kTwelve = "D D D N N N O | O O O O O";
constexpr std::string_view kHalvexS =
    "D8 D8 D8 D8 D8 O O | D8 D8 D12 D8 D8 O O | D8 D8 D12 D8 O O O | D8 D8 D8 D8 D8 O O";
constexpr std::string_view kCorvath1 =
    "N N N N O O O | D D D O N N N | O O O D D D D | O O O O O O O";
constexpr std::string_view kTobrinsX =
    "O O O O D D D | N N N N O O O | O O O O O O O | D D D D N N N";

struct CrewRow {
    Int16 code, sub;
    int baseYear;
    unsigned baseMonth, baseDay;
    int k;
    std::string_view labels;
};

void PrintTo(const CrewRow& row, std::ostream* os) {
    *os << row.code << "/" << row.sub;
}

const CrewRow kCrewRows[] = {
    {10, 0, 1994, 5, 9, 0, kFourCrew},
    {11, 0, 1994, 5, 9, 7, kFourCrew},
    {12, 0, 1994, 5, 9, 14, kFourCrew},
    {13, 0, 1994, 5, 9, 21, kFourCrew},
    {50, 0, 1994, 5, 9, 0, kFiveCrew},
    {51, 0, 1994, 5, 9, 7, kFiveCrew},
    {52, 0, 1994, 5, 9, 14, kFiveCrew},
    {53, 0, 1994, 5, 9, 21, kFiveCrew},
    {54, 0, 1994, 5, 9, 28, kFiveCrew},
    {70, 0, 1994, 5, 6, 0, kHalvexAA},
    {70, 1, 1994, 5, 6, 7, kHalvexAA},
    {70, 2, 1994, 5, 6, 14, kHalvexAA},
    {70, 3, 1994, 5, 6, 21, kHalvexAA},
    {71, 0, 1994, 5, 9, 0, "O O D D D O O | D D D D O O O"},
    {71, 1, 1994, 5, 9, 0, "D D D O O O O | O D D D D O O"},
    {71, 2, 1994, 4, 25, 14, kDayOnly28},
    {71, 3, 1994, 4, 25, 0, kDayOnly28},
    {71, 4, 1994, 4, 26, 14, kDayOnly28},
    {71, 5, 1994, 4, 26, 0, kDayOnly28},
    {72, 0, 1994, 5, 13, 0, kTwelve},
    {72, 1, 1994, 5, 13, 3, kTwelve},
    {72, 2, 1994, 5, 13, 6, kTwelve},
    {72, 3, 1994, 5, 13, 9, kTwelve},
    {73, 0, 1994, 5, 10, 0, "D D D D O O O | N N N O O O O"},
    {73, 1, 1994, 5, 10, 7, "D D D D O O O | N N N O O O O"},
    {73, -1, 1994, 5, 10, -7, "D D D D O O O | N N N O O O O"},
    {73, 4681, 1994, 5, 10, 32767, "D D D D O O O | N N N O O O O"},
    {73, -4681, 1994, 5, 10, -32767, "D D D D O O O | N N N O O O O"},
    {74, 0, 1994, 5, 9, 0, "D12 D12 D8 D8 O O O"},
    {74, 1, 1994, 5, 9, 0, "O D12 D8 D8 D12 O O"},
    {74, 2, 1994, 5, 9, 0, "D8 D12 D12 D8 O O O"},
    {74, 3, 1994, 5, 9, 0, "O D8 D12 D12 D8 O O"},
    {75, 0, 1994, 4, 11, 0, kHalvexS},
    {75, 1, 1994, 4, 11, 14, kHalvexS},
    {75, 2340, 1994, 4, 11, 32760, kHalvexS},
    {75, -2340, 1994, 4, 11, -32760, kHalvexS},
    {76, 0, 1994, 5, 10, 0, "D D D D O O D | D D D O O O O"},
    {76, 1, 1994, 5, 10, 7, "D D D D O O D | D D D O O O O"},
    {76, -4681, 1994, 5, 10, -32767, "D D D D O O D | D D D O O O O"},
    {80, 0, 1994, 4, 18, 0, kCorvath1},
    {80, 1, 1994, 4, 18, 7, kCorvath1},
    {80, 2, 1994, 4, 18, 14, kCorvath1},
    {80, 3, 1994, 4, 18, 21, kCorvath1},
    {81, 0, 1994, 4, 25, 0, kDayOnly28},
    {81, 1, 1994, 5, 9, 0, kDayOnly28},
    {82, 0, 1994, 4, 18, 0, kDayOnly28},
    {82, 1, 1994, 5, 2, 0, kDayOnly28},
    {83, 0, 1994, 5, 19, 0, "D D N N O O D | D N N O O O O | O O"},
    {83, 1, 1994, 5, 19, 4, "D D N N O O D | D N N O O O O | O O"},
    {83, 2, 1994, 5, 19, 8, "D D N N O O D | D N N O O O O | O O"},
    {83, 3, 1994, 5, 19, 12, "D D N N O O D | D N N O O O O | O O"},
    {84, 0, 1994, 5, 15, 0, kTwelve},
    {84, 1, 1994, 5, 15, 3, kTwelve},
    {84, 2, 1994, 5, 15, 6, kTwelve},
    {84, 3, 1994, 5, 15, 9, kTwelve},
    {84, 5, 1994, 5, 15, 0, "D D D D D D O | O O O O O"},
    {84, 6, 1994, 5, 15, 3, "D D D D D D O | O O O O O"},
    {84, 7, 1994, 5, 15, 6, "D D D D D D O | O O O O O"},
    {84, 8, 1994, 5, 15, 9, "D D D D D D O | O O O O O"},
    {90, 0, 1994, 5, 31, 720, kFourCrew},
    {91, 0, 1994, 5, 31, 727, kFourCrew},
    {92, 0, 1994, 5, 31, 734, kFourCrew},
    {93, 0, 1994, 5, 31, 741, kFourCrew},
    {95, 0, 1994, 5, 23, 0, kTobrinsX},
    {96, 0, 1994, 5, 23, 7, kTobrinsX},
    {97, 0, 1994, 5, 23, 14, kTobrinsX},
    {98, 0, 1994, 5, 23, 21, kTobrinsX},
};

class CrewRotationTable : public ::testing::TestWithParam<CrewRow> {};

TEST_P(CrewRotationTable, FollowsItsListFromItsBaseDay) {
    const CrewRow& row = GetParam();
    const std::vector<std::string> labels = expand(row.labels);
    const DaySerial base = dateOf(row.baseYear, row.baseMonth, row.baseDay);
    const auto cycle = static_cast<long long>(labels.size());
    // base day plus offset is the first position, the day before it the last
    EXPECT_EQ(label(base + row.k, row.code, row.sub), labels.front());
    EXPECT_EQ(label(base + row.k - 1, row.code, row.sub), labels.back());
    std::vector<DaySerial> dates;
    for (DaySerial d = dateOf(1990, 1, 1); d <= dateOf(2040, 12, 31); ++d) {
        dates.push_back(d);
    }
    // long before the base day (and before serial 0) the rotation runs on backwards
    for (DaySerial d :
         {dateOf(100, 1, 1), dateOf(1000, 6, 15), -1, 0, 1, 2, dateOf(9999, 12, 31)}) {
        for (int i = 0; i < 2 * cycle; ++i) {
            dates.push_back(d + (d > 0 ? -i : i));
        }
    }
    for (const DaySerial d : dates) {
        ASSERT_EQ(label(d, row.code, row.sub),
                  labels[static_cast<std::size_t>(positionOf(d, base, row.k, cycle))])
            << iso(d);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, CrewRotationTable, ::testing::ValuesIn(kCrewRows));

// ---------------------------------------------------------------------------------------------
// The all-crews lines must agree with the member crews on every day.

struct Member {
    Int16 code, sub;
    char name;
};

struct Family {
    Int16 code, sub;
    Member members[4];
};

void PrintTo(const Family& family, std::ostream* os) {
    *os << family.code << "/" << family.sub;
}

const Family kFamilies[] = {
    {14, 0, {{10, 0, 'A'}, {11, 0, 'B'}, {12, 0, 'C'}, {13, 0, 'D'}}},
    {94, 0, {{90, 0, 'A'}, {91, 0, 'B'}, {92, 0, 'C'}, {93, 0, 'D'}}},
    {99, 0, {{95, 0, 'A'}, {96, 0, 'B'}, {97, 0, 'C'}, {98, 0, 'D'}}},
    {70, 4, {{70, 0, 'A'}, {70, 1, 'B'}, {70, 2, 'C'}, {70, 3, 'D'}}},
    {72, 4, {{72, 0, 'I'}, {72, 1, 'J'}, {72, 2, 'K'}, {72, 3, 'L'}}},
    {80, 4, {{80, 0, '1'}, {80, 1, '2'}, {80, 2, '3'}, {80, 3, '4'}}},
    {83, 4, {{83, 0, '1'}, {83, 1, '2'}, {83, 2, '3'}, {83, 3, '4'}}},
    {84, 4, {{84, 0, '1'}, {84, 1, '2'}, {84, 2, '3'}, {84, 3, '4'}}},
    {84, 9, {{84, 5, '6'}, {84, 6, '7'}, {84, 7, '8'}, {84, 8, '9'}}},
};

class AllCrewsTable : public ::testing::TestWithParam<Family> {};

TEST_P(AllCrewsTable, LineIsBuiltFromTheMemberCrews) {
    const Family& family = GetParam();
    const auto letterOf = [](const std::string& shift) -> char {
        if (shift == "Days")
            return 'D';
        if (shift == "Nights")
            return 'N';
        if (shift == "Off")
            return 'O';
        if (shift == "Afternoons")
            return 'A';
        return '?';
    };
    const auto check = [&](DaySerial d) {
        std::string expected;
        for (const Member& m : family.members) {
            if (!expected.empty()) {
                expected += ' ';
            }
            expected += m.name;
            expected += letterOf(label(d, m.code, m.sub));
        }
        ASSERT_EQ(label(d, family.code, family.sub), expected) << iso(d);
    };
    for (DaySerial d = dateOf(1990, 1, 1); d <= dateOf(2040, 12, 31); ++d) {
        ASSERT_NO_FATAL_FAILURE(check(d));
    }
    for (DaySerial d = dateOf(100, 1, 1); d <= dateOf(9999, 12, 31); d += 997) {
        ASSERT_NO_FATAL_FAILURE(check(d));
    }
}

INSTANTIATE_TEST_SUITE_P(Families, AllCrewsTable, ::testing::ValuesIn(kFamilies));

// ---------------------------------------------------------------------------------------------
// What Monday 2007-01-01 shows.

struct DayCase {
    Int16 code, sub;
    std::string_view label;
};

void PrintTo(const DayCase& c, std::ostream* os) {
    *os << c.code << "/" << c.sub;
}

class OnMonday2007Table : public ::testing::TestWithParam<DayCase> {};

TEST_P(OnMonday2007Table, YieldsTheLabel) {
    const DayCase& c = GetParam();
    ASSERT_EQ(dateOf(2007, 1, 1), 39083);
    EXPECT_EQ(label(39083, c.code, c.sub), c.label) << c.code << "/" << c.sub;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OnMonday2007Table,
    ::testing::Values(
        DayCase{10, 0, "Off"}, DayCase{10, 7, "Off"}, DayCase{12, 3, "Days"},
        DayCase{13, 0, "Nights"}, DayCase{14, 0, "AO BO CD DN"}, DayCase{14, 9, "AO BO CD DN"},
        DayCase{50, 0, "Training"}, DayCase{54, 0, "Nights"}, DayCase{70, 0, "Days"},
        DayCase{70, 4, "AD BA CN DO"}, DayCase{71, 1, "Days"}, DayCase{72, 4, "IO JN KD LO"},
        DayCase{73, 0, "Off"}, DayCase{73, 1, "Off"}, DayCase{74, 0, "Days (12)"},
        DayCase{75, 0, "Days (8)"}, DayCase{80, 4, "1O 2O 3D 4N"}, DayCase{83, 4, "1N 2O 3O 4D"},
        DayCase{84, 4, "1O 2N 3D 4O"}, DayCase{84, 9, "6O 7D 8D 9O"}, DayCase{94, 0, "AD BN CO DO"},
        DayCase{94, 5, "AD BN CO DO"}, DayCase{99, 0, "AO BN CO DD"}));

TEST(RotationEngineTest, Code10AroundItsBaseDay) {
    EXPECT_EQ(label(34463, 10, 0), "Off");
    EXPECT_EQ(label(34463 + 4, 10, 0), "Days");
    EXPECT_EQ(label(34463 - 1, 10, 0), "Nights");
    // 1900-01-01, long before the base day
    EXPECT_EQ(label(2, 10, 0), std::string(expand(kFourCrew)[positionOf(2, 34463, 0, 28)]));
}

// ---------------------------------------------------------------------------------------------
// Which codes and sub-codes have a rotation at all.

bool acceptsAnySub(int code) {
    return (code >= 10 && code <= 14) || (code >= 50 && code <= 54) || (code >= 90 && code <= 99);
}

bool isKnownCode(int code) {
    return acceptsAnySub(code) || (code >= 70 && code <= 76) || (code >= 80 && code <= 84);
}

TEST(RotationEngineTest, CodesMissingFromTheTableHaveNoLabel) {
    const DaySerial d = dateOf(2007, 1, 1);
    for (int code = -32768; code <= 32767; ++code) {
        if (isKnownCode(code)) {
            continue;
        }
        for (Int16 sub : {0, 1, 4, 9, -1}) {
            ASSERT_FALSE(ASS(static_cast<float>(d), static_cast<Int16>(code), sub).has_value())
                << code << "/" << sub;
        }
    }
    // no crew chosen
    EXPECT_EQ(ASS(static_cast<float>(d), 0, 0), std::nullopt);
}

TEST(RotationEngineTest, CodesThatIgnoreTheSubCode) {
    for (int code = 0; code < 100; ++code) {
        if (!acceptsAnySub(code)) {
            continue;
        }
        for (DaySerial d = dateOf(2007, 1, 1); d < dateOf(2007, 3, 1); ++d) {
            const std::string expected = label(d, static_cast<Int16>(code), 0);
            ASSERT_FALSE(expected.empty()) << code;
            for (Int16 sub : {-32768, -1, 1, 4, 5, 9, 10, 32767}) {
                ASSERT_EQ(label(d, static_cast<Int16>(code), sub), expected)
                    << code << "/" << sub << " " << iso(d);
            }
        }
    }
}

struct SubCodes {
    Int16 code;
    std::set<int> accepted;
};

void PrintTo(const SubCodes& c, std::ostream* os) {
    *os << c.code;
}

class SubCodeTable : public ::testing::TestWithParam<SubCodes> {};

TEST_P(SubCodeTable, OnlyTheListedSubCodesHaveALabel) {
    const SubCodes& c = GetParam();
    const auto d = static_cast<float>(dateOf(2007, 1, 1));
    for (int sub = -32768; sub <= 32767; ++sub) {
        ASSERT_EQ(ASS(d, c.code, static_cast<Int16>(sub)).has_value(), c.accepted.contains(sub))
            << c.code << "/" << sub;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SubCodeTable,
    ::testing::Values(SubCodes{70, {0, 1, 2, 3, 4}}, SubCodes{71, {0, 1, 2, 3, 4, 5}},
                      SubCodes{72, {0, 1, 2, 3, 4}}, SubCodes{74, {0, 1, 2, 3}},
                      SubCodes{80, {0, 1, 2, 3, 4}}, SubCodes{81, {0, 1}}, SubCodes{82, {0, 1}},
                      SubCodes{83, {0, 1, 2, 3, 4}}, SubCodes{84, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}));

// Codes 73, 75 and 76 take any sub-code whose offset fits 16 bits; even sub-codes share one phase,
// odd ones the other, and beyond the bound the offset overflows.
struct PhaseCase {
    Int16 code;
    int bound;
};

void PrintTo(const PhaseCase& c, std::ostream* os) {
    *os << c.code;
}

class PhaseBySubCodeTable : public ::testing::TestWithParam<PhaseCase> {};

TEST_P(PhaseBySubCodeTable, EvenAndOddSubCodesAndTheOverflowBound) {
    const PhaseCase& c = GetParam();
    std::vector<DaySerial> dates;
    for (DaySerial d = dateOf(2007, 1, 1); d < dateOf(2007, 1, 29); ++d) {
        dates.push_back(d);
    }
    std::vector<std::string> even;
    std::vector<std::string> odd;
    for (const DaySerial d : dates) {
        even.push_back(label(d, c.code, 0));
        odd.push_back(label(d, c.code, 1));
    }
    EXPECT_NE(even, odd);
    for (int sub = -32768; sub <= 32767; ++sub) {
        const auto s = static_cast<Int16>(sub);
        if (sub < -c.bound || sub > c.bound) {
            ASSERT_THROW(ASS(static_cast<float>(dates.front()), c.code, s), OverflowError) << sub;
            continue;
        }
        const auto& expected = sub % 2 == 0 ? even : odd;
        for (std::size_t i = 0; i < dates.size(); i += 3) {
            ASSERT_EQ(label(dates[i], c.code, s), expected[i]) << sub << " " << iso(dates[i]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, PhaseBySubCodeTable,
                         ::testing::Values(PhaseCase{73, 4681}, PhaseCase{75, 2340},
                                           PhaseCase{76, 4681}));

TEST(RotationEngineTest, OverflowIsAnArithmeticError) {
    EXPECT_THROW(ASS(39083.0f, 73, 4682), ArithmeticError);
    EXPECT_THROW(ASS(39083.0f, 75, -2341), ArithmeticError);
}

// ---------------------------------------------------------------------------------------------
// Dates with a fraction of a day, and dates that are not numbers.

struct FractionCase {
    float date;
    Int16 code, sub;
    std::string_view label;
};

void PrintTo(const FractionCase& c, std::ostream* os) {
    *os << std::setprecision(9) << c.date << " " << c.code << "/" << c.sub;
}

class FractionTable : public ::testing::TestWithParam<FractionCase> {};

TEST_P(FractionTable, RoundsToTheNearestPosition) {
    const FractionCase& c = GetParam();
    EXPECT_EQ(labelText(ASS(c.date, c.code, c.sub)), c.label) << c.date;
}

// Code 10: base 34463, cycle 28; positions 3 "Off", 4 to 6 "Days", 7, 8 "Nights", 9 "Off",
// 22 "Off", 23, 24 "Days", 25 to 27 "Nights", 0 "Off". These halves come out exact in the
// engine's arithmetic, and the neighbours differ, so rounding up or down would show.
INSTANTIATE_TEST_SUITE_P(
    Cases, FractionTable,
    ::testing::Values(FractionCase{34463 + 3.25f, 10, 0, "Off"},
                      FractionCase{34463 + 3.75f, 10, 0, "Days"},
                      FractionCase{34463 + 27.25f, 10, 0, "Nights"},
                      FractionCase{34463 + 27.75f, 10, 0, "Off"}, // wraps to position 0
                      FractionCase{34463 - 0.25f, 10, 0, "Off"},
                      FractionCase{34463 - 0.75f, 10, 0, "Nights"},
                      FractionCase{34463 + 27.75f, 14, 0, "AO BO CD DN"},
                      // exact halves go to the even position
                      FractionCase{34463 + 3.5f, 10, 0, "Days"},   // 3.5 -> 4
                      FractionCase{34463 + 6.5f, 10, 0, "Days"},   // 6.5 -> 6
                      FractionCase{34463 + 8.5f, 10, 0, "Nights"}, // 8.5 -> 8
                      FractionCase{34463 + 22.5f, 10, 0, "Off"},   // 22.5 -> 22
                      FractionCase{34463 + 24.5f, 10, 0, "Days"},  // 24.5 -> 24
                      FractionCase{34463 + 27.5f, 10, 0, "Off"},   // 27.5 -> 28, wraps to 0
                      FractionCase{34463 - 0.5f, 10, 0, "Off"},    // -0.5 -> 27.5 -> 0
                      FractionCase{34463 + 6.5f, 14, 0, "AD BN CO DO"}));

TEST(RotationEngineTest, QuarterDaysLandOnTheNearestWholeDay) {
    for (const CrewRow& row : kCrewRows) {
        for (DaySerial d : {dateOf(100, 3, 1), dateOf(1899, 12, 1), dateOf(2007, 1, 1)}) {
            for (int i = 0; i < 40; ++i) {
                const DaySerial day = d + i;
                ASSERT_EQ(label(day, row.code, row.sub),
                          labelText(ASS(static_cast<float>(day) + 0.25f, row.code, row.sub)))
                    << row.code << "/" << row.sub << " " << iso(day);
                ASSERT_EQ(label(day + 1, row.code, row.sub),
                          labelText(ASS(static_cast<float>(day) + 0.75f, row.code, row.sub)))
                    << row.code << "/" << row.sub << " " << iso(day);
            }
        }
    }
}

TEST(RotationEngineTest, ADateThatIsNotANumberIsAFloatingPointError) {
    for (float bad :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
          -std::numeric_limits<float>::infinity()}) {
        EXPECT_THROW(ASS(bad, 10, 0), FloatingPointError);
        EXPECT_THROW(ASS(bad, 84, 9), ArithmeticError);
        // with no rotation selected there is nothing to count
        EXPECT_EQ(ASS(bad, 0, 0), std::nullopt);
    }
    // any finite date, however far out, still gives a label
    for (float far : {std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest()}) {
        EXPECT_TRUE(ASS(far, 10, 0).has_value());
        EXPECT_TRUE(ASS(far, 83, 4).has_value());
    }
}

// ---------------------------------------------------------------------------------------------
// Every rotation repeats with its cycle and yields only the known label forms.

struct CycleCase {
    Int16 code, sub;
    int cycle;
};

TEST(RotationEngineTest, EveryRotationRepeatsWithItsCycle) {
    const CycleCase cases[] = {
        {10, 0, 28}, {14, 0, 28}, {50, 0, 35}, {54, 0, 35}, {70, 2, 28}, {70, 4, 28}, {71, 0, 14},
        {71, 1, 14}, {71, 4, 28}, {72, 4, 12}, {73, 0, 14}, {74, 3, 7},  {75, 1, 28}, {76, 0, 14},
        {80, 4, 28}, {81, 1, 28}, {82, 0, 28}, {83, 4, 16}, {84, 4, 12}, {84, 9, 12}, {84, 7, 12},
        {90, 0, 28}, {94, 0, 28}, {95, 0, 28}, {99, 0, 28},
    };
    const std::set<std::string> single = {"Days",       "Nights",    "Off",     "Training",
                                          "Afternoons", "Days (12)", "Days (8)"};
    for (const CycleCase& c : cases) {
        for (DaySerial d = dateOf(1850, 1, 1); d <= dateOf(2150, 1, 1); d += 13) {
            const std::string here = label(d, c.code, c.sub);
            ASSERT_EQ(label(d + c.cycle, c.code, c.sub), here)
                << c.code << "/" << c.sub << " " << iso(d);
            ASSERT_EQ(label(d - 7 * c.cycle, c.code, c.sub), here) << c.code << "/" << c.sub;
            const bool allCrews =
                here.size() == 11 && here[2] == ' ' && here[5] == ' ' && here[8] == ' ';
            ASSERT_TRUE(single.contains(here) || allCrews) << c.code << "/" << c.sub << " " << here;
        }
    }
}

} // namespace
} // namespace kelsing
