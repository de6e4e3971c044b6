// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/versionpage.h"

#include "base/decimal.h"

namespace kelsing {

namespace {

constexpr std::string_view kTitleStart = "<title>";
constexpr std::string_view kTitleEnd = "</title>";
// The title is looked for in this many characters; a longer title is not a version.
constexpr std::size_t kTitleWindow = 20;
// Without a "<title>" the window starts at the page's 7th character.
constexpr std::size_t kNoTitleStart = 6;

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The byte offset `characters` characters (not bytes) after `from`, or the end of the text.
std::size_t advanceCharacters(std::string_view text, std::size_t from, std::size_t characters) {
    std::size_t at = from;
    for (std::size_t n = 0; n < characters && at < text.size(); ++n) {
        ++at;
        while (at < text.size() && isContinuationByte(text[at])) {
            ++at;
        }
    }
    return at;
}

std::optional<VersionNumbers> readVersion(std::string_view v, std::string_view decimalSeparator) {
    const std::size_t p1 = v.find('.');
    if (p1 == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t p2 = v.find('.', p1 + 1);
    if (p2 == std::string_view::npos) {
        return std::nullopt;
    }
    // The revision is everything after the second dot, further dots included.
    const auto major = parseDecimal(v.substr(0, p1), decimalSeparator);
    const auto minor = parseDecimal(v.substr(p1 + 1, p2 - p1 - 1), decimalSeparator);
    const auto revision = parseDecimal(v.substr(p2 + 1), decimalSeparator);
    if (!major || !minor || !revision) {
        return std::nullopt;
    }
    return VersionNumbers{*major, *minor, *revision};
}

bool isNewer(const VersionNumbers& published, const VersionNumbers& own) {
    if (published.majorNumber != own.majorNumber) {
        return published.majorNumber > own.majorNumber;
    }
    if (published.minorNumber != own.minorNumber) {
        return published.minorNumber > own.minorNumber;
    }
    return published.revisionNumber > own.revisionNumber;
}

} // namespace

std::optional<std::string> NewerVersionTitle(std::string_view page, const VersionNumbers& own,
                                             std::string_view decimalSeparator) {
    if (page.empty()) {
        return std::nullopt;
    }
    const std::size_t titleAt = page.find(kTitleStart);
    const std::size_t start = titleAt == std::string_view::npos
                                  ? advanceCharacters(page, 0, kNoTitleStart)
                                  : titleAt + kTitleStart.size();
    const std::string_view t =
        page.substr(start, advanceCharacters(page, start, kTitleWindow) - start);
    const std::size_t end = t.find(kTitleEnd);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view v = t.substr(0, end);
    const auto published = readVersion(v, decimalSeparator);
    if (!published || !isNewer(*published, own)) {
        return std::nullopt;
    }
    return std::string(v);
}

} // namespace kelsing
