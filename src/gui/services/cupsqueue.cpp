// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/cupsqueue.h"

#include <algorithm>
#include <cups/cups.h>
#include <cups/pwg.h>
#include <memory>

#include <QSizeF>
#include <QStringList>

namespace kelsing {

namespace {

using Outcome = PrintReport::Outcome;

// The largest piece of the document written at once.
constexpr qsizetype kPiece = 64 * 1024;

struct IppDelete {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDelete>;

// What a failed request means to the user, with the print system's words.
PrintReport failure(const CupsConnection& cups) {
    const QString words = QString::fromUtf8(cupsLastErrorString());
    if (cups.timedOut()) {
        return {Outcome::NoAnswer, words};
    }
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return {Outcome::Refused, words};
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
    case IPP_STATUS_ERROR_INTERNAL:
        // The connection broke: the print system went away while the job went to it.
        return {Outcome::NoAnswer, words};
    default:
        return {Outcome::Failed, words};
    }
}

QStringList keywords(ipp_t* response, const char* name) {
    QStringList values;
    if (ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO)) {
        for (int i = 0; i < ippGetCount(attribute); ++i) {
            if (const char* value = ippGetString(attribute, i, nullptr)) {
                values.append(QString::fromUtf8(value));
            }
        }
    }
    values.removeAll(QStringLiteral("none"));
    return values;
}

QString text(ipp_t* response, const char* name) {
    ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO);
    const char* value = attribute ? ippGetString(attribute, 0, nullptr) : nullptr;
    return value ? QString::fromUtf8(value) : QString();
}

// The printer's message, or else its reasons, as the print system words them.
QString printerWords(ipp_t* response, const char* message, const char* reasons) {
    const QString said = text(response, message);
    return said.isEmpty() ? keywords(response, reasons).join(QStringLiteral(", ")) : said;
}

Ipp request(http_t* http, ipp_op_t operation, const char* uriName, const QByteArray& uri,
            std::initializer_list<const char*> wanted) {
    ipp_t* request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, uriName, nullptr, uri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(wanted.size()), nullptr, wanted.begin());
    return Ipp(cupsDoRequest(http, request, "/"));
}

QByteArray uri(const char* resource, const QByteArray& name) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/%s/%s", resource, name.constData());
    return QByteArray(uri);
}

// How the job stands just after it was sent: stopped, cancelled or aborted jobs failed; a job
// that waits on a stopped printer, or on one that reports an error, is said to wait.
PrintReport jobReport(CupsConnection& cups, const QByteArray& queue, int job) {
    const Ipp jobAnswer = request(cups.http(), IPP_OP_GET_JOB_ATTRIBUTES, "job-uri",
                                  uri("jobs", QByteArray::number(job)),
                                  {"job-state", "job-state-reasons", "job-printer-state-message"});
    if (!jobAnswer || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        return failure(cups);
    }
    const auto state = static_cast<ipp_jstate_t>(
        ippGetInteger(ippFindAttribute(jobAnswer.get(), "job-state", IPP_TAG_ENUM), 0));
    if (state == IPP_JSTATE_STOPPED || state == IPP_JSTATE_CANCELED ||
        state == IPP_JSTATE_ABORTED) {
        const QString words =
            printerWords(jobAnswer.get(), "job-printer-state-message", "job-state-reasons");
        return {Outcome::Failed, words};
    }
    const Ipp printer =
        request(cups.http(), IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri", uri("printers", queue),
                {"printer-state", "printer-state-reasons", "printer-state-message"});
    if (!printer || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        // A class has no printer of that name; the job itself is fine.
        return {Outcome::Printed, QString()};
    }
    const auto printerState = static_cast<ipp_pstate_t>(
        ippGetInteger(ippFindAttribute(printer.get(), "printer-state", IPP_TAG_ENUM), 0));
    const QStringList reasons = keywords(printer.get(), "printer-state-reasons");
    const bool errorReported =
        std::any_of(reasons.cbegin(), reasons.cend(),
                    [](const QString& reason) { return reason.endsWith(QLatin1String("-error")); });
    if (printerState == IPP_PSTATE_STOPPED || errorReported) {
        return {Outcome::Waiting,
                printerWords(printer.get(), "printer-state-message", "printer-state-reasons")};
    }
    return {Outcome::Printed, QString()};
}

