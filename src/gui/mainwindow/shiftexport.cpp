// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/shiftexport.h"

#include "export/calendarname.h"
#include "export/icalendar.h"
#include "mainwindow/calendarfile.h"
#include "mainwindow/datefield.h"
#include "mainwindow/form1services.h"
#include "mainwindow/startfolder.h"
#include "platform/coretext.h"

#include <QDir>

namespace kelsing {

namespace {

// The last day that the calendar rules cover; an export never runs past it.
const QDate kLastDay(9999, 12, 31);

} // namespace

void exportCrewShifts(QWidget* window, const Form1Services& services, const Twips& twips,
                      CrewCode code, MonthYear shown, const OwnDays* ownDays) {
    // The shown month and the eleven after it: a year of shifts from what the user looks at.
    const QDate from(shown.year, shown.month, 1);
    const QDate to = std::min(from.addMonths(12).addDays(-1), kLastDay);
    // Named as the command-line tool names the same crew's calendar.
    // The user's own days are theirs: offered, never put in unasked.
    const CalendarExport proposal{
        fromCore(crewCalendarName(code)),
        from,
        to,
        false,
        QDir(startFolder()).filePath(fromCore(crewCalendarFileName(code))),
        ownDays != nullptr,
        false};
    const auto write = [&services, code, ownDays](QWidget* parent, const CalendarExport& settled) {
        return writeCalendarFile(parent, code, settled,
                                 calendarStamp(services.now().toSecsSinceEpoch()),
                                 settled.withOwnDays ? ownDays : nullptr);
    };
    if (const auto written = services.calendarExport(window, proposal, twips, write)) {
        services.inform(window, QStringLiteral("%1 from %2 to %3 are written to %4.")
                                    .arg(written->calendarName, DateField::textOf(written->from),
                                         DateField::textOf(written->to),
                                         QDir::toNativeSeparators(written->fileName)));
    }
}

} // namespace kelsing
