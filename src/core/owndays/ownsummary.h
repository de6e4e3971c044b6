// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "crews/crewcode.h"
#include "owndays/owndays.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace kelsing {

/// What a span of days comes to for the user of a crew: the shifts worked, by shift, once leave,
/// sick days, swaps and extra shifts are counted; the leave and sick days; the swaps and the
/// extra shifts.
struct OwnDaySummary {
    std::array<int, kTableShifts.size()> worked{}; // by the shifts of kTableShifts; "Off" is 0
    int leaveDays = 0;
    int sickDays = 0;
    int swaps = 0;
    int extras = 0;

    /// The shifts worked, all shifts together.
    int workedTotal() const;

    friend bool operator==(const OwnDaySummary&, const OwnDaySummary&) = default;
};

/// Counts the days from `from` to `to` inclusive: each day works the crew's rotation shift,
/// unless the user was on leave or sick or swapped it for another (which is worked instead,
/// unless it is "Off"); an extra shift is worked as well. Throws the rotation engine's
/// ArithmeticError for a crew code it cannot work out.
OwnDaySummary summariseOwnDays(CrewCode crew, DaySerial from, DaySerial to, const OwnDays& entries);

/// The figures of a summary as pairs of a name and a count: each shift worked at all, then
/// "Shifts worked", "Leave days", "Sick days", "Swapped shifts", "Extra shifts".
std::vector<std::pair<std::string, int>> summaryFigures(const OwnDaySummary& summary);

/// The summary in a sentence: "19 shifts worked (Days 10, Nights 9); 2 leave days, 1 sick day,
/// 1 swapped shift, 1 extra shift."
std::string summarySentence(const OwnDaySummary& summary);

} // namespace kelsing
