// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "stores/settingsfile.h"

#include <filesystem>
#include <functional>
#include <optional>

#include <QString>

namespace kelsing {

/// The crews the main window starts with, kept in the settings file only when the user asks.
class StartMemory {
public:
    /// Keeps the start in `file`, or nowhere for an empty path; `report` tells the user, once,
    /// why a damaged file is ignored.
    StartMemory(std::filesystem::path file, std::function<void(const QString& line)> report);

    /// Whether there is a file to keep a start in.
    bool available() const { return !m_file.empty(); }

    /// The remembered start, if any; reads the file each time, so a change made by the tool
    /// while the window runs shows.
    std::optional<RememberedStart> read();

    /// Remembers `start`, or forgets with nullopt; the reason when the file cannot be written,
    /// which then stays as it was.
    std::optional<QString> write(const std::optional<RememberedStart>& start);

private:
    std::filesystem::path m_file;
    std::function<void(const QString&)> m_report;
    bool m_told = false;
};

} // namespace kelsing
