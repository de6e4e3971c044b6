// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace kelsing::cli {

/// Where a command writes its output: standard output, or a file that appears only once it is
/// complete. Every failure throws InputOutputError naming the target and the system's reason.
class Output {
public:
    /// Standard output when `path` is empty or "-". A regular file (or a new one) is written to a
    /// temporary file in its folder that commit() renames over it, so a failed or stopped write
    /// never touches what was there; the new file keeps the old one's permission bits, owner and
    /// group. Symbolic links are followed, a dangling one to the file it names. A path that names
    /// an open descriptor (/dev/stdout, /dev/fd/N) is written where that descriptor stands, as
    /// "-" is, and one that names no regular file (/dev/null, a pipe) is written directly.
    explicit Output(std::optional<std::string_view> path);

    /// Removes the temporary file of an output that was not committed; standard output gets what
    /// was written so far.
    ~Output();

    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    /// Whether the output goes to a terminal.
    bool isTerminal() const;

    /// Appends text; written out in large pieces.
    void write(std::string_view text);

    /// Writes out what is buffered now.
    void flush();

    /// Writes out the rest and puts the file in place.
    void commit();

private:
    void openStream(int fd);
    void openDirect();
    void openBeside(const std::optional<struct stat>& existing);
    void keepOwner(const struct stat& existing);
    void discardTemporary();
    [[noreturn]] void fail(int error) const;

    std::string m_target; // as messages name it
    std::string m_path;
    std::string m_temporaryPath; // empty unless writing beside the target
    std::string m_ownerNotice;   // why the replaced file could not keep its owner
    int m_fd = -1;
    bool m_ownsFd = false;
    bool m_committed = false;
    std::string m_buffer;
};

} // namespace kelsing::cli
