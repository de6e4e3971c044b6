// SPDX-License-Identifier: GPL-3.0-or-later
#include "owndays/ownday.h"

#include <algorithm>

namespace kelsing {

namespace {

struct KindInfo {
    OwnDayKind kind;
    std::string_view name;
    std::string_view word;
    Rgb colour;
};

// The marks keep to hues that the shift table and today's red leave free, each dark enough to
// read on white and on its own light tint.
constexpr KindInfo kKinds[] = {
    {OwnDayKind::Leave, "leave", "Leave", {0, 118, 118}},
    {OwnDayKind::Sick, "sick", "Sick", {190, 0, 90}},
    {OwnDayKind::Swap, "swap", "Swap", {128, 96, 0}},
    {OwnDayKind::Extra, "extra", "Extra", {0, 100, 170}},
    {OwnDayKind::Note, "note", "Note", {100, 100, 100}},
};

const KindInfo& infoOf(OwnDayKind kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

// The code point at `i`, advancing `i`; nullopt for bytes that are not UTF-8 (overlong forms,
// surrogates and code points past U+10FFFF included).
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = byte < 0x80 ? 1 : byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : 2;
    if ((byte >= 0x80 && byte < 0xc2) || byte > 0xf4 || i + length > text.size()) {
        return std::nullopt;
    }
    char32_t code = length == 1 ? byte : byte & (0x7f >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xc0) != 0x80) {
            return std::nullopt;
        }
        code = code << 6 | (next & 0x3f);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff) {
        return std::nullopt;
    }
    i += length;
    return code;
}

// Control characters (C0, DEL, C1), the line and paragraph separators, and the marks that
// embed, override or isolate a direction, which would make a note show as something else.
bool isRefused(char32_t code) {
    return code < 0x20 || (code >= 0x7f && code <= 0x9f) || code == 0x2028 || code == 0x2029 ||
           (code >= 0x202a && code <= 0x202e) || (code >= 0x2066 && code <= 0x2069) ||
           code == 0x200e || code == 0x200f || code == 0x061c;
}

} // namespace

std::string_view kindName(OwnDayKind kind) {
    return infoOf(kind).name;
}

std::optional<OwnDayKind> parseKind(std::string_view name) {
    for (const KindInfo& info : kKinds) {
        if (info.name == name) {
            return info.kind;
        }
    }
    return std::nullopt;
}

std::string_view kindWord(OwnDayKind kind) {
    return infoOf(kind).word;
}

Rgb kindColour(OwnDayKind kind) {
    return infoOf(kind).colour;
}

bool isTableShift(std::string_view label) {
    return std::find(kTableShifts.begin(), kTableShifts.end(), label) != kTableShifts.end();
}

bool isWorkedShift(std::string_view label) {
    return isTableShift(label) && label != "Off";
}

std::optional<std::string> noteProblem(std::string_view note) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < note.size(); ++characters) {
        const auto code = nextCodePoint(note, i);
        if (!code) {
            return "the note is not UTF-8 text";
        }
        if (isRefused(*code)) {
            return "the note holds a control character";
        }
    }
    if (characters > kNoteLimit) {
        return "the note has " + std::to_string(characters) + " characters (at most " +
               std::to_string(kNoteLimit) + ")";
    }
    return std::nullopt;
}

std::optional<std::string> entryProblem(const OwnDay& entry) {
    if (!isSupportedSerial(entry.date)) {
        return "the date is outside the years 0100..9999";
    }
    if (kindHasShift(entry.kind) && !isTableShift(entry.shift)) {
        return entry.shift.empty() ? "a " + std::string(kindName(entry.kind)) + " needs a shift"
                                   : "the shift is not one of the shift table";
    }
    if (entry.kind == OwnDayKind::Extra && entry.shift == "Off") {
        return std::string("an extra shift cannot be Off");
    }
    if (!kindHasShift(entry.kind) && !entry.shift.empty()) {
        return "a " + std::string(kindName(entry.kind)) + " has no shift";
    }
    if (auto problem = noteProblem(entry.note)) {
        return problem;
    }
    if (entry.kind == OwnDayKind::Note && entry.note.empty()) {
        return std::string("a note needs its text");
    }
    return std::nullopt;
}

} // namespace kelsing
