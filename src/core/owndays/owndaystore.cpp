// SPDX-License-Identifier: GPL-3.0-or-later
#include "owndays/owndaystore.h"

#include "stores/wholefile.h"

#include <array>
#include <sqlite3.h>
#include <utility>

namespace kelsing {

namespace {

using Reason = OwnDayStoreError::Reason;

// How the schema grew: step v takes a file of version v to version v + 1. A new file takes
// every step, so each runs wherever the program makes a store.
constexpr std::array<std::string_view, kOwnDaysSchema> kSchemaSteps = {
    // 1: one row a date.
    "CREATE TABLE own_days ("
    " date TEXT NOT NULL PRIMARY KEY,"
    " kind TEXT NOT NULL,"
    " shift TEXT NOT NULL DEFAULT '',"
    " note TEXT NOT NULL DEFAULT ''"
    ") STRICT, WITHOUT ROWID;",
    // 2: the values checked by the file itself, so that no other program writing the file
    // (sqlite3 by hand) can leave a row that this one would refuse.
    "CREATE TABLE own_days_checked ("
    " date TEXT NOT NULL PRIMARY KEY"
    "  CHECK (date GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' AND date >= '0100'),"
    " kind TEXT NOT NULL CHECK (kind IN ('leave', 'sick', 'swap', 'extra', 'note')),"
    " shift TEXT NOT NULL DEFAULT '' CHECK (shift IN ('', 'Days', 'Nights', 'Afternoons',"
    "  'Training', 'Days (8)', 'Days (12)', 'Off')),"
    " note TEXT NOT NULL DEFAULT '' CHECK (length(note) <= 200)"
    ") STRICT, WITHOUT ROWID;"
    "INSERT INTO own_days_checked SELECT date, kind, shift, note FROM own_days;"
    "DROP TABLE own_days;"
    "ALTER TABLE own_days_checked RENAME TO own_days;",
};

[[noreturn]] void fail(const std::filesystem::path& file, Reason reason, std::string_view why) {
    throw OwnDayStoreError(reason, file.string() + ": " + std::string(why));
}

Reason reasonOf(int code) {
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Reason::Busy;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_CONSTRAINT:
        return Reason::Damaged;
    default:
        return Reason::Failed;
    }
}

// Throws for a result code of SQLite, in words a user can act on.
[[noreturn]] void failWith(const std::filesystem::path& file, sqlite3* db, int code) {
    const Reason reason = reasonOf(code);
    const std::string detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    switch (reason) {
    case Reason::Busy:
        fail(file, reason,
             "another program has been writing it for more than " +
                 std::to_string(kOwnDaysBusyMilliseconds / 1000) + " seconds; nothing was changed");
    case Reason::Damaged:
        fail(file, reason,
             "the file is damaged or holds no own days (" + detail + "); it is left as it is");
    default:
        fail(file, reason, detail + "; nothing was changed");
    }
}

// A prepared statement that is finalised when it goes out of scope.
class Statement {
public:
    Statement(const std::filesystem::path& file, sqlite3* db, std::string_view sql)
        : m_file(file)
        , m_db(db) {
        const int code =
            sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_statement, nullptr);
        if (code != SQLITE_OK) {
            failWith(file, db, code);
        }
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, std::string_view text) {
        sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }

    // Whether a row came; throws for a failure.
    bool step() {
        const int code = sqlite3_step(m_statement);
        if (code == SQLITE_ROW) {
            return true;
        }
        if (code != SQLITE_DONE) {
            failWith(m_file, m_db, code);
        }
        sqlite3_reset(m_statement);
        return false;
    }

    std::string_view text(int column) const {
        const auto* text = sqlite3_column_text(m_statement, column);
        return text == nullptr ? std::string_view()
                               : std::string_view(reinterpret_cast<const char*>(text),
                                                  static_cast<std::size_t>(
                                                      sqlite3_column_bytes(m_statement, column)));
    }

    long long integer(int column) const { return sqlite3_column_int64(m_statement, column); }

private:
    const std::filesystem::path& m_file;
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};

