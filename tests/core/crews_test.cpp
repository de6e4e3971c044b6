// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/decimal.h"
#include "crews/crewcaptiontable.h"
#include "crews/crewcatalogue.h"
#include "crews/crewcode.h"
#include "rotation/rotationengine.h"

#include <cmath>
#include <iomanip>
#include <limits>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

using namespace std::string_literals;

// ---------------------------------------------------------------------------------------------
// The employer slots.

struct SlotCase {
    int slot;
    std::string_view listCaption;
    bool selectable;
    EmployerKind kind;
    std::string_view name;
    int entries;
};

void PrintTo(const SlotCase& c, std::ostream* os) {
    *os << "slot " << c.slot;
}

class EmployerSlotTable : public ::testing::TestWithParam<SlotCase> {};

TEST_P(EmployerSlotTable, Slot) {
    const SlotCase& c = GetParam();
    const Employer& e = CrewCatalogue::employer(c.slot);
    EXPECT_EQ(&e, &CrewCatalogue::employers()[static_cast<std::size_t>(c.slot)]);
    EXPECT_EQ(e.listCaption, c.listCaption);
    EXPECT_EQ(e.selectable, c.selectable);
    EXPECT_EQ(e.kind, c.kind);
    EXPECT_EQ(e.name, c.name);
    EXPECT_EQ(CrewCatalogue::crewListSize(e), c.entries);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, EmployerSlotTable,
    ::testing::Values(SlotCase{0, "Brenmoor", true, EmployerKind::Flat, "Brenmoor", 5},
                      SlotCase{1, "Tarsk", false, EmployerKind::None, "Tarsk", 0},
                      SlotCase{2, "Quillon", false, EmployerKind::None, "Quillon", 0},
                      SlotCase{3, "Velmora", false, EmployerKind::None, "Velmora", 0},
                      SlotCase{4, "Zantor", true, EmployerKind::Flat, "Zantor", 5},
                      SlotCase{5, "Meridane", false, EmployerKind::None, "Meridane", 0},
                      SlotCase{6, "Halvex", true, EmployerKind::Grouped, "Halvex", 7},
                      SlotCase{7, "Corvath", true, EmployerKind::Grouped, "Corvath", 5},
                      SlotCase{8, "Tobrin's", true, EmployerKind::Flat, "Tobrin's", 10},
                      SlotCase{9, "", false, EmployerKind::None, "Not Used", 0},
                      SlotCase{10, "", false, EmployerKind::None, "Not Used", 0}));

TEST(CrewCatalogueTest, ElevenSlots) {
    EXPECT_EQ(CrewCatalogue::kEmployerCount, 11);
    EXPECT_EQ(CrewCatalogue::employers().size(), 11u);
}

// ---------------------------------------------------------------------------------------------
// Every choice: its code, text, decoding, crew box text and the rotation it selects.

struct ChoiceCase {
    std::string_view path;
    std::string_view text; // the crew code as the chooser writes it
    Int16 code, sub;
    bool allCrews;
};

