// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "crews/crewcode.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelsing {

/// Where the author's web host keeps the crews' feeds: beside the version page.
inline constexpr std::string_view kFeedFolderPath = "/kelsing_schedule/feeds/";

/// The address of the feeds' folder on a web host given as scheme, host and optional port, such
/// as the build's site host: "http://www.kelsing.example/kelsing_schedule/feeds/".
std::string feedFolderAddress(std::string_view siteHost);

/// A folder address to publish feeds under, as a user gives it: an absolute http:// or https://
/// address with a host, without a query or a fragment, of the characters an address may hold
/// as they are. Returned with its scheme in lower case and ending with '/'; nullopt for anything
/// else.
std::optional<std::string> parseFeedFolderAddress(std::string_view text);

/// The file name of a crew's feed: its crew code and ".ics" ("83.2.ics", "14.ics").
std::string crewFeedFileName(CrewCode crew);

/// The address of a crew's feed in a folder address that ends with '/'.
std::string crewFeedAddress(std::string_view folder, CrewCode crew);

/// The address that subscribes a calendar to a feed: its http or https address with webcal://
/// in place of the scheme, which phones and desktop calendars open as a subscription.
std::string subscriptionAddress(std::string_view feedAddress);

} // namespace kelsing
