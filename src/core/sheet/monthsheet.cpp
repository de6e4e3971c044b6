// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/monthsheet.h"

#include "sheet/sheetfills.h"

namespace kelsing {

SheetModel monthSheet(MonthYear month, const ViewCrews& crews, DaySerial today) {
    SheetModel sheet;
    sheet.title = month;
    FormLoadCalendar(sheet, today);
    if (!crews.sideBySide && crews.single.value() != 0) {
        Label5Update(sheet, crews.single, today);
        return sheet;
    }
    if (crews.left.value() != 0) {
        LeftUpdate(sheet, crews.left, today);
    }
    if (crews.right.value() != 0) {
        RightUpdate(sheet, crews.right, today);
    }
    return sheet;
}

} // namespace kelsing
