// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QPageSize>
#include <QString>

class QByteArray;
class QObject;
class QUrl;

namespace kelsing {

/// A version check running in the background, owned by the object it was made for.
class UpdateChecker {
public:
    virtual ~UpdateChecker() = default;
    /// Starts a fetch unless one is under way, and returns at once.
    virtual void start() = 0;
    /// Abandons the fetch under way, if any, without an answer.
    virtual void cancel() = 0;
};

/// How a page sent to a system printer fared, as far as the print system tells at once.
struct PrintReport {
    enum class Outcome {
        Printed,       // taken, and printing or queued as usual
        Waiting,       // taken, but the printer is stopped: the page waits in its queue
        Refused,       // the printer takes no jobs now
        NoPrintSystem, // no print system answers
        NoAnswer,      // the print system stopped answering while the page went to it
        Failed,        // the print system or the printer failed the job
    };
    Outcome outcome = Outcome::Printed;
    /// The print system's own words on it, when it has any.
    QString detail;
};

/// What the main window needs only after its first frame or on a click: the version check over
/// the network and the system's printers. A program has them linked in, or from a module
/// loaded at the first call, which keeps the network and print libraries out of its start-up.
class LateServices {
public:
    virtual ~LateServices() = default;
    /// A check of the version page `page`, owned by `owner`, that hands the title of a newer
    /// version to `newer`.
    virtual UpdateChecker* versionCheck(const QUrl& page, QObject* owner,
                                        std::function<void(const QString&)> newer) = 0;
    /// The name of the system's default printer; empty when it has none.
    virtual QString defaultPrinterName() = 0;
    /// The paper that `printer` prints on unless told otherwise; not valid when it does not say.
    virtual QPageSize printerPaper(const QString& printer) = 0;
    /// Sends `pdf`, a document called `document`, to `printer` off the calling thread, then
    /// asks once how the job stands, all within a time limit; hands the report to `done` on
    /// `owner`'s thread, or drops it when `owner` is gone by then.
    virtual void print(const QString& printer, const QString& document, const QByteArray& pdf,
                       QObject* owner, std::function<void(const PrintReport&)> done) = 0;
};

/// The program's late services, or null when it cannot have them (a module that does not
/// load): the window then fetches nothing and prints to PDF files only. Defined by what the
/// program links: the services themselves or the module's loader.
LateServices* lateServices();

} // namespace kelsing
