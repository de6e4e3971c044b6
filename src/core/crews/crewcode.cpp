// SPDX-License-Identifier: GPL-3.0-or-later
#include "crews/crewcode.h"

#include "base/decimal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kelsing {

namespace {

double roundHalfToEven(double value) {
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        return 2.0 * std::round(value / 2.0);
    }
    return std::round(value);
}

Int16 toInt16(double value) {
    if (!(value >= -32768.0 && value <= 32767.0)) {
        throw OverflowError("crew code outside 16 bits");
    }
    return static_cast<Int16>(value);
}

} // namespace

ScheduleSelection CrewCode::decode() const {
    const double code = std::floor(m_value);
    const Int16 schedule = toInt16(code);
    return {schedule, toInt16(roundHalfToEven((m_value - code) * 10.0))};
}

std::string CrewCode::text(std::string_view decimalSeparator) const {
    if (m_value == 0 || !std::isfinite(m_value)) {
        return "0";
    }
    // Fifteen significant digits hide the binary error of tenths (83 + 0.2 prints as 83.2), and
    // plain notation keeps any number readable by parse (never 5e-06).
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(m_value))));
    const int decimals = std::max(0, 14 - exponent);
    std::string text(static_cast<std::size_t>(std::snprintf(nullptr, 0, "%.*f", decimals, m_value)),
                     '\0');
    std::snprintf(text.data(), text.size() + 1, "%.*f", decimals, m_value);
    if (const auto dot = text.find('.'); dot != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        } else {
            text.replace(dot, 1, decimalSeparator);
        }
    }
    return text == "-0" ? "0" : text;
}

std::optional<CrewCode> CrewCode::parse(std::string_view text, std::string_view decimalSeparator) {
    if (const auto number = parseDecimal(text, decimalSeparator)) {
        return CrewCode(*number);
    }
    return std::nullopt;
}

} // namespace kelsing
