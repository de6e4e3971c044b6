// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "crews/crewcode.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelsing {

/// The view the window starts in.
enum class StartView { Single, SideBySide };

/// The crews the window starts with, and the view: the single crew, or the left and right crews
/// side by side (either of which may be 0, no crew).
struct RememberedStart {
    StartView view = StartView::Single;
    CrewCode single;
    CrewCode left;
    CrewCode right;
    friend bool operator==(const RememberedStart&, const RememberedStart&) = default;
};

/// What the user has asked the program to keep.
struct Settings {
    std::optional<RememberedStart> start;
    friend bool operator==(const Settings&, const Settings&) = default;
};

/// The version of the settings file's format that this program reads and writes.
inline constexpr int kSettingsFormat = 1;

/// A settings file larger than this is not read.
inline constexpr std::size_t kSettingsSizeLimit = 64 * 1024;

/// Settings read from a file, and what was wrong with it.
struct SettingsReading {
    Settings settings;
    /// Empty, or one line that says what is wrong with the file and that it is ignored.
    std::string problem;
};

/// Reads the text of a settings file: `format = 1`, then a `[start]` section with `view =
/// single` and `crew = CODE`, or `view = side-by-side` with `left = CODE` and `right = CODE` (0
/// for a side without a crew); `#` and `;` start comments. A text that is not this format whole
/// (binary, cut short, a newer format, an unknown section or key, a key given twice, a crew code
/// the catalogue does not hand out, an all-crews entry side by side) gives no settings and the
/// problem.
SettingsReading parseSettings(std::string_view text);

/// The text of a settings file that parseSettings reads back as `settings`, the crews named in
/// comments for a reader.
std::string settingsText(const Settings& settings);

/// Reads the settings file: a missing file is no settings and no problem; an unreadable or
/// damaged one is no settings and a problem naming the file.
SettingsReading readSettings(const std::filesystem::path& file);

/// Writes the settings file whole (writeWholeFile); settings with nothing to keep remove it
/// instead, unless it is a symbolic link. Throws StoreError.
void writeSettings(const std::filesystem::path& file, const Settings& settings);

} // namespace kelsing
