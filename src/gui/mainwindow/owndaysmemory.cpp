// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/owndaysmemory.h"

#include "platform/coretext.h"

namespace kelsing {

OwnDaysMemory::OwnDaysMemory(std::filesystem::path file)
    : m_file(std::move(file)) {
}

void OwnDaysMemory::open() {
    m_opened = true;
    if (!available() || m_store) {
        return;
    }
    try {
        m_store = OwnDayStore::openForReading(m_file);
        m_entries = m_store->read();
    } catch (const OwnDayStoreError& error) {
        refuse(error);
    }
}

void OwnDaysMemory::refuse(const OwnDayStoreError& error) {
    using Reason = OwnDayStoreError::Reason;
    // A damaged or newer file stays refused; a busy or unreadable one may do next time.
    if (error.reason() == Reason::Damaged || error.reason() == Reason::Newer) {
        m_refusal = fromCore(error.what());
        m_store.reset();
        m_entries = {};
    }
}

void OwnDaysMemory::reload() {
    try {
        m_store->changedElsewhere();
        m_entries = m_store->read();
    } catch (const OwnDayStoreError& error) {
        refuse(error);
    }
}

const OwnDays& OwnDaysMemory::entries() {
    if (m_store && m_store->hasFile() && !m_refusal) {
        try {
            if (m_store->changedElsewhere()) {
                reload();
            }
        } catch (const OwnDayStoreError& error) {
            refuse(error);
        }
    }
    return m_entries;
}

std::optional<QString> OwnDaysMemory::update(DaySerial date,
                                             const OwnDayStore::EntryChange& change) {
    if (!available()) {
        return QStringLiteral("there is no folder to keep them in");
    }
    if (m_refusal) {
        return m_refusal;
    }
    try {
        if (!m_store || !m_store->writable()) {
            m_store = OwnDayStore::openForWriting(m_file);
        }
        m_store->update(date, change);
    } catch (const OwnDayStoreError& error) {
        refuse(error);
        return fromCore(error.what());
    } catch (const std::invalid_argument& error) {
        return fromCore(error.what());
    }
    reload();
    return std::nullopt;
}

} // namespace kelsing
