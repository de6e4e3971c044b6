// SPDX-License-Identifier: GPL-3.0-or-later
#include "output.h"

#include "errors.h"
#include "quoting.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kelsing::cli {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The permissions a new file gets: 0666 less the process's umask, which can only be read by
// setting it.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

Output::Output(std::optional<std::string_view> path) {
    if (!path || path->empty() || *path == "-") {
        m_target = "standard output";
        m_fd = STDOUT_FILENO;
        return;
    }
    m_path = std::string(*path);
    m_target = quotedArgument(m_path);
    struct stat target {};
    const bool exists = ::stat(m_path.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode)) {
        fail(EISDIR);
    }
    if (exists && !S_ISREG(target.st_mode)) {
        m_fd = ::open(m_path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (m_fd < 0) {
            fail(errno);
        }
        m_ownsFd = true;
        return;
    }
    struct stat link {};
    if (exists && ::lstat(m_path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        std::error_code error;
        const auto resolved = std::filesystem::canonical(m_path, error);
        if (error) {
            fail(error.value());
        }
        m_path = resolved.string();
    }
    m_temporaryPath = folderOf(m_path) + "/.kelsing-shifts-XXXXXX";
    m_fd = ::mkstemp(m_temporaryPath.data());
    if (m_fd < 0) {
        const int error = errno;
        m_temporaryPath.clear();
        fail(error);
    }
    m_ownsFd = true;
    if (::fchmod(m_fd, exists ? (target.st_mode & 07777) : newFileMode()) != 0) {
        const int error = errno;
        ::close(m_fd);
        ::unlink(m_temporaryPath.c_str());
        fail(error);
    }
}

Output::~Output() {
    if (m_committed) {
        return;
    }
    if (!m_temporaryPath.empty()) {
        if (m_ownsFd) {
            ::close(m_fd);
        }
        ::unlink(m_temporaryPath.c_str());
        return;
    }
    try {
        flush();
    } catch (const InputOutputError&) {
        // Already on the way out with another failure, which is the one to report.
    }
    if (m_ownsFd) {
        ::close(m_fd);
    }
}

bool Output::isTerminal() const {
    return ::isatty(m_fd) == 1;
}

void Output::write(std::string_view text) {
    m_buffer += text;
    if (m_buffer.size() >= kBufferSize) {
        flush();
    }
}

void Output::flush() {
    std::string_view rest = m_buffer;
    while (!rest.empty()) {
        const ssize_t written = ::write(m_fd, rest.data(), rest.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            const int error = written < 0 ? errno : EIO;
            m_buffer.clear();
            fail(error);
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    m_buffer.clear();
}

void Output::commit() {
    flush();
    if (!m_temporaryPath.empty()) {
        // On disk before it takes the old file's place, so that a crash leaves one or the other.
        if (::fsync(m_fd) != 0) {
            fail(errno);
        }
    }
    if (m_ownsFd) {
        const int closed = ::close(m_fd);
        m_ownsFd = false;
        if (closed != 0) {
            fail(errno);
        }
    }
    if (!m_temporaryPath.empty()) {
        if (::rename(m_temporaryPath.c_str(), m_path.c_str()) != 0) {
            fail(errno);
        }
        m_temporaryPath.clear();
    }
    m_committed = true;
}

void Output::fail(int error) const {
    throw InputOutputError{"cannot write " + m_target + ": " + std::strerror(error)};
}

} // namespace kelsing::cli
