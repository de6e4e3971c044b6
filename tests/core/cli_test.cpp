// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end tests of the kelsing-shifts command: the real executable, its output and its exit
// status.

#include "base/version.h"
#include "testsupport.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <libical/ical.h>
#include <map>
#include <ostream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

using kelsing::test::linesOf;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string shellQuoted(std::string_view arg) {
    std::string text = "'";
    for (const char c : arg) {
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return text + "'";
}

// How the command is run, besides its arguments.
struct Invocation {
    std::string environment = {}; // assignments (or a command such as setpriv) in front of it
    std::string input = {};       // its standard input
    std::string tail = {};        // shell text after it: a redirection or a pipe
    bool terminal = false;        // standard output on a pseudo-terminal, through script(1)
};

std::filesystem::path scratchPath(const std::string& suffix) {
    return std::filesystem::temp_directory_path() /
           ("kelsing-shifts-test-" + std::to_string(::getpid()) + suffix);
}

// Runs the command with the given arguments.
Outcome runTool(const std::vector<std::string>& args, const Invocation& how = {}) {
    const std::filesystem::path errPath = scratchPath(".err");
    const std::filesystem::path inPath = scratchPath(".in");
    std::ofstream(inPath, std::ios::binary) << how.input;
    std::string command = how.environment + " " + shellQuoted(KELSING_SHIFTS_EXE);
    for (const std::string& arg : args) {
        command += " " + shellQuoted(arg);
    }
    command += " <" + shellQuoted(inPath.string()) + " 2>" + shellQuoted(errPath.string()) + " " +
               how.tail;
    if (how.terminal) {
        command = "script -qec " + shellQuoted(command) + " /dev/null";
    }
    Outcome outcome;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return outcome;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        outcome.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream errFile(errPath);
    outcome.err.assign(std::istreambuf_iterator<char>(errFile), std::istreambuf_iterator<char>());
    std::filesystem::remove(errPath);
    std::filesystem::remove(inPath);
    return outcome;
}

std::string joined(const std::vector<std::string>& args) {
    std::string text;
    for (const std::string& arg : args) {
        text += (text.empty() ? "" : " ") + arg;
    }
    return text;
}

// ---------------------------------------------------------------------------------------------
// shift

struct ShiftCase {
    std::vector<std::string> args;
    std::string out;
};

void PrintTo(const ShiftCase& c, std::ostream* os) {
    for (const std::string& arg : c.args) {
        *os << arg << " ";
    }
}

class ShiftCommandTable : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(ShiftCommandTable, OneLinePerDateInTheOrderGiven) {
    const ShiftCase& c = GetParam();
    std::vector<std::string> args = {"shift"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome outcome = runTool(args);
    EXPECT_EQ(outcome.status, 0) << joined(args) << ": " << outcome.err;
    EXPECT_EQ(outcome.out, c.out) << joined(args);
    EXPECT_EQ(outcome.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Crews, ShiftCommandTable,
    ::testing::Values(
        ShiftCase{{"--crew", "14", "2007-01-01"}, "2007-01-01\tAO BO CD DN\n"},
        ShiftCase{{"--crew", "Brenmoor/All Crews", "2007-01-01"}, "2007-01-01\tAO BO CD DN\n"},
        ShiftCase{{"--crew", "Corvath/401-404/403", "2007-01-01"}, "2007-01-01\tOff\n"},
        ShiftCase{{"--crew", "80.2", "2007-01-01"}, "2007-01-01\tDays\n"},
        ShiftCase{{"--crew", "84.9", "2007-01-01"}, "2007-01-01\t6O 7D 8D 9O\n"},
        ShiftCase{{"--crew", "Tobrin's/All X Crews", "2007-01-01"}, "2007-01-01\tAO BN CO DD\n"},
        ShiftCase{{"--crew", "Halvex/P (6-9)/P-6", "2007-01-01"}, "2007-01-01\tDays (12)\n"},
        ShiftCase{{"--crew", "10", "1994-05-09", "1994-05-13", "1994-05-08", "1994-05-09"},
                  "1994-05-09\tOff\n1994-05-13\tDays\n1994-05-08\tNights\n1994-05-09\tOff\n"},
        ShiftCase{{"--crew", "12", "0100-01-01", "9999-12-31"},
                  "0100-01-01\tNights\n9999-12-31\tDays\n"},
        ShiftCase{{"--code", "73", "--sub", "1", "2007-01-01"}, "2007-01-01\tOff\n"},
        ShiftCase{{"--sub", "4", "--code", "72", "2007-01-01"}, "2007-01-01\tIO JN KD LO\n"},
        ShiftCase{{"--code", "73", "--sub", "-4681", "2007-01-01"}, "2007-01-01\tOff\n"},
        // no label is an empty field, not an error
        ShiftCase{{"--code", "0", "--sub", "0", "2007-01-01"}, "2007-01-01\t\n"},
        ShiftCase{{"--code", "70", "--sub", "5", "2007-01-01", "2007-01-02"},
                  "2007-01-01\t\n2007-01-02\t\n"}));

// ---------------------------------------------------------------------------------------------
// holidays and crews

TEST(HolidaysCommandTest, Year2007) {
    const Outcome outcome = runTool({"holidays", "2007"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "2007-01-01\tNew Years Day\n"
                           "2007-02-19\tFamily Day\n"
                           "2007-03-11\tDST Starts\n"
                           "2007-04-06\tGood Friday\n"
                           "2007-04-08\tEaster Sunday\n"
                           "2007-05-21\tVictoria Day\n"
                           "2007-07-01\tCanada Day\n"
                           "2007-08-06\tHeritage Day\n"
                           "2007-09-03\tLabour Day\n"
                           "2007-10-08\tThanks giving Day\n"
                           "2007-11-04\tDST Ends\n"
                           "2007-11-11\tRemem- brance Day\n"
                           "2007-12-25\tXmas Day\n"
                           "2007-12-26\tBoxing Day\n");
}

TEST(HolidaysCommandTest, EasterOnTheClockChangeAndTheEndYears) {
    const Outcome y1999 = runTool({"holidays", "1999"});
    EXPECT_EQ(y1999.status, 0);
    EXPECT_EQ(linesOf(y1999.out).size(), 13u);
    EXPECT_NE(y1999.out.find("1999-04-04\tDST Starts\n"), std::string::npos);
    EXPECT_EQ(y1999.out.find("Easter Sunday"), std::string::npos);
    for (const char* year : {"100", "0100", "9999"}) {
        const Outcome outcome = runTool({"holidays", year});
        EXPECT_EQ(outcome.status, 0) << year;
        EXPECT_EQ(linesOf(outcome.out).size(), 14u) << year;
    }
}

TEST(CrewsCommandTest, EveryCrewInCatalogueOrderWhateverTheLocale) {
    const Outcome outcome = runTool({"crews"});
    ASSERT_EQ(outcome.status, 0);
    const std::vector<std::string> lines = linesOf(outcome.out);
    ASSERT_EQ(lines.size(), 70u);
    EXPECT_EQ(lines[0], "10\tBrenmoor\t\tA Crew");
    EXPECT_EQ(lines[4], "14\tBrenmoor\t\tAll Crews");
    EXPECT_EQ(lines[5], "50\tZantor\t\tA Crew");
    EXPECT_EQ(lines[10], "70\tHalvex\tAA-DD\tAA");
    EXPECT_EQ(lines[11], "70.1\tHalvex\tAA-DD\tBB");
    EXPECT_EQ(lines[36], "80\tCorvath\t1-4\t1");
    EXPECT_EQ(lines[59], "84.9\tCorvath\t501-509\tAll 506-509");
    EXPECT_EQ(lines[69], "99\tTobrin's\t\tAll X Crews");
    for (const std::string& line : lines) {
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 3) << line;
        EXPECT_EQ(line.find(','), std::string::npos) << line;
        EXPECT_EQ(line.find('\r'), std::string::npos) << line;
    }
    for (const char* locale :
         {"LC_ALL=de_DE.UTF-8", "LC_ALL=fr_FR.UTF-8 LC_NUMERIC=fr_FR.UTF-8", "LANG=de_DE.UTF-8"}) {
        const Outcome localised = runTool({"crews"}, {locale});
        EXPECT_EQ(localised.status, 0) << locale;
        EXPECT_EQ(localised.out, outcome.out) << locale;
    }
}

TEST(CrewsCommandTest, EveryListedCrewIsAcceptedByCodeAndByPath) {
    const std::vector<std::string> lines = linesOf(runTool({"crews"}).out);
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines) {
        std::vector<std::string> fields;
        std::istringstream in(line);
        for (std::string field; std::getline(in, field, '\t');) {
            fields.push_back(field);
        }
        ASSERT_EQ(fields.size(), 4u) << line;
        const std::string path =
            fields[1] + "/" + (fields[2].empty() ? "" : fields[2] + "/") + fields[3];
        const Outcome byCode = runTool({"shift", "--crew", fields[0], "2007-01-01"});
        const Outcome byPath = runTool({"shift", "--crew", path, "2007-01-01"});
        EXPECT_EQ(byCode.status, 0) << line;
        EXPECT_EQ(byPath.status, 0) << path;
        EXPECT_EQ(byCode.out, byPath.out) << line;
        EXPECT_GT(byCode.out.size(), std::string("2007-01-01\t\n").size()) << line;
    }
}

TEST(HelpTest, UsageOnStandardOutput) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"},
                                                 {"shift", "--help"},
                                                 {"holidays", "--help"},
                                                 {"crews", "--help"}}) {
        const Outcome outcome = runTool(args);
        EXPECT_EQ(outcome.status, 0) << joined(args);
        EXPECT_EQ(outcome.out.rfind("Usage:", 0), 0u) << joined(args);
    }
}

