// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/yearpage.h"

#include "mainwindow/form1services.h"
#include "mainwindow/pageprinting.h"
#include "platform/coretext.h"
#include "sheet/offtogether.h"
#include "sheet/sheetfills.h"
#include "sheet/textyear.h"

#include <algorithm>

#include <QDate>
#include <QFontMetricsF>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

namespace kelsing {

namespace {

// The page's measures, in millimetres.
constexpr double kMargin = 9;
constexpr double kTitleHeight = 9;
constexpr double kFootLine = 4.2;
constexpr double kColumnGap = 6;
constexpr double kRowGap = 3;
constexpr double kMonthName = 5;
constexpr double kHeads = 3.2;
constexpr double kHolidayLine = 2.5;
constexpr double kPad = 0.5;
constexpr double kHolidayMark = 1.7;
constexpr int kAcross = 4;
constexpr int kDown = 3;
constexpr int kWeeks = 6;

// A soft green that prints as a light grey, under dark labels.
const QColor kShade(200, 232, 200);
const QColor kGrid(128, 128, 128);

QColor toColor(Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QDate toDate(DaySerial serial) {
    const auto ymd = toYearMonthDay(serial);
    return QDate(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())));
}

// Lengths and fonts at the resolution of the painter's device.
class PageUnits {
public:
    explicit PageUnits(const QPaintDevice& device)
        : m_dpi(device.logicalDpiY()) {}

    double mm(double length) const { return length * m_dpi / 25.4; }

    QFont font(double points, bool bold, bool narrow = true) const {
        QFont font;
        QStringList families;
        if (narrow) {
            families << QStringLiteral("Liberation Sans Narrow") << QStringLiteral("Arial Narrow")
                     << QStringLiteral("DejaVu Sans Condensed");
        }
        families << QStringLiteral("Liberation Sans") << QStringLiteral("Arial")
                 << QStringLiteral("DejaVu Sans");
        font.setFamilies(families);
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(std::max(1, qRound(points * m_dpi / 72.0)));
        font.setBold(bold);
        return font;
    }

private:
    double m_dpi;
};

// Draws a text in a rectangle, in a smaller size where it would be wider than the rectangle.
void drawFitted(QPainter& painter, const QRectF& rect, int flags, const QString& text, QFont font) {
    const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
    if (width > rect.width() && rect.width() > 0) {
        font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * rect.width() / width)));
    }
    painter.setFont(font);
    painter.drawText(rect, flags, text);
}

// The holiday mark: a small black triangle in a cell's upper left corner.
void drawHolidayMark(QPainter& painter, QPointF corner, double size) {
    QPainterPath path(corner);
    path.lineTo(corner + QPointF(size, 0));
    path.lineTo(corner + QPointF(0, size));
    path.closeSubpath();
    painter.fillPath(path, Qt::black);
}

// One line of the foot, written piece by piece from the left.
class FootLine {
public:
    FootLine(QPainter& painter, const PageUnits& units, QRectF line)
        : m_painter(painter)
        , m_units(units)
        , m_line(line)
        , m_x(line.left()) {}

