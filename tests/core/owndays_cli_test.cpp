// SPDX-License-Identifier: GPL-3.0-or-later
// kelsing-shifts days, and the own days in month, today and ics: the real executable with a
// data folder of the test's own.

#include "icalreading.h"
#include "sqlitecli.h"
#include "testsupport.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string shellQuoted(std::string_view text) {
    std::string out = "'";
    for (const char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A home of the test's own: the tool keeps its settings and own days there.
class DaysCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_home = std::filesystem::temp_directory_path() /
                 ("kelsing-days-" + std::to_string(::getpid()) + '-' +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_home);
        std::filesystem::create_directories(m_home);
    }
    void TearDown() override { std::filesystem::remove_all(m_home); }

    std::filesystem::path store() const { return m_home / "data/kelsing-schedule/days.sqlite"; }

    Outcome run(const std::vector<std::string>& args, const std::string& input = {}) const {
        const std::filesystem::path err = m_home / "stderr";
        const std::filesystem::path in = m_home / "stdin";
        std::ofstream(in, std::ios::binary) << input;
        std::string command = "env XDG_DATA_HOME=" + shellQuoted((m_home / "data").string()) +
                              " XDG_CONFIG_HOME=" + shellQuoted((m_home / "config").string()) +
                              ' ' + shellQuoted(KELSING_SHIFTS_EXE);
        for (const std::string& arg : args) {
            command += ' ' + shellQuoted(arg);
        }
        command += " <" + shellQuoted(in.string()) + " 2>" + shellQuoted(err.string());
        Outcome outcome;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            outcome.out.append(buffer, n);
        }
        const int status = pipe ? ::pclose(pipe) : -1;
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.err = readFile(err);
        return outcome;
    }

    // Runs the tool and expects it to succeed; its output.
    std::string ok(const std::vector<std::string>& args, const std::string& input = {}) const {
        const Outcome outcome = run(args, input);
        EXPECT_EQ(outcome.status, 0) << args.front() << ": " << outcome.err;
        EXPECT_EQ(outcome.err, "");
        return outcome.out;
    }

    std::filesystem::path m_home;
};

const std::string kMarch = "2007-03-12\tleave\t\tdentist, 9:00\n"
                           "2007-03-14\tswap\tAfternoons\t\n"
                           "2007-03-16\textra\tDays (12)\tcover for \xc3\x85sa\n"
                           "2007-03-20\tnote\t\tpay day\n";

TEST_F(DaysCommandTest, EntriesShowOnTheRememberedCrew) {
    EXPECT_EQ(ok({"days", "list"}), "");
    EXPECT_FALSE(std::filesystem::exists(m_home / "data")) << "reading made the store";
    ok({"days", "set", "2007-03-12", "sick", "--note", "dentist, 9:00"});
    ok({"days", "set", "2007-03-12", "leave"}); // the note stays
    ok({"days", "set", "2007-03-14", "swap", "Afternoons"});
    ok({"days", "set", "2007-03-16", "extra", "Days (12)", "--note=cover for \xc3\x85sa"});
    ok({"days", "set", "2007-03-20", "note", "--note", "pay day"});
    ok({"days", "set", "2007-03-21", "sick"});
    ok({"days", "clear", "2007-03-21"});
    ok({"days", "clear", "2007-03-22"}); // nothing to clear is no fault
    EXPECT_EQ(ok({"days", "list"}), kMarch);
    EXPECT_EQ(
        ok({"days", "list", "--from", "2007-03-13", "--to", "2007-03-16"}),
        "2007-03-14\tswap\tAfternoons\t\n2007-03-16\textra\tDays (12)\tcover for \xc3\x85sa\n");
    EXPECT_EQ(test::sqliteShell(store(), "PRAGMA integrity_check;"), "ok\n");

    ok({"remember", "--crew", "Corvath/401-404/403"});
    const std::string month = ok({"month", "2007-03", "--plain"});
    EXPECT_NE(month.find("2007-03-12\tMonday\t\tDays\tleave\t\tdentist, 9:00\n"), std::string::npos)
        << month;
    EXPECT_NE(month.find("2007-03-13\tTuesday\t\tDays\n"), std::string::npos) << month;
    EXPECT_EQ(ok({"today", "--from", "2007-03-12", "--days", "3", "--color", "never"}),
              "Mon 12 Mar: Days [Leave: dentist, 9:00] \xc2\xb7 Tue 13 Mar: Days \xc2\xb7 "
              "Wed 14 Mar: Nights [Swap Afternoons]\n");
    // A colleague's crew never shows them.
    const std::string other = ok({"month", "2007-03", "--crew", "83.1", "--plain"});
    EXPECT_EQ(other.find("leave"), std::string::npos) << other;
    EXPECT_EQ(ok({"days", "summary", "2007-03"}),
              "Days\t7\nNights\t7\nAfternoons\t1\nDays (12)\t1\nShifts worked\t16\n"
              "Leave days\t1\nSick days\t0\nSwapped shifts\t1\nExtra shifts\t1\n");
}

