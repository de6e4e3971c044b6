// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/pageprinting.h"

#include "mainwindow/form1services.h"
#include "mainwindow/lateservices.h"
#include "mainwindow/pdffile.h"

#include <QBuffer>
#include <QDir>
#include <QWidget>

namespace kelsing {

namespace {

using Outcome = PrintReport::Outcome;

// The print system's own words, added to ours where it has any.
QString withDetail(const QString& message, const QString& detail) {
    return detail.isEmpty() ? message : message + QStringLiteral(" (%1)").arg(detail);
}

// The report in plain words; empty when the page went to the printer as usual.
QString reportText(const QString& printer, const PrintReport& report) {
    switch (report.outcome) {
    case Outcome::Printed:
        return QString();
    case Outcome::Waiting:
        return withDetail(
            QStringLiteral("The printer %1 is stopped or reports a problem. The sheet waits in "
                           "its queue and prints once the printer is ready.")
                .arg(printer),
            report.detail);
    case Outcome::Refused:
        return withDetail(QStringLiteral("The printer %1 is not taking jobs now. The sheet was "
                                         "not printed.")
                              .arg(printer),
                          report.detail);
    case Outcome::NoPrintSystem:
        return QStringLiteral("The print system is not running. The sheet was not printed on %1.")
            .arg(printer);
    case Outcome::NoAnswer:
        return withDetail(QStringLiteral("The print system stopped answering. The sheet may not "
                                         "have been printed on %1.")
                              .arg(printer),
                          report.detail);
    case Outcome::Failed:
        break;
    }
    return withDetail(QStringLiteral("The printer %1 could not print the sheet.").arg(printer),
                      report.detail);
}

void printOnPrinter(QWidget* window, const Form1Services& services, const QString& printer,
                    const QString& document, const PagePainter& paint, PageSetup setup) {
    // The printer gets the very document that the PDF offer saves: drawn as vectors, never
    // through a picture of the page at the printer's resolution.
    QByteArray pdf;
    QBuffer buffer(&pdf);
    LateServices* late = lateServices();
    if (setup.printersPaper) {
        setup.paper = services.printerPaper(printer);
    }
    if (!late || !buffer.open(QIODevice::WriteOnly) ||
        !writePdfPage(buffer, document, paint, setup)) {
        services.warn(window,
                      QStringLiteral("The printer %1 did not take the sheet.").arg(printer));
        return;
    }
    late->print(printer, document, pdf, window,
                [window, warn = services.warn, printer](const PrintReport& report) {
                    const QString message = reportText(printer, report);
                    if (!message.isEmpty()) {
                        warn(window, message);
                    }
                });
}

void saveAsPdf(QWidget* window, const Form1Services& services, const QString& document,
               const QString& suggestedName, const PagePainter& paint, const PageSetup& setup) {
    const QString file = services.pdfFileName(window, suggestedName);
    if (file.isEmpty()) {
        return;
    }
    PdfFile pdf(file, document);
    if (!pdf.write(paint, setup)) {
        services.warn(window, QStringLiteral("The PDF file %1 could not be written: %2")
                                  .arg(QDir::toNativeSeparators(file), pdf.errorString()));
    }
}

} // namespace

void printPage(QWidget* window, const Form1Services& services, const QString& document,
               const QString& suggestedPdfName, const PagePainter& paint, const PageSetup& setup) {
    const QString printer = services.defaultPrinter();
    if (printer.isEmpty()) {
        saveAsPdf(window, services, document, suggestedPdfName, paint, setup);
    } else {
        printOnPrinter(window, services, printer, document, paint, setup);
    }
}

} // namespace kelsing
