// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/int16.h"
#include "calendar/dayserial.h"

#include <array>
#include <string_view>

namespace kelsing {

/// The holiday and clock-change dates of one year, worked out once so that a month fill need not
/// repeat them for every day; captionFor answers exactly as ObservanceCaption does.
class YearObservances {
public:
    /// Works out every rule's date for year y (100..9999); throws what the date helpers throw.
    explicit YearObservances(Int16 year);

    /// The caption of a day, or empty text; when two rules fall on one day the later one wins.
    std::string_view captionFor(DaySerial date) const;

private:
    struct Rule {
        std::string_view caption;
        DaySerial date;
    };
    static constexpr std::size_t kRuleCount = 14;
    std::array<Rule, kRuleCount> m_rules{};
};

/// The holiday or clock-change caption of a day of year y, or empty text.
std::string_view ObservanceCaption(Int16 year, DaySerial date);

} // namespace kelsing
