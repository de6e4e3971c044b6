// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/textyear.h"

#include "sheet/sheetfills.h"

#include <algorithm>

namespace kelsing {

namespace {

constexpr std::size_t kBlockWidth = 21; // seven days of two digits and a mark
constexpr std::size_t kGap = 3;
constexpr std::size_t kAcross = 3;
constexpr std::size_t kYearWidth = kAcross * kBlockWidth + (kAcross - 1) * kGap;
constexpr std::size_t kLineWidth = 80;
constexpr int kWeeks = 6;

std::string centredIn(std::string_view text, std::size_t width) {
    const std::size_t left = (width - std::min(width, text.size())) / 2;
    std::string out(left, ' ');
    out += text;
    out.append(width - std::min(width, out.size()), ' ');
    return out;
}

std::string paddedTo(std::string text, std::size_t width) {
    text.resize(std::max(width, text.size()), ' ');
    return text.substr(0, width);
}

// A day of the month right-aligned in two columns.
std::string twoColumns(int day) {
    std::string text = std::to_string(day);
    text.insert(0, 2 - std::min<std::size_t>(2, text.size()), ' ');
    return text;
}

std::string shortDate(DaySerial date, bool withYear) {
    const auto ymd = toYearMonthDay(date);
    std::string text = std::to_string(unsigned(ymd.day())) + ' ' +
                       std::string(englishMonthName(int(unsigned(ymd.month()))).substr(0, 3));
    return withYear ? text + ' ' + std::to_string(int(ymd.year())) : text;
}

// The colour of a day's number: its shift's, or with two crews the one both have; black
// (the terminal's own colour) where they differ.
Rgb numberColour(const YearSheet& year, const YearDay& day) {
    std::optional<YearShift> common;
    for (std::size_t side = 0; side < 2; ++side) {
        if (!year.hasCrew[side]) {
            continue;
        }
        const YearShift& shift = day.shifts[side];
        if (shift.text.empty() || (common && *common != shift)) {
            return Colours::kBlack;
        }
        common = shift;
    }
    return common ? common->colour : Colours::kBlack;
}

std::string dayText(const YearSheet& year, const YearDay& day, DaySerial today,
                    const TextSheetOptions& options) {
    if (day.day == 0) {
        return std::string(3, ' ');
    }
    const std::string painted =
        colouredText(twoColumns(day.day), numberColour(year, day), false, options);
    std::string out =
        day.date == today && options.colour ? "\x1b[7m" + painted + "\x1b[0m" : painted;
    // The mark follows its number, as a footnote's does.
    return out + (day.offTogether ? '*' : !day.caption.empty() ? '+' : ' ');
}

// The lines of one month block, each kBlockWidth columns on the terminal.
std::vector<std::string> blockLines(const YearSheet& year, const YearMonth& block, DaySerial today,
                                    const TextSheetOptions& options, std::size_t holidayLines) {
    std::vector<std::string> lines;
    lines.push_back(centredIn(englishMonthName(block.month), kBlockWidth));
    std::string heads;
    for (const std::string_view head : kWeekdayHeads) {
        heads += std::string(head.substr(0, 2)) + ' ';
    }
    lines.push_back(heads);
    for (int week = 0; week < kWeeks; ++week) {
        std::string line;
        for (int k = 0; k < SheetModel::kColumnCount; ++k) {
            const int c = week * SheetModel::kColumnCount + k;
            line += c < SheetModel::kCellCount
                        ? dayText(year, block.cells[static_cast<std::size_t>(c)], today, options)
                        : std::string(3, ' ');
        }
        lines.push_back(line);
    }
    for (std::size_t i = 0; i < holidayLines; ++i) {
        std::string text;
        if (i < block.holidays.size()) {
            const YearHoliday& holiday = block.holidays[i];
            text = twoColumns(holiday.day) + ' ' + holiday.caption;
        }
        lines.push_back(paddedTo(text, kBlockWidth));
    }
    return lines;
}

// Words joined into lines of at most kLineWidth columns; `widths` are their visible widths.
std::string wrapped(const std::vector<std::string>& words, const std::vector<std::size_t>& widths) {
    std::string out;
    std::size_t column = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (column > 0 && column + 2 + widths[i] > kLineWidth) {
            out += '\n';
            column = 0;
        }
        out += (column > 0 ? "  " : "") + words[i];
        column += (column > 0 ? 2 : 0) + widths[i];
    }
    return out.empty() ? out : out + '\n';
}

std::string legend(const YearSheet& year, const TextSheetOptions& options) {
    std::vector<std::string> words;
    std::vector<std::size_t> widths;
    const auto add = [&](std::string painted, std::size_t width) {
        words.push_back(std::move(painted));
        widths.push_back(width);
    };
    if (options.colour) {
        for (const YearShift& shift : year.labels()) {
            const std::string_view full = halfLineLabel(shift.text);
            std::string text = colouredText(shift.text, shift.colour, false, options);
            std::size_t width = shift.text.size();
            if (full != shift.text) {
                text += " (" + std::string(full) + ')';
                width += full.size() + 3;
            }
            add(text, width);
        }
    }
    add("+ holiday or clock change", 25);
    if (year.sideBySide && year.hasCrew[0] && year.hasCrew[1]) {
        add("* both crews off", 16);
    }
    std::string out = wrapped(words, widths);
    if (options.colour && year.sideBySide) {
        out += "A day's number is in its shift's colour where both crews have the same shift.\n";
    }
    return out;
}

} // namespace