// ---------------------------------------------------------------------------------------------
// Bad input and engine errors: a one-line message naming the argument, and no output at all.

struct FailureCase {
    std::vector<std::string> args;
    int status;
    std::string named; // what the message must name
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    for (const std::string& arg : c.args) {
        *os << arg << " ";
    }
}

class FailureTable : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailureTable, ExitStatusAndMessage) {
    const FailureCase& c = GetParam();
    const Outcome outcome = runTool(c.args);
    EXPECT_EQ(outcome.status, c.status) << joined(c.args);
    EXPECT_EQ(outcome.out, "") << joined(c.args);
    EXPECT_NE(outcome.err.find(c.named), std::string::npos) << outcome.err;
    ASSERT_FALSE(outcome.err.empty());
    EXPECT_EQ(outcome.err.back(), '\n');
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, FailureTable,
    ::testing::Values(
        FailureCase{{"frobnicate"}, 2, "frobnicate"},
        FailureCase{{"--frobnicate"}, 2, "--frobnicate"},
        FailureCase{{"shift", "--colour", "red", "2007-01-01"}, 2, "--colour"},
        FailureCase{{"shift", "--crew", "10", "2007-02-30"}, 2, "2007-02-30"},
        FailureCase{{"shift", "--crew", "10", "2007-01-01", "2007-02-30"}, 2, "2007-02-30"},
        FailureCase{{"shift", "--crew", "10", "2007-1-01"}, 2, "2007-1-01"},
        FailureCase{{"shift", "--crew", "10", "0099-12-31"}, 2, "0099-12-31"},
        FailureCase{{"shift", "--crew", "10", "10000-01-01"}, 2, "10000-01-01"},
        FailureCase{{"holidays", "0099"}, 2, "0099"},
        FailureCase{{"holidays", "10000"}, 2, "10000"},
        FailureCase{{"holidays", "20o7"}, 2, "20o7"},
        FailureCase{{"shift", "--code", "40000", "--sub", "0", "2007-01-01"}, 2, "40000"},
        FailureCase{{"shift", "--code", "10", "--sub", "1.5", "2007-01-01"}, 2, "1.5"},
        FailureCase{{"shift", "--crew", "Tarsk/A Crew", "2007-01-01"}, 2, "Tarsk/A Crew"},
        FailureCase{{"shift", "--crew", "80.0", "2007-01-01"}, 2, "80.0"},
        FailureCase{{"shift", "--crew", "15", "2007-01-01"}, 2, "15"},
        FailureCase{{"shift", "--crew", "Corvath/401-404", "2007-01-01"}, 2, "Corvath/401-404"},
        FailureCase{{"shift", "--crew", "Brenmoor/A Crew/", "2007-01-01"}, 2, "Brenmoor/A Crew/"},
        FailureCase{{"shift", "--crew"}, 2, "--crew"}, FailureCase{{"crews", "extra"}, 2, "extra"},
        FailureCase{{"shift", "--crew", "14"}, 2, "DATE"}, // and nothing on standard input
        FailureCase{{"shift", "--code", "10", "2007-01-01"}, 2, "--sub"},
        FailureCase{
            {"shift", "--crew", "10", "--code", "10", "--sub", "0", "2007-01-01"}, 2, "--crew"},
        // the engine's offset overflow, after a date that would have worked
        FailureCase{{"shift", "--code", "73", "--sub", "5000", "2007-01-01"}, 1, "overflow"},
        FailureCase{{"shift", "--code", "75", "--sub", "-2341", "2007-01-01"}, 1, "overflow"},
        FailureCase{{"month", "2007-13"}, 2, "2007-13"},
        FailureCase{{"month", "0099-12"}, 2, "0099-12"},
        FailureCase{{"month", "2007-03", "2007-04"}, 2, "2007-04"},
        FailureCase{{"month", "2007-03", "--crew", "Tarsk/A Crew"}, 2, "Tarsk/A Crew"},
        FailureCase{{"month", "2007-03", "--crew", "14", "--left", "12"}, 2, "--crew"},
        FailureCase{{"month", "--plain"}, 2, "YYYY-MM"},
        FailureCase{{"month", "2007-03", "--left", "Corvath/501-509/All 506-509"},
                    2,
                    "Corvath All 506-509"},
        FailureCase{{"year", "0099"}, 2, "0099"}, FailureCase{{"year", "10000"}, 2, "10000"},
        FailureCase{{"year", "--crew", "14"}, 2, "YEAR"},
        FailureCase{{"year", "2007", "2008"}, 2, "2008"},
        FailureCase{{"year", "2007", "--crew", "14", "--right", "12"}, 2, "--crew"},
        FailureCase{{"ics", "--crew", "14", "--from", "2007-03-01"}, 2, "--to"},
        FailureCase{
            {"ics", "--crew", "14", "--from", "2007-03-02", "--to", "2007-03-01"}, 2, "--to"},
        FailureCase{
            {"ics", "--crew", "14", "--from", "2007-02-30", "--to", "2007-03-01"}, 2, "2007-02-30"},
        FailureCase{{"ics", "--crew", "14", "--from", "2007-03-01", "--to", "2007-03-02", "-o",
                     "/nonexistent-folder/x.ics"},
                    1,
                    "/nonexistent-folder/x.ics"}));

TEST(FailureTest, NoArgumentsIsBadInput) {
    const Outcome outcome = runTool({});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("Usage:"), std::string::npos);
}

TEST(MonthCommandTest, FitsEightyColumnsWithoutColoursInAPipe) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"month", "2007-03", "--crew", "Brenmoor/All Crews"},
          {"month", "2007-11", "--left", "Halvex/P (6-9)/P-7", "--right", "Halvex/AA-DD/BB"},
          {"month", "9999-12"}}) {
        SCOPED_TRACE(joined(args));
        const Outcome outcome = runTool(args, {"NO_COLOR="});
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out.find('\x1b'), std::string::npos);
        for (const std::string& line : linesOf(outcome.out)) {
            EXPECT_LE(line.size(), 80u) << line;
        }
    }
}

