// SPDX-License-Identifier: GPL-3.0-or-later
#include "owndays/owndaysfile.h"

#include "base/textlines.h"

#include <array>
#include <charconv>
#include <map>
#include <optional>

namespace kelsing {

namespace {

constexpr std::size_t kFields = 4;

std::string lineProblem(int line, std::string_view what) {
    return "line " + std::to_string(line) + ": " + std::string(what);
}

// The TAB-separated fields of a line, if it has exactly four.
std::optional<std::array<std::string_view, kFields>> fieldsOf(std::string_view line) {
    std::array<std::string_view, kFields> fields;
    for (std::size_t i = 0; i < kFields; ++i) {
        const std::size_t tab = line.find('\t');
        if ((tab == std::string_view::npos) != (i == kFields - 1)) {
            return std::nullopt;
        }
        fields[i] = line.substr(0, tab);
        line.remove_prefix(tab == std::string_view::npos ? line.size() : tab + 1);
    }
    return fields;
}

// The entry of a line, or what is wrong with it.
std::optional<std::string> readEntry(std::string_view line, OwnDay& entry) {
    const auto fields = fieldsOf(line);
    if (!fields) {
        return "not DATE<TAB>KIND<TAB>SHIFT<TAB>NOTE";
    }
    const auto date = parseIsoDate((*fields)[0]);
    if (!date) {
        return "the date is not YYYY-MM-DD in the years 0100..9999";
    }
    const auto kind = parseKind((*fields)[1]);
    if (!kind) {
        return "unknown kind (expected leave, sick, swap, extra or note)";
    }
    entry = {*date, *kind, std::string((*fields)[2]), std::string((*fields)[3])};
    return entryProblem(entry);
}

// What is wrong with the format line, if anything.
std::optional<std::string> formatProblem(std::string_view line) {
    const std::string_view magic = kOwnDaysFileMagic;
    if (!line.starts_with(magic) || line.size() < magic.size() + 2 || line[magic.size()] != ' ') {
        return "not an own-days file (the first line is not '" + std::string(magic) + " " +
               std::to_string(kOwnDaysFileFormat) + "')";
    }
    const std::string_view number = line.substr(magic.size() + 1);
    int version = 0;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), version);
    if (error != std::errc{} || end != number.data() + number.size() || version < 1) {
        return std::string("the format is not a version number");
    }
    if (version > kOwnDaysFileFormat) {
        return "written by a newer version of the program (format " + std::string(number) + ')';
    }
    return std::nullopt;
}

} // namespace

std::string ownDayLine(const OwnDay& entry) {
    return isoDate(entry.date) + '\t' + std::string(kindName(entry.kind)) + '\t' + entry.shift +
           '\t' + entry.note + '\n';
}

std::string ownDaysFileText(const OwnDays& entries) {
    std::string text =
        "# Own days of Kelsing Shift Workers Schedule: DATE<TAB>KIND<TAB>SHIFT<TAB>NOTE.\n"
        "# 'kelsing-shifts days import FILE' reads them back; see kelsing-shifts(1).\n";
    text += std::string(kOwnDaysFileMagic) + ' ' + std::to_string(kOwnDaysFileFormat) + '\n';
    for (const OwnDay& entry : entries.all()) {
        text += ownDayLine(entry);
    }
    return text;
}

OwnDaysFileReading parseOwnDaysFile(std::string_view text) {
    OwnDaysFileReading reading;
    if (text.find('\0') != std::string_view::npos) {
        reading.problems.push_back("not a text file");
        return reading;
    }
    std::map<DaySerial, int> firstLine;
    bool formatSeen = false;
    int number = 0;
    while (!text.empty()) {
        ++number;
        std::string_view line = takeLine(text);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (!formatSeen) {
            formatSeen = true;
            if (const auto problem = formatProblem(line)) {
                reading.problems.push_back(lineProblem(number, *problem));
                break; // the rest cannot be read as this format
            }
            continue;
        }
        OwnDay entry;
        if (const auto problem = readEntry(line, entry)) {
            reading.problems.push_back(lineProblem(number, *problem));
            continue;
        }
        const auto [first, added] = firstLine.emplace(entry.date, number);
        if (!added) {
            reading.problems.push_back(
                lineProblem(number, "the date is given again (first on line " +
                                        std::to_string(first->second) + ')'));
            continue;
        }
        reading.entries.push_back(std::move(entry));
    }
    if (!formatSeen) {
        reading.problems.push_back("not an own-days file (no line '" +
                                   std::string(kOwnDaysFileMagic) + ' ' +
                                   std::to_string(kOwnDaysFileFormat) + "')");
    }
    if (!reading.problems.empty()) {
        reading.entries.clear();
    }
    return reading;
}

} // namespace kelsing
