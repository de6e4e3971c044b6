// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/pageprinting.h"

#include "mainwindow/form1services.h"
#include "mainwindow/lateservices.h"
#include "mainwindow/pdffile.h"

#include <QDir>
#include <QPainter>

namespace kelsing {

namespace {

void printOnPrinter(QWidget* window, const Form1Services& services, const QString& printer,
                    const QString& document, const PagePainter& paint) {
    LateServices* late = lateServices();
    const PrintOutcome outcome =
        late ? late->print(printer, document, paint) : PrintOutcome::NotTaken;
    if (outcome == PrintOutcome::NotTaken) {
        services.warn(window,
                      QStringLiteral("The printer %1 did not take the sheet.").arg(printer));
    } else if (outcome == PrintOutcome::Failed) {
        services.warn(window,
                      QStringLiteral("The printer %1 could not print the sheet.").arg(printer));
    }
}

void saveAsPdf(QWidget* window, const Form1Services& services, const QString& document,
               const QString& suggestedName, const PagePainter& paint) {
    const QString file = services.pdfFileName(window, suggestedName);
    if (file.isEmpty()) {
        return;
    }
    PdfFile pdf(file, document);
    QPainter painter;
    bool saved = pdf.begin(painter);
    if (saved) {
        paint(painter, pdf.pageWidth());
        saved = pdf.finish(painter);
    }
    if (!saved) {
        services.warn(window, QStringLiteral("The PDF file %1 could not be written: %2")
                                  .arg(QDir::toNativeSeparators(file), pdf.errorString()));
    }
}

} // namespace

void printPage(QWidget* window, const Form1Services& services, const QString& document,
               const QString& suggestedPdfName, const PagePainter& paint) {
    const QString printer = services.defaultPrinter();
    if (printer.isEmpty()) {
        saveAsPdf(window, services, document, suggestedPdfName, paint);
    } else {
        printOnPrinter(window, services, printer, document, paint);
    }
}

} // namespace kelsing
