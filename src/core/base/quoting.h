// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelsing {

/// Arguments longer than this many characters are shortened in messages.
inline constexpr std::size_t kQuotedLengthLimit = 60;

/// An argument as a message names it: in single quotes, on one line of printable UTF-8 whatever
/// it holds. Control characters, invalid bytes and the characters that move or reorder text
/// are written as escapes (\n, \t, \r, \x1b, \xff, \u009b, \u202e), backslash and quote as \\ and
/// \', and an argument of more than kQuotedLengthLimit characters is cut there and ends in "...".
std::string quotedArgument(std::string_view argument);

} // namespace kelsing