struct BadCase {
    std::vector<std::string> args;
    std::string message;
};

void PrintTo(const BadCase& c, std::ostream* os) {
    for (const std::string& arg : c.args) {
        *os << arg << ' ';
    }
}

class BadDaysInput : public DaysCommandTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadDaysInput, Status2OneLineAndNothingKept) {
    std::vector<std::string> args = {"days"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const Outcome outcome = run(args);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "kelsing-shifts: " + GetParam().message + '\n');
    EXPECT_EQ(outcome.out, "");
    EXPECT_FALSE(std::filesystem::exists(m_home / "data"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadDaysInput,
    ::testing::Values(
        BadCase{{}, "missing ACTION (set, clear, list, summary, export or import)"},
        BadCase{{"keep"},
                "unknown action (expected set, clear, list, summary, export or import) 'keep'"},
        BadCase{{"set", "2007-03-12", "holiday"},
                "unknown kind (expected leave, sick, swap, extra or note) 'holiday'"},
        BadCase{{"set", "2007-03-12", "swap", "Lates"},
                "unknown shift (expected Days, Nights, Afternoons, Training, 'Days (8)', "
                "'Days (12)' or Off) 'Lates'"},
        BadCase{{"set", "2007-03-12", "swap"}, "missing SHIFT: a swap names the shift"},
        BadCase{{"set", "2007-03-12", "leave", "Days"}, "a leave takes no shift: 'Days'"},
        BadCase{{"set", "2007-03-12", "extra", "Off"}, "an extra shift cannot be 'Off'"},
        BadCase{{"set", "0099-12-31", "leave"},
                "invalid date (expected YYYY-MM-DD, years 0100..9999) '0099-12-31'"},
        BadCase{{"set", "2007-02-29", "leave"},
                "invalid date (expected YYYY-MM-DD, years 0100..9999) '2007-02-29'"},
        BadCase{{"set", "2007-03-12", "note"}, "missing --note: a note needs its text"},
        BadCase{{"set", "2007-03-12", "sick", "--note", std::string(201, 'x')},
                "invalid --note (the note has 201 characters (at most 200)): '" +
                    std::string(60, 'x') + "...'"},
        BadCase{{"set", "2007-03-12", "sick", "--note", "a\tb"},
                "invalid --note (the note holds a control character): 'a\\tb'"},
        BadCase{{"set", "2007-03-12"}, "missing DATE and KIND"},
        BadCase{{"clear", "2007-03-12", "--note", "x"}, "'days clear' does not take --note"},
        BadCase{{"list", "--from", "2007-03-12", "--to", "2007-03-11"}, "--to is before --from"},
        BadCase{{"summary", "2007-13"},
                "invalid period (expected YEAR or YEAR-MM, years 0100..9999) '2007-13'"},
        BadCase{{"summary", "2007"},
                "missing --crew (no crew is remembered: 'kelsing-shifts remember --crew CREW' "
                "remembers one)"},
        BadCase{{"summary", "2007", "--crew", "Brenmoor/All Crews"},
                "an all-crews entry has no shifts of its own to count: 'Brenmoor All Crews'"},
        BadCase{{"import"}, "missing FILE"}));

// The year's plain lines stay the twelve months' with entries at both ends of a leap year; two
// crews side by side carry none.
TEST_F(DaysCommandTest, ThePlainYearIsTheTwelveMonthsWithEntries) {
    ok({"days", "set", "2008-01-01", "sick"});
    ok({"days", "set", "2008-02-29", "extra", "Nights", "--note", "cover"});
    ok({"days", "set", "2008-12-31", "note", "--note", "party"});
    const std::pair<std::vector<std::string>, std::size_t> views[] = {
        {{"--crew", "83.2"}, 3}, {{"--left", "83.2", "--right", "74"}, 0}};
    for (const auto& [crews, entries] : views) {
        std::vector<std::string> args = {"year", "2008", "--plain"};
        args.insert(args.end(), crews.begin(), crews.end());
        const std::string year = ok(args);
        std::string months;
        for (int month = 1; month <= 12; ++month) {
            std::vector<std::string> monthArgs = {
                "month", (month < 10 ? "2008-0" : "2008-") + std::to_string(month), "--plain"};
            monthArgs.insert(monthArgs.end(), crews.begin(), crews.end());
            months += ok(monthArgs);
        }
        EXPECT_EQ(year, months);
        std::size_t found = 0;
        for (const char* kind : {"\tsick\t\t\n", "\textra\tNights\tcover\n", "\tnote\t\tparty\n"}) {
            found += year.find(kind) != std::string::npos ? 1 : 0;
        }
        EXPECT_EQ(found, entries) << crews.front();
    }
}

TEST_F(DaysCommandTest, ADamagedStoreIsNamedAndLeftAsItIs) {
    std::filesystem::create_directories(store().parent_path());
    std::ofstream(store()) << "not a store of own days\n" << std::string(1000, '\x7f');
    const std::string before = readFile(store());
    ok({"remember", "--crew", "83.2"});
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"days", "list"},
          {"days", "set", "2007-03-12", "leave"},
          {"days", "import", "-"},
          {"month", "2007-03"},
          {"ics", "--from", "2007-03-01", "--to", "2007-03-31", "--with-own-days"}}) {
        const Outcome outcome = run(args, "kelsing-own-days 1\n2007-03-12\tleave\t\t\n");
        EXPECT_EQ(outcome.status, 1) << args[1];
        EXPECT_EQ(outcome.err.rfind("kelsing-shifts: " + store().string() + ": ", 0), 0u)
            << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    }
    EXPECT_TRUE(readFile(store()) == before);
}

