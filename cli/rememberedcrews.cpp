// SPDX-License-Identifier: GPL-3.0-or-later
#include "rememberedcrews.h"

#include "commandsupport.h"
#include "stores/xdgfolders.h"

#include <iostream>

namespace kelsing::cli {

std::optional<std::filesystem::path> settingsFile() {
    return settingsFilePath(currentXdgEnvironment());
}

const Settings& userSettings() {
    static const Settings settings = [] {
        const auto file = settingsFile();
        if (!file) {
            return Settings{};
        }
        SettingsReading reading = readSettings(*file);
        if (!reading.problem.empty()) {
            std::cerr << "kelsing-shifts: " << reading.problem << '\n';
        }
        return reading.settings;
    }();
    return settings;
}

ViewCrews viewCrewsOf(const RememberedStart& start) {
    ViewCrews crews;
    crews.sideBySide = start.view == StartView::SideBySide;
    crews.single = start.single;
    crews.left = start.left;
    crews.right = start.right;
    return crews;
}

std::optional<ViewCrews> givenOrRememberedCrews(const ParsedArguments& args) {
    if (auto given = viewCrewOptions(args)) {
        return given;
    }
    if (const auto& start = userSettings().start) {
        return viewCrewsOf(*start);
    }
    return std::nullopt;
}

} // namespace kelsing::cli