TEST(MonthCommandTest, PlainLinesAgreeWithTheShiftCommand) {
    const Outcome month = runTool({"month", "2007-03", "--crew", "83.2", "--plain"});
    ASSERT_EQ(month.status, 0) << month.err;
    const std::vector<std::string> lines = linesOf(month.out);
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[10], "2007-03-11\tSunday\tDST Starts\tOff");
    for (const std::string& line : lines) {
        const std::string date = line.substr(0, 10);
        const std::string shift = linesOf(runTool({"shift", "--crew", "83.2", date}).out).at(0);
        EXPECT_EQ(line.substr(line.rfind('\t') + 1), shift.substr(11)) << line;
    }
}

TEST(IcsCommandTest, WritesTheFileAndKeepsUidsAcrossExports) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("kelsing-shifts-test-" + std::to_string(::getpid()) + ".ics");
    const std::vector<std::string> args = {"ics",        "--crew",     "Corvath/401-404/403",
                                           "--from",     "2007-03-01", "--to",
                                           "2007-03-31", "-o",         file.string()};
    ASSERT_EQ(runTool(args).status, 0);
    std::ifstream first(file, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(first)), {});
    const Outcome again =
        runTool({"ics", "--crew", "83.2", "--from", "2007-03-01", "--to", "2007-03-31"});
    std::filesystem::remove(file);
    ASSERT_EQ(again.status, 0);
    const auto uids = [](const std::string& text) {
        std::vector<std::string> found;
        for (const std::string& line : linesOf(text)) {
            if (line.starts_with("UID:")) {
                found.push_back(line);
            }
        }
        return found;
    };
    EXPECT_EQ(uids(written).size(), 16u); // the working days of March 2007
    EXPECT_EQ(uids(written), uids(again.out));
    EXPECT_TRUE(written.starts_with("BEGIN:VCALENDAR\r\n"));
}

// ---------------------------------------------------------------------------------------------
// GNU conventions, standard input, colours and write failures: exit status and streams.

struct ConventionCase {
    std::vector<std::string> args;
    Invocation how;
    int status;
    std::string out; // standard output exactly, or a part of it when `exact` is false
    std::string err; // a part of the one-line message; empty: no message at all
    bool exact = true;
    std::string outLacks = {}; // never in standard output
};

void PrintTo(const ConventionCase& c, std::ostream* os) {
    *os << c.how.environment << " " << joined(c.args) << " " << c.how.tail;
}

class ConventionTable : public ::testing::TestWithParam<ConventionCase> {};

TEST_P(ConventionTable, StatusAndStreams) {
    const ConventionCase& c = GetParam();
    const Outcome outcome = runTool(c.args, c.how);
    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    if (c.exact) {
        EXPECT_EQ(outcome.out, c.out);
    } else {
        EXPECT_NE(outcome.out.find(c.out), std::string::npos) << outcome.out;
    }
    if (!c.outLacks.empty()) {
        EXPECT_EQ(outcome.out.find(c.outLacks), std::string::npos) << outcome.out;
    }
    if (c.err.empty()) {
        EXPECT_EQ(outcome.err, "");
        return;
    }
    EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
    // One clean line: nothing below a space but its line end, and valid UTF-8 (ASCII here).
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    EXPECT_TRUE(std::all_of(outcome.err.begin(), outcome.err.end() - 1, [](char ch) {
        return ch >= ' ' && ch < 0x7f;
    })) << outcome.err;
}

const std::string kOff = "2007-03-01\tOff\n";
const std::string kVersion = "kelsing-shifts 2.3.0\n";
const std::vector<std::string> kColourMonth = {"month", "2007-03", "--crew", "83.2"};

std::vector<std::string> with(std::vector<std::string> args, const std::string& extra) {
    args.push_back(extra);
    return args;
}

INSTANTIATE_TEST_SUITE_P(
    Gnu, ConventionTable,
    ::testing::Values(
        ConventionCase{{"shift", "--crew=83.2", "2007-03-01"}, {}, 0, kOff, ""},
        ConventionCase{{"shift", "2007-03-01", "--crew", "83.2"}, {}, 0, kOff, ""},
        ConventionCase{{"shift", "--crew", "83.2", "--", "2007-03-01"}, {}, 0, kOff, ""},
        ConventionCase{{"shift", "--crew", "83.2", "-o", "-", "2007-03-01"}, {}, 0, kOff, ""},
        ConventionCase{{"shift", "-o-", "--crew", "83.2", "2007-03-01"}, {}, 0, kOff, ""},
        ConventionCase{
            {"shift", "--code=73", "--sub=-4681", "2007-01-01"}, {}, 0, "2007-01-01\tOff\n", ""},
        ConventionCase{{"-V"}, {}, 0, kVersion, ""},
        ConventionCase{{"--version"}, {}, 0, kVersion, ""},
        ConventionCase{{"ics", "--version"}, {}, 0, kVersion, ""},
        ConventionCase{{"shift", "--frobnicate", "-V"}, {}, 0, kVersion, ""},
        ConventionCase{{"-h"}, {}, 0, "Usage: kelsing-shifts COMMAND", "", false},
        ConventionCase{{"month", "--bad", "-h"}, {}, 0, "Usage: kelsing-shifts month", "", false},
        ConventionCase{{"shift", "--crew", "14", "--", "--help"}, {}, 2, "", "'--help'"},
        // dates from standard input, and "-" where they go among the others
        ConventionCase{{"shift", "--crew", "10"},
                       {"", "1994-05-09\n1994-05-13\r\n"},
                       0,
                       "1994-05-09\tOff\n1994-05-13\tDays\n",
                       ""},
        ConventionCase{{"shift", "--crew", "10", "1994-05-08", "-", "1994-05-09"},
                       {"", "1994-05-13"},
                       0,
                       "1994-05-08\tNights\n1994-05-13\tDays\n1994-05-09\tOff\n",
                       ""},
        ConventionCase{{"shift", "--crew", "14"},
                       {"", "2007-01-01\n2007-02-30\n"},
                       2,
                       "2007-01-01\tAO BO CD DN\n",
                       "'2007-02-30'"},
        // a line longer than any date is refused at once, also one that never ends
        ConventionCase{{"shift", "--crew", "83.2"},
                       {"timeout 60", "", "</dev/full"},
                       2,
                       "",
                       "longer than 1024 bytes, starting '\\x00\\x00"},
        ConventionCase{{"shift", "--crew", "83.2"},
                       {"", std::string(1025, '7') + "\n2007-03-01\n"},
                       2,
                       "",
                       "longer than 1024 bytes"},
        ConventionCase{{"shift", "--crew", "83.2"},
                       {"", "2007-03-01\n" + std::string(1024, '7') + "\n"},
                       2,
                       kOff,
                       "invalid date"},
        // bad input: empty file names and repeated options
        ConventionCase{{"crews", "-o", ""}, {}, 2, "", "'--output'"},
        ConventionCase{{"crews", "--output="}, {}, 2, "", "'--output'"},
        ConventionCase{{"shift", "--crew", "10", "--crew", "14", "2007-01-01"},
                       {},
                       2,
                       "",
                       "'--crew' given more than once"},
        ConventionCase{{"month", "2007-03", "--plain=yes"}, {}, 2, "", "'--plain' takes no value"},
        // arguments in messages: escaped and shortened
        ConventionCase{{"shift", "--crew", "a\nb", "2007-01-01"}, {}, 2, "", "'a\\nb'"},
        ConventionCase{
            {"shift", "--crew", "\x1b]0;pwned\a", "2007-01-01"}, {}, 2, "", "'\\x1b]0;pwned\\x07'"},
        ConventionCase{{"holidays", "20\xff\xc3"}, {}, 2, "", "'20\\xff\\xc3'"},
        ConventionCase{{"holidays", "\xc2\x9b\xe2\x80\xae"}, {}, 2, "", "'\\u009b\\u202e'"},
        ConventionCase{{"shift", "--crew", std::string(500, 'x'), "2007-01-01"},
                       {},
                       2,
                       "",
                       "'" + std::string(60, 'x') + "...'"},
        // colours: 24-bit only when COLORTERM says so, else the nearest VGA colour (green 32)
        ConventionCase{with(kColourMonth, "--color=always"),
                       {"COLORTERM="},
                       0,
                       "\x1b[32mOff",
                       "",
                       false,
                       "38;2"},
        ConventionCase{with(kColourMonth, "--color=always"),
                       {"COLORTERM=truecolor TERM=dumb"},
                       0,
                       "\x1b[38;2;0;128;0mOff",
                       "",
                       false},
        ConventionCase{kColourMonth, {"TERM=xterm NO_COLOR=", "", "", true}, 0, "\x1b[", "", false},
        ConventionCase{
            kColourMonth, {"TERM=dumb NO_COLOR=", "", "", true}, 0, "Off", "", false, "\x1b"},
        ConventionCase{
            kColourMonth, {"TERM=xterm NO_COLOR=1", "", "", true}, 0, "Off", "", false, "\x1b"},
        ConventionCase{with(kColourMonth, "--color=never"),
                       {"TERM=xterm NO_COLOR=", "", "", true},
                       0,
                       "Off",
                       "",
                       false,
                       "\x1b"},
        ConventionCase{with(kColourMonth, "--color=sometimes"), {}, 2, "", "'sometimes'"},
        // write failures name the target and the reason; a reader that leaves is no failure
        ConventionCase{{"holidays", "2007"},
                       {"", "", ">/dev/full"},
                       1,
                       "",
                       "cannot write standard output: No space left on device"},
        ConventionCase{{"holidays", "2007", "-o", "/dev/full"},
                       {},
                       1,
                       "",
                       "cannot write '/dev/full': No space left on device"},
        ConventionCase{{"holidays", "2007", "-o", "/dev/null"}, {}, 0, "", ""},
        ConventionCase{{"ics", "--crew", "83.2", "--from", "0100-01-01", "--to", "9999-12-31"},
                       {"", "", "| head -c 64"},
                       0,
                       "BEGIN:VCALENDAR\r\n",
                       "",
                       false}));

