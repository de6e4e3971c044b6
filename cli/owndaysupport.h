// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "owndays/owndaystore.h"
#include "sheet/monthsheet.h"

#include <filesystem>
#include <optional>

namespace kelsing::cli {

/// The user's store of own days; an InputOutputError when no folder for it can be named.
std::filesystem::path ownDaysFile();

/// The store opened for reading or for writing; a store that cannot be used is an
/// InputOutputError naming the file, and a busy one one that says nothing was changed.
OwnDayStore readOwnDays();
OwnDayStore writeOwnDays();

/// The user's own days from `from` to `to` for the sheets of `crews`: nothing when they do
/// not apply (side by side, an all-crews entry, a crew other than the remembered one) or
/// nothing is kept; an InputOutputError for a store that cannot be read.
std::optional<OwnDays> ownDaysFor(const ViewCrews& crews, DaySerial from, DaySerial to);

} // namespace kelsing::cli
