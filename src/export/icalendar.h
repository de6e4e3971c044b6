#pragma once

#include "calendar/dayserial.h"
#include "crews/crewcode.h"

#include <string>
#include <string_view>

namespace kelsing {

/// What goes into a calendar file of a crew's shifts.
struct ShiftCalendarOptions {
    bool includeOff = false; // "Off" days are left out unless asked for
    bool mergeRuns = false;  // consecutive days of one shift as one multi-day event
    std::string stamp;       // DTSTAMP of every event, UTC as YYYYMMDDTHHMMSSZ
};

/// An RFC 5545 calendar of a crew's shifts from `from` to `to` inclusive: one all-day event per
/// day (or per run of days) with the shift as SUMMARY and the day's holiday or clock change in
/// the DESCRIPTION. UIDs are built from the crew code and the date, so a newer export of the same
/// days updates the events instead of adding them again.
std::string shiftCalendar(CrewCode crew, std::string_view crewName, DaySerial from, DaySerial to,
                          const ShiftCalendarOptions& options);

/// Escapes a TEXT value: backslash, semicolon, comma and line feed.
std::string escapeCalendarText(std::string_view text);

/// Folds a content line longer than 75 octets, never inside a UTF-8 character, and ends it with
/// CRLF.
std::string foldCalendarLine(std::string_view line);

} // namespace kelsing
