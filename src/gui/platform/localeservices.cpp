// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/localeservices.h"

#include "base/decimal.h"
#include "platform/coretext.h"

#include <algorithm>
#include <limits>

namespace kelsing {

DaySerial LocaleServices::toDaySerial(QDate date) {
    // Counted by Julian day numbers, which hold any date a clock can give, where the calendar
    // types stop at the year 32767; a serial beyond what a day serial holds is kept at its end.
    static const qint64 kEpoch = QDate(1899, 12, 30).toJulianDay();
    const qint64 serial = date.toJulianDay() - kEpoch;
    return static_cast<DaySerial>(std::clamp<qint64>(serial, std::numeric_limits<DaySerial>::min(),
                                                     std::numeric_limits<DaySerial>::max()));
}

DaySerial LocaleServices::today() {
    return toDaySerial(QDate::currentDate());
}

QString LocaleServices::formatMonthTitle(MonthYear month, const QLocale& locale) {
    // The year is always written with four digits (March 0100), so that the title reads back.
    return locale.standaloneMonthName(month.month, QLocale::LongFormat) + QLatin1Char(' ') +
           QStringLiteral("%1").arg(month.year, 4, 10, QLatin1Char('0'));
}

std::optional<MonthYear> LocaleServices::parseMonthTitle(const QString& title,
                                                         const QLocale& locale) {
    const qsizetype space = title.lastIndexOf(QLatin1Char(' '));
    if (space < 0) {
        return std::nullopt;
    }
    const QString name = title.left(space);
    bool ok = false;
    const int year = title.mid(space + 1).toInt(&ok);
    if (!ok || year < kFirstYear || year > kLastYear) {
        return std::nullopt;
    }
    for (int month = 1; month <= 12; ++month) {
        if (locale.standaloneMonthName(month, QLocale::LongFormat) == name) {
            return MonthYear{static_cast<Int16>(month), static_cast<Int16>(year)};
        }
    }
    return std::nullopt;
}

QString LocaleServices::formatNumber(CrewCode code, const QLocale& locale) {
    return fromCore(code.text(locale.decimalPoint().toStdString()));
}

std::optional<double> LocaleServices::parseNumber(const QString& text, const QLocale& locale) {
    return parseDecimal(text.toStdString(), locale.decimalPoint().toStdString());
}

} // namespace kelsing
