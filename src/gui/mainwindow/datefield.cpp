// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/datefield.h"

#include "sheet/sheetmodel.h"

#include <algorithm>

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QRegularExpression>
#include <QTextCharFormat>
#include <QToolButton>
#include <QWidgetAction>

namespace kelsing {

namespace {

const QString kFormat = QStringLiteral("d MMMM yyyy");

QDate parseDay(QString text) {
    text = text.simplified();
    // The years before 1000 are shown with leading zeros, but typed without them.
    static const QRegularExpression shortYear(QStringLiteral("(?<![0-9-])([0-9]{1,3})$"));
    const QRegularExpressionMatch year = shortYear.match(text);
    if (year.hasMatch()) {
        text.replace(year.capturedStart(1), year.capturedLength(1),
                     year.captured(1).rightJustified(4, QLatin1Char('0')));
    }
    const QLocale locale;
    for (const QString& format : {kFormat, QStringLiteral("d MMM yyyy")}) {
        if (const QDate date = locale.toDate(text, format); date.isValid()) {
            return date;
        }
    }
    return QDate::fromString(text, Qt::ISODate);
}

// The calendar follows the sheet: weeks from Sunday, and its weekday heads' colours.
void lookLikeTheSheet(QCalendarWidget& calendar) {
    calendar.setFirstDayOfWeek(Qt::Sunday);
    const Qt::DayOfWeek weekdays[] = {Qt::Sunday,   Qt::Monday, Qt::Tuesday, Qt::Wednesday,
                                      Qt::Thursday, Qt::Friday, Qt::Saturday};
    for (int k = 0; k < SheetModel::kColumnCount; ++k) {
        const Rgb colour = weekdayHeadColour(k);
        QTextCharFormat format = calendar.weekdayTextFormat(weekdays[k]);
        format.setForeground(QColor(colour.red, colour.green, colour.blue));
        calendar.setWeekdayTextFormat(weekdays[k], format);
    }
}

} // namespace

DateField::DateField(QDate date, QDate first, QDate last, QWidget* parent)
    : QWidget(parent)
    , m_first(first)
    , m_last(last) {
    m_edit = new QLineEdit(this);
    m_edit->installEventFilter(this);
    auto* button = new QToolButton(this);
    button->setArrowType(Qt::DownArrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QStringLiteral("Pick the day from a calendar (Alt+Down)"));
    button->setAccessibleName(QStringLiteral("Pick from a calendar"));
    m_calendar = new QCalendarWidget;
    m_calendar->setDateRange(first, last);
    lookLikeTheSheet(*m_calendar);
    m_popup = new QMenu(this);
    auto* holder = new QWidgetAction(m_popup);
    holder->setDefaultWidget(m_calendar);
    m_popup->addAction(holder);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_edit, 1);
    row->addWidget(button);
    setFocusProxy(m_edit);
    // As tall as the text beside it, and its arrow with it, at any font size.
    const int side = m_edit->sizeHint().height();
    button->setFixedSize(side, side);
    button->setIconSize(QSize(side / 2, side / 2));

    connect(m_edit, &QLineEdit::textChanged, this, &DateField::dateChanged);
    connect(button, &QToolButton::clicked, this, &DateField::showCalendar);
    connect(m_calendar, &QCalendarWidget::clicked, this, [this](QDate picked) {
        setDate(picked);
        m_popup->close();
    });
    connect(m_calendar, &QCalendarWidget::activated, this, [this](QDate picked) {
        setDate(picked);
        m_popup->close();
    });
    setDate(date);
}

QDate DateField::date() const {
    const QDate date = parseDay(m_edit->text());
    return date >= m_first && date <= m_last ? date : QDate();
}

void DateField::setDate(QDate date) {
    m_edit->setText(textOf(std::clamp(date, m_first, m_last)));
}

QString DateField::textOf(QDate date) {
    return QLocale().toString(date, kFormat);
}

bool DateField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool alt = key->modifiers() & Qt::AltModifier;
        if ((key->key() == Qt::Key_Down && alt) || key->key() == Qt::Key_F4) {
            showCalendar();
            return true;
        }
        if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && !alt && date().isValid()) {
            setDate(date().addDays(key->key() == Qt::Key_Up ? 1 : -1));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DateField::showCalendar() {
    if (date().isValid()) {
        m_calendar->setSelectedDate(date());
    }
    // A popup is a window of its own and takes no font from the dialog unless given one.
    m_popup->setFont(font());
    m_popup->popup(mapToGlobal(QPoint(0, height())));
    m_calendar->setFocus();
}

} // namespace kelsing