void execute(const std::filesystem::path& file, sqlite3* db, std::string_view sql) {
    const std::string text(sql);
    const int code = sqlite3_exec(db, text.c_str(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        failWith(file, db, code);
    }
}

long long pragmaNumber(const std::filesystem::path& file, sqlite3* db, std::string_view pragma) {
    Statement statement(file, db, pragma);
    return statement.step() ? statement.integer(0) : 0;
}

// A connection with the settings every use of the store needs: it waits for another writer,
// and a file cannot make it run what SQLite does not trust.
sqlite3* connect(const std::filesystem::path& file, int flags) {
    sqlite3* db = nullptr;
    const int code = sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
    if (code != SQLITE_OK) {
        const std::string detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
        sqlite3_close_v2(db);
        fail(file, Reason::Failed, "cannot open it (" + detail + ")");
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kOwnDaysBusyMilliseconds);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    return db;
}

// Closes a connection when it goes out of scope, unless it was handed on.
struct Connection {
    sqlite3* db;
    ~Connection() { sqlite3_close_v2(db); }
    sqlite3* release() { return std::exchange(db, nullptr); }
};

// Whether a file is there to open: a missing one is not, and anything that is not a regular
// file (a folder, or a pipe that opening would wait on) fails.
bool fileExists(const std::filesystem::path& file) {
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return false;
    }
    if (error) {
        fail(file, Reason::Failed, error.message());
    }
    if (status.type() != std::filesystem::file_type::regular) {
        fail(file, Reason::Failed, "not a regular file");
    }
    return true;
}

// What the file holds must be what some version of this program wrote: no table in a file
// without a schema version, only the table of own days in one with it, and nothing that runs
// code of the file's (a trigger) or hides one (a view).
void checkShape(const std::filesystem::path& file, sqlite3* db, long long version) {
    Statement objects(file, db, "SELECT type, name FROM sqlite_schema");
    while (objects.step()) {
        if (version == 0 || objects.text(0) != "table" || objects.text(1) != "own_days") {
            fail(file, Reason::Damaged,
                 "the file holds " + std::string(objects.text(0)) + " '" +
                     std::string(objects.text(1).substr(0, 40)) +
                     "', which no version of this program writes; it is left as it is");
        }
    }
}

// Checks a file through a read-only connection: its schema version, SQLite's own check of the
// file, and what it holds. The version.
long long checkFile(const std::filesystem::path& file, sqlite3* db) {
    const long long version = pragmaNumber(file, db, "PRAGMA user_version");
    if (version > kOwnDaysSchema) {
        fail(file, Reason::Newer,
             "written by a newer version of the program (schema " + std::to_string(version) +
                 "); it is left as it is");
    }
    if (version < 0) {
        fail(file, Reason::Damaged, "the schema version is not one of this program's");
    }
    Statement check(file, db, "PRAGMA quick_check");
    if (check.step() && check.text(0) != "ok") {
        fail(file, Reason::Damaged,
             "SQLite finds the file damaged (" + std::string(check.text(0).substr(0, 120)) +
                 "); it is left as it is");
    }
    checkShape(file, db, version);
    return version;
}

// Whether a program that was writing the file stopped in the middle (a crash, a kill), so that
// SQLite must finish or undo its change before a connection that cannot write may read it.
bool interrupted(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &statement, nullptr) != SQLITE_OK) {
        const int code = sqlite3_extended_errcode(db);
        return code == SQLITE_READONLY_ROLLBACK || code == SQLITE_READONLY_RECOVERY;
    }
    const int code = sqlite3_step(statement);
    sqlite3_finalize(statement);
    return code == SQLITE_READONLY_ROLLBACK || code == SQLITE_READONLY_RECOVERY;
}

// A read-only connection to a checked file. An interrupted change is first undone by SQLite's
// own recovery through a connection that may write, which leaves the last committed state.
sqlite3* checkedReader(const std::filesystem::path& file) {
    Connection reader{connect(file, SQLITE_OPEN_READONLY)};
    if (interrupted(reader.db)) {
        sqlite3_close_v2(reader.release());
        Connection recovery{connect(file, SQLITE_OPEN_READWRITE)};
        pragmaNumber(file, recovery.db, "PRAGMA user_version");
        reader.db = connect(file, SQLITE_OPEN_READONLY);
    }
    checkFile(file, reader.db);
    return reader.release();
}

