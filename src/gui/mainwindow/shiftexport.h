// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "crews/crewcode.h"
#include "owndays/owndays.h"
#include "sheet/sheetmodel.h"

class QWidget;

namespace kelsing {

class Twips;
struct Form1Services;

/// Asks the user in `window` for a span and a file, proposing the twelve months from `shown`,
/// writes the shifts of crew `code` there as an iCalendar file and says where it went. The
/// user's own days, when given, are offered to go into the file as well.
void exportCrewShifts(QWidget* window, const Form1Services& services, const Twips& twips,
                      CrewCode code, MonthYear shown, const OwnDays* ownDays = nullptr);

} // namespace kelsing