// -o FILE: the file is replaced only by a complete output; a failure leaves it as it was and
// leaves nothing beside it.
struct FileCase {
    std::vector<std::string> args; // FILE stands for the target
    std::string input;
    bool readOnlyFolder;
    int status;
    std::string err;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << joined(c.args) << (c.readOnlyFolder ? " (read-only folder)" : "");
}

class OutputFileTable : public ::testing::TestWithParam<FileCase> {};

TEST_P(OutputFileTable, ReplacedOnlyWhenComplete) {
    const FileCase& c = GetParam();
    const std::filesystem::path folder = scratchPath(".folder");
    std::filesystem::create_directory(folder);
    const std::filesystem::path file = folder / "Corvath 403 shifts.ics";
    std::ofstream(file) << "the old file\n";
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    std::vector<std::string> args = c.args;
    std::replace(args.begin(), args.end(), std::string("FILE"), file.string());
    Invocation how{"", c.input};
    if (c.readOnlyFolder) {
        std::filesystem::permissions(file, std::filesystem::perms(0644));
        std::filesystem::permissions(folder, std::filesystem::perms(0555));
        // Permissions do not hold root back: then the command runs as nobody.
        how.environment =
            ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "";
    }
    const Outcome outcome = runTool(args, how);
    std::filesystem::permissions(folder, std::filesystem::perms(0755));
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    const auto mode = std::filesystem::status(file).permissions();
    const auto entries = std::distance(std::filesystem::directory_iterator(folder), {});
    std::filesystem::remove_all(folder);

    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(entries, 1); // no temporary file left beside it
    if (c.status == 0) {
        EXPECT_EQ(outcome.err, "");
        EXPECT_TRUE(text.starts_with("2007-01-01\t")) << text;
        EXPECT_EQ(mode, std::filesystem::perms(0640)); // the file keeps its permissions
    } else {
        EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
        EXPECT_EQ(text, "the old file\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Output, OutputFileTable,
    ::testing::Values(
        FileCase{{"holidays", "2007", "-o", "FILE"}, "", false, 0, ""},
        FileCase{{"shift", "--crew", "14", "-o", "FILE"}, "2007-01-01\n", false, 0, ""},
        FileCase{{"shift", "--crew", "14", "-o", "FILE"}, "2007-01-01\nbad\n", false, 2, "'bad'"},
        FileCase{{"shift", "--code", "73", "--sub", "5000", "-o", "FILE", "2007-01-01"},
                 "",
                 false,
                 1,
                 "overflow"},
        FileCase{{"holidays", "2007", "-o", "FILE"}, "", true, 1, "Permission denied"}));

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// -o naming an open stream writes where the shell opened it: appended after what a log held,
// never a new file renamed over it.
struct StreamCase {
    std::string path; // LOG stands for a link to the log
    std::string redirection;
    std::size_t lines; // in the log afterwards: 14 holidays and what was there
};

void PrintTo(const StreamCase& c, std::ostream* os) {
    *os << "-o " << c.path << " " << c.redirection;
}

class OutputStreamTable : public ::testing::TestWithParam<StreamCase> {};

TEST_P(OutputStreamTable, WritesWhereTheStreamStands) {
    const StreamCase& c = GetParam();
    const std::filesystem::path folder = scratchPath(".streams");
    std::filesystem::create_directory(folder);
    const std::filesystem::path log = folder / "log.txt";
    std::ofstream(log) << "LINE1\nLINE2\n";
    std::filesystem::create_symlink("/dev/stdout", folder / "link");
    const std::string path = c.path == "LOG" ? (folder / "link").string() : c.path;
    const Outcome outcome = runTool({"holidays", "2007", "-o", path},
                                    {"", "", c.redirection + shellQuoted(log.string())});
    const std::vector<std::string> lines = linesOf(fileText(log));
    const auto entries = std::distance(std::filesystem::directory_iterator(folder), {});
    std::filesystem::remove_all(folder);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    ASSERT_EQ(lines.size(), c.lines);
    EXPECT_EQ(lines.back(), "2007-12-26\tBoxing Day");
    if (c.lines == 16) {
        EXPECT_EQ(lines[0], "LINE1");
        EXPECT_EQ(lines[1], "LINE2");
    }
    EXPECT_EQ(entries, 2); // the log and the link, nothing beside them
}

INSTANTIATE_TEST_SUITE_P(
    Streams, OutputStreamTable,
    ::testing::Values(StreamCase{"/dev/stdout", ">>", 16}, StreamCase{"/dev/stdout", ">", 14},
                      StreamCase{"/dev/stderr", "2>>", 16}, StreamCase{"/dev/fd/1", ">>", 16},
                      StreamCase{"/dev/fd/3", "3>>", 16}, StreamCase{"/proc/self/fd/1", ">>", 16},
                      StreamCase{"/dev//./stdout", ">>", 16}, StreamCase{"LOG", ">>", 16}));

TEST(OutputStreamTest, AClosedDescriptorIsAFailure) {
    const Outcome outcome = runTool({"crews", "-o", "/dev/fd/7"}, {"", "", "7>&-"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("cannot write '/dev/fd/7'"), std::string::npos) << outcome.err;
}

// What a replaced file keeps, and where the new one goes.
struct ReplaceCase {
    std::string name;
    unsigned mode;       // of the old file
    unsigned owner;      // and its owner and group, when root runs the test
    std::string runAs;   // a command in front, when root runs the test
    unsigned folderMode; // of the folder
    bool dangling;       // FILE is a link to a file that does not exist yet
    int status;
    unsigned modeAfter; // of the file afterwards
    std::string err;    // a part of the message; empty: none
    bool needsRoot = false;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) {
    *os << c.name;
}

class ReplacedFileTable : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplacedFileTable, KeepsWhatAPlainWriteKeeps) {
    const ReplaceCase& c = GetParam();
    const bool root = ::geteuid() == 0;
    if (c.needsRoot && !root) {
        GTEST_SKIP() << "needs root to give the file another owner";
    }
    const std::filesystem::path folder = scratchPath(".replace");
    std::filesystem::create_directory(folder);
    const std::filesystem::path file = folder / "crews.txt";
    const std::filesystem::path written = c.dangling ? folder / "elsewhere.txt" : file;
    if (c.dangling) {
        std::filesystem::create_symlink("elsewhere.txt", file);
    } else {
        std::ofstream(file) << "the old file\n";
        // The owner first: a change of owner clears the set-ID bits.
        if (root) {
            ASSERT_EQ(::chown(file.c_str(), c.owner, c.owner), 0);
        }
        ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
    }
    ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
    const Outcome outcome = runTool({"crews", "-o", file.string()}, {root ? c.runAs : ""});
    ::chmod(folder.c_str(), 0755);
    struct stat after {};
    const bool exists = ::stat(written.c_str(), &after) == 0;
    struct stat link {};
    ::lstat(file.c_str(), &link);
    const std::string text = fileText(written);
    const auto entries = std::distance(std::filesystem::directory_iterator(folder), {});
    std::filesystem::remove_all(folder);

    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    ASSERT_TRUE(exists);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    // A new file gets what the umask leaves of 0666, as the shell's redirection gives it.
    EXPECT_EQ(after.st_mode & 07777, c.dangling ? 0666 & ~mask : c.modeAfter);
    EXPECT_EQ(entries, c.dangling ? 2 : 1);
    if (c.dangling) {
        EXPECT_TRUE(S_ISLNK(link.st_mode)); // still the link, now to the new file
    }
    if (c.err.empty()) {
        EXPECT_EQ(outcome.err, "");
    } else {
        EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    }
    if (c.status != 0) {
        EXPECT_EQ(text, "the old file\n");
        return;
    }
    EXPECT_TRUE(text.starts_with("10\tBrenmoor\t")) << text;
    if (root && c.runAs.empty() && !c.dangling) {
        EXPECT_EQ(after.st_uid, c.owner); // root writes another's file and leaves it theirs
        EXPECT_EQ(after.st_gid, c.owner);
    }
}

const std::string kAsNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups";

INSTANTIATE_TEST_SUITE_P(
    Files, ReplacedFileTable,
    ::testing::Values(
        ReplaceCase{"set-user-ID bit dropped", 04755, 0, "", 0755, false, 0, 0755, ""},
        ReplaceCase{"set-group-ID bit dropped", 02750, 0, "", 0755, false, 0, 0750, ""},
        ReplaceCase{"another's file stays theirs", 0600, 65534, "", 0755, false, 0, 0600, "", true},
        ReplaceCase{"another's file that cannot stay theirs", 0666, 0, kAsNobody, 0777, false, 0,
                    0666, "could not be kept", true},
        ReplaceCase{"dangling link", 0, 0, "", 0755, true, 0, 0, ""},
        ReplaceCase{"writable file in a folder that is not", 0666, 0, kAsNobody, 0555, false, 1,
                    0666, "which needs a new file in its folder '"}));

// A run stopped by a signal leaves no temporary file beside its target, leaves an old file as
// it was, and ends as the signal would have ended it.
class StoppedRunTable : public ::testing::TestWithParam<int> {};

TEST_P(StoppedRunTable, LeavesNothingBesideTheFile) {
    const int signal = GetParam();
    const std::filesystem::path folder = scratchPath(".stopped");
    std::filesystem::create_directory(folder);
    const std::filesystem::path file = folder / "out.ics";
    std::ofstream(file) << "the old file\n";
    const std::vector<std::string> args = {
        KELSING_SHIFTS_EXE, "ics",           "--crew", "83.2",       "--from", "0100-01-01", "--to",
        "9999-12-31",       "--include-off", "-o",     file.string()};
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    // The child starts with the default action of every signal, whatever the test runner's are.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t all;
    sigfillset(&all);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t child = -1;
    ASSERT_EQ(::posix_spawn(&child, argv[0], nullptr, &attributes, argv.data(), environ), 0);
    posix_spawnattr_destroy(&attributes);
    // Stopped once it has written part of the file, which takes it seconds to finish.
    const auto writing = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::error_code error;
            if (entry.path() != file && std::filesystem::file_size(entry.path(), error) > 0 &&
                !error) {
                return true;
            }
        }
        return false;
    };
    for (int wait = 0; wait < 6000 && !writing(); ++wait) {
        ::usleep(10'000); // bounds a hang at 60 s
    }
    EXPECT_TRUE(writing());
    ::kill(child, signal);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    const auto entries = std::distance(std::filesystem::directory_iterator(folder), {});
    const std::string text = fileText(file);
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(text, "the old file\n");
}

INSTANTIATE_TEST_SUITE_P(Signals, StoppedRunTable,
                         ::testing::Values(SIGINT, SIGTERM, SIGHUP, SIGPIPE));

// ---------------------------------------------------------------------------------------------
// feeds: a folder of every crew's feed and their page, written whole.

INSTANTIATE_TEST_SUITE_P(
    FeedsBadInput, FailureTable,
    ::testing::Values(
        FailureCase{{"feeds"}, 2, "--dir"}, FailureCase{{"feeds", "--dir", ""}, 2, "--dir"},
        FailureCase{{"feeds", "--dir", "x", "extra"}, 2, "extra"},
        FailureCase{
            {"feeds", "--dir", "x", "--from", "2026-03-02", "--to", "2026-03-01"}, 2, "--to"},
        FailureCase{{"feeds", "--dir", "x", "--from", "2026-02-30"}, 2, "2026-02-30"},
        FailureCase{
            {"feeds", "--dir", "x", "--site", "ftp://example.org/"}, 2, "ftp://example.org/"},
        FailureCase{{"feeds", "--dir", "x", "--site", "example.org/feeds"}, 2, "example.org/feeds"},
        FailureCase{{"feeds", "--dir", "x", "--site", "https://example.org/?a"}, 2, "/?a"},
        FailureCase{{"feeds", "--dir", "/nonexistent-folder/feeds"},
                    1,
                    "'/nonexistent-folder/feeds': No such file or directory"}));

// A folder's files and their contents, and their modification times in seconds.
struct FolderState {
    std::map<std::string, std::string> files;
    std::map<std::string, std::int64_t> times;
    friend bool operator==(const FolderState&, const FolderState&) = default;
};

FolderState stateOf(const std::filesystem::path& folder) {
    FolderState state;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        std::ifstream in(entry.path(), std::ios::binary);
        state.files[name].assign(std::istreambuf_iterator<char>(in), {});
        struct stat info {};
        ::stat(entry.path().c_str(), &info);
        state.times[name] = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
    }
    return state;
}

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The summary of each event of a calendar file by its first day, read with libical.
std::map<std::string, std::string> eventsOf(const std::string& text) {
    std::map<std::string, std::string> events;
    std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)> calendar(
        icalparser_parse_string(text.c_str()), &icalcomponent_free);
    if (!calendar || icalcomponent_count_errors(calendar.get()) != 0) {
        ADD_FAILURE() << "libical cannot read the feed";
        return events;
    }
    for (icalcomponent* e =
             icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
         e != nullptr;
         e = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
        events[icaltime_as_ical_string(icalcomponent_get_dtstart(e))] =
            icalcomponent_get_summary(e);
    }
    return events;
}

