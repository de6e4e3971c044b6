// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "owndays/owndays.h"
#include "stores/xdgfolders.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace kelsing {

/// The name of the store of own days in the data folder.
inline constexpr std::string_view kOwnDaysFileName = "days.sqlite";

/// The schema version of the store that this program reads and writes (`PRAGMA user_version`).
inline constexpr int kOwnDaysSchema = 2;

/// How long a change waits for another program that is writing the store.
inline constexpr int kOwnDaysBusyMilliseconds = 5000;

/// Where the user's own days are kept: days.sqlite in the data folder.
std::optional<std::filesystem::path> ownDaysFilePath(const XdgEnvironment& environment);

/// The store of own days cannot be used as asked; the message names the file and says why.
class OwnDayStoreError final : public std::runtime_error {
public:
    enum class Reason {
        Damaged, // not a store of own days, or one that fails SQLite's check: never written
        Newer,   // written by a newer version of the program: never written
        Busy,    // another program held it for longer than the busy time; nothing changed
        Failed,  // it could not be read or written; nothing changed
    };
    OwnDayStoreError(Reason reason, const std::string& message);
    Reason reason() const { return m_reason; }

private:
    Reason m_reason;
};

/// The user's own days in an SQLite file shared by the window and the tool.
///
/// The file is opened read-only first and checked (SQLite's quick_check, the schema version and
/// what the file holds), so a damaged file or one of a newer schema is never written. Writing
/// opens it in write-ahead-log mode with full synchronisation, and each change is one
/// transaction that is on the disk once the call returns; two programs writing at once wait for
/// each other up to kOwnDaysBusyMilliseconds. An older schema is brought up to date in one
/// transaction when the file is first opened for writing.
class OwnDayStore {
public:
    /// Opens the store at `file` for reading. A missing file is a store without entries, and
    /// nothing is made. Throws OwnDayStoreError.
    static OwnDayStore openForReading(const std::filesystem::path& file);

    /// Opens the store at `file` for writing, making its folders (mode 0700) and the file when
    /// they are missing and bringing an older schema up to date. Throws OwnDayStoreError.
    static OwnDayStore openForWriting(const std::filesystem::path& file);

    OwnDayStore(OwnDayStore&& other) noexcept;
    OwnDayStore& operator=(OwnDayStore&& other) noexcept;
    ~OwnDayStore();

    const std::filesystem::path& file() const { return m_file; }

    /// Whether there is a file; a store opened for reading has none until one is written.
    bool hasFile() const { return m_db != nullptr; }

    /// Whether the store was opened for writing.
    bool writable() const { return m_writable; }

    /// Every entry. Throws OwnDayStoreError, Damaged for a row that is no own day.
    OwnDays read() const;

    /// The entries from `from` to `to` inclusive.
    OwnDays read(DaySerial from, DaySerial to) const;

    /// Puts `entry` in place of its date's entry, in one committed transaction. Throws
    /// std::invalid_argument for an entry that entryProblem refuses, OwnDayStoreError otherwise.
    void set(const OwnDay& entry);

    /// What an update makes of the entry of its date (nullopt for none): the entry to keep, or
    /// nullopt to remove it.
    using EntryChange = std::function<std::optional<OwnDay>(const std::optional<OwnDay>& now)>;

    /// Changes the entry of `date` as `change` says, reading it and writing the result in one
    /// committed transaction, so a change made meanwhile by another program is never undone.
    /// Throws as set does; nothing changes then.
    void update(DaySerial date, const EntryChange& change);

    /// Removes the entry of a date in one committed transaction; whether there was one.
    bool clear(DaySerial date);

    /// Puts every entry in place of its date's, all in one committed transaction or none.
    void setAll(const std::vector<OwnDay>& entries);

    /// Whether another connection has committed a change since the last call (or the opening).
    bool changedElsewhere();

private:
    OwnDayStore(std::filesystem::path file, sqlite3* db, bool writable);
    OwnDays select(std::string_view where, DaySerial from, DaySerial to) const;
    template <typename Change>
    void change(Change&& work);

    std::filesystem::path m_file;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_dataVersionQuery = nullptr; // prepared once: a month step asks each time
    bool m_writable = false;
    long long m_dataVersion = 0;
};

} // namespace kelsing