    void text(const QString& text, const QColor& colour = Qt::black, bool bold = false) {
        const QFont font = m_units.font(7, bold, false);
        const double width = QFontMetricsF(font, m_painter.device()).horizontalAdvance(text);
        m_painter.setPen(colour);
        drawFitted(m_painter, QRectF(m_x, m_line.top(), m_line.right() - m_x, m_line.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, text, font);
        m_x += width;
    }

    void space() { m_x += m_units.mm(3); }

    void holidayMark() {
        const double size = m_units.mm(2.4);
        drawHolidayMark(m_painter, QPointF(m_x, m_line.center().y() - size / 2), size);
        m_x += size + m_units.mm(1);
    }

    void shade() {
        const double size = m_units.mm(3);
        const QRectF box(m_x, m_line.center().y() - size / 2, size, size);
        m_painter.fillRect(box, kShade);
        m_painter.setPen(QPen(kGrid, m_units.mm(0.15)));
        m_painter.drawRect(box);
        m_x += size + m_units.mm(1);
    }

private:
    QPainter& m_painter;
    const PageUnits& m_units;
    QRectF m_line;
    double m_x;
};

bool twoCrews(const YearSheet& sheet) {
    return sheet.sideBySide && sheet.hasCrew[0] && sheet.hasCrew[1];
}

// The sides whose shifts a day shows: one line, or the left crew's above the right crew's.
int shiftLines(const YearSheet& sheet) {
    return sheet.sideBySide ? 2 : 1;
}

// A day with an own entry: a tint of the entry's mark colour, the rotation's shift above (struck
// through where the entry replaces a worked shift) and the entry's word or shift below, so the
// words, not the colours, say what the day holds.
void paintOwnDay(QPainter& painter, const PageUnits& u, const OwnMark& mark, const QRectF& shifts) {
    const double height = shifts.height() / 2;
    const QRectF upper(shifts.left(), shifts.top(), shifts.width(), height);
    const QRectF lower(shifts.left(), shifts.top() + height, shifts.width(), height);
    QFont rotation = u.font(5.5, true);
    rotation.setStrikeOut(!mark.rotationWorked);
    painter.setPen(toColor(mark.rotationColour));
    drawFitted(painter, upper, Qt::AlignCenter, fromCore(mark.rotationShift), rotation);
    painter.setPen(toColor(mark.entryColour));
    drawFitted(painter, lower, Qt::AlignCenter, fromCore(mark.entryText), u.font(5.5, true));
}

void paintDay(QPainter& painter, const PageUnits& u, const YearSheet& sheet, const YearDay& day,
              const QRectF& cell) {
    if (day.offTogether) {
        painter.fillRect(cell, kShade);
    }
    if (!day.own.word.empty()) {
        QColor tint = toColor(day.own.colour);
        tint.setAlpha(40);
        painter.fillRect(cell, tint);
    }
    painter.setPen(QPen(kGrid, u.mm(0.12)));
    painter.drawRect(cell);
    const QRectF inside = cell.adjusted(u.mm(kPad), u.mm(kPad) / 2, -u.mm(kPad), -u.mm(kPad) / 2);
    const double numberHeight = u.mm(2.6);
    if (!day.caption.empty()) {
        drawHolidayMark(painter, cell.topLeft(), u.mm(kHolidayMark));
    }
    painter.setPen(Qt::black);
    const QRectF numberRect(inside.left(), inside.top(), inside.width(), numberHeight);
    drawFitted(painter, numberRect, Qt::AlignRight | Qt::AlignTop, QString::number(day.day),
               u.font(6.5, true));
    const int lines = shiftLines(sheet);
    const QRectF shifts(inside.left(), inside.top() + numberHeight, inside.width(),
                        inside.height() - numberHeight);
    if (!day.own.word.empty()) {
        paintOwnDay(painter, u, day.own, shifts);
        return;
    }
    for (int side = 0; side < lines; ++side) {
        const YearShift& shift = day.shifts[static_cast<std::size_t>(side)];
        if (shift.text.empty()) {
            continue;
        }
        const double height = shifts.height() / lines;
        painter.setPen(toColor(shift.colour));
        drawFitted(painter,
                   QRectF(shifts.left(), shifts.top() + side * height, shifts.width(), height),
                   Qt::AlignCenter, fromCore(shift.text), u.font(lines == 1 ? 6.5 : 5.5, true));
    }
}

void paintMonth(QPainter& painter, const PageUnits& u, const YearSheet& sheet,
                const YearMonth& block, const QRectF& rect, std::size_t holidayLines) {
    painter.setPen(Qt::black);
    drawFitted(painter, QRectF(rect.left(), rect.top(), rect.width(), u.mm(kMonthName)),
               Qt::AlignHCenter | Qt::AlignTop,
               QLocale().standaloneMonthName(block.month, QLocale::LongFormat),
               u.font(9, true, false));
    const double cellWidth = rect.width() / SheetModel::kColumnCount;
    const double headTop = rect.top() + u.mm(kMonthName);
    for (int k = 0; k < SheetModel::kColumnCount; ++k) {
        drawFitted(painter, QRectF(rect.left() + k * cellWidth, headTop, cellWidth, u.mm(kHeads)),
                   Qt::AlignCenter,
                   fromCore(kWeekdayHeads[static_cast<std::size_t>(k)].substr(0, 3)),
                   u.font(5.5, true));
    }
    const double weeksTop = headTop + u.mm(kHeads);
    const double weekHeight =
        (rect.height() - u.mm(kMonthName + kHeads) - holidayLines * u.mm(kHolidayLine)) / kWeeks;
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        const YearDay& day = block.cells[static_cast<std::size_t>(c)];
        if (day.day != 0) {
            paintDay(painter, u, sheet, day,
                     QRectF(rect.left() + (c % 7) * cellWidth, weeksTop + (c / 7) * weekHeight,
                            cellWidth, weekHeight));
        }
    }
    double y = weeksTop + kWeeks * weekHeight;
    painter.setPen(Qt::black);
    for (const YearHoliday& holiday : block.holidays) {
        drawFitted(painter, QRectF(rect.left(), y, rect.width(), u.mm(kHolidayLine)),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   QString::number(holiday.day) + QLatin1Char(' ') + fromCore(holiday.caption),
                   u.font(5.5, false));
        y += u.mm(kHolidayLine);
    }
}

