// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/errors.h"

#include <cstdint>
#include <limits>

namespace kelsing {

// The rules count years, months, days, weekdays and schedule codes in 16-bit signed integers whose
// arithmetic fails instead of wrapping; these helpers are the one place that test is made.
using Int16 = std::int16_t;

/// Narrows a wide integer to 16 bits; throws OverflowError when it does not fit.
constexpr Int16 narrow16(long long value) {
    if (value < std::numeric_limits<Int16>::min() || value > std::numeric_limits<Int16>::max()) {
        throw OverflowError("16-bit overflow");
    }
    return static_cast<Int16>(value);
}

/// a + b with the 16-bit overflow test.
constexpr Int16 add16(long long a, long long b) {
    return narrow16(a + b);
}

/// a - b with the 16-bit overflow test.
constexpr Int16 sub16(long long a, long long b) {
    return narrow16(a - b);
}

/// a * b with the 16-bit overflow test.
constexpr Int16 mul16(long long a, long long b) {
    return narrow16(a * b);
}

} // namespace kelsing
