// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/decimal.h"

#include <charconv>
#include <cmath>
#include <string>

namespace kelsing {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<double> parseDecimal(std::string_view text, std::string_view decimalSeparator) {
    text = trimBlanks(text);
    std::string normal;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        if (text.front() == '-') {
            normal += '-';
        }
        text.remove_prefix(1);
    }
    std::size_t digits = 0;
    const auto takeDigits = [&] {
        while (!text.empty() && isDigit(text.front())) {
            normal += text.front();
            text.remove_prefix(1);
            ++digits;
        }
    };
    takeDigits();
    if (!decimalSeparator.empty() && text.starts_with(decimalSeparator)) {
        text.remove_prefix(decimalSeparator.size());
        normal += '.';
        takeDigits();
    }
    if (digits == 0 || !text.empty()) {
        return std::nullopt;
    }
    // from_chars gives the nearest double, so a written crew code reads back as the same number.
    double value = 0.0;
    const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), value,
                                              std::chars_format::fixed);
    if (error != std::errc{} || end != normal.data() + normal.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace kelsing
