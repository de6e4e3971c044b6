// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace kelsing::cli {

/// Writes all of `text` to `fd`, again after an interruption; 0, or the errno of the failure
/// (EIO where the system wrote nothing and named no error).
int writeAll(int fd, std::string_view text);

} // namespace kelsing::cli
