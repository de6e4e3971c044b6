// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputtarget.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace kelsing::cli {

namespace {

// As the kernel allows in one path.
constexpr int kMaxLinks = 40;

std::optional<int> descriptorNumber(std::string_view text) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    int number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

// The descriptor that `path` names when it is an entry of the process's own descriptor folder,
// however that folder is reached (/dev/fd, /proc/self/fd, /proc/PID/fd).
std::optional<int> streamNamed(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return std::nullopt;
    }
    const std::optional<int> number = descriptorNumber(std::string_view(path).substr(slash + 1));
    if (!number) {
        return std::nullopt;
    }
    char folder[PATH_MAX];
    if (::realpath(folderOf(path).c_str(), folder) == nullptr) {
        return std::nullopt;
    }
    const std::string own = "/proc/" + std::to_string(::getpid()) + "/fd";
    return own == folder ? number : std::nullopt;
}

} // namespace

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

OutputTarget resolveOutputTarget(const std::string& path) {
    OutputTarget target{std::nullopt, path, 0};
    for (int links = 0; links <= kMaxLinks; ++links) {
        if ((target.stream = streamNamed(target.path))) {
            return target;
        }
        struct stat status {};
        if (::lstat(target.path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return target;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(target.path.c_str(), link.data(), link.size());
        if (length < 0) {
            target.error = errno;
            return target;
        }
        link.resize(static_cast<std::size_t>(length));
        target.path = link.starts_with('/') ? link : folderOf(target.path) + '/' + link;
    }
    target.error = ELOOP;
    return target;
}

} // namespace kelsing::cli
