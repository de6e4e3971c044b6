// SPDX-License-Identifier: GPL-3.0-or-later
#include "feedfolder.h"

#include "base/quoting.h"
#include "errors.h"
#include "feeds/feedindexpage.h"
#include "writeall.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kelsing::cli {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

// The permissions that a new file or folder gets: `mode` less the process's umask, which can
// only be read by setting it.
mode_t lessUmask(mode_t mode) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mode & ~mask;
}

// The names in a folder, or the system's error.
std::vector<std::string> namesIn(const std::string& folder, std::error_code& error) {
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        names.push_back(entry->path().filename().string());
    }
    return names;
}

// Puts a folder's entry on disk, or with `wholeFileSystem` everything written to its file
// system: one wait for all the files of the folder rather than one for each, a tenth of the
// time. The system's error number, or 0.
int syncFolder(const std::string& folder, bool wholeFileSystem) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int error = (wholeFileSystem ? ::syncfs(fd) : ::fsync(fd)) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

// Removes the feeds of a folder and the folder; what is not a feed stays, and so then does the
// folder.
void removeFeeds(const std::string& folder) {
    std::error_code error;
    for (const std::string& name : namesIn(folder, error)) {
        if (FeedFolder::isFeedFileName(name)) {
            ::unlink((folder + '/' + name).c_str());
        }
    }
    ::rmdir(folder.c_str());
}

// A new, empty folder beside `path` whose name starts with its name; its path, or empty with
// errno set.
std::string folderBeside(const std::filesystem::path& path, std::string_view kind) {
    std::string pattern = path.parent_path().string() + "/." + path.filename().string() + '.' +
                          std::string(kind) + "-XXXXXX";
    return ::mkdtemp(pattern.data()) == nullptr ? std::string() : pattern;
}

} // namespace

bool FeedFolder::isFeedFileName(std::string_view name) {
    if (name == kFeedIndexName) {
        return true;
    }
    // A crew code, with at most one decimal, and ".ics".
    if (!name.ends_with(".ics")) {
        return false;
    }
    name.remove_suffix(4);
    const std::size_t point = name.find('.');
    const std::string_view whole = name.substr(0, point);
    const std::string_view tenths =
        point == name.npos ? std::string_view() : name.substr(point + 1);
    const auto digits = [](std::string_view text, std::size_t most) {
        return !text.empty() && text.size() <= most &&
               text.find_first_not_of("0123456789") == text.npos;
    };
    return digits(whole, 5) && (point == name.npos || digits(tenths, 1));
}

FeedFolder::FeedFolder(std::string_view path)
    : m_target(quotedArgument(path)) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path folder = fs::absolute(fs::path(path), error).lexically_normal();
    if (error) {
        fail(error.value());
    }
    if (!folder.has_filename()) {
        folder = folder.parent_path();
    }
    if (folder == folder.root_path()) {
        fail("give a folder other than the root");
    }
    // Through a symbolic link, the folder it points to is written.
    if (fs::is_symlink(folder, error)) {
        folder = fs::canonical(folder, error);
        if (error) {
            fail(error.value());
        }
    }
    m_path = folder.string();
    checkExisting();
    // Held from before the temporary folder exists, so that no signal leaves it half-written.
    m_held.emplace();
    m_temporaryPath = folderBeside(folder, "kelsing-feeds");
    if (m_temporaryPath.empty()) {
        fail(errno);
    }
    // A web server reads the folder as another user: it gets the permissions of a new folder, or
    // those of the folder it replaces.
    struct stat existing {};
    const mode_t mode = m_exists && ::stat(m_path.c_str(), &existing) == 0
                            ? existing.st_mode & 07777
                            : lessUmask(0777);
    if (::chmod(m_temporaryPath.c_str(), mode) != 0) {
        const int chmodError = errno;
        removeTemporary();
        fail(chmodError);
    }
}

void FeedFolder::checkExisting() {
    struct stat target {};
    if (::stat(m_path.c_str(), &target) != 0) {
        if (errno != ENOENT) {
            fail(errno);
        }
        return;
    }
    if (!S_ISDIR(target.st_mode)) {
        fail(ENOTDIR);
    }
    m_exists = true;
    std::error_code error;
    for (const std::string& name : namesIn(m_path, error)) {
        struct stat entry {};
        const bool file =
            ::lstat((m_path + '/' + name).c_str(), &entry) == 0 && S_ISREG(entry.st_mode);
        if (!file || !isFeedFileName(name)) {
            fail("it holds " + quotedArgument(name) +
                 ", which is no feed; give a new or empty folder, or one of earlier feeds");
        }
    }
    if (error) {
        fail(error.value());
    }
}

