// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/printedpicturesize.h"

#include <ostream>

#include <gtest/gtest.h>

using namespace kelsing;

namespace {

struct SizeCase {
    const char* name;
    long windowWidth;
    long windowHeight;
    long pageWidth;
    PictureSize expected;
};

std::ostream& operator<<(std::ostream& os, const SizeCase& c) {
    return os << c.name;
}

const SizeCase kSizes[] = {
    {"window_narrower_than_the_page", 7200, 6600, 11520, {11520, 10560}},
    {"window_as_wide_as_the_page", 11520, 6600, 11520, {11520, 6600}},
    {"window_wider_than_the_page", 14400, 7200, 11520, {11520, 5760}},
    {"main_window_on_a4_at_1200_dpi", 465, 400, 9917, {9917, 8531}},
    {"height_rounds_down", 3, 1, 10, {10, 3}},
    {"height_rounds_up", 3, 2, 10, {10, 7}},
    {"half_rounds_away_from_zero", 4, 1, 2, {2, 1}},
    {"tall_window", 100, 300, 50, {50, 150}},
    {"window_without_width", 0, 400, 9917, {0, 0}},
    {"window_without_height", 465, 0, 9917, {0, 0}},
    {"page_without_width", 465, 400, 0, {0, 0}},
};

class PrintedPictureSizeTable : public ::testing::TestWithParam<SizeCase> {};

TEST_P(PrintedPictureSizeTable, SpansThePageWidthWithTheWindowsProportions) {
    const SizeCase& c = GetParam();
    const PictureSize size = PrintedPictureSize(c.windowWidth, c.windowHeight, c.pageWidth);
    EXPECT_EQ(size.width, c.expected.width);
    EXPECT_EQ(size.height, c.expected.height);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PrintedPictureSizeTable, ::testing::ValuesIn(kSizes),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
