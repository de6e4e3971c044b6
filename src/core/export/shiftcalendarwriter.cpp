// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/shiftcalendarwriter.h"

#include "base/version.h"
#include "rotation/rotationengine.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace kelsing {

namespace {

std::string compactDate(DaySerial date) {
    const auto ymd = toYearMonthDay(date);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02u%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return buffer;
}

const DaySerial kLastDay = toDaySerial(std::chrono::year{kLastYear} / 12 / 31);

void addLine(std::string& out, std::string_view line) {
    out += foldCalendarLine(line);
}

// The non-empty pieces of a description, a line each.
std::string joinedLines(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (const std::string_view piece : pieces) {
        if (!piece.empty()) {
            text.append(text.empty() ? "" : "\n").append(piece);
        }
    }
    return text;
}

} // namespace

ShiftCalendarWriter::ShiftCalendarWriter(CrewCode crew, std::string calendarName, DaySerial from,
                                         DaySerial to, ShiftCalendarOptions options)
    : m_crew(crew)
    , m_selection(crew.decode())
    , m_calendarName(std::move(calendarName))
    , m_from(from)
    , m_to(to)
    , m_options(std::move(options))
    , m_next(from) {
}

double ShiftCalendarWriter::progress() const {
    if (m_finished || m_to < m_from) {
        return m_finished ? 1.0 : 0.0;
    }
    return static_cast<double>(m_next - m_from) / (static_cast<double>(m_to - m_from) + 1.0);
}

bool ShiftCalendarWriter::next(std::string& out, int days) {
    if (m_finished) {
        return false;
    }
    if (!m_headerWritten) {
        writeHeader(out);
        m_headerWritten = true;
        return true;
    }
    if (m_next <= m_to) {
        for (int n = 0; n < std::max(days, 1) && m_next <= m_to; ++n, ++m_next) {
            writeDay(out, m_next);
        }
        if (m_next > m_to) {
            flush(out);
        }
        return true;
    }
    addLine(out, "END:VCALENDAR");
    m_finished = true;
    return true;
}

void ShiftCalendarWriter::writeHeader(std::string& out) const {
    addLine(out, "BEGIN:VCALENDAR");
    addLine(out, "VERSION:2.0");
    addLine(out, "PRODID:-//Kelsing//" + std::string(kApplicationTitle) + ' ' +
                     std::string(kVersionText) + "//EN");
    addLine(out, "CALSCALE:GREGORIAN");
    addLine(out, "METHOD:PUBLISH");
    addLine(out, "X-WR-CALNAME:" + escapeCalendarText(m_calendarName));
    for (const std::string& property : m_options.calendarProperties) {
        addLine(out, property);
    }
}

std::string_view ShiftCalendarWriter::captionOn(DaySerial date) {
    const auto year = static_cast<Int16>(static_cast<int>(toYearMonthDay(date).year()));
    if (!m_observances || m_observancesYear != year) {
        m_observances.emplace(year);
        m_observancesYear = year;
    }
    return m_observances->captionFor(date);
}

void ShiftCalendarWriter::writeDay(std::string& out, DaySerial date) {
    const std::string_view label =
        labelText(ASS(static_cast<float>(date), m_selection.code, m_selection.subCode));
    if (const OwnDay* own = m_options.ownDays ? m_options.ownDays->find(date) : nullptr) {
        flush(out);
        writeOwnDay(out, date, label, *own);
        return;
    }
    if (label.empty() || (label == "Off" && !m_options.includeOff)) {
        flush(out);
        return;
    }
    const std::string_view caption = captionOn(date);
    if (m_options.mergeRuns && m_pending && m_pending->label == label &&
        m_pending->last + 1 == date) {
        m_pending->last = date;
        if (!caption.empty()) {
            if (!m_pending->description.empty()) {
                m_pending->description += '\n';
            }
            m_pending->description.append(isoDate(date)).append(" ").append(caption);
        }
        return;
    }
    flush(out);
    std::string description(caption);
    if (m_options.mergeRuns && !description.empty()) {
        description = isoDate(date) + ' ' + description;
    }
    m_pending = Event{date, date, std::string(label), std::move(description)};
}

void ShiftCalendarWriter::writeOwnDay(std::string& out, DaySerial date, std::string_view label,
                                      const OwnDay& own) {
    const std::string caption(captionOn(date));
    const bool rotationEvent = !label.empty() && (label != "Off" || m_options.includeOff);
    if (own.kind == OwnDayKind::Swap) {
        // The rotation's own identity, so that a calendar replaces the shift it had.
        const std::string swappedFor = label.empty() ? "" : "Swapped for " + std::string(label);
        writeEvent(
            out, {date, date, own.shift + " (swap)", joinedLines({swappedFor, caption, own.note})});
        return;
    }
    if (rotationEvent) {
        const std::string_view note =
            own.kind == OwnDayKind::Note ? std::string_view(own.note) : std::string_view();
        writeEvent(out, {date, date, std::string(label), joinedLines({caption, note})});
        if (own.kind == OwnDayKind::Note) {
            return;
        }
    }
    std::string summary(kindWord(own.kind));
    if (own.kind == OwnDayKind::Extra) {
        summary = own.shift + " (extra)";
    }
    writeEvent(out, {date, date, summary, joinedLines({caption, own.note}), "-own"});
}

void ShiftCalendarWriter::flush(std::string& out) {
    if (m_pending) {
        writeEvent(out, *m_pending);
        m_pending.reset();
    }
}

void ShiftCalendarWriter::writeEvent(std::string& out, const Event& event) const {
    addLine(out, "BEGIN:VEVENT");
    // A merged run names its first and last day, so that it never takes the place of the event
    // of its first day in a calendar that holds both kinds of export.
    const std::string days = m_options.mergeRuns
                                 ? compactDate(event.first) + '-' + compactDate(event.last)
                                 : compactDate(event.first);
    addLine(out,
            "UID:" + days + std::string(event.tag) + "-crew" + m_crew.text() + "@kelsing-shifts");
    addLine(out, "DTSTAMP:" + m_options.stamp);
    // All-day dates carry no time zone, so no zone can move a shift to another day.
    addLine(out, "DTSTART;VALUE=DATE:" + compactDate(event.first));
    if (event.last < kLastDay) {
        addLine(out, "DTEND;VALUE=DATE:" + compactDate(event.last + 1));
    } else {
        addLine(out, "DURATION:P" + std::to_string(event.last - event.first + 1) + 'D');
    }
    addLine(out, "SUMMARY:" + escapeCalendarText(event.label));
    if (!event.description.empty()) {
        addLine(out, "DESCRIPTION:" + escapeCalendarText(event.description));
    }
    addLine(out, "TRANSP:TRANSPARENT");
    addLine(out, "END:VEVENT");
}

} // namespace kelsing
