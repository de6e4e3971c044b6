// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainwindow/calendarexport.h"
#include "platform/twips.h"

#include <optional>

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace kelsing {

class DateField;

/// Asks for the span and the file of a calendar export of one crew's shifts, and writes it. The
/// dialog closes only once the file is written or the user cancels: when writing fails or is
/// cancelled it stays open with the user's input and says what happened.
class CalendarExportDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CalendarExportDialog)

public:
    /// Shows `proposal` for the user to change, with fonts at the main window's scale; Export
    /// hands the settled export to `write`.
    CalendarExportDialog(const CalendarExport& proposal, const Twips& twips,
                         CalendarExportWriter write, QWidget* parent = nullptr);

    /// Runs the dialog; the export written, or nothing when the user cancelled.
    static std::optional<CalendarExport> ask(QWidget* parent, const CalendarExport& proposal,
                                             const Twips& twips, const CalendarExportWriter& write);

    /// The export as the dialog's fields now give it; a file name without a folder lies in the
    /// proposed file's folder.
    CalendarExport result() const;

    /// Whether the fields give an export that can be written: a file and two days in order.
    bool acceptable() const;

    /// The export written, once it is.
    const std::optional<CalendarExport>& written() const { return m_written; }

private:
    void browse();
    void updateButtons();
    void exportFile();
    bool mayReplace(const QString& fileName);
    void showProblem(QLabel* label, const QString& text);

    QString m_calendarName;
    QString m_folder; // where a file name without a folder goes
    CalendarExportWriter m_write;
    DateField* m_from = nullptr;
    DateField* m_to = nullptr;
    QLabel* m_spanProblem = nullptr;
    QCheckBox* m_includeOff = nullptr;
    QCheckBox* m_withOwnDays = nullptr; // only where the user keeps own days for the crew
    QLineEdit* m_file = nullptr;
    QLabel* m_status = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    std::optional<CalendarExport> m_written;
};

} // namespace kelsing
