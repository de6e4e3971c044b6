// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/systemservices.h"

#include "services/versioncheck.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace kelsing {

namespace {

class SystemServices final : public LateServices {
public:
    UpdateChecker* versionCheck(const QUrl& page, QObject* owner,
                                std::function<void(const QString&)> newer) override {
        auto* check = new VersionCheck(page, owner);
        QObject::connect(check, &VersionCheck::newerVersion, owner, std::move(newer));
        return check;
    }

    QString defaultPrinterName() override { return QPrinterInfo::defaultPrinter().printerName(); }

    PrintOutcome print(const QString& printerName, const QString& document,
                       const std::function<void(QPainter&, int pageWidth)>& paint) override {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(document);
        printer.setPrinterName(printerName);
        QPainter painter;
        if (!painter.begin(&printer)) {
            return PrintOutcome::NotTaken;
        }
        paint(painter, printer.width());
        if (!painter.end() || printer.printerState() == QPrinter::Error) {
            return PrintOutcome::Failed;
        }
        return PrintOutcome::Printed;
    }
};

} // namespace

LateServices& systemServices() {
    static SystemServices services;
    return services;
}

} // namespace kelsing
