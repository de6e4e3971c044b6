// SPDX-License-Identifier: GPL-3.0-or-later
#include "crews/crewcaptiontable.h"

#include <array>
#include <cmath>
#include <string_view>

namespace kelsing {

namespace {

struct CaptionRow {
    double low;
    double high;
    std::string_view employer;
    double scale; // entry number = code x scale - bias
    double bias;
    std::array<std::string_view, 10> entries; // unused places are empty
};

// Some wordings differ from the chooser's on purpose ("All Crews" for Halvex "All",
// "All 501-4 Crews", "All 506-9 Crews"): a crew box rebuilt by the switch shows these.
constexpr CaptionRow kRows[] = {
    {10, 19, "Brenmoor", 1, 9, {"A Crew", "B Crew", "C Crew", "D Crew", "All Crews"}},
    {50, 59, "Zantor", 1, 49, {"A Crew", "B Crew", "C Crew", "D Crew", "E Crew"}},
    {70, 70.9, "Halvex", 10, 699, {"AA", "BB", "CC", "DD", "All Crews"}},
    {71, 71.9, "Halvex", 10, 709, {"E-5", "E-6", "E-7", "E-8", "E-9", "E-A"}},
    {72, 72.9, "Halvex", 10, 719, {"I-2", "J-2", "K-2", "L-2", "All Crews"}},
    {73, 73.9, "Halvex", 10, 729, {"M-1", "M-2"}},
    {74, 74.9, "Halvex", 10, 739, {"P-6", "P-7", "P-8", "P-9"}},
    {75, 75.9, "Halvex", 10, 749, {"S-A", "S-B"}},
    {76, 76.9, "Halvex", 10, 759, {"T-1", "T-2"}},
    {80, 80.9, "Corvath", 10, 799, {"1", "2", "3", "4", "1-4 All"}},
    {81, 81.9, "Corvath", 10, 809, {"30", "31"}},
    {82, 82.9, "Corvath", 10, 819, {"150", "151"}},
    {83, 83.9, "Corvath", 10, 829, {"401", "402", "403", "404", "All Crews"}},
    {84,
     84.9,
     "Corvath",
     10,
     839,
     {"501", "502", "503", "504", "All 501-4 Crews", "506", "507", "508", "509",
      "All 506-9 Crews"}},
    {90,
     99,
     "Tobrin's",
     1,
     89,
     {"A Crew", "B Crew", "C Crew", "D Crew", "All Crews", "AX Crew", "BX Crew", "CX Crew",
      "DX Crew", "All X Crews"}},
};

} // namespace

std::optional<std::string> CrewCaptionText(CrewCode code) {
    const double value = code.value();
    for (const CaptionRow& row : kRows) {
        if (value < row.low || value > row.high) {
            continue;
        }
        // Rounded, so that the binary error of a tenth (70.1 x 10 a hair under 701) never
        // selects the entry below.
        const double entry = std::round(value * row.scale - row.bias);
        if (entry < 1 || entry > static_cast<double>(row.entries.size()) ||
            row.entries[static_cast<std::size_t>(entry) - 1].empty()) {
            return std::nullopt;
        }
        std::string text(row.employer);
        text += '\n';
        text += row.entries[static_cast<std::size_t>(entry) - 1];
        return text;
    }
    return std::nullopt;
}

} // namespace kelsing
