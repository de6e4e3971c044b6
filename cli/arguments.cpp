// SPDX-License-Identifier: GPL-3.0-or-later
#include "arguments.h"

#include <charconv>
#include <cstdio>

namespace kelsing::cli {

namespace {

bool allDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

int digitsValue(std::string_view text) {
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

std::optional<DaySerial> parseIsoDate(std::string_view text) {
    return kelsing::parseIsoDate(text);
}

std::optional<MonthYear> parseYearMonth(std::string_view text) {
    if (text.size() != 7 || text[4] != '-' || !allDigits(text.substr(0, 4)) ||
        !allDigits(text.substr(5, 2))) {
        return std::nullopt;
    }
    const auto year = parseYear(text.substr(0, 4));
    const int month = digitsValue(text.substr(5, 2));
    if (!year || month < 1 || month > 12) {
        return std::nullopt;
    }
    return MonthYear{static_cast<Int16>(month), *year};
}

std::optional<Int16> parseYear(std::string_view text) {
    if (!allDigits(text) || text.size() > 4) {
        return std::nullopt;
    }
    const int year = digitsValue(text);
    if (year < kFirstYear || year > kLastYear) {
        return std::nullopt;
    }
    return static_cast<Int16>(year);
}

std::optional<Int16> parseInt16(std::string_view text) {
    if (text.starts_with('+')) {
        return std::nullopt;
    }
    Int16 value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<CrewChoice> parseCrew(std::string_view text) {
    if (text.find('/') != std::string_view::npos) {
        return CrewCatalogue::findByPath(text);
    }
    return CrewCatalogue::findByCode(text);
}

} // namespace kelsing::cli
