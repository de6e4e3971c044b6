// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/textsheet.h"

#include "calendar/datehelpers.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace kelsing {

namespace {

constexpr std::size_t kCellWidth = 10;
constexpr std::size_t kSheetWidth = 1 + SheetModel::kColumnCount * (kCellWidth + 1);

struct Segment {
    std::string text;
    Rgb colour = Colours::kBlack;
    bool bold = false;
};

// A line of a cell: segments written one after the other, padded to the cell's width.
using CellLine = std::vector<Segment>;

std::string paint(const Segment& segment, const TextSheetOptions& options) {
    // Black is left to the terminal's own text colour, which may be light on a dark background.
    if (!options.colour || (segment.colour == Colours::kBlack && !segment.bold)) {
        return segment.text;
    }
    std::string out = "\x1b[";
    if (segment.bold) {
        out += "1";
    }
    if (segment.colour != Colours::kBlack) {
        out += segment.bold ? ";" : "";
        out += options.basicColours ? std::to_string(nearestBasicColour(segment.colour))
                                    : "38;2;" + std::to_string(segment.colour.red) + ';' +
                                          std::to_string(segment.colour.green) + ';' +
                                          std::to_string(segment.colour.blue);
    }
    return out + 'm' + segment.text + "\x1b[0m";
}

std::size_t visibleWidth(const CellLine& line) {
    std::size_t width = 0;
    for (const Segment& segment : line) {
        width += segment.text.size();
    }
    return width;
}

// Greedy word wrap at spaces; a word longer than the width is cut.
std::vector<std::string> wrap(std::string_view text, std::size_t width) {
    std::vector<std::string> lines;
    std::string current;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view word = text.substr(start, end - start);
        start = end + 1;
        while (word.size() > width) {
            if (!current.empty()) {
                lines.push_back(std::move(current));
                current.clear();
            }
            lines.emplace_back(word.substr(0, width));
            word.remove_prefix(width);
        }
        if (word.empty()) {
            continue;
        }
        if (!current.empty() && current.size() + 1 + word.size() > width) {
            lines.push_back(std::move(current));
            current.clear();
        }
        current += current.empty() ? "" : " ";
        current += word;
    }
    if (!current.empty()) {
        lines.push_back(std::move(current));
    }
    return lines;
}

std::string padded(const CellLine& line, std::size_t width, const TextSheetOptions& options,
                   bool alignRight) {
    std::string out;
    const std::size_t gap = width - std::min(width, visibleWidth(line));
    if (alignRight) {
        out.append(gap, ' ');
    }
    for (const Segment& segment : line) {
        out += paint(segment, options);
    }
    if (!alignRight) {
        out.append(gap, ' ');
    }
    return out;
}

std::string centred(std::string_view text, std::size_t width) {
    const std::size_t left = (width - std::min(width, text.size())) / 2;
    std::string out(left, ' ');
    out += text;
    out.append(width - std::min(width, out.size()), ' ');
    return out;
}

std::vector<CellLine> shiftLines(const DayCell& cell, bool sideBySide) {
    std::vector<CellLine> lines;
    if (!sideBySide) {
        for (std::string& text : wrap(cell.shift, kCellWidth)) {
            lines.push_back({{std::move(text), cell.shiftColour}});
        }
        return lines;
    }
    const Segment left{cell.leftShift, cell.leftShiftColour};
    const Segment right{cell.rightShift, cell.rightShiftColour};
    if (left.text.empty() && right.text.empty()) {
        return lines;
    }
    if (left.text.size() + 1 + right.text.size() <= kCellWidth) {
        const std::size_t gap = kCellWidth - left.text.size() - right.text.size();
        lines.push_back({left, {std::string(gap, ' ')}, right});
        return lines;
    }
    // Too long for one line: the left crew's above, the right crew's below on the right.
    for (std::string& text : wrap(left.text, kCellWidth)) {
        lines.push_back({{std::move(text), left.colour}});
    }
    for (std::string& text : wrap(right.text, kCellWidth)) {
        const std::size_t gap = kCellWidth - text.size();
        lines.push_back({{std::string(gap, ' ')}, {std::move(text), right.colour}});
    }
    return lines;
}

// The user's own entry above the shift: its word in the mark's colour ("*" when it has a note),
// and the swapped or extra shift in its colour, on the same line when both fit.
std::vector<CellLine> ownLines(const OwnMark& own) {
    std::vector<CellLine> lines;
    if (own.word.empty()) {
        return lines;
    }
    const Segment word{own.word + (own.note.empty() || own.word == "Note" ? "" : "*"), own.colour};
    if (own.shift.empty()) {
        return {{word}};
    }
    if (word.text.size() + 1 + own.shift.size() <= kCellWidth) {
        return {{word, {" "}, {own.shift, own.entryColour}}};
    }
    lines.push_back({word});
    for (std::string& text : wrap(own.shift, kCellWidth)) {
        lines.push_back({{std::move(text), own.entryColour}});
    }
    return lines;
}

// The lines of one cell, top to bottom: day number, caption, and the shift at the bottom with
// the user's own entry above it.
struct CellText {
    CellLine number;
    std::vector<CellLine> caption;
    std::vector<CellLine> shift;
};

CellText cellText(const DayCell& cell, bool sideBySide) {
    CellText text;
    if (!cell.dayNumber.empty()) {
        text.number = {
            {cell.dayNumber, cell.dayNumberColour, cell.dayNumberColour != Colours::kBlack}};
    }
    if (cell.offTogether) {
        // In the cell's upper left, where the number, at its right, never reaches.
        const std::size_t gap = kCellWidth - 1 - std::min(kCellWidth - 1, cell.dayNumber.size());
        text.number.insert(text.number.begin(), {{"*"}, {std::string(gap, ' ')}});
    }
    for (std::string& line : wrap(cell.caption, kCellWidth)) {
        text.caption.push_back({{std::move(line)}});
    }
    text.shift = ownLines(cell.own);
    for (CellLine& line : shiftLines(cell, sideBySide)) {
        text.shift.push_back(std::move(line));
    }
    return text;
}

