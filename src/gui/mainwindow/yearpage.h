// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "sheet/monthsheet.h"
#include "sheet/yearsheet.h"

#include <array>
#include <vector>

#include <QString>

class QPainter;
class QWidget;

namespace kelsing {

struct Form1Services;

/// What the printed year shows: the year of a view's crews, its title, and for two crews the
/// next weekends both are off.
struct YearPage {
    YearSheet sheet;
    QString title;                   // "Halvex P-6 | Corvath 403 – 2007"
    std::array<QString, 2> names;    // the crews' names, as their crew boxes show them
    DaySerial weekendsFrom = 0;      // where the weekends were looked for from
    std::vector<DaySerial> weekends; // their Saturdays
};

/// The page of `year` for a view's crews, named as their crew boxes show them on one line; the
/// weekends are looked for from today while it lies in the year, else from 1 January. The
/// user's own days, when given, are marked on a single crew's year.
YearPage yearPage(Int16 year, const ViewCrews& crews, const std::array<QString, 2>& names,
                  DaySerial today, const OwnDays* ownDays = nullptr);

/// Draws the year on the painter's page, as large as the page allows: the title, twelve month
/// blocks four across with each day's number, shifts, holiday mark, days off
/// together shaded, own entries below the rotation's shift, the holidays under their month, a
/// legend and the shared weekends. Colour
/// is never the only sign: labels and marks read the same printed in black and white.
void paintYearPage(QPainter& painter, const YearPage& page);

/// Prints the page on the default printer, landscape on the paper the printer says it has, or,
/// without a printer, offers it as a landscape PDF file on the locale's paper.
void printYear(QWidget* window, const Form1Services& services, const YearPage& page);

} // namespace kelsing
