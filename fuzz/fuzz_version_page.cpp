// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the version page of the update check: whatever the web host sends, never a crash or
// undefined behaviour, and a title is quoted only when it really names a newer version.

#include "require.h"
#include "update/versionpage.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelsing;
    using fuzz::require;
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    constexpr VersionNumbers kOwn{2, 3, 0};
    constexpr VersionNumbers kNothing{0, 0, 0};
    for (const std::string_view separator : {".", ","}) {
        const auto title = NewerVersionTitle(page, kOwn, separator);
        if (!title) {
            continue;
        }
        // The quoted text is a piece of the page that fits the title window before "</title>".
        require(page.find(*title) != std::string_view::npos);
        require(title->find("</title>") == std::string::npos);
        std::size_t dots = 0;
        for (const char c : *title) {
            dots += c == '.' ? 1 : 0;
            // Only blanks, signs, digits and separators make a version.
            require(c == ' ' || c == '\t' || c == '+' || c == '-' || c == '.' || c == ',' ||
                    (c >= '0' && c <= '9'));
        }
        require(dots >= 2);
        // Twenty characters from the title's start, less the eight of "</title>".
        require(title->size() <= 12);
        // A title newer than 2.3.0 is newer than 0.0.0 too, and reads the same on a page of its
        // own.
        require(NewerVersionTitle(page, kNothing, separator) == title);
        require(NewerVersionTitle("<title>" + *title + "</title>", kOwn, separator) == title);
    }
    return 0;
}