const std::vector<std::string> kFeeds2026 = {"feeds",
                                             "--from",
                                             "2026-01-01",
                                             "--to",
                                             "2026-12-31",
                                             "--site",
                                             "https://feeds.test.example/k/"};

TEST(FeedsCommandTest, EveryCrewsFeedAgreesWithTheShiftCommand) {
    const std::filesystem::path parent = scratchPath(".feeds");
    std::filesystem::create_directory(parent);
    const std::filesystem::path folder = parent / "feeds";
    const Outcome outcome = runTool(with(with(kFeeds2026, "--dir"), folder.string()));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    const FolderState state = stateOf(folder);

    std::vector<std::string> expected = {"index.html"};
    std::vector<std::string> report;
    for (const std::string& line : linesOf(runTool({"crews"}).out)) {
        const std::string code = line.substr(0, line.find('\t'));
        expected.push_back(code + ".ics");
        report.push_back((folder / (code + ".ics")).string() + "\thttps://feeds.test.example/k/" +
                         code + ".ics");
    }
    report.push_back((folder / "index.html").string() +
                     "\thttps://feeds.test.example/k/index.html");
    EXPECT_EQ(linesOf(outcome.out), report);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected.size(), 71u);
    EXPECT_EQ(namesIn(folder), expected);
    EXPECT_EQ(namesIn(parent), std::vector<std::string>{"feeds"}); // nothing left beside it

    // Every file carries the publication's time: the release, or 1 January after the span's
    // first year when that is later.
    using namespace std::chrono;
    const std::int64_t published = std::max<std::int64_t>(
        kelsing::kReleaseTime, sys_days{year{2027} / 1 / 1}.time_since_epoch().count() * 86400);
    for (const auto& [name, time] : state.times) {
        EXPECT_EQ(time, published * 1000000000LL) << name;
    }
    const std::vector<std::string> days = {"2026-01-01", "2026-03-08", "2026-07-04", "2026-11-01",
                                           "2026-12-25"};
    for (const auto& [name, text] : state.files) {
        if (name == "index.html") {
            continue;
        }
        SCOPED_TRACE(name);
        const std::string code = name.substr(0, name.size() - 4);
        const std::map<std::string, std::string> events = eventsOf(text);
        std::vector<std::string> args = {"shift", "--crew", code};
        args.insert(args.end(), days.begin(), days.end());
        for (const std::string& line : linesOf(runTool(args).out)) {
            std::string day = line.substr(0, 10);
            day.erase(std::remove(day.begin(), day.end(), '-'), day.end());
            const std::string label = line.substr(11);
            const auto event = events.find(day);
            const std::string found = event == events.end() ? "(no event)" : event->second;
            EXPECT_EQ(found, label.empty() || label == "Off" ? "(no event)" : label) << line;
        }
    }
    std::filesystem::remove_all(parent);
}

