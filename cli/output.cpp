// SPDX-License-Identifier: GPL-3.0-or-later
#include "output.h"

#include "base/quoting.h"
#include "errors.h"
#include "outputtarget.h"
#include "signalcleanup.h"
#include "writeall.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

namespace kelsing::cli {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

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
    m_target = quotedArgument(*path);
    const OutputTarget target = resolveOutputTarget(std::string(*path));
    if (target.error != 0) {
        fail(target.error);
    }
    m_path = target.path;
    if (target.stream) {
        openStream(*target.stream);
        return;
    }
    struct stat existing {};
    if (::stat(m_path.c_str(), &existing) != 0) {
        openBeside(std::nullopt);
    } else if (S_ISDIR(existing.st_mode)) {
        fail(EISDIR);
    } else if (S_ISREG(existing.st_mode)) {
        openBeside(existing);
    } else {
        openDirect();
    }
}

void Output::openStream(int fd) {
    // Written where the descriptor stands, appending when it was opened to append: replacing the
    // file behind it would throw away what the shell or the caller wrote there before.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY) {
        fail(EBADF);
    }
    m_fd = fd;
}

void Output::openDirect() {
    m_fd = ::open(m_path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (m_fd < 0) {
        fail(errno);
    }
    m_ownsFd = true;
}

void Output::openBeside(const std::optional<struct stat>& existing) {
    const std::string folder = folderOf(m_path);
    m_temporaryPath = folder + "/.kelsing-shifts-XXXXXX";
    m_fd = createRemovedOnSignal(m_temporaryPath);
    if (m_fd < 0) {
        const int error = errno;
        m_temporaryPath.clear();
        // The file itself may well be writable: the folder is what refused.
        throw InputOutputError{"cannot write " + m_target + ": it is replaced whole, which needs " +
                               "a new file in its folder " + quotedArgument(folder) + ": " +
                               std::strerror(error)};
    }
    m_ownsFd = true;
    if (existing) {
        keepOwner(*existing);
    }
    // The permission bits only: a set-user-ID or set-group-ID bit is not for a file of text.
    if (::fchmod(m_fd, existing ? (existing->st_mode & 0777) : newFileMode()) != 0) {
        const int error = errno;
        // A constructor that throws runs no destructor.
        discardTemporary();
        fail(error);
    }
}

void Output::keepOwner(const struct stat& existing) {
    struct stat created {};
    if (::fstat(m_fd, &created) == 0 && created.st_uid == existing.st_uid &&
        created.st_gid == existing.st_gid) {
        return;
    }
    if (::fchown(m_fd, existing.st_uid, existing.st_gid) == 0) {
        return;
    }
    const int error = errno;
    // The group at least, where the process belongs to it.
    const bool groupKept = ::fchown(m_fd, static_cast<uid_t>(-1), existing.st_gid) == 0;
    const bool ownerKept = created.st_uid == existing.st_uid;
    m_ownerNotice = m_target + " now belongs to the user who wrote it: its " +
                    (ownerKept   ? "group"
                     : groupKept ? "owner"
                                 : "owner and group") +
                    " could not be kept: " + std::strerror(error);
}

void Output::discardTemporary() {
    const SignalsHeld held;
    if (m_ownsFd) {
        ::close(m_fd);
        m_ownsFd = false;
    }
    ::unlink(m_temporaryPath.c_str());
    forgetTemporary();
    m_temporaryPath.clear();
}

Output::~Output() {
    if (m_committed) {
        return;
    }
    if (!m_temporaryPath.empty()) {
        discardTemporary();
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
    const int error = writeAll(m_fd, m_buffer);
    m_buffer.clear();
    if (error != 0) {
        fail(error);
    }
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
        const SignalsHeld held;
        if (::rename(m_temporaryPath.c_str(), m_path.c_str()) != 0) {
            fail(errno);
        }
        forgetTemporary();
        m_temporaryPath.clear();
    }
    m_committed = true;
    if (!m_ownerNotice.empty()) {
        std::cerr << "kelsing-shifts: " << m_ownerNotice << '\n';
    }
}

void Output::fail(int error) const {
    throw InputOutputError{"cannot write " + m_target + ": " + std::strerror(error)};
}

} // namespace kelsing::cli
