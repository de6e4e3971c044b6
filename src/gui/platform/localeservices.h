// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "crews/crewcode.h"
#include "sheet/sheetmodel.h"

#include <optional>

#include <QDate>
#include <QLocale>
#include <QString>

namespace kelsing {

/// Today's date, month titles and number texts from the user's environment.
namespace LocaleServices {

/// The day serial of a calendar date; dates beyond what a day serial holds give its ends.
DaySerial toDaySerial(QDate date);

/// Today's local calendar date as a day serial.
DaySerial today();

/// The month title "mmmm yyyy": the full month name in the locale's language, a space and the
/// four-digit year ("March 2007").
QString formatMonthTitle(MonthYear month, const QLocale& locale = QLocale());

/// The month and year of a title written by formatMonthTitle with the same locale.
std::optional<MonthYear> parseMonthTitle(const QString& title, const QLocale& locale = QLocale());

/// A crew code's shortest decimal text with the locale's decimal separator.
QString formatNumber(CrewCode code, const QLocale& locale = QLocale());

/// A decimal text with the locale's decimal separator, blanks allowed around it.
std::optional<double> parseNumber(const QString& text, const QLocale& locale = QLocale());

} // namespace LocaleServices

} // namespace kelsing
