// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "feeds/crewfeed.h"

#include <string>

namespace kelsing {

/// The name of the page that lists a publication's feeds, in the feeds' folder.
inline constexpr std::string_view kFeedIndexName = "index.html";

/// The page that lists a publication's feeds: a static HTML5 page without scripts or outside
/// resources, readable from 360 pixels wide up. The employers, their crew groups and crews in
/// the chooser's order, and for each crew a link that subscribes to its feed (webcal://), one
/// that downloads it, and its QR code on request; above them, how to subscribe on Android, an
/// iPhone and a desktop calendar. The same publication gives the same bytes.
std::string feedIndexPage(const FeedPublication& publication);

} // namespace kelsing