// Brings the schema up to date in one transaction; a file of a newer version that appeared
// since the check is left as it is.
void migrate(const std::filesystem::path& file, sqlite3* db) {
    execute(file, db, "BEGIN IMMEDIATE");
    try {
        const long long version = pragmaNumber(file, db, "PRAGMA user_version");
        if (version > kOwnDaysSchema) {
            fail(file, Reason::Newer,
                 "written by a newer version of the program (schema " + std::to_string(version) +
                     "); it is left as it is");
        }
        for (long long step = version; step < kOwnDaysSchema; ++step) {
            execute(file, db, kSchemaSteps[static_cast<std::size_t>(step)]);
        }
        if (version < kOwnDaysSchema) {
            execute(file, db, "PRAGMA user_version = " + std::to_string(kOwnDaysSchema));
        }
        execute(file, db, "COMMIT");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

OwnDay entryOfRow(const std::filesystem::path& file, const Statement& row) {
    OwnDay entry;
    const auto date = parseIsoDate(row.text(0));
    const auto kind = parseKind(row.text(1));
    if (date && kind) {
        entry = {*date, *kind, std::string(row.text(2)), std::string(row.text(3))};
    }
    const auto problem = !date   ? std::optional<std::string>("the date is not YYYY-MM-DD")
                         : !kind ? std::optional<std::string>("the kind is unknown")
                                 : entryProblem(entry);
    if (problem) {
        fail(file, Reason::Damaged,
             "the entry '" + std::string(row.text(0).substr(0, 20)) + "' is no own day (" +
                 *problem + "); the file is left as it is");
    }
    return entry;
}

} // namespace

OwnDayStoreError::OwnDayStoreError(Reason reason, const std::string& message)
    : std::runtime_error(message)
    , m_reason(reason) {
}

std::optional<std::filesystem::path> ownDaysFilePath(const XdgEnvironment& environment) {
    auto folder = dataFolder(environment);
    if (!folder) {
        return std::nullopt;
    }
    return *folder / kOwnDaysFileName;
}

OwnDayStore::OwnDayStore(std::filesystem::path file, sqlite3* db, bool writable)
    : m_file(std::move(file))
    , m_db(db)
    , m_writable(writable) {
    if (m_db != nullptr) {
        m_dataVersion = pragmaNumber(m_file, m_db, "PRAGMA data_version");
    }
}

OwnDayStore::OwnDayStore(OwnDayStore&& other) noexcept
    : m_file(std::move(other.m_file))
    , m_db(std::exchange(other.m_db, nullptr))
    , m_dataVersionQuery(std::exchange(other.m_dataVersionQuery, nullptr))
    , m_writable(other.m_writable)
    , m_dataVersion(other.m_dataVersion) {
}

OwnDayStore& OwnDayStore::operator=(OwnDayStore&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(m_dataVersionQuery);
        sqlite3_close_v2(m_db);
        m_file = std::move(other.m_file);
        m_db = std::exchange(other.m_db, nullptr);
        m_dataVersionQuery = std::exchange(other.m_dataVersionQuery, nullptr);
        m_writable = other.m_writable;
        m_dataVersion = other.m_dataVersion;
    }
    return *this;
}

OwnDayStore::~OwnDayStore() {
    sqlite3_finalize(m_dataVersionQuery);
    sqlite3_close_v2(m_db);
}

OwnDayStore OwnDayStore::openForReading(const std::filesystem::path& file) {
    if (!fileExists(file)) {
        return OwnDayStore(file, nullptr, false);
    }
    return OwnDayStore(file, checkedReader(file), false);
}

OwnDayStore OwnDayStore::openForWriting(const std::filesystem::path& file) {
    const bool existed = fileExists(file);
    if (existed) {
        // Nothing is written to a file before a connection that cannot write has checked it.
        Connection reader{checkedReader(file)};
    } else {
        try {
            makeFolders(file.parent_path());
        } catch (const StoreError& error) {
            throw OwnDayStoreError(Reason::Failed, error.what());
        }
    }
    Connection connection{connect(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)};
    // A change is on the disk when its commit returns, power cut or not: the log is synced at
    // every commit, a cost a few changes a day never notice.
    execute(file, connection.db, "PRAGMA synchronous = FULL");
    // A new file is made in write-ahead-log mode from the start; an old one has its schema
    // brought up to date first, so that one whose entries cannot be is rolled back as it was,
    // its journal mode included.
    if (!existed) {
        execute(file, connection.db, "PRAGMA journal_mode = WAL");
    }
    migrate(file, connection.db);
    execute(file, connection.db, "PRAGMA journal_mode = WAL");
    return OwnDayStore(file, connection.release(), true);
}

