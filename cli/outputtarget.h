// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace kelsing::cli {

/// What an output path names once its symbolic links are followed.
struct OutputTarget {
    /// The open descriptor that the path names (/dev/stdout, /dev/fd/N, /proc/self/fd/N), which
    /// is written as it is, where it was opened; none for a path in the file system.
    std::optional<int> stream;
    /// The path after the links, which may name a file that does not exist yet.
    std::string path;
    /// The system's error when the links cannot be followed (a loop, an unreadable folder); 0
    /// when they can.
    int error = 0;
};

/// Follows the symbolic links of `path` one at a time, a dangling one included, until it names
/// a file that is no link, a file that does not exist, or one of the process's open descriptors.
OutputTarget resolveOutputTarget(const std::string& path);

/// The folder of `path` as a path: "." for a bare name.
std::string folderOf(const std::string& path);

} // namespace kelsing::cli
