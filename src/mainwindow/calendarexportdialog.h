#pragma once

#include "mainwindow/calendarexport.h"
#include "platform/twips.h"

#include <optional>

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QDialogButtonBox;
class QLineEdit;

namespace kelsing {

/// Asks for the span and the file of a calendar export of one crew's shifts.
class CalendarExportDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CalendarExportDialog)

public:
    /// Shows `proposal` for the user to change, with fonts at the main window's scale.
    CalendarExportDialog(const CalendarExport& proposal, const Twips& twips,
                         QWidget* parent = nullptr);

    /// Runs the dialog; the export as the user settled it, or nothing when cancelled.
    static std::optional<CalendarExport> ask(QWidget* parent, const CalendarExport& proposal,
                                             const Twips& twips);

    /// The export as the dialog's fields now give it.
    CalendarExport result() const;

    /// Whether the fields give an export that can be written: a file and a span that is not
    /// reversed.
    bool acceptable() const;

private:
    void browse();
    void updateButtons();

    QString m_crewName;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QCheckBox* m_includeOff = nullptr;
    QLineEdit* m_file = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace kelsing