// A paper by its media name in any of the print system's spellings ("iso_a4_210x297mm",
// "na_letter_8.5x11in", "A4", "Letter"); the first of a list of choices ("A4,tray-1").
QPageSize paperNamed(const QByteArray& media) {
    const QByteArray name = media.split(',').constFirst().trimmed();
    if (name.isEmpty()) {
        return {};
    }
    pwg_media_t* size = pwgMediaForPWG(name.constData());
    size = size ? size : pwgMediaForLegacy(name.constData());
    size = size ? size : pwgMediaForPPD(name.constData());
    if (!size || size->width <= 0 || size->length <= 0) {
        return {};
    }
    // In hundredths of a millimetre; a size within a point of a standard one is that one.
    return QPageSize(QSizeF(size->width / 100.0, size->length / 100.0), QPageSize::Millimeter,
                     QString(), QPageSize::FuzzyMatch);
}

} // namespace

QPageSize queuePaper(const QString& queue, CupsConnection::Clock::time_point deadline) {
    CupsConnection cups(deadline);
    if (!cups.http()) {
        return {};
    }
    const QByteArray name = queue.toUtf8();
    // The user's own choice for the queue (lpoptions -o media=...) first, then the printer's.
    QByteArray media;
    if (cups_dest_t* dest = cupsGetNamedDest(cups.http(), name.constData(), nullptr)) {
        media = cupsGetOption("media", dest->num_options, dest->options);
        cupsFreeDests(1, dest);
    }
    if (media.isEmpty()) {
        const Ipp printer = request(cups.http(), IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri",
                                    uri("printers", name), {"media-default"});
        if (printer && cupsLastError() <= IPP_STATUS_OK_CONFLICTING) {
            media = text(printer.get(), "media-default").toUtf8();
        }
    }
    return paperNamed(media);
}

QString defaultQueue(CupsConnection::Clock::time_point deadline) {
    CupsConnection cups(deadline);
    if (!cups.http()) {
        return QString();
    }
    cups_dest_t* dest = cupsGetNamedDest(cups.http(), nullptr, nullptr);
    const QString name = dest ? QString::fromUtf8(dest->name) : QString();
    cupsFreeDests(dest ? 1 : 0, dest);
    return name;
}

PrintReport sendPdf(const QString& queue, const QString& title, const QByteArray& pdf,
                    CupsConnection::Clock::time_point deadline) {
    CupsConnection cups(deadline);
    if (!cups.http()) {
        return {cups.timedOut() ? Outcome::NoAnswer : Outcome::NoPrintSystem, QString()};
    }
    const QByteArray name = queue.toUtf8();
    const QByteArray document = title.toUtf8();
    const int job = cupsCreateJob(cups.http(), name.constData(), document.constData(), 0, nullptr);
    if (job == 0) {
        return failure(cups);
    }
    // A job whose document did not go whole is cancelled, where the print system still answers.
    const auto cancelled = [&cups, &name, job] {
        const PrintReport report = failure(cups);
        cupsCancelJob2(cups.http(), name.constData(), job, 0);
        return report;
    };
    if (cupsStartDocument(cups.http(), name.constData(), job, document.constData(), CUPS_FORMAT_PDF,
                          1) != HTTP_STATUS_CONTINUE) {
        return cancelled();
    }
    for (qsizetype at = 0; at < pdf.size(); at += kPiece) {
        if (cupsWriteRequestData(cups.http(), pdf.constData() + at,
                                 static_cast<size_t>(std::min(kPiece, pdf.size() - at))) !=
            HTTP_STATUS_CONTINUE) {
            return cancelled();
        }
    }
    if (cupsFinishDocument(cups.http(), name.constData()) > IPP_STATUS_OK_CONFLICTING) {
        return failure(cups);
    }
    return jobReport(cups, name, job);
}

} // namespace kelsing