std::string border() {
    std::string line = "+";
    for (int k = 0; k < SheetModel::kColumnCount; ++k) {
        line.append(kCellWidth, '-');
        line += '+';
    }
    return line + '\n';
}

std::string dateText(const SheetModel& sheet, int day) {
    const auto ymd =
        toYearMonthDay(DateFromParts(sheet.ShownYear, sheet.ShownMonth, static_cast<Int16>(day)));
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return buffer;
}

} // namespace

int nearestBasicColour(Rgb colour) {
    static constexpr std::array<Rgb, 16> kPalette = {{{0, 0, 0},
                                                      {170, 0, 0},
                                                      {0, 170, 0},
                                                      {170, 85, 0},
                                                      {0, 0, 170},
                                                      {170, 0, 170},
                                                      {0, 170, 170},
                                                      {170, 170, 170},
                                                      {85, 85, 85},
                                                      {255, 85, 85},
                                                      {85, 255, 85},
                                                      {255, 255, 85},
                                                      {85, 85, 255},
                                                      {255, 85, 255},
                                                      {85, 255, 255},
                                                      {255, 255, 255}}};
    const auto distance = [&](Rgb other) {
        const int r = colour.red - other.red;
        const int g = colour.green - other.green;
        const int b = colour.blue - other.blue;
        return r * r + g * g + b * b;
    };
    std::size_t best = 0;
    for (std::size_t i = 1; i < kPalette.size(); ++i) {
        best = distance(kPalette[i]) < distance(kPalette[best]) ? i : best;
    }
    return best < 8 ? 30 + static_cast<int>(best) : 90 + static_cast<int>(best) - 8;
}

std::string_view englishMonthName(int month) {
    static constexpr std::array<std::string_view, 12> kNames = {
        "January", "February", "March",     "April",   "May",      "June",
        "July",    "August",   "September", "October", "November", "December"};
    return kNames.at(static_cast<std::size_t>(month - 1));
}

std::string renderMonthSheet(const SheetModel& sheet, const TextSheetOptions& options) {
    std::string out;
    char year[8];
    std::snprintf(year, sizeof year, "%04d", sheet.ShownYear);
    out += centred(std::string(englishMonthName(sheet.ShownMonth)) + ' ' + year, kSheetWidth);
    out += '\n' + border() + '|';
    for (int k = 0; k < SheetModel::kColumnCount; ++k) {
        const Segment head{centred(kWeekdayHeads[static_cast<std::size_t>(k)], kCellWidth),
                           weekdayHeadColour(k)};
        out += paint(head, options) + '|';
    }
    out += '\n' + border();
    for (int row = 0; row * SheetModel::kColumnCount < SheetModel::kCellCount; ++row) {
        std::vector<CellText> cells;
        std::size_t middle = 0;
        std::size_t bottom = 0;
        bool anyDay = false;
        for (int k = 0; k < SheetModel::kColumnCount; ++k) {
            const int c = row * SheetModel::kColumnCount + k;
            cells.push_back(
                c < SheetModel::kCellCount
                    ? cellText(sheet.cells[static_cast<std::size_t>(c)], options.sideBySide)
                    : CellText{});
            anyDay = anyDay || !cells.back().number.empty();
            middle = std::max(middle, cells.back().caption.size());
            bottom = std::max(bottom, cells.back().shift.size());
        }
        if (!anyDay) {
            continue;
        }
        const std::size_t height = 1 + middle + bottom;
        for (std::size_t line = 0; line < height; ++line) {
            out += '|';
            for (const CellText& cell : cells) {
                CellLine text;
                bool right = false;
                if (line == 0) {
                    text = cell.number;
                    right = true;
                } else if (line - 1 < cell.caption.size()) {
                    text = cell.caption[line - 1];
                } else if (line >= height - cell.shift.size()) {
                    text = cell.shift[line - (height - cell.shift.size())];
                }
                out += padded(text, kCellWidth, options, right) + '|';
            }
            out += '\n';
        }
        out += border();
    }
    return out;
}

std::string renderMonthLines(const SheetModel& sheet, const TextSheetOptions& options) {
    std::string out;
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        if (!sheet.cells[static_cast<std::size_t>(c)].dayNumber.empty()) {
            out += renderDayLine(sheet, c, options);
        }
    }
    return out;
}

std::string renderDayLine(const SheetModel& sheet, int c, const TextSheetOptions& options) {
    const DayCell& cell = sheet.cells.at(static_cast<std::size_t>(c));
    std::string out = dateText(sheet, std::stoi(cell.dayNumber)) + '\t';
    out += kWeekdayHeads[static_cast<std::size_t>(c % SheetModel::kColumnCount)];
    out += '\t' + cell.caption + '\t';
    if (options.sideBySide) {
        out += cell.leftShift + '\t' + cell.rightShift + '\t';
        out += cell.offTogether ? kOffTogetherMarker : "";
    } else {
        out += cell.shift;
    }
    if (!cell.own.word.empty()) {
        std::string kind = cell.own.word;
        std::transform(kind.begin(), kind.end(), kind.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        out += '\t' + kind + '\t' + cell.own.shift + '\t' + cell.own.note;
    }
    return out + '\n';
}

std::string colouredText(std::string_view text, Rgb colour, bool bold,
                         const TextSheetOptions& options) {
    return paint({std::string(text), colour, bold}, options);
}

} // namespace kelsing
