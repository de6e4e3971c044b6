// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/owndaysfill.h"

#include "calendar/datehelpers.h"
#include "sheet/sheetfills.h"

namespace kelsing {

namespace {

// The right half: the word, or the shift worked instead or as well in its table colour.
void writeEntryText(OwnMark& mark, const OwnDay& entry) {
    mark.entryText = kindWord(entry.kind);
    mark.entryColour = kindColour(entry.kind);
    if (const auto half = halfLineShift(entry.shift); half && kindHasShift(entry.kind)) {
        // An extra shift is worked as well: "+Days".
        std::string text(entry.kind == OwnDayKind::Extra ? 1 : 0, '+');
        mark.entryText = text.append(half->text);
        mark.entryColour = half->colour;
    }
}

} // namespace

OwnMark ownMarkOf(const OwnDay& entry, std::string_view rotationShift) {
    OwnMark mark;
    mark.word = kindWord(entry.kind);
    mark.colour = kindColour(entry.kind);
    mark.rotationShift = rotationShift;
    if (const auto half = halfLineShift(rotationShift)) {
        mark.rotationShift = half->text;
        mark.rotationColour = half->colour;
    }
    const bool replaces = entry.kind == OwnDayKind::Leave || entry.kind == OwnDayKind::Sick ||
                          entry.kind == OwnDayKind::Swap;
    mark.rotationWorked = !(replaces && isWorkedShift(rotationShift));
    writeEntryText(mark, entry);
    mark.shift = entry.shift;
    mark.note = entry.note;
    return mark;
}

void OwnDaysUpdate(SheetModel& sheet, const OwnDays& entries) {
    const DaySerial first = DateFromParts(sheet.ShownYear, sheet.ShownMonth, 1);
    const DaySerial last = DateFromParts(sheet.ShownYear, add16(sheet.ShownMonth, 1), 0);
    const int w1 = sundayWeekday(first);
    for (const OwnDay& entry : entries.between(first, last)) {
        DayCell& cell =
            sheet.cells[static_cast<std::size_t>(cellOfDay(w1, entry.date - first + 1))];
        cell.own = ownMarkOf(entry, cell.shift);
    }
}

} // namespace kelsing
