// SPDX-License-Identifier: GPL-3.0-or-later
#include "rotation/scheduletable.h"

#include <array>

namespace kelsing {

namespace {

using namespace std::string_view_literals;

// Expands the shorthand of a label list ("O O D D | N N O ...", bars for reading only) into the
// full shift labels; a wrong count or an unknown letter fails the build.
template <std::size_t N>
consteval std::array<std::string_view, N> letters(std::string_view text) {
    std::array<std::string_view, N> labels{};
    std::size_t count = 0;
    while (!text.empty()) {
        const std::size_t end = text.find(' ');
        const std::string_view token = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (token.empty() || token == "|") {
            continue;
        }
        std::string_view label;
        if (token == "D") {
            label = "Days";
        } else if (token == "N") {
            label = "Nights";
        } else if (token == "O") {
            label = "Off";
        } else if (token == "T") {
            label = "Training";
        } else if (token == "A") {
            label = "Afternoons";
        } else if (token == "D12") {
            label = "Days (12)";
        } else if (token == "D8") {
            label = "Days (8)";
        } else {
            throw "unknown shift letter";
        }
        if (count == N) {
            throw "too many labels";
        }
        labels[count++] = label;
    }
    if (count != N) {
        throw "too few labels";
    }
    return labels;
}

struct PositionRange {
    std::size_t first;
    std::size_t last;
    std::string_view line;
};

// Expands an all-crews table given as inclusive position ranges; the ranges must cover every
// position exactly once.
template <std::size_t N, std::size_t R>
consteval std::array<std::string_view, N> ranges(const PositionRange (&table)[R]) {
    std::array<std::string_view, N> lines{};
    std::size_t next = 0;
    for (const PositionRange& range : table) {
        if (range.first != next || range.last < range.first || range.last >= N) {
            throw "ranges must be contiguous";
        }
        for (std::size_t p = range.first; p <= range.last; ++p) {
            lines[p] = range.line;
        }
        next = range.last + 1;
    }
    if (next != N) {
        throw "ranges must cover the cycle";
    }
    return lines;
}

// Label lists.
constexpr auto kFourCrew =
    letters<28>("O O O O D D D | N N O O O O O | D D N N O O O | O O D D N N N");
constexpr auto kFiveCrew =
    letters<35>("T T T T O O O | N N N N O O O | D D D O N N N | O O O D D D D | O O O O O O O");
constexpr auto kHalvexAA =
    letters<28>("D D D D D D D | O O O O N N N | N N N N O O A | A A A A A A O");
constexpr auto kHalvexE5 = letters<14>("O O D D D O O | D D D D O O O");
constexpr auto kHalvexE6 = letters<14>("D D D O O O O | O D D D D O O");
constexpr auto kDayOnly28 =
    letters<28>("O O O O D D D | D D O O O O O | D D D D O O O | O O D D D D D");
constexpr auto kHalvexI2 = letters<12>("D D D N N N O | O O O O O");
constexpr auto kHalvexM = letters<14>("D D D D O O O | N N N O O O O");
constexpr auto kHalvexP6 = letters<7>("D12 D12 D8 D8 O O O");
constexpr auto kHalvexP7 = letters<7>("O D12 D8 D8 D12 O O");
constexpr auto kHalvexP8 = letters<7>("D8 D12 D12 D8 O O O");
constexpr auto kHalvexP9 = letters<7>("O D8 D12 D12 D8 O O");
constexpr auto kHalvexS = letters<28>(
    "D8 D8 D8 D8 D8 O O | D8 D8 D12 D8 D8 O O | D8 D8 D12 D8 O O O | D8 D8 D8 D8 D8 O O");
constexpr auto kHalvexT = letters<14>("D D D D O O D | D D D O O O O");
constexpr auto kCorvath1 =
    letters<28>("N N N N O O O | D D D O N N N | O O O D D D D | O O O O O O O");
constexpr auto kCorvath401 = letters<16>("D D N N O O D | D N N O O O O | O O");
constexpr auto kCorvath501 = letters<12>("D D D N N N O | O O O O O");
constexpr auto kCorvath506 = letters<12>("D D D D D D O | O O O O O");
constexpr auto kTobrinsX =
    letters<28>("O O O O D D D | N N N N O O O | O O O O O O O | D D D D N N N");

// All-crews lines.
constexpr PositionRange kFourCrewAllRanges[] = {
    {0, 1, "AO BO CD DN"},   {2, 3, "AO BD CN DO"},   {4, 6, "AD BN CO DO"},
    {7, 8, "AN BO CO DD"},   {9, 10, "AO BO CD DN"},  {11, 13, "AO BD CN DO"},
    {14, 15, "AD BN CO DO"}, {16, 17, "AN BO CO DD"}, {18, 20, "AO BO CD DN"},
    {21, 22, "AO BD CN DO"}, {23, 24, "AD BN CO DO"}, {25, 27, "AN BO CO DD"},
};
constexpr auto kFourCrewAll = ranges<28>(kFourCrewAllRanges);

constexpr PositionRange kHalvexAllRanges[] = {
    {0, 3, "AD BA CN DO"},   {4, 5, "AD BA CO DN"},   {6, 6, "AD BO CA DN"},
    {7, 10, "AO BD CA DN"},  {11, 12, "AN BD CA DO"}, {13, 13, "AN BD CO DA"},
    {14, 17, "AN BO CD DA"}, {18, 19, "AO BN CD DA"}, {20, 20, "AA BN CD DO"},
    {21, 24, "AA BN CO DD"}, {25, 26, "AA BO CN DD"}, {27, 27, "AO BA CN DD"},
};
constexpr auto kHalvexAll = ranges<28>(kHalvexAllRanges);

constexpr PositionRange kHalvexI2AllRanges[] = {
    {0, 2, "ID JO KO LN"}, {3, 5, "IN JD KO LO"}, {6, 8, "IO JN KD LO"}, {9, 11, "IO JO KN LD"}};
constexpr auto kHalvexI2All = ranges<12>(kHalvexI2AllRanges);

constexpr PositionRange kCorvath1AllRanges[] = {
    {0, 2, "1N 2O 3O 4D"},   {3, 3, "1N 2O 3D 4O"},   {4, 6, "1O 2O 3D 4N"},
    {7, 9, "1D 2N 3O 4O"},   {10, 10, "1O 2N 3O 4D"}, {11, 13, "1N 2O 3O 4D"},
    {14, 16, "1O 2D 3N 4O"}, {17, 17, "1D 2O 3N 4O"}, {18, 20, "1D 2N 3O 4O"},
    {21, 23, "1O 2O 3D 4N"}, {24, 24, "1O 2D 3O 4N"}, {25, 27, "1O 2D 3N 4O"},
};
constexpr auto kCorvath1All = ranges<28>(kCorvath1AllRanges);

constexpr PositionRange kCorvath401AllRanges[] = {
    {0, 1, "1D 2O 3N 4O"},   {2, 3, "1N 2O 3O 4D"},   {4, 5, "1O 2D 3O 4N"},
    {6, 7, "1D 2N 3O 4O"},   {8, 9, "1N 2O 3D 4O"},   {10, 11, "1O 2D 3N 4O"},
    {12, 13, "1O 2N 3O 4D"}, {14, 15, "1O 2O 3D 4N"},
};
constexpr auto kCorvath401All = ranges<16>(kCorvath401AllRanges);

constexpr PositionRange kCorvath501AllRanges[] = {
    {0, 2, "1D 2O 3O 4N"}, {3, 5, "1N 2D 3O 4O"}, {6, 8, "1O 2N 3D 4O"}, {9, 11, "1O 2O 3N 4D"}};
constexpr auto kCorvath501All = ranges<12>(kCorvath501AllRanges);

constexpr PositionRange kCorvath506AllRanges[] = {
    {0, 2, "6D 7O 8O 9D"}, {3, 5, "6D 7D 8O 9O"}, {6, 8, "6O 7D 8D 9O"}, {9, 11, "6O 7O 8D 9D"}};
constexpr auto kCorvath506All = ranges<12>(kCorvath506AllRanges);

constexpr PositionRange kTobrinsXAllRanges[] = {
    {0, 3, "AO BD CO DN"},   {4, 6, "AD BN CO DO"},   {7, 10, "AN BO CD DO"},
    {11, 13, "AO BD CN DO"}, {14, 17, "AO BN CO DD"}, {18, 20, "AO BO CD DN"},
    {21, 24, "AD BO CN DO"}, {25, 27, "AN BO CO DD"},
};
constexpr auto kTobrinsXAll = ranges<28>(kTobrinsXAllRanges);

// Base days.
constexpr DaySerial k1994_04_11 = 34435;
constexpr DaySerial k1994_04_18 = 34442;
constexpr DaySerial k1994_04_25 = 34449;
constexpr DaySerial k1994_04_26 = 34450;
constexpr DaySerial k1994_05_02 = 34456;
constexpr DaySerial k1994_05_06 = 34460;
constexpr DaySerial k1994_05_09 = 34463;
constexpr DaySerial k1994_05_10 = 34464;
constexpr DaySerial k1994_05_13 = 34467;
constexpr DaySerial k1994_05_15 = 34469;
constexpr DaySerial k1994_05_19 = 34473;
constexpr DaySerial k1994_05_23 = 34477;
constexpr DaySerial k1994_05_31 = 34485;

// Rotations.
const Rotation kBrenmoor{k1994_05_09, kFourCrew};
const Rotation kBrenmoorAll{k1994_05_09, kFourCrewAll};
const Rotation kZantor{k1994_05_09, kFiveCrew};
const Rotation kHalvexAACrews{k1994_05_06, kHalvexAA};
const Rotation kHalvexAACrewsAll{k1994_05_06, kHalvexAll};
const Rotation kHalvexE5Crew{k1994_05_09, kHalvexE5};
const Rotation kHalvexE6Crew{k1994_05_09, kHalvexE6};
const Rotation kHalvexE7Crews{k1994_04_25, kDayOnly28};
const Rotation kHalvexE9Crews{k1994_04_26, kDayOnly28};
const Rotation kHalvexI2Crews{k1994_05_13, kHalvexI2};
const Rotation kHalvexI2CrewsAll{k1994_05_13, kHalvexI2All};
const Rotation kHalvexMCrews{k1994_05_10, kHalvexM};
const Rotation kHalvexPCrews[] = {{k1994_05_09, kHalvexP6},
                                  {k1994_05_09, kHalvexP7},
                                  {k1994_05_09, kHalvexP8},
                                  {k1994_05_09, kHalvexP9}};
const Rotation kHalvexSCrews{k1994_04_11, kHalvexS};
const Rotation kHalvexTCrews{k1994_05_10, kHalvexT};
const Rotation kCorvath1Crews{k1994_04_18, kCorvath1};
const Rotation kCorvath1CrewsAll{k1994_04_18, kCorvath1All};
const Rotation kCorvath30Crews[] = {{k1994_04_25, kDayOnly28}, {k1994_05_09, kDayOnly28}};
const Rotation kCorvath150Crews[] = {{k1994_04_18, kDayOnly28}, {k1994_05_02, kDayOnly28}};
const Rotation kCorvath401Crews{k1994_05_19, kCorvath401};
const Rotation kCorvath401CrewsAll{k1994_05_19, kCorvath401All};
const Rotation kCorvath501Crews{k1994_05_15, kCorvath501};
const Rotation kCorvath501CrewsAll{k1994_05_15, kCorvath501All};
const Rotation kCorvath506Crews{k1994_05_15, kCorvath506};
const Rotation kCorvath506CrewsAll{k1994_05_15, kCorvath506All};
const Rotation kTobrins{k1994_05_31, kFourCrew};
const Rotation kTobrinsAll{k1994_05_23, kFourCrewAll};
const Rotation kTobrinsXCrews{k1994_05_23, kTobrinsX};
const Rotation kTobrinsXCrewsAll{k1994_05_23, kTobrinsXAll};

RotationSelection select(const Rotation& rotation, long long offset) {
    return {&rotation, narrow16(offset)};
}

std::optional<RotationSelection> selectHalvex(Int16 code, Int16 sub) {
    switch (code) {
    case 70:
        if (sub >= 0 && sub <= 3) {
            return select(kHalvexAACrews, sub * 7);
        }
        if (sub == 4) {
            return select(kHalvexAACrewsAll, 28);
        }
        return std::nullopt;
    case 71:
        switch (sub) {
        case 0:
            return select(kHalvexE5Crew, 0);
        case 1:
            return select(kHalvexE6Crew, 0);
        case 2:
        case 3:
            return select(kHalvexE7Crews, (3 - sub) * 14);
        case 4:
        case 5:
            return select(kHalvexE9Crews, (5 - sub) * 14);
        default:
            return std::nullopt;
        }
    case 72:
        if (sub >= 0 && sub <= 3) {
            return select(kHalvexI2Crews, sub * 3);
        }
        if (sub == 4) {
            return select(kHalvexI2CrewsAll, 12);
        }
        return std::nullopt;
    case 73:
        return RotationSelection{&kHalvexMCrews, mul16(7, sub)};
    case 74:
        if (sub >= 0 && sub <= 3) {
            return select(kHalvexPCrews[sub], 0);
        }
        return std::nullopt;
    case 75:
        return RotationSelection{&kHalvexSCrews, mul16(14, sub)};
    case 76:
        return RotationSelection{&kHalvexTCrews, mul16(7, sub)};
    default:
        return std::nullopt;
    }
}

std::optional<RotationSelection> selectCorvath(Int16 code, Int16 sub) {
    switch (code) {
    case 80:
        if (sub >= 0 && sub <= 3) {
            return select(kCorvath1Crews, sub * 7);
        }
        if (sub == 4) {
            return select(kCorvath1CrewsAll, 28);
        }
        return std::nullopt;
    case 81:
    case 82:
        if (sub == 0 || sub == 1) {
            return select(code == 81 ? kCorvath30Crews[sub] : kCorvath150Crews[sub], 0);
        }
        return std::nullopt;
    case 83:
        if (sub >= 0 && sub <= 3) {
            return select(kCorvath401Crews, sub * 4);
        }
        if (sub == 4) {
            return select(kCorvath401CrewsAll, 16);
        }
        return std::nullopt;
    case 84:
        if (sub >= 0 && sub <= 3) {
            return select(kCorvath501Crews, sub * 3);
        }
        if (sub == 4) {
            return select(kCorvath501CrewsAll, 12);
        }
        if (sub >= 5 && sub <= 8) {
            return select(kCorvath506Crews, (sub - 5) * 3);
        }
        if (sub == 9) {
            return select(kCorvath506CrewsAll, 0);
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<RotationSelection> SelectRotation(Int16 code, Int16 sub) {
    if (code >= 10 && code <= 13) {
        return select(kBrenmoor, (code - 10) * 7);
    }
    if (code == 14) {
        return select(kBrenmoorAll, 28);
    }
    if (code >= 50 && code <= 54) {
        return select(kZantor, (code - 50) * 7);
    }
    if (code >= 70 && code <= 76) {
        return selectHalvex(code, sub);
    }
    if (code >= 80 && code <= 84) {
        return selectCorvath(code, sub);
    }
    if (code >= 90 && code <= 93) {
        // Counted from 1994-05-31 with an offset of 7 x code + 90; this puts code 90 on the same
        // position as code 94, whose base day and offset follow the usual rule.
        return select(kTobrins, 7 * code + 90);
    }
    if (code == 94) {
        return select(kTobrinsAll, 28);
    }
    if (code >= 95 && code <= 98) {
        return select(kTobrinsXCrews, (code - 95) * 7);
    }
    if (code == 99) {
        return select(kTobrinsXCrewsAll, 28);
    }
    return std::nullopt;
}

} // namespace kelsing
