// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/int16.h"
#include "calendar/dayserial.h"

#include <optional>
#include <span>
#include <string_view>

namespace kelsing {

/// One repeating cycle of shift labels, counted from a base day.
struct Rotation {
    DaySerial baseDay;
    std::span<const std::string_view> labels; // one per cycle position; the size is the cycle
};

/// The rotation that a schedule code and sub-code select, and the crew's offset into it.
struct RotationSelection {
    const Rotation* rotation;
    Int16 crewOffset;
};

/// Selects the rotation of (code, sub-code); nullopt when the table holds no such pair; throws
/// OverflowError when the crew offset of codes 73, 75 or 76 leaves 16 bits.
std::optional<RotationSelection> SelectRotation(Int16 code, Int16 subCode);

} // namespace kelsing