// The whole catalogue in catalogue order, by path of captions.
const ChoiceCase kChoices[] = {
    {"Brenmoor/A Crew", "10", 10, 0, false},
    {"Brenmoor/B Crew", "11", 11, 0, false},
    {"Brenmoor/C Crew", "12", 12, 0, false},
    {"Brenmoor/D Crew", "13", 13, 0, false},
    {"Brenmoor/All Crews", "14", 14, 0, true},
    {"Zantor/A Crew", "50", 50, 0, false},
    {"Zantor/B Crew", "51", 51, 0, false},
    {"Zantor/C Crew", "52", 52, 0, false},
    {"Zantor/D Crew", "53", 53, 0, false},
    {"Zantor/E Crew", "54", 54, 0, false},
    {"Halvex/AA-DD/AA", "70", 70, 0, false},
    {"Halvex/AA-DD/BB", "70.1", 70, 1, false},
    {"Halvex/AA-DD/CC", "70.2", 70, 2, false},
    {"Halvex/AA-DD/DD", "70.3", 70, 3, false},
    {"Halvex/AA-DD/All", "70.4", 70, 4, true},
    {"Halvex/E (5-A)/E-5", "71", 71, 0, false},
    {"Halvex/E (5-A)/E-6", "71.1", 71, 1, false},
    {"Halvex/E (5-A)/E-7", "71.2", 71, 2, false},
    {"Halvex/E (5-A)/E-8", "71.3", 71, 3, false},
    {"Halvex/E (5-A)/E-9", "71.4", 71, 4, false},
    {"Halvex/E (5-A)/E-A", "71.5", 71, 5, false},
    {"Halvex/I2-L2/I-2", "72", 72, 0, false},
    {"Halvex/I2-L2/J-2", "72.1", 72, 1, false},
    {"Halvex/I2-L2/K-2", "72.2", 72, 2, false},
    {"Halvex/I2-L2/L-2", "72.3", 72, 3, false},
    {"Halvex/I2-L2/All Crews", "72.4", 72, 4, true},
    {"Halvex/M (1-2)/M-1", "73", 73, 0, false},
    {"Halvex/M (1-2)/M-2", "73.1", 73, 1, false},
    {"Halvex/P (6-9)/P-6", "74", 74, 0, false},
    {"Halvex/P (6-9)/P-7", "74.1", 74, 1, false},
    {"Halvex/P (6-9)/P-8", "74.2", 74, 2, false},
    {"Halvex/P (6-9)/P-9", "74.3", 74, 3, false},
    {"Halvex/S (A-B)/S-A", "75", 75, 0, false},
    {"Halvex/S (A-B)/S-B", "75.1", 75, 1, false},
    {"Halvex/T (1-2)/T-1", "76", 76, 0, false},
    {"Halvex/T (1-2)/T-2", "76.1", 76, 1, false},
    {"Corvath/1-4/1", "80", 80, 0, false},
    {"Corvath/1-4/2", "80.1", 80, 1, false},
    {"Corvath/1-4/3", "80.2", 80, 2, false},
    {"Corvath/1-4/4", "80.3", 80, 3, false},
    {"Corvath/1-4/1-4 All", "80.4", 80, 4, true},
    {"Corvath/30-31/30", "81", 81, 0, false},
    {"Corvath/30-31/31", "81.1", 81, 1, false},
    {"Corvath/150-151/150", "82", 82, 0, false},
    {"Corvath/150-151/151", "82.1", 82, 1, false},
    {"Corvath/401-404/401", "83", 83, 0, false},
    {"Corvath/401-404/402", "83.1", 83, 1, false},
    {"Corvath/401-404/403", "83.2", 83, 2, false},
    {"Corvath/401-404/404", "83.3", 83, 3, false},
    {"Corvath/401-404/All Crews", "83.4", 83, 4, true},
    {"Corvath/501-509/501", "84", 84, 0, false},
    {"Corvath/501-509/502", "84.1", 84, 1, false},
    {"Corvath/501-509/503", "84.2", 84, 2, false},
    {"Corvath/501-509/504", "84.3", 84, 3, false},
    {"Corvath/501-509/All 501-504", "84.4", 84, 4, true},
    {"Corvath/501-509/506", "84.5", 84, 5, false},
    {"Corvath/501-509/507", "84.6", 84, 6, false},
    {"Corvath/501-509/508", "84.7", 84, 7, false},
    {"Corvath/501-509/509", "84.8", 84, 8, false},
    {"Corvath/501-509/All 506-509", "84.9", 84, 9, true},
    {"Tobrin's/A Crew", "90", 90, 0, false},
    {"Tobrin's/B Crew", "91", 91, 0, false},
    {"Tobrin's/C Crew", "92", 92, 0, false},
    {"Tobrin's/D Crew", "93", 93, 0, false},
    {"Tobrin's/All Crews", "94", 94, 0, true},
    {"Tobrin's/AX Crew", "95", 95, 0, false},
    {"Tobrin's/BX Crew", "96", 96, 0, false},
    {"Tobrin's/CX Crew", "97", 97, 0, false},
    {"Tobrin's/DX Crew", "98", 98, 0, false},
    {"Tobrin's/All X Crews", "99", 99, 0, true},
};

