#include "export/icalendar.h"

#include "base/version.h"
#include "calendar/observances.h"
#include "rotation/rotationengine.h"

#include <cstdio>
#include <optional>

namespace kelsing {

namespace {

constexpr std::size_t kMaxLineOctets = 75;

std::string compactDate(DaySerial date) {
    const auto ymd = toYearMonthDay(date);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02u%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return buffer;
}

std::string isoDate(DaySerial date) {
    const std::string compact = compactDate(date);
    return compact.substr(0, 4) + '-' + compact.substr(4, 2) + '-' + compact.substr(6, 2);
}

Int16 yearOf(DaySerial date) {
    return static_cast<Int16>(static_cast<int>(toYearMonthDay(date).year()));
}

// One event: a run of days with one shift.
struct Event {
    DaySerial first;
    DaySerial last;
    std::string label;
    std::string description;
};

// The captions of the days of a year, looked up once per year.
class Captions {
public:
    std::string_view on(DaySerial date) {
        const Int16 year = yearOf(date);
        if (!m_observances || m_year != year) {
            m_observances.emplace(year);
            m_year = year;
        }
        return m_observances->captionFor(date);
    }

private:
    std::optional<YearObservances> m_observances;
    Int16 m_year = 0;
};

void addLine(std::string& out, std::string_view line) {
    out += foldCalendarLine(line);
}

void addEvent(std::string& out, const Event& event, CrewCode crew,
              const ShiftCalendarOptions& options) {
    addLine(out, "BEGIN:VEVENT");
    addLine(out, "UID:" + compactDate(event.first) + "-crew" + crew.text() + "@kelsing-shifts");
    addLine(out, "DTSTAMP:" + options.stamp);
    // All-day dates carry no time zone, so no zone can move a shift to another day.
    addLine(out, "DTSTART;VALUE=DATE:" + compactDate(event.first));
    addLine(out, "DTEND;VALUE=DATE:" + compactDate(event.last + 1));
    addLine(out, "SUMMARY:" + escapeCalendarText(event.label));
    if (!event.description.empty()) {
        addLine(out, "DESCRIPTION:" + escapeCalendarText(event.description));
    }
    addLine(out, "TRANSP:TRANSPARENT");
    addLine(out, "END:VEVENT");
}

} // namespace

std::string escapeCalendarText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case ';':
            out += "\\;";
            break;
        case ',':
            out += "\\,";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string foldCalendarLine(std::string_view line) {
    std::string out;
    std::size_t limit = kMaxLineOctets;
    while (line.size() > limit) {
        std::size_t cut = limit;
        // Never split a UTF-8 character: back up over continuation bytes.
        while (cut > 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        out += line.substr(0, cut);
        out += "\r\n ";
        line.remove_prefix(cut);
        limit = kMaxLineOctets - 1; // the leading space of a continuation counts
    }
    out += line;
    out += "\r\n";
    return out;
}

std::string shiftCalendar(CrewCode crew, std::string_view crewName, DaySerial from, DaySerial to,
                          const ShiftCalendarOptions& options) {
    const ScheduleSelection selection = crew.decode();
    std::string out;
    addLine(out, "BEGIN:VCALENDAR");
    addLine(out, "VERSION:2.0");
    addLine(out, "PRODID:-//Kelsing//" + std::string(kApplicationTitle) + ' ' +
                     std::string(kVersionText) + "//EN");
    addLine(out, "CALSCALE:GREGORIAN");
    addLine(out, "METHOD:PUBLISH");
    addLine(out, "X-WR-CALNAME:" + escapeCalendarText(std::string(crewName) + " shifts"));

    Captions captions;
    std::optional<Event> pending;
    const auto flush = [&] {
        if (pending) {
            addEvent(out, *pending, crew, options);
            pending.reset();
        }
    };
    for (DaySerial date = from; date <= to; ++date) {
        const std::string_view label =
            labelText(ASS(static_cast<float>(date), selection.code, selection.subCode));
        if (label.empty() || (label == "Off" && !options.includeOff)) {
            flush();
            continue;
        }
        const std::string_view caption = captions.on(date);
        if (options.mergeRuns && pending && pending->label == label && pending->last + 1 == date) {
            pending->last = date;
            if (!caption.empty()) {
                if (!pending->description.empty()) {
                    pending->description += '\n';
                }
                pending->description.append(isoDate(date)).append(" ").append(caption);
            }
            continue;
        }
        flush();
        std::string description(caption);
        if (options.mergeRuns && !description.empty()) {
            description = isoDate(date) + ' ' + description;
        }
        pending = Event{date, date, std::string(label), std::move(description)};
    }
    flush();
    addLine(out, "END:VCALENDAR");
    return out;
}

} // namespace kelsing
