// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/versionpage.h"

#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

using namespace kelsing;

namespace {

constexpr VersionNumbers kOwn{2, 3, 0};

struct PageCase {
    const char* name;
    std::string page;
    std::optional<std::string> expected; // the title text quoted in the notice; nullopt = none
    std::string decimalSeparator = ".";
};

std::ostream& operator<<(std::ostream& os, const PageCase& c) {
    return os << c.name;
}

std::string titled(const std::string& title) {
    return "<html><head><title>" + title + "</title></head><body>Kelsing</body></html>";
}

const PageCase kPages[] = {
    // Newer versions at each of the three levels.
    {"revision_newer", titled("2.3.1"), "2.3.1"},
    {"minor_newer", titled("2.4.0"), "2.4.0"},
    {"major_newer", titled("3.0.0"), "3.0.0"},
    {"minor_compared_as_number", titled("2.10.0"), "2.10.0"},
    {"major_wins_over_lower_minor", titled("3.0.9"), "3.0.9"},
    {"minor_wins_over_lower_revision", titled("2.4.-5"), "2.4.-5"},
    {"leading_zeros", titled("02.03.01"), "02.03.01"},
    {"plus_sign", titled("+3.0.0"), "+3.0.0"},
    // The same and older versions.
    {"same", titled("2.3.0"), std::nullopt},
    {"older_major", titled("1.9.9"), std::nullopt},
    {"older_minor", titled("2.2.9"), std::nullopt},
    {"older_major_higher_minor", titled("1.99.99"), std::nullopt},
    {"same_with_zero_padding", titled("2.3.00"), std::nullopt},
    {"negative_major", titled("-3.0.0"), std::nullopt},
    // Blanks around the parts are allowed and quoted as they stand.
    {"blanks_around_the_title", titled(" 2.4.0 "), " 2.4.0 "},
    {"blanks_around_each_part", titled("2 . 4 . 0"), "2 . 4 . 0"},
    {"tabs_around_the_title", titled("\t2.4.0\t"), "\t2.4.0\t"},
    // The revision is everything after the second dot.
    {"revision_with_a_fraction", titled("2.3.0.5"), "2.3.0.5"},
    {"revision_zero_point_zero", titled("2.3.0.0"), std::nullopt},
    {"revision_with_two_more_dots", titled("2.3.0.0.1"), std::nullopt},
    // The title window: 20 characters, so at most 12 before "</title>".
    {"twelve_characters", titled("0002.0004.01"), "0002.0004.01"},
    {"thirteen_characters", titled("00002.0004.01"), std::nullopt},
    {"page_ends_inside_the_title", "<title>2.4.0</tit", std::nullopt},
    {"page_ends_right_after_the_title", "<title>2.4.0</title>", "2.4.0"},
    {"first_title_counts", "<title>2.3.0</title><title>9.9.9</title>", std::nullopt},
    {"first_title_counts_when_newer", "<title>2.4.0</title><title>1.0.0</title>", "2.4.0"},
    {"end_before_start", "</title><title>2.4.0</title>", "2.4.0"},
    // Without "<title>" the window starts at the 7th character.
    {"no_title_tag_read_from_seventh", "ABCDEF2.4.0</title>", "2.4.0"},
    {"no_title_tag_seventh_is_a_letter", "ABCDEFG2.4.0</title>", std::nullopt},
    {"title_tag_in_capitals", "<TITLE>2.4.0</TITLE>", std::nullopt},
    {"no_title_tag_counts_characters_not_bytes",
     "\xc3\x84\xc3\x96\xc3\x9c\xc3\x9f\xc3\xa9\xc3\xa8"
     "2.4.0</title>",
     "2.4.0"},
    {"title_after_multibyte_text", "\xc3\x84\xc3\x96 <title>2.4.0</title>", "2.4.0"},
    {"no_end_tag", "<title>2.4.0", std::nullopt},
    {"end_tag_in_capitals", "<title>2.4.0</TITLE>", std::nullopt},
    // Fewer than two dots and texts that are not numbers.
    {"one_dot", titled("2.4"), std::nullopt},
    {"no_dot", titled("240"), std::nullopt},
    {"empty_title", titled(""), std::nullopt},
    {"empty_minor", titled("2..1"), std::nullopt},
    {"empty_revision", titled("2.4."), std::nullopt},
    {"letter_in_minor", titled("2.x.0"), std::nullopt},
    {"letters_after_revision", titled("2.4.0a"), std::nullopt},
    {"markup_before", titled("<b>9.9.9"), std::nullopt},
    {"markup_after", titled("9.9.9<b>"), std::nullopt},
    {"exponent", titled("1e1.0.0"), std::nullopt},
    {"empty_page", "", std::nullopt},
    {"short_page", "2.4.0", std::nullopt},
    // The user's decimal separator applies to each part.
    {"comma_separator_fraction", titled("2.3,5.0"), "2.3,5.0", ","},
    {"comma_not_a_separator_with_dot", titled("2.3,5.0"), std::nullopt, "."},
    {"comma_separator_plain_version", titled("2.4.0"), "2.4.0", ","},
};

class VersionPageTable : public ::testing::TestWithParam<PageCase> {};

TEST_P(VersionPageTable, QuotesTheTitleOnlyForANewerVersion) {
    const PageCase& c = GetParam();
    EXPECT_EQ(NewerVersionTitle(c.page, kOwn, c.decimalSeparator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Pages, VersionPageTable, ::testing::ValuesIn(kPages),
                         [](const auto& info) { return std::string(info.param.name); });

struct OwnCase {
    const char* name;
    VersionNumbers own;
    const char* title;
    bool newer;
};

std::ostream& operator<<(std::ostream& os, const OwnCase& c) {
    return os << c.name;
}

const OwnCase kOwnVersions[] = {
    {"same_as_own", {3, 0, 0}, "3.0.0", false},
    {"older_than_own_minor", {3, 10, 0}, "3.9.99", false},
    {"newer_than_own_revision", {3, 10, 0}, "3.10.1", true},
    {"own_with_large_numbers", {2, 3, 0}, "99999999.0.0", true},
};

class OwnVersionTable : public ::testing::TestWithParam<OwnCase> {};

TEST_P(OwnVersionTable, ComparesWithTheGivenOwnVersion) {
    const OwnCase& c = GetParam();
    const auto title = NewerVersionTitle(titled(c.title), c.own);
    EXPECT_EQ(title.has_value(), c.newer);
}

INSTANTIATE_TEST_SUITE_P(Own, OwnVersionTable, ::testing::ValuesIn(kOwnVersions),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