// "Employer/Group/Member" -> "Employer\nMember"; "Employer/Entry" -> "Employer\nEntry".
std::string boxTextOf(std::string_view path) {
    return std::string(path.substr(0, path.find('/'))) + "\n" +
           std::string(path.substr(path.rfind('/') + 1));
}

TEST(CrewCatalogueTest, AllChoicesInCatalogueOrder) {
    const auto choices = CrewCatalogue::allChoices();
    ASSERT_EQ(choices.size(), std::size(kChoices));
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const ChoiceCase& c = kChoices[i];
        SCOPED_TRACE(c.path);
        const CatalogueChoice& choice = choices[i];
        EXPECT_EQ(choice.choice.code.text(), c.text);
        EXPECT_EQ(choice.choice.boxText, boxTextOf(c.path));
        EXPECT_EQ(choice.entry.allCrews, c.allCrews);
        EXPECT_TRUE(CrewCatalogue::employer(choice.slot).selectable);
        const std::string_view path = c.path;
        const bool grouped = path.find('/') != path.rfind('/');
        EXPECT_EQ(choice.groupCaption,
                  grouped ? path.substr(path.find('/') + 1, path.rfind('/') - path.find('/') - 1)
                          : std::string_view{});
    }
}

void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.path;
}

class ChoiceTable : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChoiceTable, PathCodeTextAndDecodingAgree) {
    const ChoiceCase& c = GetParam();
    const auto found = CrewCatalogue::findByPath(c.path);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->boxText, boxTextOf(c.path));
    const CrewCode code = found->code;
    EXPECT_EQ(code.text(), c.text);
    EXPECT_EQ(code.decode(), (ScheduleSelection{c.code, c.sub}));
    // written and read back, with either decimal separator, it is the same number
    for (std::string_view separator : {".", ","}) {
        const std::string text = code.text(separator);
        EXPECT_EQ(text.find(separator == "." ? ',' : '.'), std::string::npos) << text;
        const auto read = CrewCode::parse(text, separator);
        ASSERT_TRUE(read.has_value()) << text;
        EXPECT_EQ(*read, code) << text;
        EXPECT_EQ(read->decode(), (ScheduleSelection{c.code, c.sub})) << text;
    }
    // every choice selects a rotation; the all-crews entries give the all-crews lines
    for (int d = 39083; d < 39083 + 40; ++d) {
        const auto shift = ASS(static_cast<float>(d), c.code, c.sub);
        ASSERT_TRUE(shift.has_value()) << d;
        EXPECT_EQ(shift->size() == 11, c.allCrews) << *shift;
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, ChoiceTable, ::testing::ValuesIn(kChoices));

TEST(CrewCatalogueTest, CodeRules) {
    EXPECT_EQ(CrewCatalogue::flatCrewCode(0, 0).value(), 10.0);
    EXPECT_EQ(CrewCatalogue::flatCrewCode(8, 0).value(), 90.0);
    EXPECT_EQ(CrewCatalogue::flatCrewCode(8, 9).value(), 99.0);
    EXPECT_EQ(CrewCatalogue::memberCrewCode(7, 0, 0).text(), "80");
    EXPECT_EQ(CrewCatalogue::memberCrewCode(6, 1, 4).text(), "71.4");
    EXPECT_EQ(CrewCatalogue::memberCrewCode(7, 4, 9).text(), "84.9");
    EXPECT_EQ(CrewCatalogue::crewBoxText(7, "403"), "Corvath\n403");
    EXPECT_EQ(CrewCatalogue::crewBoxText(9, "x"), "Not Used\nx");
}

class BadPathTable : public ::testing::TestWithParam<std::string_view> {};

