// SPDX-License-Identifier: GPL-3.0-or-later
// The user's own days: what an entry may hold, how a month counts them, how a sheet marks them,
// the backup file and the calendar file.

#include "export/shiftcalendarwriter.h"
#include "icalreading.h"
#include "owndays/owndaysfile.h"
#include "owndays/ownsummary.h"
#include "sheet/monthsheet.h"
#include "sheet/owndaysfill.h"
#include "sheet/textsheet.h"
#include "testsupport.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <numeric>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

using test::dateOf;

const CrewCode kCorvath403(83.2);

// Corvath 403's shift on a day by the schedule table's row of code 83 (base day 34473, cycle
// 16, crew offset 2 x 4 = 8), worked out here from that row alone.
std::string corvath403(DaySerial date) {
    static constexpr std::string_view kRow = "DDNNOODDNNOOOOOO";
    const char letter = kRow[static_cast<std::size_t>(((date - 34473 - 8) % 16 + 16) % 16)];
    return letter == 'D' ? "Days" : letter == 'N' ? "Nights" : "Off";
}

OwnDay entry(int day, OwnDayKind kind, std::string shift = {}, std::string note = {}) {
    return {dateOf(2007, 3, static_cast<unsigned>(day)), kind, std::move(shift), std::move(note)};
}

// ---------------------------------------------------------------------------------------------
// What an entry may hold.

struct ProblemCase {
    const char* name;
    OwnDay entry;
    bool good;
};

class EntryProblemTable : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(EntryProblemTable, OnlyWhatTheMenusOffer) {
    EXPECT_EQ(!entryProblem(GetParam().entry).has_value(), GetParam().good);
}

const std::string k200 = std::string(100, 'a') + [] {
    std::string text;
    for (int i = 0; i < 100; ++i) {
        text += "\xc3\xa9"; // é: two bytes, one character
    }
    return text;
}();

