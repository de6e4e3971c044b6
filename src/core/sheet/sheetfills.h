// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "crews/crewcode.h"
#include "sheet/sheetmodel.h"

#include <optional>
#include <span>
#include <string_view>

namespace kelsing {

/// The plain calendar of the start-up routine: the month of the title (today's month while the
/// title is empty) with day numbers, today's mark and captions; every shift line empty.
void FormLoadCalendar(SheetModel& sheet, DaySerial today);

/// Fills the single view for the single crew code: day numbers, today's mark, captions and the
/// coloured shift line; empties both half lines.
void Label5Update(SheetModel& sheet, CrewCode singleCrew, DaySerial today);

/// Fills the left half lines for the left crew code; the right halves stay as they were.
void LeftUpdate(SheetModel& sheet, CrewCode leftCrew, DaySerial today);

/// Fills the right half lines for the right crew code; the left halves stay as they were.
void RightUpdate(SheetModel& sheet, CrewCode rightCrew, DaySerial today);

/// A shift label as a half line shows it: shortened ("Aftnn") and coloured.
struct HalfLineShift {
    std::string_view text;
    Rgb colour;
};

/// How a half line shows a shift label of the table; nullopt for any other text.
std::optional<HalfLineShift> halfLineShift(std::string_view label);
/// A shift label as the half lines show it: shortened where it is too long, in its colour.
struct ShortLabel {
    std::string_view label;
    std::string_view shown;
    Rgb colour;
};

/// The half lines' table of shortened labels and colours, in its order ("Days" first).
std::span<const ShortLabel> halfLineLabels();

/// The shift label whose half-line text is `shown` ("D(8)" is "Days (8)"); any other text is
/// its own label.
std::string_view halfLineLabel(std::string_view shown);

/// The cell (0..37) of day `day` of a month whose 1st falls on Sunday-based weekday w1.
constexpr int cellOfDay(int w1, int day) {
    return w1 + day - 2;
}

} // namespace kelsing