TEST_F(DaysCommandTest, ABackupMovesEveryEntryAndABadOneNothing) {
    ok({"days", "import", "-"}, "kelsing-own-days 1\n" + kMarch);
    EXPECT_EQ(ok({"days", "list"}), kMarch);
    const std::filesystem::path backup = m_home / "backup.txt";
    ok({"days", "export", "-o", backup.string()});
    // Another machine: a new home, and the backup read there.
    std::filesystem::remove_all(m_home / "data");
    ok({"days", "import", backup.string()});
    EXPECT_EQ(ok({"days", "list"}), kMarch);
    EXPECT_EQ(ok({"days", "export"}), readFile(backup));

    const std::string bad = "kelsing-own-days 1\n"
                            "2007-04-01\tleave\t\t\n"
                            "2007-04-02\tsick\tNights\t\n"
                            "2007-04-31\tleave\t\t\n";
    // A short name, which a message quotes whole.
    const std::filesystem::path badFile =
        std::filesystem::temp_directory_path() / ("kd-" + std::to_string(::getpid()));
    std::ofstream(badFile) << bad;
    const Outcome outcome = run({"days", "import", badFile.string()});
    std::filesystem::remove(badFile);
    EXPECT_EQ(outcome.status, 2);
    const std::string file = "'" + badFile.string() + "'";
    EXPECT_EQ(outcome.err, "kelsing-shifts: " + file + ": line 3: a sick has no shift\n" +
                               "kelsing-shifts: " + file +
                               ": line 4: the date is not YYYY-MM-DD in the years 0100..9999\n" +
                               "kelsing-shifts: " + file + ": nothing was imported (2 problems)\n");
    EXPECT_EQ(ok({"days", "list"}), kMarch);
}

TEST_F(DaysCommandTest, TheCalendarFileCarriesThemForLibical) {
    ok({"days", "import", "-"}, "kelsing-own-days 1\n" + kMarch);
    const std::string calendar = ok(
        {"ics", "--crew", "83.2", "--from", "2007-03-01", "--to", "2007-03-31", "--with-own-days"});
    std::map<std::string, test::ParsedEvent> byUid;
    for (const test::ParsedEvent& event : test::parseCalendar(calendar)) {
        byUid[event.uid] = event;
    }
    EXPECT_EQ(byUid.at("20070312-own-crew83.2@kelsing-shifts").summary, "Leave");
    EXPECT_EQ(byUid.at("20070312-own-crew83.2@kelsing-shifts").description, "dentist, 9:00");
    EXPECT_EQ(byUid.at("20070314-crew83.2@kelsing-shifts").summary, "Afternoons (swap)");
    EXPECT_EQ(byUid.at("20070316-own-crew83.2@kelsing-shifts").description, "cover for \xc3\x85sa");
    EXPECT_EQ(byUid.at("20070320-crew83.2@kelsing-shifts").description, "pay day");
    // Without the option, the file is the rotation's alone.
    const std::string plain =
        ok({"ics", "--crew", "83.2", "--from", "2007-03-01", "--to", "2007-03-31"});
    EXPECT_EQ(plain.find("own"), std::string::npos);
}

} // namespace
} // namespace kelsing
