// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "signalcleanup.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelsing::cli {

/// A folder of feeds, written whole: its files go into a temporary folder beside it, which takes
/// the folder's name only once every file is on disk. A folder of that name that holds nothing
/// but earlier feeds and their index is replaced in one step; any other is left alone. Every
/// failure throws InputOutputError naming the folder and the reason, and leaves nothing behind.
/// SIGINT, SIGTERM, SIGHUP and SIGPIPE wait until the folder is removed, or put in place when
/// they come while it is.
class FeedFolder {
public:
    /// Checks `path` and makes the temporary folder beside it.
    explicit FeedFolder(std::string_view path);

    /// Removes the temporary folder and its files unless the folder was put in place.
    ~FeedFolder();

    FeedFolder(const FeedFolder&) = delete;
    FeedFolder& operator=(const FeedFolder&) = delete;

    /// Starts the file `name` of the folder; the one before must be finished.
    void startFile(std::string_view name);

    /// Appends text to the file being written.
    void write(std::string_view text);

    /// Writes out the rest of the file, with `time` (seconds since 1970-01-01 UTC) as its
    /// modification time.
    void finishFile(std::int64_t time);

    /// Puts the folder in place, replacing the earlier feeds; whether there were any.
    bool commit();

    /// Whether a file name is one that a folder of feeds holds: a crew's feed ("83.2.ics") or the
    /// index page.
    static bool isFeedFileName(std::string_view name);

private:
    [[noreturn]] void fail(int error) const;
    [[noreturn]] void fail(const std::string& reason) const;
    void checkExisting();
    bool replaceEarlier();
    void flush();
    void removeTemporary();
    void stopIfSignalled();

    // Destroyed last: a signal that comes while the folder is written ends the process only once
    // its temporary folder is gone. Writing takes under a second.
    std::optional<SignalsHeld> m_held;
    std::string m_target; // as messages name it
    std::string m_path;
    std::string m_temporaryPath; // empty once removed or put in place
    bool m_exists = false;
    std::vector<std::string> m_written;
    int m_fd = -1;
    std::string m_buffer;
};

} // namespace kelsing::cli
