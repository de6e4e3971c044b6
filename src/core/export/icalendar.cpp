// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/icalendar.h"

#include "export/shiftcalendarwriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace kelsing {

namespace {

constexpr std::size_t kMaxLineOctets = 75;

} // namespace

std::string shiftCalendar(CrewCode crew, std::string_view crewName, DaySerial from, DaySerial to,
                          const ShiftCalendarOptions& options) {
    ShiftCalendarWriter writer(crew, std::string(crewName) + " shifts", from, to, options);
    std::string out;
    while (writer.next(out)) {
    }
    return out;
}

std::string calendarStamp(std::int64_t secondsSinceEpoch) {
    using namespace std::chrono;
    constexpr auto kFirst = sys_days{year{kFirstYear} / 1 / 1}.time_since_epoch();
    constexpr auto kEnd = sys_days{year{kLastYear + 1} / 1 / 1}.time_since_epoch();
    const std::int64_t held =
        std::clamp<std::int64_t>(secondsSinceEpoch, duration_cast<seconds>(kFirst).count(),
                                 duration_cast<seconds>(kEnd).count() - 1);
    const sys_seconds moment{seconds{held}};
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss time{moment - day};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d%02u%02uT%02d%02d%02dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return buffer;
}

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

} // namespace kelsing
