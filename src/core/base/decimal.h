// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

namespace kelsing {

/// Reads a plain decimal number (optional sign, digits, optional separator and digits), blanks
/// allowed before and after; nullopt for anything else.
std::optional<double> parseDecimal(std::string_view text, std::string_view decimalSeparator = ".");

} // namespace kelsing
