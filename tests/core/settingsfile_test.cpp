// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: where it lives, what it reads and writes, and that a damaged file, or two
// programs writing at once, never gives a crew the user did not choose.

#include "stores/settingsfile.h"
#include "stores/wholefile.h"
#include "stores/xdgfolders.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace kelsing;
namespace fs = std::filesystem;

// A folder of the test's own, removed with everything in it.
struct ScratchFolder {
    fs::path path = fs::temp_directory_path() /
                    ("kelsing-settings-test-" + std::to_string(::getpid()) + '-' +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    ScratchFolder() {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~ScratchFolder() { fs::remove_all(path); }
};

RememberedStart single(double code) {
    return {StartView::Single, CrewCode(code), {}, {}};
}

RememberedStart sides(double left, double right) {
    return {StartView::SideBySide, {}, CrewCode(left), CrewCode(right)};
}

// The base directory rules: an absolute XDG variable wins; unset, empty or relative, HOME's
// default folder; neither, no folder.
TEST(XdgFoldersTest, TheBaseDirectoryRules) {
    struct Case {
        const char* xdg;
        const char* home;
        const char* settings;
        const char* data;
    };
    const Case cases[] = {
        {"/x/config", "/home/u", "/x/config/kelsing-schedule", "/x/config/kelsing-schedule"},
        {nullptr, "/home/u", "/home/u/.config/kelsing-schedule",
         "/home/u/.local/share/kelsing-schedule"},
        {"", "/home/u", "/home/u/.config/kelsing-schedule",
         "/home/u/.local/share/kelsing-schedule"},
        {"relative/config", "/home/u", "/home/u/.config/kelsing-schedule",
         "/home/u/.local/share/kelsing-schedule"},
        {nullptr, "relative", nullptr, nullptr},
        {nullptr, nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const XdgEnvironment environment{c.xdg, c.xdg, c.home};
        const auto settings = settingsFolder(environment);
        const auto data = dataFolder(environment);
        EXPECT_EQ(settings ? settings->string() : "", c.settings ? c.settings : "");
        EXPECT_EQ(data ? data->string() : "", c.data ? c.data : "");
    }
    EXPECT_EQ(settingsFilePath({"/x", nullptr, nullptr})->string(),
              "/x/kelsing-schedule/settings.ini");
}

TEST(SettingsFileTest, EveryKindOfStartReadsBackAsWritten) {
    const Settings cases[] = {{single(83.2)},    {single(14)},   {single(84.9)},   {single(70.4)},
                              {sides(74, 70.1)}, {sides(12, 0)}, {sides(0, 71.5)}, {std::nullopt}};
    for (const Settings& settings : cases) {
        const std::string text = settingsText(settings);
        const SettingsReading read = parseSettings(text);
        EXPECT_EQ(read.problem, "") << text;
        EXPECT_EQ(read.settings, settings) << text;
    }
    // Written by hand: CRLF line ends, comments of both kinds, blanks around keys and values.
    const SettingsReading byHand =
        parseSettings("; mine\r\n  format=1 \r\n[ start ]\r\n view\t= single\r\n# Zantor "
                      "\xc3\xa9quipe E\r\ncrew =54\r\n");
    EXPECT_EQ(byHand.problem, "");
    EXPECT_EQ(byHand.settings, Settings{single(54)});
}

// Each damaged text gives no crew and one line that says why.
TEST(SettingsFileTest, ADamagedFileIsNoCrewAndOneLine) {
    const std::string start = "format = 1\n[start]\n";
    const std::pair<std::string, std::string> cases[] = {
        {"", "empty"},
        {std::string("format = 1\n\0\x01\x02\n", 15), "not a text file"},
        {"format = 1\n# \xff\xfe\n", "not a text file"},
        {"format = 1\n# \xc0\xaf overlong\n", "not a text file"},
        {start + "view = single\ncrew = 83.2", "cut short"},
        {start + "view = single\ncrew = 83.2\ncolour = red\n", "line 5: unknown key 'colour'"},
        {"format = 1\ncrew = 83.2\n", "line 2: unknown key 'crew'"},
        {start + "view = single\ncrew = 83.2\n[feeds]\n", "line 5: unknown section"},
        {start + "view = single\ncrew = 83.2\n[start]\n", "line 5: unknown section"},
        {start + "view = single\ncrew = 83.2\ncrew = 12\n",
         "line 5: the key 'crew' is given twice"},
        {start + "view = single\ncrew = 15\n", "line 4: no crew has this code"},
        {start + "view = single\ncrew = 80.0\n", "line 4: no crew has this code"},
        {start + "view = single\ncrew = Corvath/401-404/403\n", "line 4: no crew has this code"},
        {start + "view = single\ncrew = 0\n", "line 4: no crew has this code"},
        {start + "view = side-by-side\nleft = 14\nright = 12\n", "line 4: an all-crews entry"},
        {start + "view = side-by-side\nleft = 0\nright = 0\n", "neither side has a crew"},
        {start + "view = side-by-side\nleft = 12\n", "no right crew is named"},
        {start + "view = single\n", "no crew is named"},
        {start + "view = single\ncrew = 12\nleft = 13\n", "line 5: the key 'left' does not belong"},
        {start + "view = triple\ncrew = 12\n", "line 3: unknown view"},
        {start + "crew = 12\n", "the [start] section has no view"},
        {"format = 2\n[start]\nview = single\nshade = dark\n", "newer version of the program"},
        {"format = one\n", "line 1: the format is not a version number"},
        {"[start]\nview = single\ncrew = 12\n", "no format line"},
        {start + "view = single\ncrew 12\n", "line 4: not a setting"},
    };
    for (const auto& [text, why] : cases) {
        const SettingsReading read = parseSettings(text);
        EXPECT_EQ(read.settings, Settings{}) << text;
        EXPECT_NE(read.problem.find(why), std::string::npos) << read.problem;
        EXPECT_TRUE(read.problem.ends_with("no crew is remembered")) << read.problem;
        EXPECT_EQ(read.problem.find('\n'), std::string::npos) << read.problem;
    }
}

// A file cut short anywhere never gives a crew: only the whole file does.
TEST(SettingsFileTest, EveryCutOfAFileGivesNoCrew) {
    for (const Settings& settings : {Settings{single(83.2)}, Settings{sides(74, 70.1)}}) {
        const std::string text = settingsText(settings);
        for (std::size_t size = 0; size < text.size(); ++size) {
            EXPECT_FALSE(parseSettings(text.substr(0, size)).settings.start) << size;
        }
    }
}

TEST(SettingsFileTest, WrittenWholeWithTheModesOfTheBaseDirectoryRules) {
    const ScratchFolder scratch;
    const fs::path file = scratch.path / "config" / "kelsing-schedule" / "settings.ini";
    EXPECT_EQ(readSettings(file).problem, "");
    EXPECT_FALSE(fs::exists(file.parent_path())); // reading makes nothing
    const mode_t umask = ::umask(022);
    writeSettings(file, {single(83.2)});
    EXPECT_EQ(readSettings(file).settings, Settings{single(83.2)});
    struct stat status {};
    ASSERT_EQ(::stat(file.parent_path().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
    // A mode the user set stays; a link stays a link to the file it names.
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path link = scratch.path / "link.ini";
    fs::create_symlink(file, link);
    writeSettings(link, {sides(74, 0)});
    ::umask(umask);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readSettings(file).settings, Settings{sides(74, 0)});
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    // Forgetting removes the file, and a forgotten file is no failure.
    writeSettings(file, {});
    EXPECT_FALSE(fs::exists(file));
    writeSettings(file, {});
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), {}), 0);
}

TEST(SettingsFileTest, WhatIsNoFileIsToldAndNeverWaitedOn) {
    const ScratchFolder scratch;
    const fs::path fifo = scratch.path / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path big = scratch.path / "big.ini";
    std::ofstream(big) << settingsText({single(12)}) << std::string(kSettingsSizeLimit, '#');
    for (const fs::path& file : {fifo, scratch.path, big}) {
        const SettingsReading read = readSettings(file);
        EXPECT_EQ(read.settings, Settings{});
        EXPECT_TRUE(read.problem.starts_with(file.string() + ": ")) << read.problem;
    }
    // A folder that cannot be made, and a folder in the file's place: a failure naming it, and
    // nothing left behind.
    EXPECT_THROW(writeSettings(big / "kelsing-schedule" / "settings.ini", {single(12)}),
                 StoreError);
    fs::create_directories(scratch.path / "taken" / "inside");
    try {
        writeSettings(scratch.path / "taken", {single(12)});
        ADD_FAILURE() << "a folder was replaced";
    } catch (const StoreError& error) {
        EXPECT_NE(std::string(error.what()).find("taken"), std::string::npos) << error.what();
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path), {}), 3); // fifo, big, taken
}

// Two writers at once: a reader sees one whole file or the other, never a mix, and the last
// complete file stays.
TEST(SettingsFileTest, TwoWritersAtOnceNeverMix) {
    const ScratchFolder scratch;
    const fs::path file = scratch.path / "settings.ini";
    const Settings a{single(83.2)};
    const Settings b{sides(74, 70.1)};
    writeSettings(file, a);
    std::atomic<bool> done = false;
    std::atomic<int> mixed = 0;
    std::thread reader([&] {
        while (!done) {
            const SettingsReading read = readSettings(file);
            mixed += read.problem.empty() && (read.settings == a || read.settings == b) ? 0 : 1;
        }
    });
    std::vector<std::thread> writers;
    for (const Settings* settings : {&a, &b}) {
        writers.emplace_back([&file, settings] {
            for (int i = 0; i < 200; ++i) {
                writeSettings(file, *settings);
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    done = true;
    reader.join();
    EXPECT_EQ(mixed, 0);
    const Settings last = readSettings(file).settings;
    EXPECT_TRUE(last == a || last == b);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path), {}), 1); // no temporary file
}

} // namespace
