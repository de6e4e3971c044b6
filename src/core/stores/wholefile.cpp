// SPDX-License-Identifier: GPL-3.0-or-later
#include "stores/wholefile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kelsing {

namespace {

[[noreturn]] void fail(const std::filesystem::path& file, std::string_view doing, int error) {
    throw StoreError(std::string(doing) + ' ' + file.string() + ": " + std::strerror(error));
}

// Closes a descriptor when it goes out of scope, unless it was closed by hand.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// The file a write replaces: the one a symbolic link names, so that a link (as a dotfile manager
// keeps it) stays a link.
std::filesystem::path replacedFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_symlink(file, error)) {
        return file;
    }
    const std::filesystem::path target = std::filesystem::weakly_canonical(file, error);
    return error ? file : target;
}

// A new file beside `file` that no one else opens, with `mode` less the umask; its descriptor.
int newFileBeside(const std::filesystem::path& file, mode_t mode, std::filesystem::path& created) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            file.parent_path() /
            ('.' + file.filename().string() + '.' + std::to_string(random() % 1000000000));
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            created = candidate;
            return fd;
        }
        if (errno != EEXIST) {
            fail(file.parent_path(), "cannot write in", errno);
        }
    }
    fail(file.parent_path(), "cannot write in", EEXIST);
}

void writeAll(int fd, std::string_view content, const std::filesystem::path& file) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            fail(file, "cannot write", errno);
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
}

void syncFolder(const std::filesystem::path& folder) {
    // The rename is durable once the folder is; a file system that cannot sync a folder has
    // nothing more to give, so its refusal is not a failure of the write.
    const Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) {
        ::fsync(fd.get());
    }
}

} // namespace

void makeFolders(const std::filesystem::path& folder) {
    std::filesystem::path made;
    for (const std::filesystem::path& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
            fail(made, "cannot make the folder", errno);
        }
    }
}

FileReading readWholeFile(const std::filesystem::path& file, std::size_t limit) {
    FileReading reading;
    const auto failed = [&](int error) {
        reading.status = FileReading::Status::Failed;
        reading.error = file.string() + ": " + std::strerror(error);
        return reading;
    };
    // Non-blocking, so that a pipe put in the file's place is never waited on.
    const Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        return errno == ENOENT ? reading : failed(errno);
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        return failed(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        reading.status = FileReading::Status::Failed;
        reading.error = file.string() + ": not a regular file";
        return reading;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return failed(errno);
        }
        if (n == 0) {
            break;
        }
        reading.text.append(buffer, static_cast<std::size_t>(n));
        if (reading.text.size() > limit) {
            reading.status = FileReading::Status::Failed;
            reading.error = file.string() + ": larger than " + std::to_string(limit) + " bytes";
            reading.text.clear();
            return reading;
        }
    }
    reading.status = FileReading::Status::Read;
    return reading;
}

void writeWholeFile(const std::filesystem::path& file, std::string_view content) {
    const std::filesystem::path target = replacedFile(file);
    makeFolders(target.parent_path());
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    std::filesystem::path temporary;
    Descriptor fd(newFileBeside(target, 0644, temporary));
    try {
        if (replacing) {
            ::fchmod(fd.get(), existing.st_mode & 07777);
        }
        writeAll(fd.get(), content, target);
        if (::fsync(fd.get()) != 0) {
            fail(target, "cannot write", errno);
        }
        if (::close(fd.release()) != 0) {
            fail(target, "cannot write", errno);
        }
        if (::rename(temporary.c_str(), target.c_str()) != 0) {
            fail(target, "cannot replace", errno);
        }
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    syncFolder(target.parent_path());
}

void removeFile(const std::filesystem::path& file) {
    if (::unlink(file.c_str()) != 0 && errno != ENOENT) {
        fail(file, "cannot remove", errno);
    }
    syncFolder(file.parent_path());
}

} // namespace kelsing
