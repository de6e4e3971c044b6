// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelsing {

/// A program version as major, minor and revision numbers.
struct VersionNumbers {
    double majorNumber = 0;
    double minorNumber = 0;
    double revisionNumber = 0;
};

/// The title text of the version page `page` (UTF-8), unchanged, when it names a version
/// newer than `own` (its three parts read as decimal numbers with `decimalSeparator`, blanks
/// allowed); nullopt for the same or an older version or a title that cannot be read.
std::optional<std::string> NewerVersionTitle(std::string_view page, const VersionNumbers& own,
                                             std::string_view decimalSeparator = ".");

} // namespace kelsing
