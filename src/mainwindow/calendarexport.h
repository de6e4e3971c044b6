#pragma once

#include <QDate>
#include <QString>

namespace kelsing {

/// What a calendar export of a crew's shifts writes, and where: proposed by the main window,
/// settled by the user.
struct CalendarExport {
    QString crewName; // the crew box text on one line ("Corvath 403")
    QDate from;       // first day, inclusive
    QDate to;         // last day, inclusive
    bool includeOff = false;
    QString fileName;
    friend bool operator==(const CalendarExport&, const CalendarExport&) = default;
};

} // namespace kelsing
