// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "owndays/owndays.h"
#include "sheet/sheetmodel.h"

namespace kelsing {

/// The mark of an entry on a day whose rotation gives `rotationShift`.
OwnMark ownMarkOf(const OwnDay& entry, std::string_view rotationShift);

/// Writes the user's own entries of the shown month into its cells, after Label5Update has
/// filled the single view: each day with an entry keeps its number, caption and shift and gets
/// the entry's mark. It runs only when the month has entries, so a sheet without any is exactly
/// the single view's.
void OwnDaysUpdate(SheetModel& sheet, const OwnDays& entries);

} // namespace kelsing
