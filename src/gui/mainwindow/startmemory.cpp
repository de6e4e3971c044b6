// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/startmemory.h"

#include "platform/coretext.h"
#include "stores/wholefile.h"

namespace kelsing {

StartMemory::StartMemory(std::filesystem::path file,
                         std::function<void(const QString& line)> report)
    : m_file(std::move(file))
    , m_report(std::move(report)) {
}

std::optional<RememberedStart> StartMemory::read() {
    if (!available()) {
        return std::nullopt;
    }
    const SettingsReading reading = readSettings(m_file);
    if (!reading.problem.empty() && !m_told) {
        m_told = true;
        m_report(fromCore(reading.problem));
    }
    return reading.settings.start;
}

std::optional<QString> StartMemory::write(const std::optional<RememberedStart>& start) {
    if (!available()) {
        return QStringLiteral("there is no folder for settings");
    }
    // What else the file keeps stays; a damaged file is replaced, as the user changed the choice.
    Settings settings = readSettings(m_file).settings;
    settings.start = start;
    try {
        writeSettings(m_file, settings);
    } catch (const StoreError& error) {
        return fromCore(error.what());
    }
    return std::nullopt;
}

} // namespace kelsing
