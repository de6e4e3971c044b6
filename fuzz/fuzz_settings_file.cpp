// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file as a user's disk may hold it: never a crash, a crew only from a whole file
// whose written form reads back the same, and a problem that is one line.

#include "require.h"
#include "stores/settingsfile.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelsing;
    using fuzz::require;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const SettingsReading read = parseSettings(text);
    require(read.problem.find('\n') == std::string::npos);
    if (!read.problem.empty()) {
        require(read.settings == Settings{});
        return 0;
    }
    require(text.ends_with('\n'));
    const SettingsReading again = parseSettings(settingsText(read.settings));
    require(again.problem.empty() && again.settings == read.settings);
    return 0;
}
