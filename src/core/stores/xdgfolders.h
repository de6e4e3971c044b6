// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kelsing {

/// The environment variables that place the program's folders; a null pointer for an unset one.
struct XdgEnvironment {
    const char* configHome = nullptr; // XDG_CONFIG_HOME
    const char* dataHome = nullptr;   // XDG_DATA_HOME
    const char* home = nullptr;       // HOME
};

/// The program's folder below the base directories, "kelsing-schedule".
inline constexpr std::string_view kStoreFolderName = "kelsing-schedule";

/// The name of the settings file in the settings folder.
inline constexpr std::string_view kSettingsFileName = "settings.ini";

/// This process's XDG_CONFIG_HOME, XDG_DATA_HOME and HOME.
XdgEnvironment currentXdgEnvironment();

/// Where the user's settings live: $XDG_CONFIG_HOME/kelsing-schedule, or
/// $HOME/.config/kelsing-schedule when XDG_CONFIG_HOME is unset, empty or relative; nullopt when
/// neither names an absolute folder.
std::optional<std::filesystem::path> settingsFolder(const XdgEnvironment& environment);

/// Where the user's data live: $XDG_DATA_HOME/kelsing-schedule, or
/// $HOME/.local/share/kelsing-schedule, by the same rules.
std::optional<std::filesystem::path> dataFolder(const XdgEnvironment& environment);

/// The settings file, settings.ini in the settings folder.
std::optional<std::filesystem::path> settingsFilePath(const XdgEnvironment& environment);

} // namespace kelsing
