// SPDX-License-Identifier: GPL-3.0-or-later
// The arguments of kelsing-shifts: dates, months, years, 16-bit codes and crews. Whatever is
// accepted must read back as the text it came from; an argument quoted in a message is one short
// line of printable ASCII and UTF-8; the option reader hands out only pieces of its arguments.

#include "arguments.h"
#include "base/quoting.h"
#include "errors.h"
#include "optionparser.h"
#include "require.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelsing;
    using fuzz::require;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto date = cli::parseIsoDate(text)) {
        require(isoDate(*date) == text);
    }
    if (const auto year = cli::parseYear(text)) {
        require(*year >= kFirstYear && *year <= kLastYear);
    }
    if (const auto month = cli::parseYearMonth(text)) {
        require(month->month >= 1 && month->month <= 12);
        require(isoDate(toDaySerial(std::chrono::year{month->year} /
                                    std::chrono::month{static_cast<unsigned>(month->month)} / 1))
                    .substr(0, 7) == text);
    }
    if (const auto number = cli::parseInt16(text)) {
        // Decimal digits with an optional minus sign, leading zeros allowed.
        const std::string_view digits = text.starts_with('-') ? text.substr(1) : text;
        long long value = 0;
        for (const char c : digits) {
            require(c >= '0' && c <= '9');
            value = std::min(value * 10 + (c - '0'), 100000LL);
        }
        require((text.starts_with('-') ? -value : value) == *number);
    }
    if (const auto crew = cli::parseCrew(text)) {
        require(text.find('/') != std::string_view::npos || crew->code.text() == text);
        require(crew->boxText.find('\n') != std::string::npos);
    }
    const std::string message = quotedArgument(text);
    require(message.size() <= 2 + 6 * kQuotedLengthLimit + 3);
    for (const char c : message) {
        require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
    }
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return c >= 0x20 && c < 0x7f && c != '\\' && c != '\'';
    });
    if (plain && text.size() <= kQuotedLengthLimit) {
        require(message == "'" + std::string(text) + "'");
    }
    // The input as NUL-separated arguments of a command with a flag and two value options.
    cli::Arguments args;
    for (std::string_view rest = text;;) {
        const std::size_t end = rest.find('\0');
        args.push_back(rest.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    static constexpr cli::OptionSpec kOptions[] = {
        {"--crew", '\0', true}, {"--plain", '\0', false}, {"--output", 'o', true}};
    const cli::ParsedArguments parsed(kOptions, args);
    const auto isPieceOfInput = [&](std::string_view piece) {
        return piece.empty() || (piece.data() >= text.data() &&
                                 piece.data() + piece.size() <= text.data() + text.size());
    };
    for (const std::string_view operand : parsed.operands()) {
        require(isPieceOfInput(operand));
    }
    try {
        parsed.check();
        for (const std::string_view name : {"--crew", "--output"}) {
            require(isPieceOfInput(parsed.value(name).value_or("")));
        }
    } catch (const cli::UsageError& error) {
        require(error.message.find('\n') == std::string::npos);
    }
    return 0;
}
