// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QMenu;

namespace kelsing {

/// A day of a range, typed as text ("15 March 2027", with the user's month names) or picked from
/// a calendar that drops down from the button beside it (or on Alt+Down). The text is edited as
/// any text is: a date typed over a selection is the date typed. Up and Down step a day.
class DateField final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DateField)

public:
    DateField(QDate date, QDate first, QDate last, QWidget* parent = nullptr);

    /// The day the text gives: in the field's own form, with the short month name or as
    /// yyyy-MM-dd, its year in up to four digits. Invalid when the text gives no day of the range.
    QDate date() const;

    /// Shows `date`, held within the range.
    void setDate(QDate date);

    QDate minimumDate() const { return m_first; }
    QDate maximumDate() const { return m_last; }
    QLineEdit* lineEdit() const { return m_edit; }

    /// The text as the field shows a day.
    static QString textOf(QDate date);

signals:
    /// The text changed, and the date with it.
    void dateChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCalendar();

    QDate m_first;
    QDate m_last;
    QLineEdit* m_edit = nullptr;
    QMenu* m_popup = nullptr;
    QCalendarWidget* m_calendar = nullptr;
};

} // namespace kelsing
