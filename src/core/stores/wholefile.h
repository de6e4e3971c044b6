// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelsing {

/// A file the program keeps could not be read or written; the message names the file and the
/// system's reason.
class StoreError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// What reading a kept file found.
struct FileReading {
    enum class Status { Absent, Read, Failed };
    Status status = Status::Absent;
    std::string text;  // the whole file when Read
    std::string error; // the file and the reason when Failed
};

/// Reads the regular file at `file` whole, if it has at most `limit` bytes. A file that does
/// not exist is Absent; anything else that is not a readable regular file of that size (a folder,
/// a pipe, which is never waited on, a file without read permission) is Failed.
FileReading readWholeFile(const std::filesystem::path& file, std::size_t limit);

/// Replaces the file at `file` with `content`, whole or not at all: written into a new file in
/// the same folder, flushed to the disk and renamed over it, so a reader, or another writer at
/// the same time, only ever sees a complete file; the last rename wins. Missing folders are made
/// with mode 0700; a new file has mode 0644 less the umask, a replaced file keeps its mode, and a
/// symbolic link keeps pointing at the file it names, whose content is replaced. Throws
/// StoreError when the file cannot be written; what was there is then left as it was.
void writeWholeFile(const std::filesystem::path& file, std::string_view content);

/// Makes each missing folder of `folder`, with mode 0700 as the XDG base directory rules ask.
/// Throws StoreError.
void makeFolders(const std::filesystem::path& folder);

/// Removes the file at `file`; a file that is not there is no failure. Throws StoreError.
void removeFile(const std::filesystem::path& file);

} // namespace kelsing
