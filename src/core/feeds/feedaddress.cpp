// SPDX-License-Identifier: GPL-3.0-or-later
#include "feeds/feedaddress.h"

#include <algorithm>
#include <cctype>

namespace kelsing {

namespace {

// The characters of an address that need no percent-encoding (RFC 3986), and '%' itself; '?'
// and '#' are left out, as a file name follows the folder.
bool addressCharacter(char c) {
    constexpr std::string_view kOthers = "-._~:/[]@!$&'()*+,;=%";
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || kOthers.find(c) != kOthers.npos;
}

// Whether a host and optional port (after any user part) name a host: "host", "host:8080",
// "[::1]:8080".
bool namesAHost(std::string_view authority) {
    authority =
        authority.substr(authority.rfind('@') == authority.npos ? 0 : authority.rfind('@') + 1);
    std::size_t hostEnd = authority.rfind(':');
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        if (close == authority.npos) {
            return false;
        }
        hostEnd = close + 1 == authority.size() ? authority.npos : close + 1;
        if (hostEnd != authority.npos && authority[hostEnd] != ':') {
            return false;
        }
    }
    const std::string_view host = authority.substr(0, hostEnd);
    const std::string_view port =
        hostEnd == authority.npos ? std::string_view() : authority.substr(hostEnd + 1);
    const bool portDigits = std::all_of(port.begin(), port.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
    return !host.empty() && portDigits && (hostEnd == authority.npos || !port.empty());
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char lower, char c) {
               return std::tolower(static_cast<unsigned char>(c)) == lower;
           });
}

} // namespace

std::string feedFolderAddress(std::string_view siteHost) {
    while (siteHost.ends_with('/')) {
        siteHost.remove_suffix(1);
    }
    return std::string(siteHost) + std::string(kFeedFolderPath);
}

std::optional<std::string> parseFeedFolderAddress(std::string_view text) {
    std::string scheme;
    for (const std::string_view candidate : {"http://", "https://"}) {
        if (startsWithNoCase(text, candidate)) {
            scheme = candidate;
        }
    }
    if (scheme.empty() || !std::all_of(text.begin(), text.end(), addressCharacter)) {
        return std::nullopt;
    }
    const std::string_view rest = text.substr(scheme.size());
    if (!namesAHost(rest.substr(0, rest.find('/')))) {
        return std::nullopt;
    }
    std::string folder = scheme + std::string(rest);
    if (rest.find('/') == rest.npos || !folder.ends_with('/')) {
        folder += '/';
    }
    return folder;
}

std::string crewFeedFileName(CrewCode crew) {
    return crew.text() + ".ics";
}

std::string crewFeedAddress(std::string_view folder, CrewCode crew) {
    return std::string(folder) + crewFeedFileName(crew);
}

std::string subscriptionAddress(std::string_view feedAddress) {
    const std::size_t schemeEnd = feedAddress.find("://");
    if (schemeEnd == feedAddress.npos) {
        return "webcal://" + std::string(feedAddress);
    }
    return "webcal" + std::string(feedAddress.substr(schemeEnd));
}

} // namespace kelsing
