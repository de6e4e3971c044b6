// SPDX-License-Identifier: GPL-3.0-or-later
#include "inputlines.h"

#include "base/quoting.h"
#include "errors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace kelsing::cli {

bool InputLines::isTerminal() const {
    return ::isatty(STDIN_FILENO) == 1;
}

bool InputLines::fill() {
    if (m_atEnd) {
        return false;
    }
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, m_buffer, sizeof m_buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw InputOutputError{std::string("cannot read standard input: ") +
                                   std::strerror(errno)};
        }
        m_start = 0;
        m_end = static_cast<std::size_t>(got);
        m_atEnd = got == 0;
        return !m_atEnd;
    }
}

bool InputLines::next(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
        if (m_start == m_end && !fill()) {
            break;
        }
        any = true;
        const char* begin = m_buffer + m_start;
        const auto* newline = static_cast<const char*>(std::memchr(begin, '\n', m_end - m_start));
        const std::size_t length =
            newline ? static_cast<std::size_t>(newline - begin) : m_end - m_start;
        if (line.size() + length > kMaxLineLength) {
            // Refused at once: an input without line ends (/dev/full, /dev/zero) never ends.
            line.append(begin, std::min(length, kMaxLineLength - line.size()));
            throw UsageError{"line of standard input longer than " +
                             std::to_string(kMaxLineLength) + " bytes, starting " +
                             quotedArgument(line)};
        }
        line.append(begin, length);
        m_start += length;
        if (newline) {
            ++m_start;
            break;
        }
    }
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return any;
}

} // namespace kelsing::cli
