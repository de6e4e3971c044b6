// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kelsing::cli {

/// Reads standard input line by line with flat memory, whatever it holds.
class InputLines {
public:
    /// The longest line taken, without its line end: far more than any date a user can type.
    static constexpr std::size_t kMaxLineLength = 1024;

    /// Whether standard input is a terminal, where each answer is wanted as soon as its line.
    bool isTerminal() const;

    /// The next line without its line end (LF, or CRLF); false at the end of the input. Throws
    /// UsageError as soon as a line grows past kMaxLineLength, and InputOutputError when standard
    /// input cannot be read.
    bool next(std::string& line);

private:
    bool fill();

    char m_buffer[1 << 16];
    std::size_t m_start = 0;
    std::size_t m_end = 0;
    bool m_atEnd = false;
};

} // namespace kelsing::cli