INSTANTIATE_TEST_SUITE_P(
    Entries, EntryProblemTable,
    ::testing::Values(
        ProblemCase{"leave", entry(1, OwnDayKind::Leave), true},
        ProblemCase{"leave with a shift", entry(1, OwnDayKind::Leave, "Days"), false},
        ProblemCase{"swap", entry(1, OwnDayKind::Swap, "Days (12)"), true},
        ProblemCase{"swap for Off", entry(1, OwnDayKind::Swap, "Off"), true},
        ProblemCase{"swap without a shift", entry(1, OwnDayKind::Swap), false},
        ProblemCase{"swap of no table", entry(1, OwnDayKind::Swap, "days"), false},
        ProblemCase{"swap of an all-crews line", entry(1, OwnDayKind::Swap, "1D 2O 3N 4O"), false},
        ProblemCase{"extra", entry(1, OwnDayKind::Extra, "Afternoons"), true},
        ProblemCase{"extra Off", entry(1, OwnDayKind::Extra, "Off"), false},
        ProblemCase{"note", entry(1, OwnDayKind::Note, {}, "x"), true},
        ProblemCase{"empty note", entry(1, OwnDayKind::Note), false},
        ProblemCase{"200 characters", entry(1, OwnDayKind::Sick, {}, k200), true},
        ProblemCase{"201 characters", entry(1, OwnDayKind::Sick, {}, k200 + "a"), false},
        ProblemCase{"TAB", entry(1, OwnDayKind::Note, {}, "a\tb"), false},
        ProblemCase{"line feed", entry(1, OwnDayKind::Note, {}, "a\nb"), false},
        ProblemCase{"DEL", entry(1, OwnDayKind::Note, {}, "a\x7f"), false},
        ProblemCase{"C1 NEL", entry(1, OwnDayKind::Note, {}, "a\xc2\x85"), false},
        ProblemCase{"right-to-left override", entry(1, OwnDayKind::Note, {}, "a\xe2\x80\xae"),
                    false},
        ProblemCase{"cut UTF-8", entry(1, OwnDayKind::Note, {}, "a\xc3"), false},
        ProblemCase{"overlong UTF-8", entry(1, OwnDayKind::Note, {}, "\xc0\xaf"), false},
        ProblemCase{"emoji", entry(1, OwnDayKind::Note, {}, "\xf0\x9f\x8f\x96 beach"), true},
        ProblemCase{"first day", {dateOf(100, 1, 1), OwnDayKind::Leave, {}, {}}, true},
        ProblemCase{"before the calendar", {dateOf(99, 12, 31), OwnDayKind::Leave, {}, {}}, false},
        ProblemCase{"last day", {dateOf(9999, 12, 31), OwnDayKind::Leave, {}, {}}, true}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

// ---------------------------------------------------------------------------------------------
// The month counted: Corvath 403 in March 2007 works Days on the 2nd, 3rd, 12th, 13th, 18th,
// 19th, 28th and 29th and Nights on the day after each pair, by the schedule table.

struct SummaryCase {
    const char* name;
    std::vector<OwnDay> entries;
    std::map<std::string, int> worked;
    int leave, sick, swaps, extras;
};

class MonthSummaryTable : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(MonthSummaryTable, AgreesWithTheCountByHand) {
    const SummaryCase& c = GetParam();
    const OwnDaySummary summary =
        summariseOwnDays(kCorvath403, dateOf(2007, 3, 1), dateOf(2007, 3, 31), OwnDays(c.entries));
    std::map<std::string, int> worked;
    for (std::size_t i = 0; i < kTableShifts.size(); ++i) {
        if (summary.worked[i] != 0) {
            worked[std::string(kTableShifts[i])] = summary.worked[i];
        }
    }
    EXPECT_EQ(worked, c.worked);
    EXPECT_EQ(summary.workedTotal(),
              std::accumulate(c.worked.begin(), c.worked.end(), 0,
                              [](int sum, const auto& shift) { return sum + shift.second; }));
    EXPECT_EQ(summary.leaveDays, c.leave);
    EXPECT_EQ(summary.sickDays, c.sick);
    EXPECT_EQ(summary.swaps, c.swaps);
    EXPECT_EQ(summary.extras, c.extras);
}

INSTANTIATE_TEST_SUITE_P(
    March2007, MonthSummaryTable,
    ::testing::Values(
        SummaryCase{"none", {}, {{"Days", 8}, {"Nights", 8}}, 0, 0, 0, 0},
        SummaryCase{"leave on a Days",
                    {entry(12, OwnDayKind::Leave)},
                    {{"Days", 7}, {"Nights", 8}},
                    1,
                    0,
                    0,
                    0},
        SummaryCase{"leave on a day off",
                    {entry(6, OwnDayKind::Leave)},
                    {{"Days", 8}, {"Nights", 8}},
                    1,
                    0,
                    0,
                    0},
        SummaryCase{"sick on Nights",
                    {entry(4, OwnDayKind::Sick, {}, "flu")},
                    {{"Days", 8}, {"Nights", 7}},
                    0,
                    1,
                    0,
                    0},
        SummaryCase{"swap Days for Nights",
                    {entry(2, OwnDayKind::Swap, "Nights")},
                    {{"Days", 7}, {"Nights", 9}},
                    0,
                    0,
                    1,
                    0},
        SummaryCase{"swap Days for Off",
                    {entry(2, OwnDayKind::Swap, "Off")},
                    {{"Days", 7}, {"Nights", 8}},
                    0,
                    0,
                    1,
                    0},
        SummaryCase{"swap a day off for Afternoons",
                    {entry(6, OwnDayKind::Swap, "Afternoons")},
                    {{"Days", 8}, {"Nights", 8}, {"Afternoons", 1}},
                    0,
                    0,
                    1,
                    0},
        SummaryCase{"extra on a day off",
                    {entry(7, OwnDayKind::Extra, "Days (12)")},
                    {{"Days", 8}, {"Nights", 8}, {"Days (12)", 1}},
                    0,
                    0,
                    0,
                    1},
        SummaryCase{"extra on a working day",
                    {entry(3, OwnDayKind::Extra, "Training")},
                    {{"Days", 8}, {"Nights", 8}, {"Training", 1}},
                    0,
                    0,
                    0,
                    1},
        SummaryCase{"notes count nothing",
                    {entry(2, OwnDayKind::Note, {}, "x")},
                    {{"Days", 8}, {"Nights", 8}},
                    0,
                    0,
                    0,
                    0},
        SummaryCase{"days of other months",
                    {{dateOf(2007, 2, 28), OwnDayKind::Leave, {}, {}},
                     {dateOf(2007, 4, 1), OwnDayKind::Sick, {}, {}}},
                    {{"Days", 8}, {"Nights", 8}},
                    0,
                    0,
                    0,
                    0},
        SummaryCase{"a month of everything",
                    {entry(2, OwnDayKind::Leave), entry(3, OwnDayKind::Leave),
                     entry(4, OwnDayKind::Sick), entry(12, OwnDayKind::Swap, "Nights"),
                     entry(14, OwnDayKind::Swap, "Days"), entry(16, OwnDayKind::Extra, "Days"),
                     entry(31, OwnDayKind::Extra, "Days (8)")},
                    {{"Days", 7}, {"Nights", 7}, {"Days (8)", 1}},
                    2,
                    1,
                    2,
                    2}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

TEST(YearSummaryTest, IsItsMonthsTogether) {
    // A year of entries every few days, of every kind, across the months' edges.
    std::vector<OwnDay> entries;
    const OwnDayKind kinds[] = {OwnDayKind::Leave, OwnDayKind::Sick, OwnDayKind::Swap,
                                OwnDayKind::Extra, OwnDayKind::Note};
    for (DaySerial d = dateOf(2007, 1, 1), i = 0; d <= dateOf(2007, 12, 31); d += 3, ++i) {
        const OwnDayKind kind = kinds[i % 5];
        entries.push_back(
            {d, kind, kindHasShift(kind) ? "Afternoons" : "", kind == OwnDayKind::Note ? "n" : ""});
    }
    const OwnDays own(entries);
    OwnDaySummary months;
    for (unsigned m = 1; m <= 12; ++m) {
        const OwnDaySummary month = summariseOwnDays(
            kCorvath403, dateOf(2007, m, 1),
            dateOf(2007, m, static_cast<unsigned>(test::monthLength(2007, m))), own);
        for (std::size_t i = 0; i < months.worked.size(); ++i) {
            months.worked[i] += month.worked[i];
        }
        months.leaveDays += month.leaveDays;
        months.sickDays += month.sickDays;
        months.swaps += month.swaps;
        months.extras += month.extras;
    }
    const OwnDaySummary year =
        summariseOwnDays(kCorvath403, dateOf(2007, 1, 1), dateOf(2007, 12, 31), own);
    EXPECT_EQ(year, months);
    EXPECT_EQ(year.leaveDays + year.sickDays + year.swaps + year.extras, 98);
    EXPECT_EQ(summarySentence(OwnDaySummary{{1, 0, 0, 0, 0, 0, 0}, 1, 2, 0, 1}),
              "1 shift worked (Days 1); 1 leave day, 2 sick days, 0 swapped shifts, "
              "1 extra shift.");
}

// ---------------------------------------------------------------------------------------------
// The sheet: marks on the days with entries, and the Part's sheet exactly on every other.

TEST(OwnDaysFillTest, MarksOnlyTheDaysWithEntriesAndKeepsTheirTexts) {
    const ViewCrews crews{false, kCorvath403, {}, {}};
    const OwnDays own({entry(2, OwnDayKind::Swap, "Nights", "for Ann"),
                       entry(7, OwnDayKind::Extra, "Afternoons"),
                       entry(11, OwnDayKind::Leave),
                       entry(12, OwnDayKind::Sick),
                       entry(20, OwnDayKind::Note, {}, "pay day"),
                       {dateOf(2007, 4, 2), OwnDayKind::Leave, {}, {}}});
    const DaySerial today = dateOf(2007, 3, 15);
    const SheetModel plain = monthSheet({3, 2007}, crews, today);
    const SheetModel marked = monthSheet({3, 2007}, crews, today, &own);
    // March 2007 starts on a Thursday: day d is in cell d + 3.
    const std::map<int, OwnMark> expected = {
        {2,
         {"Swap", kindColour(OwnDayKind::Swap), "Days", Colours::kBlue, false, "Nights",
          Colours::kBlack, "Nights", "for Ann"}},
        {7,
         {"Extra", kindColour(OwnDayKind::Extra), "Off", Colours::kGreen, true, "+Aftnn",
          Colours::kOrangeBrown, "Afternoons", ""}},
        {11,
         {"Leave", kindColour(OwnDayKind::Leave), "Off", Colours::kGreen, true, "Leave",
          kindColour(OwnDayKind::Leave), "", ""}},
        {12,
         {"Sick", kindColour(OwnDayKind::Sick), "Days", Colours::kBlue, false, "Sick",
          kindColour(OwnDayKind::Sick), "", ""}},
        {20,
         {"Note", kindColour(OwnDayKind::Note), "Nights", Colours::kBlack, true, "Note",
          kindColour(OwnDayKind::Note), "", "pay day"}},
    };
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        SCOPED_TRACE(c);
        DayCell cell = marked.cells[static_cast<std::size_t>(c)];
        const auto mark = expected.find(c - 3);
        EXPECT_EQ(cell.own, mark == expected.end() ? OwnMark{} : mark->second);
        cell.own = {};
        EXPECT_EQ(cell, plain.cells[static_cast<std::size_t>(c)]);
    }
    // Side by side and for another month, the sheet is the Part's own.
    const ViewCrews sides{true, {}, kCorvath403, CrewCode(83.1)};
    EXPECT_EQ(monthSheet({3, 2007}, sides, today, &own), monthSheet({3, 2007}, sides, today));
    const OwnDays otherMonths({{dateOf(2007, 2, 28), OwnDayKind::Leave, {}, {}}});
    EXPECT_EQ(monthSheet({3, 2007}, crews, today, &otherMonths), plain);
}

TEST(OwnDaysFillTest, TheMonthAsTextShowsTheEntries) {
    const ViewCrews crews{false, kCorvath403, {}, {}};
    const OwnDays own(
        {entry(12, OwnDayKind::Leave, {}, "dentist"), entry(14, OwnDayKind::Swap, "Afternoons")});
    const SheetModel sheet = monthSheet({3, 2007}, crews, dateOf(2007, 3, 15), &own);
    const std::string lines = renderMonthLines(sheet, {});
    EXPECT_NE(lines.find("2007-03-12\tMonday\t\tDays\tleave\t\tdentist\n"), std::string::npos);
    EXPECT_NE(lines.find("2007-03-14\tWednesday\t\tNights\tswap\tAfternoons\t\n"),
              std::string::npos);
    EXPECT_NE(lines.find("2007-03-13\tTuesday\t\tDays\n"), std::string::npos);
    const std::string text = renderMonthSheet(sheet, {});
    EXPECT_NE(text.find("|Leave*    |"), std::string::npos) << text;
    EXPECT_NE(text.find("|Afternoons|"), std::string::npos) << text;
    for (const std::string& line : test::linesOf(text)) {
        EXPECT_LE(line.size(), 80u) << line;
    }
}

// ---------------------------------------------------------------------------------------------
// The backup file.

TEST(OwnDaysFileTest, EveryEntryRoundTrips) {
    const OwnDays entries({{dateOf(100, 1, 1), OwnDayKind::Leave, {}, {}},
                           {dateOf(2007, 3, 12), OwnDayKind::Leave, {}, "dentist, 9:00; bring #3"},
                           {dateOf(2007, 3, 14), OwnDayKind::Swap, "Days (8)", "  spaces kept  "},
                           {dateOf(2007, 3, 16), OwnDayKind::Extra, "Days (12)", k200},
                           {dateOf(2007, 3, 20), OwnDayKind::Note, {}, "\\ back\\slash \"q\""},
                           {dateOf(2007, 3, 21), OwnDayKind::Sick, {}, {}},
                           {dateOf(9999, 12, 31), OwnDayKind::Swap, "Off", {}}});
    const std::string text = ownDaysFileText(entries);
    const OwnDaysFileReading reading = parseOwnDaysFile(text);
    EXPECT_TRUE(reading.problems.empty());
    EXPECT_EQ(OwnDays(reading.entries), entries);
    // A file from another system's editor, with CRLF line ends, reads the same.
    std::string crlf;
    for (const std::string& line : test::linesOf(text)) {
        crlf += line + "\r\n";
    }
    EXPECT_EQ(OwnDays(parseOwnDaysFile(crlf).entries), entries);
}

struct BadFileCase {
    const char* name;
    std::string text;
    std::vector<std::string> problems;
};

class BadFileTable : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(BadFileTable, NothingAndEveryBadLineByNumber) {
    const OwnDaysFileReading reading = parseOwnDaysFile(GetParam().text);
    EXPECT_TRUE(reading.entries.empty());
    EXPECT_EQ(reading.problems, GetParam().problems);
}

const std::string kHead = "# own days\nkelsing-own-days 1\n";

INSTANTIATE_TEST_SUITE_P(
    Files, BadFileTable,
    ::testing::Values(
        BadFileCase{"empty", "", {"not an own-days file (no line 'kelsing-own-days 1')"}},
        BadFileCase{"another file",
                    "[start]\nview = single\n",
                    {"line 1: not an own-days file (the first line is not 'kelsing-own-days 1')"}},
        BadFileCase{"newer",
                    "kelsing-own-days 2\n2007-03-12\tleave\t\t\n",
                    {"line 1: written by a newer version of the program (format 2)"}},
        BadFileCase{"binary", std::string("kelsing-own-days 1\n\0\x01", 21), {"not a text file"}},
        BadFileCase{"every bad line",
                    kHead + "2007-03-12\tleave\t\t\n"     // line 3, good
                            "2007-02-30\tleave\t\t\n"     // 4
                            "2007-03-13\tholiday\t\t\n"   // 5
                            "2007-03-14\tswap\tLates\t\n" // 6
                            "2007-03-15\tleave\t\n"       // 7
                            "\n"                          // 8, skipped
                            "2007-03-12\tsick\t\t\n"      // 9
                            "0099-12-31\tsick\t\t\n"      // 10
                            "2007-03-16\tnote\t\t\n"      // 11
                            "2007-03-17\textra\tOff\t\n", // 12
                    {"line 4: the date is not YYYY-MM-DD in the years 0100..9999",
                     "line 5: unknown kind (expected leave, sick, swap, extra or note)",
                     "line 6: the shift is not one of the shift table",
                     "line 7: not DATE<TAB>KIND<TAB>SHIFT<TAB>NOTE",
                     "line 9: the date is given again (first on line 3)",
                     "line 10: the date is not YYYY-MM-DD in the years 0100..9999",
                     "line 11: a note needs its text", "line 12: an extra shift cannot be Off"}},
        BadFileCase{"a note too long",
                    kHead + "2007-03-12\tleave\t\t" + k200 + "b\n",
                    {"line 3: the note has 201 characters (at most 200)"}}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

// ---------------------------------------------------------------------------------------------
// The calendar file, read by libical.

TEST(OwnDaysCalendarTest, SwapsReplaceExtrasAddLeaveAndSickStandAlone) {
    const OwnDays own(
        {entry(2, OwnDayKind::Swap, "Nights", "for Ann"), entry(7, OwnDayKind::Extra, "Days (12)"),
         entry(12, OwnDayKind::Leave, {}, "dentist"), entry(14, OwnDayKind::Sick),
         entry(18, OwnDayKind::Note, {}, "pay day"), entry(23, OwnDayKind::Note, {}, "off note")});
    ShiftCalendarOptions options{false, false, "20070301T120000Z"};
    const auto events = [&](const OwnDays* days) {
        options.ownDays = days;
        std::map<std::string, test::ParsedEvent> byUid;
        for (const test::ParsedEvent& event : test::parseCalendar(shiftCalendar(
                 kCorvath403, "Corvath 403", dateOf(2007, 3, 1), dateOf(2007, 3, 31), options))) {
            EXPECT_EQ(event.end, event.start + 1) << event.uid;
            EXPECT_TRUE(byUid.emplace(event.uid, event).second) << "twice: " << event.uid;
        }
        return byUid;
    };
    const auto without = events(nullptr);
    auto with = events(&own);
    const auto uid = [](int day, const std::string& tag = "") {
        return "200703" + std::string(day < 10 ? "0" : "") + std::to_string(day) + tag +
               "-crew83.2@kelsing-shifts";
    };
    // The swap takes the rotation's event's place: the same UID, so a calendar updates it.
    EXPECT_EQ(without.at(uid(2)).summary, "Days");
    EXPECT_EQ(with.at(uid(2)).summary, "Nights (swap)");
    EXPECT_EQ(with.at(uid(2)).description, "Swapped for Days\nfor Ann");
    EXPECT_EQ(with.at(uid(7, "-own")).summary, "Days (12) (extra)");
    EXPECT_EQ(with.at(uid(12, "-own")).summary, "Leave");
    EXPECT_EQ(with.at(uid(12, "-own")).description, "dentist");
    EXPECT_EQ(with.at(uid(14, "-own")).summary, "Sick");
    EXPECT_EQ(with.at(uid(18)).summary, "Days");
    EXPECT_EQ(with.at(uid(18)).description, "pay day");
    EXPECT_EQ(with.at(uid(23, "-own")).summary, "Note");
    EXPECT_EQ(with.at(uid(23, "-own")).description, "off note");
    // Every other event is as it was, and the rotation's events of leave and sick days stay.
    for (const int day : {2, 18}) {
        with.erase(uid(day));
    }
    for (const int day : {7, 12, 14, 23}) {
        with.erase(uid(day, "-own"));
    }
    auto rest = without;
    rest.erase(uid(2));
    rest.erase(uid(18));
    EXPECT_EQ(with.size(), rest.size());
    for (const auto& [id, event] : rest) {
        ASSERT_TRUE(with.count(id)) << id;
        EXPECT_EQ(with.at(id).summary, event.summary) << id;
        EXPECT_EQ(corvath403(event.start), event.summary) << id;
    }
}

} // namespace
} // namespace kelsing
