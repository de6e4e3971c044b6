// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/monthsheet.h"

#include "sheet/owndaysfill.h"
#include "sheet/sheetfills.h"

namespace kelsing {

SheetModel monthSheet(MonthYear month, const ViewCrews& crews, DaySerial today,
                      const OwnDays* ownDays) {
    SheetModel sheet;
    sheet.title = month;
    FormLoadCalendar(sheet, today);
    if (!crews.sideBySide && crews.single.value() != 0) {
        Label5Update(sheet, crews.single, today);
        if (ownDays != nullptr && !ownDays->empty()) {
            OwnDaysUpdate(sheet, *ownDays);
        }
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
