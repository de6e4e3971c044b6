// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "optionparser.h"
#include "sheet/monthsheet.h"
#include "stores/settingsfile.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace kelsing::cli {

/// What a message about a missing crew adds: how to remember one.
inline constexpr std::string_view kHowToRemember =
    " (no crew is remembered: 'kelsing-shifts remember --crew CREW' remembers one)";

/// The user's settings file, if a folder for it can be named.
std::optional<std::filesystem::path> settingsFile();

/// The user's settings, read once a run; an unreadable or damaged file is told in one line on
/// standard error and counts as no settings.
const Settings& userSettings();

/// The crews of a remembered start as a view's crews.
ViewCrews viewCrewsOf(const RememberedStart& start);

/// The crews of a view from --crew, or --left and --right, if any was given; the remembered ones
/// otherwise; nullopt for neither.
std::optional<ViewCrews> givenOrRememberedCrews(const ParsedArguments& args);

} // namespace kelsing::cli
