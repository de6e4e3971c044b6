// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "owndays/owndays.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelsing {

/// The version of the own-days file format that this program writes and reads.
inline constexpr int kOwnDaysFileFormat = 1;

/// The first line of an own-days file, the format line, without its version.
inline constexpr std::string_view kOwnDaysFileMagic = "kelsing-own-days";

/// One entry as a line of `days list` and of the own-days file: DATE, KIND, SHIFT and NOTE
/// separated by TABs (SHIFT and NOTE may be empty), and a line feed.
std::string ownDayLine(const OwnDay& entry);

/// The own-days file of `entries`: two comment lines, the format line "kelsing-own-days 1",
/// then one ownDayLine per entry in date order.
std::string ownDaysFileText(const OwnDays& entries);

/// What reading an own-days file found: every entry, or every problem, each "line N: what".
struct OwnDaysFileReading {
    std::vector<OwnDay> entries;
    std::vector<std::string> problems;
};

/// Reads an own-days file whole: lines end in LF or CRLF, empty lines and lines starting with
/// '#' are skipped, the first other line is the format line, and every other line an entry as
/// ownDayLine writes it, each date at most once. A text with any problem gives no entries.
OwnDaysFileReading parseOwnDaysFile(std::string_view text);

} // namespace kelsing
