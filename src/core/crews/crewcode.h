// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/int16.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelsing {

/// The schedule code and sub-code that select one rotation.
struct ScheduleSelection {
    Int16 code;
    Int16 subCode;
    friend bool operator==(const ScheduleSelection&, const ScheduleSelection&) = default;
};

/// A crew code: a decimal number whose integer part is the schedule code and whose tenths digit
/// is the schedule sub-code; 0 means no crew chosen.
class CrewCode {
public:
    constexpr CrewCode() = default;
    constexpr explicit CrewCode(double value)
        : m_value(value) {}

    constexpr double value() const { return m_value; }

    /// Schedule code = floor of the number, sub-code = the rest times ten rounded half to even;
    /// throws OverflowError when either leaves 16 bits.
    ScheduleSelection decode() const;

    /// Shortest decimal text (14, 80.2, 84.9) with the given decimal separator.
    std::string text(std::string_view decimalSeparator = ".") const;

    /// Reads a decimal text, blanks allowed before and after; nullopt for a text that is not a
    /// number.
    static std::optional<CrewCode> parse(std::string_view text,
                                         std::string_view decimalSeparator = ".");

    friend constexpr bool operator==(CrewCode, CrewCode) = default;

private:
    double m_value = 0.0;
};

} // namespace kelsing
