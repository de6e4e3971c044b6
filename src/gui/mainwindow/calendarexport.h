// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDate>
#include <QString>

class QWidget;

namespace kelsing {

/// What a calendar export of a crew's shifts writes, and where: proposed by the main window,
/// settled by the user.
struct CalendarExport {
    QString calendarName; // the calendar's name in the file ("Corvath 403 shifts")
    QDate from;           // first day, inclusive
    QDate to;             // last day, inclusive
    bool includeOff = false;
    QString fileName;
    bool offerOwnDays = false; // the user keeps own days for this crew: the dialog offers them
    bool withOwnDays = false;  // ... and the user asked for them
    friend bool operator==(const CalendarExport&, const CalendarExport&) = default;
};

/// How the writing of an export ended.
struct ExportOutcome {
    enum class Kind { Written, Cancelled, Failed };
    Kind kind = Kind::Written;
    QString message; // for the user: what failed, or what a cancel left
};

/// Writes a settled export, with any progress shown over `parent`.
using CalendarExportWriter =
    std::function<ExportOutcome(QWidget* parent, const CalendarExport& settled)>;

} // namespace kelsing
