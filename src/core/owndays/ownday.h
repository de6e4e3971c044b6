// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/rgb.h"
#include "calendar/dayserial.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kelsing {

/// What the user kept for a day of their own: leave, a sick day, a shift swapped for the
/// rotation's, an extra shift, or a note alone.
enum class OwnDayKind { Leave, Sick, Swap, Extra, Note };

/// The user's own entry for one date; at most one per date. A swap and an extra name a shift
/// of the shift table; any kind may carry a note, and a Note is a note alone.
struct OwnDay {
    DaySerial date = 0;
    OwnDayKind kind = OwnDayKind::Note;
    std::string shift; // the shift worked instead (Swap) or as well (Extra); empty otherwise
    std::string note;  // up to kNoteLimit characters; empty for none
    friend bool operator==(const OwnDay&, const OwnDay&) = default;
};

/// Every kind, in the order the menus and the summary give them.
inline constexpr std::array<OwnDayKind, 5> kOwnDayKinds = {
    OwnDayKind::Leave, OwnDayKind::Sick, OwnDayKind::Swap, OwnDayKind::Extra, OwnDayKind::Note};

/// The shifts of the shift table, which a swap or an extra may name.
inline constexpr std::array<std::string_view, 7> kTableShifts = {
    "Days", "Nights", "Afternoons", "Training", "Days (8)", "Days (12)", "Off"};

/// The most characters (Unicode code points) a note may have.
inline constexpr std::size_t kNoteLimit = 200;

/// The kind's name in the tool and in files: "leave", "sick", "swap", "extra", "note".
std::string_view kindName(OwnDayKind kind);

/// The kind of a name as kindName gives it.
std::optional<OwnDayKind> parseKind(std::string_view name);

/// The kind's word on the sheet: "Leave", "Sick", "Swap", "Extra", "Note".
std::string_view kindWord(OwnDayKind kind);

/// The colour of the kind's mark, unlike any colour of the shift table or today's red.
Rgb kindColour(OwnDayKind kind);

/// Whether a kind names a shift (Swap and Extra).
constexpr bool kindHasShift(OwnDayKind kind) {
    return kind == OwnDayKind::Swap || kind == OwnDayKind::Extra;
}

/// Whether `label` is a shift of the shift table.
bool isTableShift(std::string_view label);

/// Whether a shift label is one worked: a shift of the table other than "Off".
bool isWorkedShift(std::string_view label);

/// What is wrong with a note, or nullopt for a good one: valid UTF-8 of at most kNoteLimit
/// characters, without control characters, line or paragraph separators, or the characters
/// that reorder text.
std::optional<std::string> noteProblem(std::string_view note);

/// What is wrong with an entry, or nullopt for a good one: a date in the years 100..9999, a
/// shift from the table for a swap, one other than "Off" for an extra and none for the other
/// kinds, a good note, and a note that is not empty for a Note.
std::optional<std::string> entryProblem(const OwnDay& entry);

} // namespace kelsing
