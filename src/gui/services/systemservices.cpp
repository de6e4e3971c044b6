// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/systemservices.h"

#include "services/cupsqueue.h"
#include "services/printjob.h"
#include "services/versioncheck.h"

namespace kelsing {

namespace {

// The local print system answers the default printer's name in milliseconds; one that hangs
// keeps the window waiting no longer than this.
constexpr std::chrono::milliseconds kLookupLimit(2000);
// A page of some hundred kilobytes and two questions, to a queue that may be on the network.
constexpr std::chrono::milliseconds kJobLimit(20000);

class SystemServices final : public LateServices {
public:
    UpdateChecker* versionCheck(const QUrl& page, QObject* owner,
                                std::function<void(const QString&)> newer) override {
        auto* check = new VersionCheck(page, owner);
        QObject::connect(check, &VersionCheck::newerVersion, owner, std::move(newer));
        return check;
    }

    QString defaultPrinterName() override {
        return defaultQueue(CupsConnection::Clock::now() + kLookupLimit);
    }

    QPageSize printerPaper(const QString& printer) override {
        return queuePaper(printer, CupsConnection::Clock::now() + kLookupLimit);
    }

    void print(const QString& printer, const QString& document, const QByteArray& pdf,
               QObject* owner, std::function<void(const PrintReport&)> done) override {
        auto* job = new PrintJob(printer, document, pdf, kJobLimit, owner);
        QObject::connect(job, &PrintJob::finished, owner,
                         [job, done = std::move(done)](const PrintReport& report) {
                             job->deleteLater();
                             done(report);
                         });
    }
};

} // namespace

LateServices& systemServices() {
    static SystemServices services;
    return services;
}

} // namespace kelsing
