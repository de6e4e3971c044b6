// SPDX-License-Identifier: GPL-3.0-or-later
#include "owndays/owndays.h"

#include <algorithm>

namespace kelsing {

OwnDays::OwnDays(std::vector<OwnDay> entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const OwnDay& a, const OwnDay& b) { return a.date < b.date; });
    for (OwnDay& entry : entries) {
        if (!m_entries.empty() && m_entries.back().date == entry.date) {
            m_entries.back() = std::move(entry);
        } else {
            m_entries.push_back(std::move(entry));
        }
    }
}

std::vector<OwnDay>::const_iterator OwnDays::lowerBound(DaySerial date) const {
    return std::lower_bound(m_entries.begin(), m_entries.end(), date,
                            [](const OwnDay& entry, DaySerial d) { return entry.date < d; });
}

const OwnDay* OwnDays::find(DaySerial date) const {
    const auto found = lowerBound(date);
    return found != m_entries.end() && found->date == date ? &*found : nullptr;
}

std::span<const OwnDay> OwnDays::between(DaySerial from, DaySerial to) const {
    if (to < from) {
        return {};
    }
    const auto first = lowerBound(from);
    const auto last = lowerBound(to + 1);
    return {first, last};
}

void OwnDays::set(OwnDay entry) {
    const auto at = lowerBound(entry.date);
    if (at != m_entries.end() && at->date == entry.date) {
        m_entries[static_cast<std::size_t>(at - m_entries.begin())] = std::move(entry);
    } else {
        m_entries.insert(at, std::move(entry));
    }
}

bool OwnDays::erase(DaySerial date) {
    const auto at = lowerBound(date);
    if (at == m_entries.end() || at->date != date) {
        return false;
    }
    m_entries.erase(at);
    return true;
}

} // namespace kelsing
