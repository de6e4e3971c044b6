// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/rgb.h"

#include <string>

namespace kelsing {

/// The user's own entry on a day of the single view, as the cell shows it beside the Part of
/// the rotation: the shift line splits into the rotation's shift on the left and the entry on
/// the right, over a tint of the entry's mark colour. Empty on a day without an entry.
struct OwnMark {
    std::string word;            // "Leave", "Sick", "Swap", "Extra" or "Note"; empty: none
    Rgb colour{0, 0, 0};         // the mark's colour, one for each kind
    std::string rotationShift;   // the rotation's shift as a half line shows it ("Aftnn")
    Rgb rotationColour{0, 0, 0}; // ... and its colour
    bool rotationWorked = true;  // false on leave, sick and swapped days: struck through
    std::string entryText;       // the right half: the word, or the swapped or extra shift
    Rgb entryColour{0, 0, 0};    // the mark's colour, or the shift's table colour
    std::string shift;           // the swapped or extra shift as the table writes it
    std::string note;            // the entry's note, if any
    friend bool operator==(const OwnMark&, const OwnMark&) = default;
};

} // namespace kelsing
