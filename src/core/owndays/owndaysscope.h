// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "crews/crewcode.h"
#include "stores/settingsfile.h"

#include <optional>

namespace kelsing {

/// Whether the user's own days belong on the single view of `crew`. Own days are the user's,
/// not a crew's: they show on a crew of one's own (an all-crews line has no shift to leave or
/// swap), and only on the remembered single crew when the user has remembered one, so that a
/// colleague's crew looked up never shows them.
bool ownDaysApplyTo(CrewCode crew, const std::optional<RememberedStart>& remembered);

} // namespace kelsing
