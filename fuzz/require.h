// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>

namespace kelsing::fuzz {

/// Ends the run as a finding when a property of the input does not hold.
inline void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace kelsing::fuzz
