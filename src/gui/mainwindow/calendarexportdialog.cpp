// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/calendarexportdialog.h"

#include "mainwindow/datefield.h"
#include "platform/fonts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace kelsing {

namespace {

// The days that the calendar rules cover.
const QDate kFirstDay(100, 1, 1);
const QDate kLastDay(9999, 12, 31);
constexpr int kFileFieldWidth = 4800;
const QColor kProblemText(160, 0, 0);

DateField* makeDateField(QWidget* parent, const QString& name, const QString& accessibleName,
                         QDate date) {
    auto* field = new DateField(date, kFirstDay, kLastDay, parent);
    field->setObjectName(name);
    field->lineEdit()->setAccessibleName(accessibleName);
    return field;
}

QLabel* makeProblemLabel(QWidget* parent, const QString& name, bool wrapped) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(wrapped);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kProblemText);
    label->setPalette(palette);
    label->hide();
    return label;
}

} // namespace

CalendarExportDialog::CalendarExportDialog(const CalendarExport& proposal, const Twips& twips,
                                           CalendarExportWriter write, QWidget* parent)
    : QDialog(parent)
    , m_calendarName(proposal.calendarName)
    , m_folder(QFileInfo(proposal.fileName).absolutePath())
    , m_write(std::move(write)) {
    setObjectName(QStringLiteral("CalendarExportDialog"));
    setWindowTitle(QStringLiteral("Export shifts to calendar file"));
    setFont(Fonts::platformFont(Fonts::kDefault, twips));

    auto* heading = new QLabel(m_calendarName, this);
    m_from =
        makeDateField(this, QStringLiteral("From"), QStringLiteral("First day"), proposal.from);
    m_to = makeDateField(this, QStringLiteral("To"), QStringLiteral("Last day"), proposal.to);
    m_spanProblem = makeProblemLabel(this, QStringLiteral("SpanProblem"), false);
    m_includeOff = new QCheckBox(QStringLiteral("Include days off"), this);
    m_includeOff->setObjectName(QStringLiteral("IncludeOff"));
    m_includeOff->setChecked(proposal.includeOff);
    if (proposal.offerOwnDays) {
        m_withOwnDays = new QCheckBox(QStringLiteral("Include my own days"), this);
        m_withOwnDays->setObjectName(QStringLiteral("WithOwnDays"));
        m_withOwnDays->setToolTip(QStringLiteral(
            "Leave, sick days, swapped and extra shifts and notes, as you keep them"));
        m_withOwnDays->setChecked(proposal.withOwnDays);
    }
    m_file = new QLineEdit(proposal.fileName, this);
    m_file->setObjectName(QStringLiteral("File"));
    m_file->setAccessibleName(QStringLiteral("File"));
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setObjectName(QStringLiteral("Browse"));
    m_status = makeProblemLabel(this, QStringLiteral("Status"), true); // it names a file

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
    form->addRow(QString(), m_spanProblem);
    form->addRow(QString(), m_includeOff);
    if (m_withOwnDays) {
        form->addRow(QString(), m_withOwnDays);
        connect(m_withOwnDays, &QCheckBox::toggled, this, &CalendarExportDialog::updateButtons);
    }
    form->addRow(fileLabel, fileRow);
    form->addRow(m_status);
    form->addRow(m_buttons);

    connect(browse, &QPushButton::clicked, this, &CalendarExportDialog::browse);
    connect(m_from, &DateField::dateChanged, this, &CalendarExportDialog::updateButtons);
    connect(m_to, &DateField::dateChanged, this, &CalendarExportDialog::updateButtons);
    connect(m_file, &QLineEdit::textChanged, this, &CalendarExportDialog::updateButtons);
    connect(m_includeOff, &QCheckBox::toggled, this, &CalendarExportDialog::updateButtons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CalendarExportDialog::exportFile);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateButtons();
}

