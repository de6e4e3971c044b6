// The arguments of kelsing-shifts: dates, months, years, 16-bit codes and crews. Whatever is
// accepted must read back as the text it came from.

#include "arguments.h"
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
        require(cli::isoDate(*date) == text);
    }
    if (const auto year = cli::parseYear(text)) {
        require(*year >= kFirstYear && *year <= kLastYear);
    }
    if (const auto month = cli::parseYearMonth(text)) {
        require(month->month >= 1 && month->month <= 12);
        require(
            cli::isoDate(toDaySerial(std::chrono::year{month->year} /
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
    return 0;
}
