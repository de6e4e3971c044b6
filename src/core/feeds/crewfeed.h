// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/dayserial.h"
#include "crews/crewcode.h"
#include "export/shiftcalendarwriter.h"

#include <cstdint>
#include <string>
#include <utility>

namespace kelsing {

/// What the feeds of one publication share: where they are served, their days and when they
/// were published.
struct FeedPublication {
    std::string folder; // the address of the feeds' folder, ending with '/'
    DaySerial from = 0;
    DaySerial to = 0;
    std::int64_t time = 0; // seconds since 1970-01-01 UTC: their stamps and file times
};

/// How often a subscribed calendar should fetch a feed again: weekly, as an ISO 8601 duration.
inline constexpr std::string_view kFeedRefreshInterval = "P1W";

/// The span of the feeds published in `year`: 1 January of the year before to 31 December five
/// years on, held to the years 100..9999.
std::pair<DaySerial, DaySerial> defaultFeedSpan(int year);

/// When feeds of the days from `from` count as published, in seconds since 1970-01-01 UTC: at
/// this version's release, or at 1 January (00:00 UTC) of the year after the year of `from`
/// when that is later, held to 9999. The same version and span give the same time on any day,
/// and the yearly regeneration (from 1 January of last year) gives 1 January of its year, later
/// than the year before's, so that a web server announces its files as modified.
std::int64_t feedPublicationTime(DaySerial from);

/// The writer of a crew's feed: the crew's calendar file as `kelsing-shifts ics` writes it for
/// the publication's days, stamped with its time, with the properties that a subscribing
/// calendar reads (RFC 7986): its name, a description naming the program, where it is fetched
/// from and how often, and when it was last modified.
ShiftCalendarWriter crewFeedWriter(CrewCode crew, const FeedPublication& publication);

} // namespace kelsing