TEST(FeedsCommandTest, AgainTheSameAndOnlyEarlierFeedsAreReplaced) {
    const std::filesystem::path parent = scratchPath(".again");
    std::filesystem::create_directory(parent);
    const std::filesystem::path folder = parent / "feeds";
    const std::vector<std::string> args = with(with(kFeeds2026, "--dir"), folder.string());
    ASSERT_EQ(runTool(args).status, 0);
    const FolderState first = stateOf(folder);
    const Outcome again = runTool(args);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_TRUE(stateOf(folder) == first) << "a second run changed bytes or times";
    EXPECT_EQ(namesIn(parent), std::vector<std::string>{"feeds"});

    // A folder that holds something else is left as it is.
    std::ofstream(folder / "notes.txt") << "mine\n";
    const FolderState withNotes = stateOf(folder);
    const Outcome refused = runTool(args);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("'" + folder.string() + "'"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("'notes.txt'"), std::string::npos) << refused.err;
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
    EXPECT_TRUE(stateOf(folder) == withNotes);
    std::filesystem::remove(folder / "notes.txt");

    // A write that fails (here: past the file size limit, as a full disk fails) leaves the
    // earlier feeds whole and nothing beside them.
    const Outcome full = runTool(args, {"ulimit -f 40; trap '' XFSZ;"});
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("cannot write feeds to '" + folder.string() + "'"), std::string::npos)
        << full.err;
    EXPECT_TRUE(stateOf(folder) == first);
    EXPECT_EQ(namesIn(parent), std::vector<std::string>{"feeds"});

    // Nor does a file of the folder's name become one.
    std::filesystem::remove_all(folder);
    std::ofstream(folder) << "a file\n";
    const Outcome notAFolder = runTool(args);
    EXPECT_EQ(notAFolder.status, 1);
    EXPECT_NE(notAFolder.err.find("Not a directory"), std::string::npos) << notAFolder.err;
    EXPECT_EQ(namesIn(parent), std::vector<std::string>{"feeds"});
    std::filesystem::remove_all(parent);
}

TEST(FeedsCommandTest, ASignalAtAnyMomentLeavesTheFolderWholeOrNothing) {
    const std::filesystem::path parent = scratchPath(".signals");
    int signalled = 0;
    // From the start to well past the end of a run; each lands somewhere else in it.
    for (const char* delay : {"0.02", "0.06", "0.1", "0.15", "0.2", "0.3", "0.5", "0.8", "2"}) {
        SCOPED_TRACE(delay);
        std::filesystem::create_directory(parent);
        const Outcome outcome = runTool({"feeds", "--dir", (parent / "feeds").string()},
                                        {std::string("timeout -s TERM ") + delay});
        signalled += outcome.status == 124 ? 1 : 0;
        const std::vector<std::string> names = namesIn(parent);
        EXPECT_TRUE(names.empty() || names == std::vector<std::string>{"feeds"})
            << names.size() << " entries, the first " << names.front();
        if (!names.empty()) {
            EXPECT_EQ(namesIn(parent / "feeds").size(), 71u);
        }
        std::filesystem::remove_all(parent);
    }
    EXPECT_GT(signalled, 0) << "no run was ended by the signal";
}

TEST(FeedsCommandTest, AnotherDayTheSameFilesANewYearALaterTime) {
    if (std::system("command -v faketime >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "faketime is not installed (see scripts/common.sh)";
    }
    const std::filesystem::path parent = scratchPath(".days");
    std::filesystem::create_directory(parent);
    // The default span, run by libfaketime's clock on days of two years. Its library comes
    // before the sanitizers' runtime, which then only has to be told to accept that.
    const auto runOn = [&parent](const std::string& day) {
        const std::filesystem::path folder = parent / day.substr(0, 10);
        const Outcome outcome =
            runTool({"feeds", "--dir", folder.string(), "--site", "https://feeds.test.example/"},
                    {"ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0\" "
                     "faketime " +
                     shellQuoted(day)});
        EXPECT_EQ(outcome.status, 0) << day << ": " << outcome.err;
        return stateOf(folder);
    };
    const FolderState february = runOn("2026-02-03 04:05:06");
    const FolderState november = runOn("2026-11-30 23:59:00");
    const FolderState nextYear = runOn("2027-06-15 12:00:00");
    ASSERT_EQ(february.files.size(), 71u);
    EXPECT_TRUE(february == november) << "another day of the year wrote other bytes or times";

    // A year on, the span moves by a year and the files are newer than the year before's.
    using namespace std::chrono;
    const auto startOf = [](int y) {
        return sys_days{year{y} / 1 / 1}.time_since_epoch().count() * 86400;
    };
    const std::int64_t before = std::max<std::int64_t>(kelsing::kReleaseTime, startOf(2026));
    const std::int64_t after = std::max<std::int64_t>(kelsing::kReleaseTime, startOf(2027));
    EXPECT_EQ(february.times.at("83.2.ics"), before * 1000000000LL);
    EXPECT_EQ(nextYear.times.at("83.2.ics"), after * 1000000000LL);
    for (const auto& [state, first, last] :
         {std::tuple{&february, "2025", "2031"}, std::tuple{&nextYear, "2026", "2032"}}) {
        const std::map<std::string, std::string> events = eventsOf(state->files.at("14.ics"));
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.begin()->first.substr(0, 4), first);
        EXPECT_EQ(events.rbegin()->first.substr(0, 4), last);
        EXPECT_NE(state->files.at("index.html").find(">" + std::string(first) + "-01-01</time>"),
                  std::string::npos)
            << first;
    }
    std::filesystem::remove_all(parent);
}

