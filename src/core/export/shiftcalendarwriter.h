// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "calendar/observances.h"
#include "crews/crewcode.h"
#include "export/icalendar.h"

#include <optional>
#include <string>

namespace kelsing {

/// Writes an RFC 5545 calendar of a crew's shifts piece by piece, so that any span of the years
/// 100..9999 is written with flat memory and a caller can show how far it has come or stop
/// between two pieces.
///
/// One all-day event per working day (or per run of days with one shift when runs are merged)
/// with the shift as SUMMARY and the day's holiday or clock change as DESCRIPTION. UIDs are built
/// from the crew code and the date (a merged run's first and last date), so a newer export of the
/// same days updates the events instead of adding them again. An event ends with DTEND, except one
/// that reaches 9999-12-31, whose next day has no four-digit year: it ends with DURATION.
class ShiftCalendarWriter {
public:
    /// Days per piece when the caller does not say.
    static constexpr int kDefaultSliceDays = 366;

    /// A writer of the days `from` to `to` inclusive (none when `to` is before `from`), named
    /// `calendarName` in X-WR-CALNAME.
    ShiftCalendarWriter(CrewCode crew, std::string calendarName, DaySerial from, DaySerial to,
                        ShiftCalendarOptions options);

    /// Appends the next piece to `out`: the header first, then the events of up to `days` further
    /// days, then the end of the calendar; false, with `out` unchanged, once all is written.
    /// Throws the rotation engine's ArithmeticError for a crew code it cannot work out.
    bool next(std::string& out, int days = kDefaultSliceDays);

    /// Whether the end of the calendar has been written.
    bool finished() const { return m_finished; }

    /// The first day whose events are not written yet (the day after `to` once all are).
    DaySerial nextDay() const { return m_next; }

    /// The share of the days written so far, 0 to 1.
    double progress() const;

private:
    // One event: a run of days with one shift, or a day of the user's own (tag "-own").
    struct Event {
        DaySerial first;
        DaySerial last;
        std::string label;
        std::string description;
        std::string_view tag = {};
    };

    void writeHeader(std::string& out) const;
    void writeDay(std::string& out, DaySerial date);
    void writeOwnDay(std::string& out, DaySerial date, std::string_view label, const OwnDay& own);
    void flush(std::string& out);
    void writeEvent(std::string& out, const Event& event) const;
    std::string_view captionOn(DaySerial date);

    CrewCode m_crew;
    ScheduleSelection m_selection;
    std::string m_calendarName;
    DaySerial m_from;
    DaySerial m_to;
    ShiftCalendarOptions m_options;
    DaySerial m_next;
    bool m_headerWritten = false;
    bool m_finished = false;
    std::optional<Event> m_pending;
    std::optional<YearObservances> m_observances; // the captions of the year being written
    Int16 m_observancesYear = 0;
};

} // namespace kelsing
