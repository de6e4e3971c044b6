// SPDX-License-Identifier: GPL-3.0-or-later
// The late services of the installed program: its module, loaded at the first call from the
// folder the build gives it relative to the program's own, never from a search path.

#include "mainwindow/lateservices.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace kelsing {

namespace {

constexpr char kEntryName[] = "kelsing_late_services";

void reportMissing(const QString& why) {
    qWarning("The version check and the printers are not available: %s", qPrintable(why));
}

} // namespace

LateServices* lateServices() {
    static LateServices* const services = []() -> LateServices* {
        const QString path =
            QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                            QLatin1String(KELSING_SERVICES_MODULE));
        QLibrary module(path);
        // Loaded first on its own: a module that loads but lacks the entry would otherwise be
        // reported with the loader's "Unknown error".
        if (!module.load()) {
            reportMissing(module.errorString());
            return nullptr;
        }
        using Entry = LateServices* (*)();
        const auto entry = reinterpret_cast<Entry>(module.resolve(kEntryName));
        if (!entry) {
            reportMissing(
                QStringLiteral("%1 has no entry point %2()").arg(path, QLatin1String(kEntryName)));
            return nullptr;
        }
        // The library stays loaded: QLibrary unloads only when asked to.
        return entry();
    }();
    return services;
}

} // namespace kelsing
