// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace kelsing {

/// A font by the name and point size the sheet asks for; the painter maps the name to the
/// nearest font the platform has.
struct FontChoice {
    std::string_view family;
    double pointSize = 0;
    friend constexpr bool operator==(const FontChoice&, const FontChoice&) = default;
};

} // namespace kelsing
