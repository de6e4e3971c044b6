// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/yearsheet.h"

#include "calendar/datehelpers.h"
#include "sheet/offtogether.h"
#include "sheet/owndaysfill.h"
#include "sheet/sheetfills.h"

#include <algorithm>
#include <limits>

namespace kelsing {

namespace {

// A page of the year outlives today, so no day of it is marked as today.
constexpr DaySerial kNoToday = std::numeric_limits<DaySerial>::min();

// Both kinds of view are worked out as the side-by-side view fills them, so that a single crew
// shows the same short labels and colours as two crews do.
ViewCrews halfLineCrews(const ViewCrews& crews) {
    ViewCrews sides = crews;
    if (!crews.sideBySide) {
        sides.left = crews.single;
        sides.right = CrewCode();
    }
    sides.sideBySide = true;
    return sides;
}

YearMonth monthOf(Int16 year, int month, const ViewCrews& sides, bool sideBySide,
                  const OwnDays* ownDays) {
    YearMonth block;
    block.month = month;
    const SheetModel sheet = monthSheet({static_cast<Int16>(month), year}, sides, kNoToday);
    const DaySerial first = DateFromParts(year, static_cast<Int16>(month), 1);
    const int w1 = sundayWeekday(first);
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        const DayCell& cell = sheet.cells[static_cast<std::size_t>(c)];
        if (cell.dayNumber.empty()) {
            continue;
        }
        YearDay& day = block.cells[static_cast<std::size_t>(c)];
        day.day = c - w1 + 2;
        day.date = first + day.day - 1;
        day.caption = cell.caption;
        day.shifts = {YearShift{cell.leftShift, cell.leftShiftColour},
                      YearShift{cell.rightShift, cell.rightShiftColour}};
        day.offTogether = sideBySide && isOffTogether(cell);
        if (const OwnDay* entry = ownDays != nullptr ? ownDays->find(day.date) : nullptr) {
            // The mark is worked out from the shift table's name of the rotation's shift.
            day.own = ownMarkOf(*entry, halfLineLabel(cell.leftShift));
        }
        if (!day.caption.empty()) {
            block.holidays.push_back({day.day, day.caption});
        }
    }
    return block;
}

} // namespace

YearSheet yearSheet(Int16 year, const ViewCrews& crews, const OwnDays* ownDays) {
    YearSheet sheet;
    sheet.year = year;
    sheet.sideBySide = crews.sideBySide;
    const ViewCrews sides = halfLineCrews(crews);
    // Own days are the single view's: two crews side by side never show them.
    if (crews.sideBySide) {
        ownDays = nullptr;
    }
    sheet.hasCrew = {sides.left.value() != 0, sides.right.value() != 0};
    for (int month = 1; month <= 12; ++month) {
        YearMonth& block = sheet.months[static_cast<std::size_t>(month - 1)];
        block = monthOf(year, month, sides, crews.sideBySide, ownDays);
        sheet.daysOffTogether += static_cast<int>(
            std::ranges::count_if(block.cells, [](const YearDay& day) { return day.offTogether; }));
        sheet.hasOwnDays =
            sheet.hasOwnDays || std::ranges::any_of(block.cells, [](const YearDay& day) {
                return !day.own.word.empty();
            });
    }
    return sheet;
}

std::vector<YearShift> YearSheet::labels() const {
    std::vector<YearShift> found;
    for (const ShortLabel& label : halfLineLabels()) {
        for (const YearMonth& block : months) {
            for (const YearDay& day : block.cells) {
                for (const YearShift& shift : day.shifts) {
                    const YearShift entry{std::string(label.shown), label.colour};
                    if (shift == entry && std::ranges::find(found, entry) == found.end()) {
                        found.push_back(entry);
                    }
                }
            }
        }
    }
    return found;
}

std::string YearSheet::allCrewsKey() const {
    // Each crew's letter is followed by the first letter of its shift's label.
    std::string letters;
    for (const YearMonth& block : months) {
        for (const YearDay& day : block.cells) {
            for (const YearShift& shift : day.shifts) {
                if (std::ranges::find(halfLineLabels(), shift.text, &ShortLabel::shown) !=
                    halfLineLabels().end()) {
                    continue;
                }
                for (std::size_t at = 1; at < shift.text.size(); at += 3) {
                    if (letters.find(shift.text[at]) == std::string::npos) {
                        letters += shift.text[at];
                    }
                }
            }
        }
    }
    std::string key;
    for (const ShortLabel& label : halfLineLabels()) {
        // The first label of the table with the letter: "D" is "Days", not "Days (8)".
        const auto at = letters.find(label.label.front());
        if (at == std::string::npos) {
            continue;
        }
        letters.erase(at, 1);
        if (!key.empty()) {
            key += ", ";
        }
        key += label.label.front();
        key += ' ';
        key += label.label;
    }
    return key;
}

} // namespace kelsing