OwnDays OwnDayStore::select(std::string_view where, DaySerial from, DaySerial to) const {
    if (m_db == nullptr || pragmaNumber(m_file, m_db, "PRAGMA user_version") == 0) {
        return {};
    }
    Statement rows(m_file, m_db,
                   "SELECT date, kind, shift, note FROM own_days " + std::string(where) +
                       " ORDER BY date");
    if (!where.empty()) {
        rows.bind(1, isoDate(from));
        rows.bind(2, isoDate(to));
    }
    std::vector<OwnDay> entries;
    while (rows.step()) {
        entries.push_back(entryOfRow(m_file, rows));
    }
    return OwnDays(std::move(entries));
}

OwnDays OwnDayStore::read() const {
    return select({}, 0, 0);
}

OwnDays OwnDayStore::read(DaySerial from, DaySerial to) const {
    return select("WHERE date BETWEEN ?1 AND ?2", from, to);
}

template <typename Change>
void OwnDayStore::change(Change&& work) {
    if (!m_writable) {
        fail(m_file, Reason::Failed, "opened for reading only; nothing was changed");
    }
    // The write lock is taken at the start, so a busy store is told before anything is done.
    execute(m_file, m_db, "BEGIN IMMEDIATE");
    try {
        work();
        execute(m_file, m_db, "COMMIT");
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

namespace {

void insert(const std::filesystem::path& file, sqlite3* db, const std::vector<OwnDay>& entries) {
    Statement upsert(file, db,
                     "INSERT INTO own_days (date, kind, shift, note) VALUES (?1, ?2, ?3, ?4) "
                     "ON CONFLICT (date) DO UPDATE SET kind = excluded.kind, "
                     "shift = excluded.shift, note = excluded.note");
    for (const OwnDay& entry : entries) {
        upsert.bind(1, isoDate(entry.date));
        upsert.bind(2, kindName(entry.kind));
        upsert.bind(3, entry.shift);
        upsert.bind(4, entry.note);
        upsert.step();
    }
}

void refuseBad(const std::vector<OwnDay>& entries) {
    for (const OwnDay& entry : entries) {
        if (const auto problem = entryProblem(entry)) {
            throw std::invalid_argument(isoDate(entry.date) + ": " + *problem);
        }
    }
}

} // namespace

void OwnDayStore::set(const OwnDay& entry) {
    setAll({entry});
}

void OwnDayStore::setAll(const std::vector<OwnDay>& entries) {
    refuseBad(entries);
    change([&] { insert(m_file, m_db, entries); });
}

bool OwnDayStore::clear(DaySerial date) {
    bool removed = false;
    update(date, [&removed](const std::optional<OwnDay>& now) {
        removed = now.has_value();
        return std::optional<OwnDay>();
    });
    return removed;
}

void OwnDayStore::update(DaySerial date, const EntryChange& change) {
    this->change([&] {
        std::optional<OwnDay> now;
        {
            Statement row(m_file, m_db,
                          "SELECT date, kind, shift, note FROM own_days WHERE date = ?1");
            row.bind(1, isoDate(date));
            if (row.step()) {
                now = entryOfRow(m_file, row);
            }
        }
        const std::optional<OwnDay> next = change(now);
        if (next) {
            if (next->date != date) {
                throw std::invalid_argument("an update changes the entry of its own date only");
            }
            refuseBad({*next});
            insert(m_file, m_db, {*next});
        } else if (now) {
            Statement remove(m_file, m_db, "DELETE FROM own_days WHERE date = ?1");
            remove.bind(1, isoDate(date));
            remove.step();
        }
    });
}

bool OwnDayStore::changedElsewhere() {
    if (m_db == nullptr) {
        return false;
    }
    if (m_dataVersionQuery == nullptr) {
        const int code =
            sqlite3_prepare_v3(m_db, "PRAGMA data_version", -1, SQLITE_PREPARE_PERSISTENT,
                               &m_dataVersionQuery, nullptr);
        if (code != SQLITE_OK) {
            failWith(m_file, m_db, code);
        }
    }
    const int code = sqlite3_step(m_dataVersionQuery);
    const long long version = sqlite3_column_int64(m_dataVersionQuery, 0);
    sqlite3_reset(m_dataVersionQuery);
    if (code != SQLITE_ROW) {
        failWith(m_file, m_db, code);
    }
    return std::exchange(m_dataVersion, version) != version;
}

} // namespace kelsing