QString weekendsText(const YearPage& page) {
    const QLocale locale;
    const QString from = locale.toString(toDate(page.weekendsFrom), QStringLiteral("d MMMM yyyy"));
    if (page.weekends.empty()) {
        return QStringLiteral("No weekend both crews are off within a year from %1.").arg(from);
    }
    QStringList weekends;
    for (const DaySerial saturday : page.weekends) {
        const QDate sunday = toDate(saturday + 1);
        // "17–18 Mar 2007", "31 Mar–1 Apr 2007", "31 Dec 2011–1 Jan 2012"
        const char* format = toDate(saturday).year() != sunday.year()     ? "d MMM yyyy"
                             : toDate(saturday).month() != sunday.month() ? "d MMM"
                                                                          : "d";
        weekends << locale.toString(toDate(saturday), QString::fromLatin1(format)) +
                        QStringLiteral("\u2013") +
                        locale.toString(sunday, QStringLiteral("d MMM yyyy"));
    }
    return QStringLiteral("Next weekends both crews are off, from %1: %2")
        .arg(from, weekends.join(QStringLiteral(", ")));
}

void paintFoot(QPainter& painter, const PageUnits& u, const YearPage& page, double top, double left,
               double width) {
    const YearSheet& sheet = page.sheet;
    const auto line = [&](int n) {
        return QRectF(left, top + n * u.mm(kFootLine), width, u.mm(kFootLine));
    };
    FootLine shifts(painter, u, line(0));
    shifts.text(QStringLiteral("Shifts:"));
    for (const YearShift& shift : sheet.labels()) {
        shifts.space();
        shifts.text(fromCore(shift.text), toColor(shift.colour), true);
        const std::string_view full = halfLineLabel(shift.text);
        if (full != shift.text) {
            shifts.text(QStringLiteral(" = ") + fromCore(full));
        }
    }
    if (const std::string key = sheet.allCrewsKey(); !key.empty()) {
        shifts.space();
        shifts.text(QStringLiteral("All crews: each crew's letter and its shift, ") +
                    fromCore(key));
    }
    if (sheet.sideBySide) {
        shifts.space();
        shifts.text(QStringLiteral("Upper line: %1; lower line: %2.")
                        .arg(sheet.hasCrew[0] ? page.names[0] : QStringLiteral("no crew"),
                             sheet.hasCrew[1] ? page.names[1] : QStringLiteral("no crew")));
    }
    FootLine marks(painter, u, line(1));
    marks.holidayMark();
    marks.text(QStringLiteral("holiday or clock change, listed under its month"));
    if (sheet.hasOwnDays) {
        marks.space();
        marks.text(QStringLiteral("your own days: the rotation's shift above (struck through when "
                                  "not worked), your entry below"));
    }
    if (twoCrews(sheet)) {
        marks.space();
        marks.shade();
        marks.text(QStringLiteral("both crews off: %1 days in %2")
                       .arg(sheet.daysOffTogether)
                       .arg(sheet.year));
        FootLine weekends(painter, u, line(2));
        weekends.text(weekendsText(page));
    }
}

} // namespace

