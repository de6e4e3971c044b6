// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "crews/crewcode.h"
#include "owndays/owndays.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelsing {

/// What goes into a calendar file of a crew's shifts.
struct ShiftCalendarOptions {
    bool includeOff = false; // "Off" days are left out unless asked for
    bool mergeRuns = false;  // consecutive days of one shift as one multi-day event
    std::string stamp;       // DTSTAMP of every event, UTC as YYYYMMDDTHHMMSSZ
    /// The user's own days, when they go into the calendar (not owned): a swap replaces the
    /// rotation's event of its day, an extra shift adds one, leave and sick days are events of
    /// their own, and notes go into the descriptions.
    const OwnDays* ownDays = nullptr;
    // Further properties of the calendar as whole content lines ("NAME:..."), values escaped,
    // written after its name.
    std::vector<std::string> calendarProperties = {};
};

/// An RFC 5545 calendar of a crew's shifts from `from` to `to` inclusive, named
/// "<crewName> shifts", in one piece: ShiftCalendarWriter's pieces joined.
std::string shiftCalendar(CrewCode crew, std::string_view crewName, DaySerial from, DaySerial to,
                          const ShiftCalendarOptions& options);

/// The DTSTAMP text (YYYYMMDDTHHMMSSZ, UTC) of a moment given in seconds since 1970-01-01 UTC;
/// a moment outside 0100-01-01T00:00:00Z..9999-12-31T23:59:59Z is held to the nearer end, so the
/// text keeps its four-digit year however wrong the clock is.
std::string calendarStamp(std::int64_t secondsSinceEpoch);

/// Escapes a TEXT value: backslash, semicolon, comma and line feed.
std::string escapeCalendarText(std::string_view text);

/// Folds a content line longer than 75 octets, never inside a UTF-8 character, and ends it with
/// CRLF.
std::string foldCalendarLine(std::string_view line);

} // namespace kelsing
