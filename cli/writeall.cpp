// SPDX-License-Identifier: GPL-3.0-or-later
#include "writeall.h"

#include <cerrno>
#include <unistd.h>

namespace kelsing::cli {

int writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? errno : EIO;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

} // namespace kelsing::cli