TEST_P(BadPathTable, IsNotAChoice) {
    EXPECT_FALSE(CrewCatalogue::findByPath(GetParam()).has_value()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    Paths, BadPathTable,
    ::testing::Values("", "Brenmoor", "Brenmoor/", "Brenmoor/E Crew", "Brenmoor/a crew",
                      "brenmoor/A Crew", "Brenmoor/A Crew/", "Brenmoor/A Crew/A Crew",
                      "Brenmoor//A Crew", " Brenmoor/A Crew", "Tarsk/A Crew", "Tarsk/",
                      "Meridane/A Crew", "/A Crew", "Not Used/A Crew", "Corvath", "Corvath/401-404",
                      "Corvath/401-404/", "Corvath/403", "Corvath/401-404/405",
                      "Corvath/401-404/403/x", "Corvath/401-404/403/", "Corvath/1-4/All",
                      "Halvex/AA-DD/All Crews", "Tobrin's/All"));

// ---------------------------------------------------------------------------------------------
// Crew code texts and numbers.

struct DecodeCase {
    double value;
    Int16 code, sub;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << std::setprecision(17) << c.value;
}

class DecodeTable : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTable, IntegerPartAndRoundedTenths) {
    const DecodeCase& c = GetParam();
    EXPECT_EQ(CrewCode(c.value).decode(), (ScheduleSelection{c.code, c.sub})) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, DecodeTable,
    ::testing::Values(DecodeCase{0, 0, 0}, DecodeCase{14, 14, 0}, DecodeCase{80, 80, 0},
                      DecodeCase{84.9, 84, 9}, DecodeCase{80.2, 80, 2}, DecodeCase{70.1, 70, 1},
                      DecodeCase{83 + 0.2, 83, 2}, DecodeCase{std::nextafter(84.9, 0.0), 84, 9},
                      DecodeCase{std::nextafter(70.1, 0.0), 70, 1},
                      // a half tenth rounds to the even sub-code
                      DecodeCase{70.25, 70, 2}, DecodeCase{70.75, 70, 8}, DecodeCase{-0.5, -1, 5}));

TEST(CrewCodeTest, DecodingOutside16BitsOverflows) {
    EXPECT_THROW(CrewCode(40000).decode(), OverflowError);
    EXPECT_THROW(CrewCode(-32769).decode(), OverflowError);
    EXPECT_THROW(CrewCode(std::numeric_limits<double>::quiet_NaN()).decode(), OverflowError);
    EXPECT_EQ(CrewCode(32767.0).decode(), (ScheduleSelection{32767, 0}));
}

struct TextCase {
    double value;
    std::string_view separator;
    std::string_view text;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << std::setprecision(17) << c.value << " with " << c.separator;
}

class CrewCodeTextTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(CrewCodeTextTable, ShortestDecimalText) {
    const TextCase& c = GetParam();
    EXPECT_EQ(CrewCode(c.value).text(c.separator), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, CrewCodeTextTable,
    ::testing::Values(TextCase{14, ".", "14"}, TextCase{80, ".", "80"}, TextCase{80.2, ".", "80.2"},
                      TextCase{84.9, ".", "84.9"},

                      TextCase{84.9, ",", "84,9"}, TextCase{14, ",", "14"}, TextCase{0, ".", "0"},
                      // numbers no chooser writes still read back: plain
                      // notation, never an exponent
                      TextCase{0.000005, ".", "0.000005"}, TextCase{-0.000005, ",", "-0,000005"},
                      TextCase{1e20, ".", "100000000000000000000"},
                      TextCase{-32768.95, ".", "-32768.95"}, TextCase{83.0 + 0.2, ".", "83.2"}));

struct ParseCase {
    std::string_view text;
    std::string_view separator;
    std::optional<double> value;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << "'" << c.text << "' with " << c.separator;
}

class ParseDecimalTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDecimalTable, ReadsPlainDecimals) {
    const ParseCase& c = GetParam();
    EXPECT_EQ(parseDecimal(c.text, c.separator), c.value) << "'" << c.text << "'";
    const auto code = CrewCode::parse(c.text, c.separator);
    EXPECT_EQ(code.has_value(), c.value.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDecimalTable,
    ::testing::Values(ParseCase{"14", ".", 14.0}, ParseCase{" 80.2 ", ".", 80.2},
                      ParseCase{"\t84.9\t", ".", 84.9}, ParseCase{"84,9", ",", 84.9},
                      ParseCase{"0", ".", 0.0}, ParseCase{"-3.5", ".", -3.5},
                      ParseCase{"+5", ".", 5.0}, ParseCase{"80.", ".", 80.0},
                      ParseCase{".5", ".", 0.5}, ParseCase{"84,9", ".", std::nullopt},
                      ParseCase{"84.9", ",", std::nullopt}, ParseCase{"", ".", std::nullopt},
                      ParseCase{"  ", ".", std::nullopt}, ParseCase{".", ".", std::nullopt},
                      ParseCase{"-", ".", std::nullopt}, ParseCase{"1 4", ".", std::nullopt},
                      ParseCase{"14x", ".", std::nullopt}, ParseCase{"1e3", ".", std::nullopt},
                      ParseCase{"0x10", ".", std::nullopt}, ParseCase{"1.2.3", ".", std::nullopt},
                      ParseCase{"--1", ".", std::nullopt}, ParseCase{"inf", ".", std::nullopt},
                      ParseCase{"nan", ".", std::nullopt}));

// ---------------------------------------------------------------------------------------------
// The crew caption table that rebuilds a crew box from a stored code.

TEST(CrewCaptionTextTest, EveryChooserCodeGivesTheChoosersCaption) {
    // The three all-crews entries that the table words differently from the chooser.
    const std::map<std::string, std::string> differing = {
        {"70.4", "Halvex\nAll Crews"},
        {"84.4", "Corvath\nAll 501-4 Crews"},
        {"84.9", "Corvath\nAll 506-9 Crews"},
    };
    for (const CatalogueChoice& choice : CrewCatalogue::allChoices()) {
        const std::string text = choice.choice.code.text();
        SCOPED_TRACE(text);
        const auto found = differing.find(text);
        const std::string expected =
            found == differing.end() ? choice.choice.boxText : found->second;
        EXPECT_EQ(CrewCaptionText(choice.choice.code), expected);
        // the same code read back from its text
        EXPECT_EQ(CrewCaptionText(*CrewCode::parse(text)), expected);
    }
}

struct CaptionCase {
    double value;
    std::optional<std::string> text;
};

void PrintTo(const CaptionCase& c, std::ostream* os) {
    *os << std::setprecision(17) << c.value;
}

class CrewCaptionTable : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(CrewCaptionTable, TextOfACode) {
    const CaptionCase& c = GetParam();
    EXPECT_EQ(CrewCaptionText(CrewCode(c.value)), c.text) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CrewCaptionTable,
    ::testing::Values(CaptionCase{70.1, "Halvex\nBB"s},
                      // a hair under 70.1: rounding keeps the entry from dropping to "AA"
                      CaptionCase{std::nextafter(70.1, 0.0), "Halvex\nBB"s},
                      CaptionCase{70.1 - 1e-9, "Halvex\nBB"s},
                      CaptionCase{84.9 - 1e-9, "Corvath\nAll 506-9 Crews"s},
                      CaptionCase{99, "Tobrin's\nAll X Crews"s},
                      CaptionCase{90, "Tobrin's\nA Crew"s}, CaptionCase{12, "Brenmoor\nC Crew"s},
                      CaptionCase{80.2, "Corvath\n3"s}, CaptionCase{81, "Corvath\n30"s},
                      CaptionCase{54, "Zantor\nE Crew"s},
                      // no crew, and codes in no row
                      CaptionCase{0, std::nullopt}, CaptionCase{9, std::nullopt},
                      CaptionCase{20, std::nullopt}, CaptionCase{60, std::nullopt},
                      CaptionCase{69.9, std::nullopt}, CaptionCase{77, std::nullopt},
                      CaptionCase{85, std::nullopt}, CaptionCase{100, std::nullopt},
                      CaptionCase{-10, std::nullopt}, CaptionCase{70.95, std::nullopt},
                      // codes inside a row but past its entries
                      CaptionCase{80.7, std::nullopt}, CaptionCase{15, std::nullopt},
                      CaptionCase{59, std::nullopt}, CaptionCase{73.2, std::nullopt},
                      CaptionCase{71.9, std::nullopt}));

} // namespace
} // namespace kelsing
