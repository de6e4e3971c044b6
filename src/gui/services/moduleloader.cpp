// SPDX-License-Identifier: GPL-3.0-or-later
// The late services of the installed program: its module, loaded at the first call from the
// folder the build gives it relative to the program's own, never from a search path.

#include "mainwindow/lateservices.h"

#include <QCoreApplication>
#include <QLibrary>

namespace kelsing {

LateServices* lateServices() {
    static LateServices* const services = []() -> LateServices* {
        QLibrary module(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                        QLatin1String(KELSING_SERVICES_MODULE));
        using Entry = LateServices* (*)();
        const auto entry = reinterpret_cast<Entry>(module.resolve("kelsing_late_services"));
        if (!entry) {
            qWarning("The version check and the printers are not available: %s",
                     qPrintable(module.errorString()));
            return nullptr;
        }
        // The library stays loaded: QLibrary unloads only when asked to.
        return entry();
    }();
    return services;
}

} // namespace kelsing
