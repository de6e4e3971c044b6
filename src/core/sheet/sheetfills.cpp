// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheetfills.h"

#include "calendar/datehelpers.h"
#include "calendar/observances.h"
#include "rotation/rotationengine.h"
#include "sheet/monthnavigation.h"

#include <optional>

namespace kelsing {

namespace {

// Which fill resets the cells; each leaves different parts alone.
enum class Fill { Plain, Single, Left, Right };

void resetCells(SheetModel& sheet, Fill fill) {
    for (DayCell& cell : sheet.cells) {
        cell.dayNumber.clear();
        if (fill != Fill::Right) {
            cell.leftShift.clear();
        }
        if (fill != Fill::Left) {
            cell.rightShift.clear();
        }
        cell.shift.clear();
        cell.caption.clear();
        if (fill == Fill::Single) {
            cell.shiftColour = Colours::kBlack;
        }
        cell.dayNumberColour = Colours::kBlack;
        cell.shiftFont = Fonts::kShiftLine;
        cell.own = {};
        cell.offTogether = false;
    }
}

// Walks the days of the title's month in order, writing each day's number, today's mark and
// caption before handing the cell to perDay.
template <typename PerDay>
void walkMonth(SheetModel& sheet, DaySerial today, PerDay&& perDay) {
    const MonthYear shown = sheet.title.value_or(currentMonth(today));
    sheet.ShownMonth = shown.month;
    sheet.ShownYear = shown.year;
    const DaySerial first = DateFromParts(shown.year, shown.month, 1);
    // The month's length from its last day (day 0 of the next month), which unlike the 1st of
    // the next month exists for December 9999 too.
    const DaySerial last = DateFromParts(shown.year, add16(shown.month, 1), 0);
    const int w1 = sundayWeekday(first);
    const YearObservances observances(shown.year);
    for (DaySerial date = first; date <= last; ++date) {
        const int day = date - first + 1;
        DayCell& cell = sheet.cells[static_cast<std::size_t>(cellOfDay(w1, day))];
        cell.dayNumber = std::to_string(day);
        if (date == today) {
            cell.dayNumberColour = Colours::kRed;
        }
        cell.caption = observances.captionFor(date);
        perDay(cell, date);
    }
}

std::string_view shiftOn(DaySerial date, ScheduleSelection crew) {
    return labelText(ASS(static_cast<float>(date), crew.code, crew.subCode));
}

std::optional<Rgb> singleShiftColour(std::string_view label) {
    if (label == "Days") {
        return Colours::kBlue;
    }
    if (label == "Nights") {
        return Colours::kBlack;
    }
    if (label == "Off") {
        return Colours::kGreen;
    }
    if (label == "Training") {
        return Colours::kPurple;
    }
    if (label == "Afternoons") {
        return Colours::kOrangeBrown;
    }
    return std::nullopt;
}

// The half lines are too narrow for some labels; these are shortened, and any text not listed
// keeps its text and the colour its label last had.
constexpr ShortLabel kShortLabels[] = {
    {"Days", "Days", Colours::kBlue},
    {"Days (8)", "D(8)", Colours::kBlue},
    {"Days (12)", "D(12)", Colours::kBlue},
    {"Nights", "Nights", Colours::kBlack},
    {"Off", "Off", Colours::kGreen},
    {"Training", "Training", Colours::kPurple},
    {"Afternoons", "Aftnn", Colours::kOrangeBrown},
};

void writeHalf(std::string& text, Rgb& colour, std::string_view label) {
    for (const ShortLabel& entry : kShortLabels) {
        if (entry.label == label) {
            text = entry.shown;
            colour = entry.colour;
            return;
        }
    }
    text = label;
}

void fillHalf(SheetModel& sheet, CrewCode crew, DaySerial today, Fill side) {
    resetCells(sheet, side);
    const ScheduleSelection selection = crew.decode();
    walkMonth(sheet, today, [&](DayCell& cell, DaySerial date) {
        const std::string_view label = shiftOn(date, selection);
        if (side == Fill::Left) {
            writeHalf(cell.leftShift, cell.leftShiftColour, label);
        } else {
            writeHalf(cell.rightShift, cell.rightShiftColour, label);
        }
    });
}

} // namespace

void FormLoadCalendar(SheetModel& sheet, DaySerial today) {
    resetCells(sheet, Fill::Plain);
    if (!sheet.title) {
        sheet.title = currentMonth(today);
    }
    walkMonth(sheet, today, [](DayCell&, DaySerial) {});
}

void Label5Update(SheetModel& sheet, CrewCode singleCrew, DaySerial today) {
    resetCells(sheet, Fill::Single);
    const ScheduleSelection selection = singleCrew.decode();
    walkMonth(sheet, today, [&](DayCell& cell, DaySerial date) {
        cell.shift = shiftOn(date, selection);
        // All-crews lines have 11 characters; "Afternoons", with 10, keeps the usual font.
        if (cell.shift.size() > 10) {
            cell.shiftFont = Fonts::kLongShiftLine;
        }
        if (const auto colour = singleShiftColour(cell.shift)) {
            cell.shiftColour = *colour;
        }
    });
}

void LeftUpdate(SheetModel& sheet, CrewCode leftCrew, DaySerial today) {
    fillHalf(sheet, leftCrew, today, Fill::Left);
}

void RightUpdate(SheetModel& sheet, CrewCode rightCrew, DaySerial today) {
    fillHalf(sheet, rightCrew, today, Fill::Right);
}

std::optional<HalfLineShift> halfLineShift(std::string_view label) {
    for (const ShortLabel& entry : kShortLabels) {
        if (entry.label == label) {
            return HalfLineShift{entry.shown, entry.colour};
        }
    }
    return std::nullopt;
}

std::span<const ShortLabel> halfLineLabels() {
    return kShortLabels;
}

std::string_view halfLineLabel(std::string_view shown) {
    for (const ShortLabel& entry : kShortLabels) {
        if (entry.shown == shown) {
            return entry.label;
        }
    }
    return shown;
}

} // namespace kelsing
