// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "sheet/sheetmodel.h"

#include <string>

namespace kelsing {

/// How a month sheet is written as text.
struct TextSheetOptions {
    bool sideBySide = false;   // show the left and right half lines instead of the single line
    bool colour = false;       // ANSI colours like the window's
    bool basicColours = false; // the nearest of the 16 standard colours instead of 24-bit ones
};

/// The SGR colour code (30..37, 90..97) of the standard colour nearest to `colour`, measured in
/// RGB against the VGA text mode's palette, the one the 16 colours were named after.
int nearestBasicColour(Rgb colour);

/// The English name of a month (1..12); text output does not depend on the user's settings.
std::string_view englishMonthName(int month);

/// The sheet as it shows in the window, drawn in at most 80 columns: the month title, the
/// weekday heads from Sunday and one block per week with each day's number, caption and shift,
/// above the shift the user's own entry, where there is one; a day marked off together has a
/// "*" in its upper left.
std::string renderMonthSheet(const SheetModel& sheet, const TextSheetOptions& options);

/// What the last column of a side-by-side day line says on a day both crews are off.
inline constexpr std::string_view kOffTogetherMarker = "together";

/// One line per day for scripts: DATE, weekday, caption, then the shift or the left and right
/// shifts and whether both are off ("together" or empty), separated by TABs; a day with an
/// entry of the user's own adds its kind, shift and note.
std::string renderMonthLines(const SheetModel& sheet, const TextSheetOptions& options);

/// The line of renderMonthLines for one cell (0..37) that shows a day.
std::string renderDayLine(const SheetModel& sheet, int cell, const TextSheetOptions& options);

/// A text in its colour, bold or not, as the sheet is painted: plain without colours, and black
/// that is not bold left to the terminal's own text colour.
std::string colouredText(std::string_view text, Rgb colour, bool bold,
                         const TextSheetOptions& options);

} // namespace kelsing
