// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/quoting.h"

#include <cstdint>
#include <cstdio>

namespace kelsing {

namespace {

// The length of the valid UTF-8 character at the start of `text` and its code point; 0 for a
// byte that starts none (overlong forms and surrogates are not characters).
std::size_t characterAt(std::string_view text, char32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        least = 0x80;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        least = 0x800;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        least = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < least || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

// C1 controls, and the characters that separate lines or override the direction of text.
bool isHiddenControl(char32_t c) {
    return (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 || (c >= 0x200E && c <= 0x200F) ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::string escape(const char* format, unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

} // namespace

std::string quotedArgument(std::string_view argument) {
    std::string out = "'";
    std::size_t characters = 0;
    while (!argument.empty()) {
        if (characters == kQuotedLengthLimit) {
            return out + "...'";
        }
        ++characters;
        char32_t c = 0;
        const std::size_t length = characterAt(argument, c);
        if (length == 0) {
            out += escape("\\x%02x", static_cast<unsigned char>(argument[0]));
            argument.remove_prefix(1);
            continue;
        }
        switch (c) {
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\'':
            out += "\\'";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                out += escape("\\x%02x", static_cast<unsigned>(c));
            } else if (isHiddenControl(c)) {
                out += escape("\\u%04x", static_cast<unsigned>(c));
            } else {
                out += argument.substr(0, length);
            }
        }
        argument.remove_prefix(length);
    }
    return out + "'";
}

} // namespace kelsing
