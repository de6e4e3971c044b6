// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/rgb.h"
#include "calendar/dayserial.h"
#include "sheet/sheetmodel.h"

#include <functional>
#include <optional>
#include <string>

namespace kelsing {

/// The user's own entry on a day as a sheet shows it beside the rotation's shift: its word, its
/// colour, and whether the user is free that day because of it.
struct OwnEntry {
    std::string text;
    Rgb colour = Colours::kBlack;
    std::optional<bool> free; // nullopt: as the rotation says (a note on its own)
    friend bool operator==(const OwnEntry&, const OwnEntry&) = default;
};

/// The user's own entries, and the side whose crew is the user's own (0 the single or left
/// crew, 1 the right crew); no entries at all while `entryOn` is empty.
struct OwnDays {
    std::function<std::optional<OwnEntry>(DaySerial)> entryOn;
    int side = 0;
};

} // namespace kelsing