FeedFolder::~FeedFolder() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    removeTemporary();
}

void FeedFolder::removeTemporary() {
    if (m_temporaryPath.empty()) {
        return;
    }
    for (const std::string& name : m_written) {
        ::unlink((m_temporaryPath + '/' + name).c_str());
    }
    ::rmdir(m_temporaryPath.c_str());
    m_temporaryPath.clear();
}

void FeedFolder::stopIfSignalled() {
    sigset_t pending;
    if (::sigpending(&pending) != 0) {
        return;
    }
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        struct sigaction action {};
        // One that the process ignores (nohup) is dropped once let through.
        if (sigismember(&pending, signal) == 1 && ::sigaction(signal, nullptr, &action) == 0 &&
            action.sa_handler != SIG_IGN) {
            if (m_fd >= 0) {
                ::close(m_fd);
                m_fd = -1;
            }
            removeTemporary();
            m_held.reset(); // the signal ends the process here
            fail("interrupted");
        }
    }
}

void FeedFolder::startFile(std::string_view name) {
    // A signal cancels the run: the folder is left as it was.
    stopIfSignalled();
    const std::string path = m_temporaryPath + '/' + std::string(name);
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, lessUmask(0666));
    if (m_fd < 0) {
        fail(errno);
    }
    m_written.emplace_back(name);
}

void FeedFolder::write(std::string_view text) {
    m_buffer += text;
    if (m_buffer.size() >= kBufferSize) {
        flush();
    }
}

void FeedFolder::flush() {
    const int error = writeAll(m_fd, m_buffer);
    m_buffer.clear();
    if (error != 0) {
        fail(error);
    }
}

void FeedFolder::finishFile(std::int64_t time) {
    flush();
    // Times from the publication, not the clock: a web server's ETag and Last-Modified come
    // from them, and stay when the same feeds are written again.
    const timespec times[2] = {{static_cast<time_t>(time), 0}, {static_cast<time_t>(time), 0}};
    if (::futimens(m_fd, times) != 0) {
        fail(errno);
    }
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0) {
        fail(errno);
    }
}

bool FeedFolder::commit() {
    stopIfSignalled();
    // On disk before it takes the folder's name, so that a crash leaves one or the other.
    if (const int error = syncFolder(m_temporaryPath, true); error != 0) {
        fail(error);
    }
    const std::string parent = std::filesystem::path(m_path).parent_path().string();
    // A new folder takes the name only where none has taken it meanwhile: a rename over an
    // empty folder, and never over one that holds something.
    const bool replaced = m_exists && replaceEarlier();
    if (!replaced && ::rename(m_temporaryPath.c_str(), m_path.c_str()) != 0) {
        fail(errno);
    }
    m_temporaryPath.clear();
    m_written.clear();
    if (const int error = syncFolder(parent, false); error != 0) {
        fail(error);
    }
    m_held.reset();
    return replaced;
}

bool FeedFolder::replaceEarlier() {
    // In one step where the file system can: the earlier feeds then lie under the temporary
    // name.
    if (::renameat2(AT_FDCWD, m_temporaryPath.c_str(), AT_FDCWD, m_path.c_str(), RENAME_EXCHANGE) ==
        0) {
        removeFeeds(m_temporaryPath);
        return true;
    }
    if (errno == ENOENT) {
        return false; // gone meanwhile: the new folder takes the free name
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        fail(errno);
    }
    // Elsewhere in two: the earlier feeds step aside, and come back if the new ones cannot
    // take their place.
    const std::string aside = folderBeside(m_path, "kelsing-earlier");
    if (aside.empty() || ::rename(m_path.c_str(), aside.c_str()) != 0) {
        const int error = errno;
        ::rmdir(aside.c_str());
        fail(error);
    }
    if (::rename(m_temporaryPath.c_str(), m_path.c_str()) != 0) {
        const int error = errno;
        ::rename(aside.c_str(), m_path.c_str());
        fail(error);
    }
    removeFeeds(aside);
    return true;
}

void FeedFolder::fail(int error) const {
    fail(std::strerror(error));
}

void FeedFolder::fail(const std::string& reason) const {
    throw InputOutputError{"cannot write feeds to " + m_target + ": " + reason};
}

} // namespace kelsing::cli