YearPage yearPage(Int16 year, const ViewCrews& crews, const std::array<QString, 2>& names,
                  DaySerial today, const OwnDays* ownDays) {
    YearPage page;
    page.sheet = yearSheet(year, crews, ownDays);
    page.names = names;
    const std::string crewTitle =
        yearCrewsTitle(page.sheet, {names[0].toStdString(), names[1].toStdString()});
    page.title = fromCore(crewTitle) +
                 (crewTitle.empty() ? QString() : QStringLiteral(" \u2013 ")) +
                 QString::number(year);
    if (crews.sideBySide) {
        const DaySerial first = toDaySerial(std::chrono::year{year} / 1 / 1);
        const DaySerial last = toDaySerial(std::chrono::year{year} / 12 / 31);
        page.weekendsFrom = sharedWeekendsFrom(first, last, today);
        page.weekends = DaysOffTogether(crews).sharedWeekends(page.weekendsFrom);
    }
    return page;
}

void paintYearPage(QPainter& painter, const YearPage& page) {
    const PageUnits u(*painter.device());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(0, 0, painter.device()->width(), painter.device()->height())
                            .adjusted(u.mm(kMargin), u.mm(kMargin), -u.mm(kMargin), -u.mm(kMargin));
    painter.setPen(Qt::black);
    drawFitted(painter, QRectF(area.left(), area.top(), area.width(), u.mm(kTitleHeight)),
               Qt::AlignLeft | Qt::AlignTop, page.title, u.font(15, true, false));
    const int footLines = twoCrews(page.sheet) ? 3 : 2;
    const double footTop = area.bottom() - footLines * u.mm(kFootLine);
    paintFoot(painter, u, page, footTop, area.left(), area.width());

    std::size_t holidayLines = 1;
    for (const YearMonth& block : page.sheet.months) {
        holidayLines = std::max(holidayLines, block.holidays.size());
    }
    const double top = area.top() + u.mm(kTitleHeight);
    const double width = (area.width() - (kAcross - 1) * u.mm(kColumnGap)) / kAcross;
    const double height = (footTop - u.mm(kRowGap) - top - (kDown - 1) * u.mm(kRowGap)) / kDown;
    for (int m = 0; m < kAcross * kDown; ++m) {
        const QRectF block(area.left() + (m % kAcross) * (width + u.mm(kColumnGap)),
                           top + (m / kAcross) * (height + u.mm(kRowGap)), width, height);
        paintMonth(painter, u, page.sheet, page.sheet.months[static_cast<std::size_t>(m)], block,
                   holidayLines);
    }
    painter.restore();
}

void printYear(QWidget* window, const Form1Services& services, const YearPage& page) {
    PageSetup setup;
    setup.orientation = QPageLayout::Landscape;
    setup.printersPaper = true;
    printPage(
        window, services, page.title,
        QStringLiteral("Kelsing schedule %1.pdf").arg(page.sheet.year),
        [&page](QPainter& painter, int) { paintYearPage(painter, page); }, setup);
}

} // namespace kelsing
