// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace kelsing {

/// Text made safe for an HTML page, in an element or in a quoted attribute: &, <, >, " and '
/// as character references.
std::string htmlEscaped(std::string_view text);

} // namespace kelsing
