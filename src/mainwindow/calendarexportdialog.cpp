#include "mainwindow/calendarexportdialog.h"

#include "platform/fonts.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kelsing {

namespace {

// The days that the calendar rules cover.
const QDate kFirstDay(100, 1, 1);
const QDate kLastDay(9999, 12, 31);
constexpr int kFileFieldWidth = 4800;

QDateEdit* makeDateEdit(QWidget* parent, const QString& name, QDate date) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setDateRange(kFirstDay, kLastDay);
    edit->setDisplayFormat(QStringLiteral("d MMMM yyyy"));
    edit->setCalendarPopup(true);
    edit->setDate(date);
    return edit;
}

} // namespace

CalendarExportDialog::CalendarExportDialog(const CalendarExport& proposal, const Twips& twips,
                                           QWidget* parent)
    : QDialog(parent)
    , m_crewName(proposal.crewName) {
    setObjectName(QStringLiteral("CalendarExportDialog"));
    setWindowTitle(QStringLiteral("Export shifts to calendar file"));
    setFont(Fonts::platformFont(Fonts::kDefault, twips));

    auto* heading = new QLabel(QStringLiteral("Shifts of %1").arg(m_crewName), this);
    m_from = makeDateEdit(this, QStringLiteral("From"), proposal.from);
    m_to = makeDateEdit(this, QStringLiteral("To"), proposal.to);
    m_from->setAccessibleName(QStringLiteral("First day"));
    m_to->setAccessibleName(QStringLiteral("Last day"));
    m_includeOff = new QCheckBox(QStringLiteral("Include days off"), this);
    m_includeOff->setObjectName(QStringLiteral("IncludeOff"));
    m_includeOff->setChecked(proposal.includeOff);
    m_file = new QLineEdit(proposal.fileName, this);
    m_file->setObjectName(QStringLiteral("File"));
    m_file->setAccessibleName(QStringLiteral("File"));
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setObjectName(QStringLiteral("Browse"));

    // Room for a whole file name in the documents folder.
    m_file->setMinimumWidth(twips.px(kFileFieldWidth));
    auto* fileLabel = new QLabel(QStringLiteral("F&ile"), this);
    fileLabel->setBuddy(m_file);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Export"));

    auto* form = new QFormLayout(this);
    form->addRow(heading);
    form->addRow(QStringLiteral("&From"), m_from);
    form->addRow(QStringLiteral("&To"), m_to);
    form->addRow(QString(), m_includeOff);
    form->addRow(fileLabel, fileRow);
    form->addRow(m_buttons);

    connect(browse, &QPushButton::clicked, this, &CalendarExportDialog::browse);
    connect(m_from, &QDateEdit::dateChanged, this, &CalendarExportDialog::updateButtons);
    connect(m_to, &QDateEdit::dateChanged, this, &CalendarExportDialog::updateButtons);
    connect(m_file, &QLineEdit::textChanged, this, &CalendarExportDialog::updateButtons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateButtons();
}

std::optional<CalendarExport>
CalendarExportDialog::ask(QWidget* parent, const CalendarExport& proposal, const Twips& twips) {
    CalendarExportDialog dialog(proposal, twips, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.result();
}

CalendarExport CalendarExportDialog::result() const {
    return {m_crewName, m_from->date(), m_to->date(), m_includeOff->isChecked(),
            m_file->text().trimmed()};
}

bool CalendarExportDialog::acceptable() const {
    return m_from->date() <= m_to->date() && !m_file->text().trimmed().isEmpty();
}

void CalendarExportDialog::browse() {
    QString file = QFileDialog::getSaveFileName(this, windowTitle(), m_file->text(),
                                                QStringLiteral("iCalendar files (*.ics)"));
    if (file.isEmpty()) {
        return;
    }
    if (QFileInfo(file).suffix().isEmpty()) {
        file += QStringLiteral(".ics");
    }
    m_file->setText(file);
}

void CalendarExportDialog::updateButtons() {
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(acceptable());
}

} // namespace kelsing
