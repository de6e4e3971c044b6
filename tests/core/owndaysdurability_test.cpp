// SPDX-License-Identifier: GPL-3.0-or-later
// What the store of own days keeps through a kill and a busy store: a writer killed with
// SIGKILL at random moments loses no change it reported committed, and leaves a file that
// SQLite's own integrity check passes; a change that waits too long on another writer is told
// and changes nothing.

#include "owndays/owndaystore.h"
#include "sqlitecli.h"
#include "testsupport.h"

#include <chrono>
#include <csignal>
#include <map>
#include <poll.h>
#include <random>
#include <set>
#include <spawn.h>
#include <sqlite3.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

extern char** environ;

namespace kelsing {
namespace {

std::filesystem::path scratch(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("kelsing-durability-" + std::to_string(::getpid()) + '-' + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Runs the writer for `milliseconds`, after its first reported change when `afterFirst`, kills
// it with SIGKILL and gives what it reported. Waiting for the first change keeps a slow start
// (a busy machine, a sanitizer) from leaving every run killed before it wrote.
std::string writeUntilKilled(const std::filesystem::path& file, long first, int milliseconds,
                             bool afterFirst) {
    int out[2];
    EXPECT_EQ(::pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string firstText = std::to_string(first);
    char* argv[] = {const_cast<char*>(KELSING_OWNDAYS_WRITER), const_cast<char*>(file.c_str()),
                    const_cast<char*>(firstText.c_str()), nullptr};
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, KELSING_OWNDAYS_WRITER, &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string reported;
    char buffer[4096];
    pollfd ready{out[0], POLLIN, 0};
    // Bounds a hang only: a first commit takes milliseconds.
    while (afterFirst && reported.find('\n') == std::string::npos && ::poll(&ready, 1, 60000) > 0) {
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        reported.append(buffer, static_cast<std::size_t>(n));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the writer ended on its own: " << status;
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) {
        reported.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    return reported;
}

TEST(OwnDaysDurabilityTest, FiftyKillsLoseNoReportedChange) {
    const std::filesystem::path folder = scratch("kills");
    const std::filesystem::path file = folder / "kelsing-schedule" / "days.sqlite";
    std::mt19937 random(20070312);
    std::uniform_int_distribution<int> moment(1, 120);
    std::map<long, int> committed; // first day -> count
    for (int run = 0; run < 50; ++run) {
        SCOPED_TRACE(run);
        // Whole lines only: a line cut by the kill was not reported.
        std::istringstream lines(
            writeUntilKilled(file, run * 20000L, moment(random), run % 5 != 0));
        for (long first = 0, count = 0; lines >> first >> count;) {
            committed[first] = static_cast<int>(count);
        }
        ASSERT_EQ(test::sqliteShell(file, "PRAGMA integrity_check;"), "ok\n");
        // Every transaction is whole or absent: a batch's days are all there or none.
        std::map<std::string, int> batches;
        std::istringstream rows(test::sqliteShell(file, "SELECT note FROM own_days;"));
        for (std::string note; std::getline(rows, note);) {
            ++batches[note];
        }
        for (const auto& [first, count] : committed) {
            EXPECT_EQ(batches["batch " + std::to_string(first)], count) << first;
        }
        for (const auto& [note, count] : batches) {
            EXPECT_TRUE(count == 1 || count == 10) << note << ": " << count;
        }
    }
    EXPECT_GT(committed.size(), 50u) << "the writer never got far";
    // The store as the program reads it holds them all too.
    EXPECT_GE(OwnDayStore::openForReading(file).read().size(), committed.size());
    std::filesystem::remove_all(folder);
}

TEST(OwnDaysDurabilityTest, ABusyStoreIsToldAfterFiveSecondsAndNothingIsLost) {
    const std::filesystem::path folder = scratch("busy");
    const std::filesystem::path file = folder / "days.sqlite";
    const OwnDay kept{test::dateOf(2007, 3, 12), OwnDayKind::Leave, {}, {}};
    const OwnDay asked{test::dateOf(2007, 3, 14), OwnDayKind::Sick, {}, {}};
    OwnDayStore store = OwnDayStore::openForWriting(file);
    store.set(kept);
    // Another program holds the write lock in a transaction of its own.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "BEGIN IMMEDIATE; INSERT INTO own_days VALUES ('2007-03-20', 'note',"
                           " '', 'theirs');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const auto start = std::chrono::steady_clock::now();
    try {
        store.set(asked);
        ADD_FAILURE() << "a change went through a held lock";
    } catch (const OwnDayStoreError& error) {
        EXPECT_EQ(error.reason(), OwnDayStoreError::Reason::Busy);
        EXPECT_NE(std::string(error.what()).find("nothing was changed"), std::string::npos);
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(kOwnDaysBusyMilliseconds));
    EXPECT_LT(waited, std::chrono::milliseconds(kOwnDaysBusyMilliseconds * 10));
    // The other program's change goes through, and the refused one is simply not there.
    ASSERT_EQ(sqlite3_exec(other, "COMMIT;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
    EXPECT_EQ(store.read().size(), 2u);
    EXPECT_EQ(store.read().find(asked.date), nullptr);
    store.set(asked);
    EXPECT_EQ(test::sqliteShell(file, "SELECT count(*) FROM own_days; PRAGMA integrity_check;"),
              "3\nok\n");
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace kelsing
