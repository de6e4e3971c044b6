// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "owndays/owndaystore.h"

#include <filesystem>
#include <optional>

#include <QString>

namespace kelsing {

/// The user's own days as the main window keeps them: the store is opened when the window asks
/// (after its first frame), read whole, read again when another program has changed it, and
/// changed one day at a time. Nothing is made on disk before the first change.
class OwnDaysMemory {
public:
    /// Keeps the own days in `file`, or nowhere for an empty path.
    explicit OwnDaysMemory(std::filesystem::path file);

    /// Whether there is a file to keep own days in.
    bool available() const { return !m_file.empty(); }

    /// Opens the store for reading, if there is a file; a store that cannot be used is kept as
    /// refused, with the reason.
    void open();

    /// Whether open() has run and the store is not refused.
    bool usable() const { return m_opened && !m_refusal; }

    /// Why the own days cannot be shown or kept (a damaged file, a newer one), if they cannot.
    const std::optional<QString>& refusal() const { return m_refusal; }

    /// Whether a file of own days exists (it does from the first change on).
    bool hasFile() const { return m_store && m_store->hasFile(); }

    /// The entries, read again first when another program has changed the store.
    const OwnDays& entries();

    /// Changes the entry of `date` in one committed transaction and reads the entries again;
    /// the reason when it cannot be done, and nothing is changed then.
    std::optional<QString> update(DaySerial date, const OwnDayStore::EntryChange& change);

private:
    void refuse(const OwnDayStoreError& error);
    void reload();

    std::filesystem::path m_file;
    std::optional<OwnDayStore> m_store;
    OwnDays m_entries;
    std::optional<QString> m_refusal;
    bool m_opened = false;
};

} // namespace kelsing
