// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "crews/crewcode.h"

#include <optional>
#include <string>

namespace kelsing {

/// The crew box text that the view switch rebuilds from a stored nonzero crew code: the employer
/// name, a line feed and the entry of the first row whose range holds the code; nullopt for a
/// code in no row, or past the end of its row's entries.
std::optional<std::string> CrewCaptionText(CrewCode code);

} // namespace kelsing
