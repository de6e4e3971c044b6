// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "crews/crewcode.h"
#include "mainwindow/calendarexport.h"
#include "owndays/owndays.h"

#include <string>

class QWidget;

namespace kelsing {

/// Writes the shifts of `crew` as `settled` says, its events stamped `stamp`, into the settled
/// file. The calendar goes out in slices with the events between them handled, so the windows
/// stay responsive and memory stays flat over any span; a progress dialog over `parent` shows how
/// far it has come and can cancel. The file takes its name only when complete: a failure or a
/// cancel leaves no part of it and keeps a file that had the name. The user's own days go in
/// when given.
ExportOutcome writeCalendarFile(QWidget* parent, CrewCode crew, const CalendarExport& settled,
                                const std::string& stamp, const OwnDays* ownDays = nullptr);

} // namespace kelsing
