// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kelsing::cli {

/// Bad input: a one-line message that names the bad argument (exit status 2).
struct UsageError {
    std::string message;
};

/// A failed read or write: a one-line message that names the file or stream and the system's
/// reason (exit status 1).
struct InputOutputError {
    std::string message;
};

} // namespace kelsing::cli
