#pragma once

#include "calendar/dayserial.h"
#include "sheet/sheetmodel.h"

#include <string>

namespace kelsing {

/// How a month sheet is written as text.
struct TextSheetOptions {
    bool sideBySide = false; // show the left and right half lines instead of the single line
    bool colour = false;     // ANSI colours like the window's
};

/// The English name of a month (1..12); text output does not depend on the user's settings.
std::string_view englishMonthName(int month);

/// The sheet as it shows in the window, drawn in at most 80 columns: the month title, the
/// weekday heads from Sunday and one block per week with each day's number, caption and shift.
std::string renderMonthSheet(const SheetModel& sheet, const TextSheetOptions& options);

/// One line per day for scripts: DATE, weekday, caption, then the shift or the left and right
/// shifts, separated by TABs.
std::string renderMonthLines(const SheetModel& sheet, const TextSheetOptions& options);

} // namespace kelsing