// ---------------------------------------------------------------------------------------------
// remember and today: the crews kept in the settings file, and the days on one line

// A settings folder of the test's own, named by XDG_CONFIG_HOME for each run of the tool.
struct RememberingTool {
    std::filesystem::path home = scratchPath("-config");
    RememberingTool() { std::filesystem::remove_all(home); }
    ~RememberingTool() { std::filesystem::remove_all(home); }
    std::filesystem::path file() const { return home / "kelsing-schedule" / "settings.ini"; }
    Outcome run(const std::vector<std::string>& args) const {
        return runTool(args, {"XDG_CONFIG_HOME=" + shellQuoted(home.string())});
    }
};

std::string shiftOf(const std::string& crew, const std::string& date) {
    return linesOf(runTool({"shift", "--crew", crew, date}).out).at(0).substr(11);
}

TEST(RememberCommandTest, WhatIsRememberedServesEveryCommand) {
    const RememberingTool tool;
    EXPECT_EQ(tool.run({"remember"}).out, "");
    Outcome none = tool.run({"shift", "2007-03-01"});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("remember --crew"), std::string::npos) << none.err;
    EXPECT_FALSE(std::filesystem::exists(tool.home)); // asking writes nothing

    ASSERT_EQ(tool.run({"remember", "--crew", "Corvath/401-404/403"}).status, 0);
    EXPECT_EQ(tool.run({"remember"}).out, "crew\t83.2\tCorvath 403\n");
    EXPECT_EQ(tool.run({"shift", "2007-03-01"}).out,
              runTool({"shift", "--crew", "83.2", "2007-03-01"}).out);
    EXPECT_EQ(tool.run({"shift", "--crew", "12", "2007-03-01"}).out,
              runTool({"shift", "--crew", "12", "2007-03-01"}).out); // an option wins
    EXPECT_EQ(tool.run({"month", "2007-03"}).out,
              runTool({"month", "2007-03", "--crew", "83.2"}).out);
    EXPECT_EQ(tool.run({"ics", "--from", "2007-03-01", "--to", "2007-03-09"}).out.size(),
              runTool({"ics", "--crew", "83.2", "--from", "2007-03-01", "--to", "2007-03-09"})
                  .out.size());

    ASSERT_EQ(tool.run({"remember", "--left", "74", "--right", "70.1"}).status, 0);
    EXPECT_EQ(tool.run({"remember"}).out, "left\t74\tHalvex P-6\nright\t70.1\tHalvex BB\n");
    EXPECT_EQ(tool.run({"shift", "2007-03-01"}).out, "2007-03-01\t" + shiftOf("74", "2007-03-01") +
                                                         '\t' + shiftOf("70.1", "2007-03-01") +
                                                         '\n');
    EXPECT_EQ(tool.run({"month", "2007-03", "--plain"}).out,
              runTool({"month", "2007-03", "--left", "74", "--right", "70.1", "--plain"}).out);
    EXPECT_EQ(tool.run({"ics", "--from", "2007-03-01", "--to", "2007-03-09"}).status, 2);

    ASSERT_EQ(tool.run({"remember", "--forget"}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(tool.file()));
    EXPECT_EQ(tool.run({"today"}).status, 2);
}

TEST(RememberCommandTest, BadInputAndADamagedFile) {
    const RememberingTool tool;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"remember", "--crew", "15"},
          {"remember", "--left", "14", "--right", "12"},
          {"remember", "--crew", "12", "--forget"},
          {"remember", "--crew", "12", "--left", "13"},
          {"remember", "--crew", "12", "-o", "x"},
          {"today", "--crew", "12", "--days", "0"},
          {"today", "--crew", "12", "--days", "367"},
          {"today", "--crew", "12", "--days", "two"},
          {"today", "--crew", "12", "--from", "9999-12-31"}}) {
        const Outcome outcome = tool.run(args);
        EXPECT_EQ(outcome.status, 2) << joined(args);
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    }
    EXPECT_FALSE(std::filesystem::exists(tool.home));
    // A folder that cannot be made: the failure names it.
    const Outcome unwritable = runTool({"remember", "--crew", "12"}, {"XDG_CONFIG_HOME=/dev/null"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("/dev/null/kelsing-schedule"), std::string::npos);
    // A damaged file is told in one line, used as no crew, and left as it is.
    std::filesystem::create_directories(tool.file().parent_path());
    std::ofstream(tool.file()) << "format = 1\n[start]\nview = single\ncrew = 83.2\nhue = 3\n";
    const Outcome month = tool.run({"month", "2007-03", "--plain"});
    EXPECT_EQ(month.status, 0);
    EXPECT_EQ(month.out, runTool({"month", "2007-03", "--plain"}).out);
    EXPECT_EQ(month.err, "kelsing-shifts: " + tool.file().string() +
                             ": line 5: unknown key 'hue'; the file is ignored and no crew is "
                             "remembered\n");
    EXPECT_EQ(linesOf(tool.run({"shift", "2007-03-01"}).err).size(), 2u); // and no crew
    std::ifstream kept(tool.file());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}),
              "format = 1\n[start]\nview = single\ncrew = 83.2\nhue = 3\n");
}

// The days of `today --plain` are the month's lines, and their shifts those of `shift`, around
// Christmas, across the end of a leap February and of a year.
TEST(TodayCommandTest, DaysAgreeWithShiftAndMonth) {
    const std::tuple<std::string, int, int, unsigned, unsigned> spans[] = {
        {"2007-12-24", 3, 2007, 12, 24},
        {"2008-02-28", 3, 2008, 2, 28},
        {"2007-12-31", 2, 2007, 12, 31},
        {"2007-03-10", 2, 2007, 3, 10}};
    for (const auto& [from, days, year, month, day] : spans) {
        const Outcome plain = runTool(
            {"today", "--crew", "83.2", "--from", from, "--days", std::to_string(days), "--plain"});
        ASSERT_EQ(plain.status, 0) << plain.err;
        const std::vector<std::string> lines = linesOf(plain.out);
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(days));
        const std::chrono::sys_days first{std::chrono::year{year} / month / day};
        for (int k = 0; k < days; ++k) {
            const std::chrono::year_month_day date{first + std::chrono::days{k}};
            char iso[16];
            std::snprintf(iso, sizeof iso, "%04d-%02u-%02u", int(date.year()),
                          unsigned(date.month()), unsigned(date.day()));
            const std::string monthLines =
                runTool({"month", std::string(iso, 7), "--crew", "83.2", "--plain"}).out;
            EXPECT_NE(monthLines.find(lines[k] + '\n'), std::string::npos) << lines[k];
            EXPECT_TRUE(lines[k].starts_with(iso)) << lines[k];
            EXPECT_TRUE(lines[k].ends_with('\t' + shiftOf("83.2", iso))) << lines[k];
        }
    }
    const Outcome line =
        runTool({"today", "--crew", "83.2", "--from", "2007-12-24", "--days", "3"});
    EXPECT_EQ(line.out, "Mon 24 Dec: " + shiftOf("83.2", "2007-12-24") +
                            " \u00b7 Tue 25 Dec: " + shiftOf("83.2", "2007-12-25") +
                            " (Xmas Day) \u00b7 Wed 26 Dec: " + shiftOf("83.2", "2007-12-26") +
                            " (Boxing Day)\n");
    const Outcome sides = runTool(
        {"today", "--left", "74", "--right", "70.1", "--from", "2007-03-11", "--days", "1"});
    const std::string day =
        linesOf(runTool({"month", "2007-03", "--left", "74", "--right", "70.1", "--plain"}).out)
            .at(10);
    // Date, weekday, caption, the left and right shifts, and the column of days off together.
    const std::size_t right = day.rfind('\t', day.rfind('\t') - 1);
    const std::size_t left = day.rfind('\t', right - 1);
    EXPECT_EQ(day.substr(0, left), "2007-03-11\tSunday\tDST Starts");
    EXPECT_EQ(sides.out, "Sun 11 Mar: " + day.substr(left + 1, right - left - 1) + " | " +
                             day.substr(right + 1, day.rfind('\t') - right - 1) +
                             " (DST Starts)\n");
}

