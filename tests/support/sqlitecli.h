// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace kelsing::test {

/// What SQLite's own command-line shell, sqlite3, prints for `sql` on `file` (each row a line,
/// columns split by '|'), with its messages; an independent reader of the store.
inline std::string sqliteShell(const std::filesystem::path& file, const std::string& sql) {
    const auto quoted = [](const std::string& text) {
        std::string out = "'";
        for (const char c : text) {
            out += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return out + "'";
    };
    const std::string command =
        "sqlite3 -batch " + quoted(file.string()) + " " + quoted(sql) + " 2>&1";
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            out.append(buffer, n);
        }
        ::pclose(pipe);
    }
    return out;
}

} // namespace kelsing::test