std::optional<CalendarExport> CalendarExportDialog::ask(QWidget* parent,
                                                        const CalendarExport& proposal,
                                                        const Twips& twips,
                                                        const CalendarExportWriter& write) {
    CalendarExportDialog dialog(proposal, twips, write, parent);
    dialog.exec();
    return dialog.written();
}

CalendarExport CalendarExportDialog::result() const {
    const QString typed = m_file->text().trimmed();
    QString fileName = typed.isEmpty() ? typed : QDir(m_folder).absoluteFilePath(typed);
    // Calendars may not take a file without its suffix; a device or pipe is written as named.
    const QFileInfo file(fileName);
    if (!typed.isEmpty() && file.suffix().isEmpty() && !file.fileName().isEmpty() &&
        (!file.exists() || file.isFile())) {
        fileName +=
            fileName.endsWith(QLatin1Char('.')) ? QStringLiteral("ics") : QStringLiteral(".ics");
    }
    return {m_calendarName,
            m_from->date(),
            m_to->date(),
            m_includeOff->isChecked(),
            fileName,
            m_withOwnDays != nullptr,
            m_withOwnDays != nullptr && m_withOwnDays->isChecked()};
}

bool CalendarExportDialog::acceptable() const {
    const CalendarExport fields = result();
    return fields.from.isValid() && fields.to.isValid() && fields.from <= fields.to &&
           !fields.fileName.isEmpty();
}

void CalendarExportDialog::browse() {
    // The question whether to replace a file is asked once, by Export, whichever way the name
    // came in.
    QString file = QFileDialog::getSaveFileName(this, windowTitle(), result().fileName,
                                                QStringLiteral("iCalendar files (*.ics)"), nullptr,
                                                QFileDialog::DontConfirmOverwrite);
    if (file.isEmpty()) {
        return;
    }
    if (QFileInfo(file).suffix().isEmpty()) {
        file += QStringLiteral(".ics");
    }
    m_file->setText(file);
}

void CalendarExportDialog::updateButtons() {
    const CalendarExport fields = result();
    const QString example = DateField::textOf(QDate(2027, 3, 15));
    QString problem;
    if (!fields.from.isValid()) {
        problem = QStringLiteral("The first day is not a date such as %1.").arg(example);
    } else if (!fields.to.isValid()) {
        problem = QStringLiteral("The last day is not a date such as %1.").arg(example);
    } else if (fields.to < fields.from) {
        problem = QStringLiteral("The last day is before the first day.");
    }
    showProblem(m_spanProblem, problem);
    // What the last export said no longer holds once the fields change.
    showProblem(m_status, QString());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(acceptable());
}

void CalendarExportDialog::showProblem(QLabel* label, const QString& text) {
    label->setText(text);
    label->setVisible(!text.isEmpty());
    // A wrapped text takes the height it needs at the dialog's width, which a window does not
    // follow by itself; nothing in the dialog uses more.
    layout()->activate();
    const int wrapped = layout()->totalHeightForWidth(width());
    if (isVisible()) {
        resize(width(), wrapped >= 0 ? wrapped : sizeHint().height());
    }
}

bool CalendarExportDialog::mayReplace(const QString& fileName) {
    const QFileInfo target(fileName);
    if (!target.isFile()) {
        return true;
    }
    // The question and its answers as a file dialog asks them.
    return QMessageBox::question(this, windowTitle(),
                                 QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                     .arg(target.fileName()),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void CalendarExportDialog::exportFile() {
    if (!acceptable()) {
        return;
    }
    const CalendarExport settled = result();
    if (!mayReplace(settled.fileName)) {
        return;
    }
    showProblem(m_status, QString());
    const ExportOutcome outcome = m_write(this, settled);
    if (outcome.kind == ExportOutcome::Kind::Written) {
        m_written = settled;
        accept();
        return;
    }
    showProblem(m_status, outcome.message);
}

} // namespace kelsing
