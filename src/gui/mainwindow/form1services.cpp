// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/form1services.h"

#include "mainwindow/calendarexportdialog.h"
#include "mainwindow/lateservices.h"
#include "mainwindow/startfolder.h"
#include "platform/localeservices.h"

#include <cstdio>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QWidget>

namespace kelsing {

namespace {

QString defaultPrinterName() {
    LateServices* services = lateServices();
    return services ? services->defaultPrinterName() : QString();
}

QPageSize printerPaperOf(const QString& printer) {
    LateServices* services = lateServices();
    return services ? services->printerPaper(printer) : QPageSize();
}

// Where the user saves the sheet when there is no printer: a file dialog in the start folder.
QString askPdfFileName(QWidget* parent, const QString& suggestedName) {
    QString file = QFileDialog::getSaveFileName(
        parent, QStringLiteral("No printer: save the sheet as PDF"),
        QDir(startFolder()).filePath(suggestedName), QStringLiteral("PDF files (*.pdf)"));
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty()) {
        file += QStringLiteral(".pdf");
    }
    return file;
}

void showWarning(QWidget* parent, const QString& message) {
    QMessageBox::warning(parent, parent->windowTitle(), message);
}

void showInformation(QWidget* parent, const QString& message) {
    QMessageBox::information(parent, parent->windowTitle(), message);
}

// A day's note in a one-line field that takes no more than a note may have.
std::optional<QString> askNoteText(QWidget* parent, const QString& title, const QString& note) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(QStringLiteral("Note (up to 200 characters):"));
    dialog.setTextValue(note);
    if (auto* field = dialog.findChild<QLineEdit*>()) {
        field->setMaxLength(200);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

void writeToStandardError(const QString& line) {
    std::fputs(QStringLiteral("kelsing-schedule: %1\n").arg(line).toLocal8Bit().constData(),
               stderr);
}

template <typename Function, typename Default>
void fillIn(Function& service, Default fallback) {
    if (!service) {
        service = fallback;
    }
}

} // namespace

Form1Services withDefaultServices(Form1Services services) {
    fillIn(services.today, &LocaleServices::today);
    fillIn(services.defaultPrinter, &defaultPrinterName);
    fillIn(services.printerPaper, &printerPaperOf);
    fillIn(services.pdfFileName, &askPdfFileName);
    fillIn(services.calendarExport, &CalendarExportDialog::ask);
    fillIn(services.now, &QDateTime::currentDateTimeUtc);
    fillIn(services.warn, &showWarning);
    fillIn(services.inform, &showInformation);
    fillIn(services.reportProblem, &writeToStandardError);
    fillIn(services.askNote, &askNoteText);
    return services;
}

} // namespace kelsing
