// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>

class QObject;
class QPainter;
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

/// How a print on a system printer ended.
enum class PrintOutcome { Printed, NotTaken, Failed };

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
    /// Prints one page called `document` on `printer`, drawn by `paint` with the page's width
    /// in device pixels.
    virtual PrintOutcome print(const QString& printer, const QString& document,
                               const std::function<void(QPainter&, int pageWidth)>& paint) = 0;
};

/// The program's late services, or null when it cannot have them (a module that does not
/// load): the window then fetches nothing and prints to PDF files only. Defined by what the
/// program links: the services themselves or the module's loader.
LateServices* lateServices();

} // namespace kelsing