// Today and tomorrow by the clock, named so, in the colours `month` gives them.
TEST(TodayCommandTest, TodayAndTomorrowInTheMonthsColours) {
    const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    const Outcome outcome =
        runTool({"today", "--crew", "83.2", "--color=always"}, {"COLORTERM=truecolor"});
    if (std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()) != today) {
        GTEST_SKIP() << "midnight passed during the test";
    }
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto isoOf = [](std::chrono::sys_days day) {
        const std::chrono::year_month_day date{day};
        char iso[16];
        std::snprintf(iso, sizeof iso, "%04d-%02u-%02u", int(date.year()), unsigned(date.month()),
                      unsigned(date.day()));
        return std::string(iso);
    };
    const std::string plain = runTool({"today", "--crew", "83.2", "--color=never"}).out;
    EXPECT_TRUE(plain.starts_with("Today ")) << plain;
    EXPECT_NE(plain.find(": " + shiftOf("83.2", isoOf(today)) + " \u00b7 Tomorrow "),
              std::string::npos)
        << plain;
    EXPECT_NE(plain.find(": " + shiftOf("83.2", isoOf(today + std::chrono::days{1}))),
              std::string::npos);
    // Today's number red and bold, as the month draws it; each shift in the month's colour.
    EXPECT_NE(outcome.out.find("\x1b[1;38;2;255;0;0m"), std::string::npos) << outcome.out;
    const std::string month =
        runTool({"month", isoOf(today).substr(0, 7), "--crew", "83.2", "--color=always"},
                {"COLORTERM=truecolor"})
            .out;
    const std::size_t from = outcome.out.find(": ") + 2;
    const std::string painted = outcome.out.substr(from, outcome.out.find(" \u00b7 ") - from);
    EXPECT_NE(painted.find(shiftOf("83.2", isoOf(today))), std::string::npos) << painted;
    EXPECT_NE(month.find(painted), std::string::npos) << painted;
}

// ---------------------------------------------------------------------------------------------
// year

// The year's plain lines are the twelve months' plain lines, for one crew, two crews and none.
TEST(YearCommandTest, PlainIsTheTwelveMonthsPlain) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> views = {
        {"2008", {"--crew", "83.2"}}, {"2007", {"--left", "74", "--right", "70.1"}}, {"0100", {}}};
    for (const auto& [year, crews] : views) {
        SCOPED_TRACE(year + ' ' + joined(crews));
        std::vector<std::string> args = {"year", year, "--plain"};
        args.insert(args.end(), crews.begin(), crews.end());
        const Outcome outcome = runTool(args);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        std::string months;
        for (int month = 1; month <= 12; ++month) {
            std::vector<std::string> monthArgs = {
                "month", year + (month < 10 ? "-0" : "-") + std::to_string(month), "--plain"};
            monthArgs.insert(monthArgs.end(), crews.begin(), crews.end());
            months += runTool(monthArgs).out;
        }
        EXPECT_EQ(outcome.out, months);
        EXPECT_EQ(linesOf(outcome.out).size(), year == "2008" ? 366u : 365u);
    }
}

// The days two crews are both "Off" by `shift`, counted, marked and their first three shared
// weekends listed, across a leap year; the drawn year fits 80 columns.
TEST(YearCommandTest, DaysOffTogetherAgreeWithShift) {
    std::string dates;
    std::vector<std::chrono::sys_days> days;
    for (std::chrono::sys_days day{std::chrono::year{2008} / 1 / 1};
         day <= std::chrono::sys_days{std::chrono::year{2008} / 12 / 31};
         day += std::chrono::days{1}) {
        days.push_back(day);
        const std::chrono::year_month_day date{day};
        char iso[16];
        std::snprintf(iso, sizeof iso, "%04d-%02u-%02u\n", int(date.year()), unsigned(date.month()),
                      unsigned(date.day()));
        dates += iso;
    }
    const std::vector<std::string> left =
        linesOf(runTool({"shift", "--crew", "74"}, {.input = dates}).out);
    const std::vector<std::string> right =
        linesOf(runTool({"shift", "--crew", "70.1"}, {.input = dates}).out);
    ASSERT_EQ(left.size(), 366u);
    ASSERT_EQ(right.size(), 366u);
    std::vector<bool> both;
    for (std::size_t i = 0; i < left.size(); ++i) {
        both.push_back(left[i].ends_with("\tOff") && right[i].ends_with("\tOff"));
    }
    const auto count = std::count(both.begin(), both.end(), true);
    ASSERT_GT(count, 3);

    const Outcome plain = runTool({"year", "2008", "--left", "74", "--right", "70.1", "--plain"});
    const std::vector<std::string> lines = linesOf(plain.out);
    ASSERT_EQ(lines.size(), 366u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].ends_with("\ttogether"), both[i]) << lines[i];
    }
    const Outcome drawn =
        runTool({"year", "2008", "--left", "74", "--right", "70.1"}, {"NO_COLOR="});
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_EQ(drawn.out.find('\x1b'), std::string::npos);
    for (const std::string& line : linesOf(drawn.out)) {
        EXPECT_LE(line.size(), 80u) << line;
    }
    EXPECT_NE(drawn.out.find("\n" + std::to_string(count) + " days off together in 2008\n"),
              std::string::npos)
        << drawn.out;
    // Outside 2008 the weekends are looked for from 1 January.
    const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::string weekends = "Next shared weekends from 1 Jan 2008:\n";
    int found = 0;
    for (std::size_t i = 0; i + 1 < days.size() && found < 3; ++i) {
        if (std::chrono::weekday{days[i]} == std::chrono::Saturday && both[i] && both[i + 1]) {
            const std::chrono::year_month_day sat{days[i]};
            const std::chrono::year_month_day sun{days[i + 1]};
            weekends += "  " + std::to_string(unsigned(sat.day())) +
                        (sat.month() == sun.month()
                             ? std::string()
                             : std::string(" ") + months[unsigned(sat.month()) - 1]) +
                        '-' + std::to_string(unsigned(sun.day())) + ' ' +
                        months[unsigned(sun.month()) - 1] + " 2008\n";
            ++found;
        }
    }
    EXPECT_TRUE(drawn.out.ends_with(weekends)) << drawn.out;
}

// A side without a crew is said in the title, and nothing is counted together.
TEST(YearCommandTest, ASideWithoutACrewIsSaid) {
    const Outcome outcome = runTool({"year", "2007", "--right", "83.2"}, {"NO_COLOR="});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<std::string> lines = linesOf(outcome.out);
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines[1].substr(lines[1].find_first_not_of(' ')),
              "no crew on the left | Corvath 403");
    EXPECT_EQ(outcome.out.find("together"), std::string::npos);
    EXPECT_EQ(outcome.out.find('*'), std::string::npos);
}

} // namespace
