// SPDX-License-Identifier: GPL-3.0-or-later
#include "stores/xdgfolders.h"

#include <cstdlib>

namespace kelsing {

namespace {

// An absolute folder named by a variable; the base directory rules ignore relative ones.
std::optional<std::filesystem::path> absoluteFolder(const char* value) {
    if (value == nullptr || *value != '/') {
        return std::nullopt;
    }
    return std::filesystem::path(value);
}

std::optional<std::filesystem::path> storeFolder(const char* xdgValue, const char* home,
                                                 std::string_view belowHome) {
    if (auto base = absoluteFolder(xdgValue)) {
        return *base / kStoreFolderName;
    }
    if (auto base = absoluteFolder(home)) {
        return *base / belowHome / kStoreFolderName;
    }
    return std::nullopt;
}

} // namespace

XdgEnvironment currentXdgEnvironment() {
    return {std::getenv("XDG_CONFIG_HOME"), std::getenv("XDG_DATA_HOME"), std::getenv("HOME")};
}

std::optional<std::filesystem::path> settingsFolder(const XdgEnvironment& environment) {
    return storeFolder(environment.configHome, environment.home, ".config");
}

std::optional<std::filesystem::path> dataFolder(const XdgEnvironment& environment) {
    return storeFolder(environment.dataHome, environment.home, ".local/share");
}

std::optional<std::filesystem::path> settingsFilePath(const XdgEnvironment& environment) {
    auto folder = settingsFolder(environment);
    if (!folder) {
        return std::nullopt;
    }
    return *folder / kSettingsFileName;
}

} // namespace kelsing
