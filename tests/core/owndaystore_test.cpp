// SPDX-License-Identifier: GPL-3.0-or-later
// The store of own days: what opening makes, the schema brought up to date, and files that are
// refused and left as they were, checked with SQLite's own shell.

#include "owndays/owndaystore.h"
#include "sqlitecli.h"
#include "testsupport.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

using test::dateOf;
using test::sqliteShell;
using Reason = OwnDayStoreError::Reason;

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_home = std::filesystem::temp_directory_path() /
                 ("kelsing-owndays-" + std::to_string(::getpid()) + '-' +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_home);
        std::filesystem::create_directories(m_home);
    }
    void TearDown() override { std::filesystem::remove_all(m_home); }

    std::filesystem::path file() const {
        return m_home / "data" / "kelsing-schedule" / "days.sqlite";
    }

    // A file the test makes itself, in the store's place.
    void make(const std::string& sql) {
        std::filesystem::create_directories(file().parent_path());
        EXPECT_EQ(sqliteShell(file(), sql), "");
    }

    std::string bytes() const {
        std::ifstream in(file(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path m_home;
};

const std::vector<OwnDay> kEntries = {
    {dateOf(2007, 3, 12), OwnDayKind::Leave, {}, "dentist"},
    {dateOf(2007, 3, 14), OwnDayKind::Swap, "Nights", {}},
    {dateOf(2007, 3, 16), OwnDayKind::Extra, "Days (12)", "it's a \"note\""},
};

// The first schema, as the program made it: written out here, not taken from the code.
const std::string kFirstSchema =
    "CREATE TABLE own_days (date TEXT NOT NULL PRIMARY KEY, kind TEXT NOT NULL,"
    " shift TEXT NOT NULL DEFAULT '', note TEXT NOT NULL DEFAULT '') STRICT, WITHOUT ROWID;"
    "PRAGMA user_version = 1;";

TEST_F(StoreTest, ReadingMakesNothing) {
    const OwnDayStore store = OwnDayStore::openForReading(file());
    EXPECT_FALSE(store.hasFile());
    EXPECT_TRUE(store.read().empty());
    EXPECT_FALSE(std::filesystem::exists(m_home / "data"));
}

TEST_F(StoreTest, WritingMakesAPrivateFolderAndTheCurrentSchema) {
    {
        OwnDayStore store = OwnDayStore::openForWriting(file());
        store.setAll(kEntries);
        EXPECT_EQ(store.read().all(), kEntries);
        EXPECT_TRUE(store.clear(kEntries[1].date));
        EXPECT_FALSE(store.clear(kEntries[1].date));
        store.set(kEntries[1]);
    }
    struct stat folder {};
    ASSERT_EQ(::stat(file().parent_path().c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_EQ(sqliteShell(file(), "PRAGMA user_version; PRAGMA journal_mode;"
                                  " PRAGMA integrity_check;"),
              "2\nwal\nok\n");
    EXPECT_EQ(sqliteShell(file(), "SELECT date, kind, shift, note FROM own_days ORDER BY date;"),
              "2007-03-12|leave||dentist\n2007-03-14|swap|Nights|\n"
              "2007-03-16|extra|Days (12)|it's a \"note\"\n");
    EXPECT_EQ(OwnDayStore::openForReading(file()).read().all(), kEntries);
}

TEST_F(StoreTest, AnEmptyFileIsAStoreWithoutEntries) {
    std::filesystem::create_directories(file().parent_path());
    std::ofstream{file()};
    EXPECT_TRUE(OwnDayStore::openForReading(file()).read().empty());
    EXPECT_EQ(bytes(), "");
    OwnDayStore::openForWriting(file()).set(kEntries[0]);
    EXPECT_EQ(sqliteShell(file(), "PRAGMA user_version; PRAGMA integrity_check;"), "2\nok\n");
}

TEST_F(StoreTest, TheFirstSchemaIsReadAndBroughtUpToDate) {
    make(kFirstSchema + "INSERT INTO own_days VALUES ('2007-03-12', 'leave', '', 'dentist'),"
                        " ('2007-03-14', 'swap', 'Nights', ''),"
                        " ('2007-03-16', 'extra', 'Days (12)', 'it''s a \"note\"');");
    const std::string before = bytes();
    EXPECT_EQ(OwnDayStore::openForReading(file()).read().all(), kEntries);
    EXPECT_TRUE(bytes() == before) << "the file was written"; // reading changes nothing
    EXPECT_EQ(OwnDayStore::openForWriting(file()).read().all(), kEntries);
    EXPECT_EQ(sqliteShell(file(), "PRAGMA user_version; PRAGMA integrity_check;"), "2\nok\n");
    // The current schema checks what another program writes into the file.
    EXPECT_NE(sqliteShell(file(), "INSERT INTO own_days VALUES ('2007-03-20', 'holiday', '', '');")
                  .find("CHECK constraint failed"),
              std::string::npos);
}

struct RefusedCase {
    const char* name;
    std::string sql; // made with sqlite3; empty for a file of text
    Reason reason;
};

class RefusedFileTest : public StoreTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedFileTest, NeverWrittenAndNamed) {
    const RefusedCase& c = GetParam();
    if (c.sql.empty()) {
        std::filesystem::create_directories(file().parent_path());
        std::ofstream(file()) << "[start]\nview = single\ncrew = 83.2\n" << std::string(600, 'x');
    } else {
        make(c.sql);
    }
    const std::string before = bytes();
    const auto refusal = [&](auto&& open) -> std::optional<Reason> {
        try {
            open();
        } catch (const OwnDayStoreError& error) {
            EXPECT_NE(std::string(error.what()).find(file().string()), std::string::npos)
                << error.what();
            return error.reason();
        }
        return std::nullopt;
    };
    EXPECT_EQ(refusal([&] { OwnDayStore::openForReading(file()).read(); }), c.reason);
    EXPECT_EQ(refusal([&] { OwnDayStore::openForWriting(file()).set(kEntries[0]); }), c.reason);
    EXPECT_TRUE(bytes() == before) << "the file was written";
    EXPECT_FALSE(std::filesystem::exists(file().string() + "-journal"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFileTest,
    ::testing::Values(
        RefusedCase{"not_a_database", "", Reason::Damaged},
        RefusedCase{"newer_schema", kFirstSchema + "PRAGMA user_version = 3;", Reason::Newer},
        RefusedCase{"another_programs_table", "CREATE TABLE photos (x);", Reason::Damaged},
        RefusedCase{"a_trigger",
                    kFirstSchema + "CREATE TABLE log (x); CREATE TRIGGER t AFTER INSERT ON "
                                   "own_days BEGIN INSERT INTO log VALUES (1); END;",
                    Reason::Damaged},
        RefusedCase{"a_row_no_version_writes",
                    kFirstSchema + "INSERT INTO own_days VALUES ('2007-03-20', 'holiday', '', '');",
                    Reason::Damaged},
        RefusedCase{"a_negative_version", "PRAGMA user_version = -1;", Reason::Damaged}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreTest, ADamagedPageIsRefusedAsSQLiteFindsIt) {
    {
        OwnDayStore store = OwnDayStore::openForWriting(file());
        std::vector<OwnDay> many;
        for (DaySerial d = dateOf(2007, 1, 1); d < dateOf(2009, 1, 1); ++d) {
            many.push_back({d, OwnDayKind::Note, {}, std::string(60, 'n')});
        }
        store.setAll(many);
    }
    // A leaf page of the entries overwritten, as a failing disk might leave it.
    {
        std::fstream out(file(), std::ios::in | std::ios::out | std::ios::binary);
        out.seekp(4096 * 4 + 8);
        const std::string garbage(2000, '\x55');
        out.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    }
    ASSERT_NE(sqliteShell(file(), "PRAGMA integrity_check;"), "ok\n");
    const std::string before = bytes();
    for (const bool writing : {false, true}) {
        try {
            if (writing) {
                OwnDayStore::openForWriting(file()).set(kEntries[0]);
            } else {
                OwnDayStore::openForReading(file()).read();
            }
            ADD_FAILURE() << "a damaged file opened";
        } catch (const OwnDayStoreError& error) {
            EXPECT_EQ(error.reason(), Reason::Damaged) << error.what();
        }
    }
    EXPECT_TRUE(bytes() == before) << "the file was written";
}

TEST_F(StoreTest, AnUpdateSeesWhatAnotherConnectionCommitted) {
    OwnDayStore reader = OwnDayStore::openForWriting(file());
    OwnDayStore writer = OwnDayStore::openForWriting(file());
    EXPECT_FALSE(reader.changedElsewhere());
    writer.set(kEntries[0]);
    EXPECT_TRUE(reader.changedElsewhere());
    EXPECT_FALSE(reader.changedElsewhere());
    // The note that the other program kept meanwhile stays: the change reads the entry anew.
    reader.update(kEntries[0].date, [](const std::optional<OwnDay>& now) {
        EXPECT_TRUE(now.has_value());
        OwnDay entry = now.value_or(OwnDay{});
        entry.kind = OwnDayKind::Sick;
        return std::optional(entry);
    });
    EXPECT_EQ(writer.read().all(),
              (std::vector<OwnDay>{{kEntries[0].date, OwnDayKind::Sick, {}, "dentist"}}));
    // A change that is refused leaves the entry as it was.
    EXPECT_THROW(reader.update(kEntries[0].date,
                               [](const std::optional<OwnDay>& now) {
                                   OwnDay entry = *now;
                                   entry.kind = OwnDayKind::Swap;
                                   return std::optional(entry);
                               }),
                 std::invalid_argument);
    EXPECT_EQ(writer.read().all().front().kind, OwnDayKind::Sick);
}

TEST_F(StoreTest, AChangeCutShortIsUndoneAndTheRestRead) {
    // A program stopped in the middle of changing a first-schema file: the file and its journal
    // copied while SQLite's shell has spilled a large change into the file.
    make(kFirstSchema + "INSERT INTO own_days VALUES ('2007-03-12', 'leave', '', 'dentist');");
    const std::filesystem::path cut = m_home / "cut" / "days.sqlite";
    std::filesystem::create_directories(cut.parent_path());
    const std::filesystem::path script = m_home / "script";
    std::ofstream(script) << "PRAGMA cache_size = 1;\nBEGIN;\n"
                             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n"
                             " WHERE i < 200) INSERT INTO own_days SELECT"
                             " printf('2008-%02d-%02d', (i - 1) / 28 + 1, (i - 1) % 28 + 1),"
                             " 'sick', '', printf('%.190c', 'n') FROM n;\n"
                          << ".shell cp '" << file().string() << "' '" << cut.string() << "'\n"
                          << ".shell cp '" << file().string() << "-journal' '" << cut.string()
                          << "-journal'\nROLLBACK;\n";
    ASSERT_EQ(std::system(
                  ("sqlite3 -batch '" + file().string() + "' <'" + script.string() + "' >/dev/null")
                      .c_str()),
              0);
    ASSERT_TRUE(std::filesystem::exists(cut.string() + "-journal"));
    EXPECT_EQ(OwnDayStore::openForReading(cut).read().all(), (std::vector<OwnDay>{kEntries[0]}));
    EXPECT_EQ(sqliteShell(cut, "PRAGMA integrity_check; SELECT count(*) FROM own_days;"),
              "ok\n1\n");
}

} // namespace
} // namespace kelsing
