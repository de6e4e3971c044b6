// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "owndays/ownday.h"

#include <span>
#include <vector>

namespace kelsing {

/// The user's own days in date order, at most one entry per date.
class OwnDays {
public:
    OwnDays() = default;

    /// The entries, put in date order; of two for one date the later one counts.
    explicit OwnDays(std::vector<OwnDay> entries);

    /// The entry of a date, or nullptr.
    const OwnDay* find(DaySerial date) const;

    /// The entries from `from` to `to` inclusive, in date order.
    std::span<const OwnDay> between(DaySerial from, DaySerial to) const;

    /// Every entry in date order.
    const std::vector<OwnDay>& all() const { return m_entries; }

    bool empty() const { return m_entries.empty(); }
    std::size_t size() const { return m_entries.size(); }

    /// Puts an entry in place of its date's.
    void set(OwnDay entry);

    /// Removes the entry of a date; whether there was one.
    bool erase(DaySerial date);

    friend bool operator==(const OwnDays&, const OwnDays&) = default;

private:
    std::vector<OwnDay>::const_iterator lowerBound(DaySerial date) const;

    std::vector<OwnDay> m_entries;
};

} // namespace kelsing