std::string yearCrewsTitle(const YearSheet& year, const std::array<std::string, 2>& names) {
    if (!year.sideBySide) {
        return year.hasCrew[0] ? names[0] : std::string();
    }
    if (!year.hasCrew[0] && !year.hasCrew[1]) {
        return {};
    }
    return (year.hasCrew[0] ? names[0] : "no crew on the left") + " | " +
           (year.hasCrew[1] ? names[1] : "no crew on the right");
}

std::string weekendText(DaySerial saturday) {
    const auto sat = toYearMonthDay(saturday);
    const auto sun = toYearMonthDay(saturday + 1);
    if (sat.year() != sun.year()) {
        return shortDate(saturday, true) + '-' + shortDate(saturday + 1, true);
    }
    if (sat.month() != sun.month()) {
        return shortDate(saturday, false) + '-' + shortDate(saturday + 1, true);
    }
    return std::to_string(unsigned(sat.day())) + '-' + shortDate(saturday + 1, true);
}

std::string renderOffTogether(const OffTogetherSummary& summary) {
    std::string out = std::to_string(summary.days) + (summary.days == 1 ? " day" : " days") +
                      " off together in " + summary.span + '\n';
    if (summary.weekends.empty()) {
        return out + "No shared weekend within a year from " + shortDate(summary.from, true) + '\n';
    }
    out += "Next shared weekends from " + shortDate(summary.from, true) + ":\n";
    for (const DaySerial saturday : summary.weekends) {
        out += "  " + weekendText(saturday) + '\n';
    }
    return out;
}

std::string renderYear(const YearSheet& year, const std::array<std::string, 2>& names,
                       DaySerial today, const TextSheetOptions& options) {
    std::string out = centredIn(std::to_string(year.year), kYearWidth);
    out.erase(out.find_last_not_of(' ') + 1);
    out += '\n';
    if (const std::string crews = yearCrewsTitle(year, names); !crews.empty()) {
        std::string line = centredIn(crews, kYearWidth);
        out += line.erase(line.find_last_not_of(' ') + 1) + '\n';
    }
    for (std::size_t first = 0; first < year.months.size(); first += kAcross) {
        std::size_t holidayLines = 0;
        for (std::size_t m = first; m < first + kAcross; ++m) {
            holidayLines = std::max(holidayLines, year.months[m].holidays.size());
        }
        std::vector<std::vector<std::string>> blocks;
        for (std::size_t m = first; m < first + kAcross; ++m) {
            blocks.push_back(blockLines(year, year.months[m], today, options, holidayLines));
        }
        out += '\n';
        for (std::size_t line = 0; line < blocks.front().size(); ++line) {
            std::string text;
            for (std::size_t b = 0; b < blocks.size(); ++b) {
                text += (b > 0 ? std::string(kGap, ' ') : "") + blocks[b][line];
            }
            out += text.erase(text.find_last_not_of(' ') + 1) + '\n';
        }
    }
    return out + '\n' + legend(year, options);
}

} // namespace kelsing
