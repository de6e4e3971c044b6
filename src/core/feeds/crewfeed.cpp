// SPDX-License-Identifier: GPL-3.0-or-later
#include "feeds/crewfeed.h"

#include "base/version.h"
#include "export/calendarname.h"
#include "export/icalendar.h"
#include "feeds/feedaddress.h"

#include <algorithm>
#include <chrono>

namespace kelsing {

namespace {

// The start of 1 January of a year, 00:00 UTC; years after 9999 end at the last second of 9999.
std::int64_t startOfYear(int year) {
    using namespace std::chrono;
    const sys_days day{std::chrono::year{std::min(year, kLastYear + 1)} / January / 1};
    const std::int64_t start = duration_cast<seconds>(day.time_since_epoch()).count();
    return year > kLastYear ? start - 1 : start;
}

// "Corvath 403" of "Corvath 403 shifts".
std::string crewOf(std::string_view calendarName) {
    constexpr std::string_view kSuffix = " shifts";
    if (calendarName.ends_with(kSuffix)) {
        calendarName.remove_suffix(kSuffix.size());
    }
    return std::string(calendarName);
}

} // namespace

std::pair<DaySerial, DaySerial> defaultFeedSpan(int year) {
    using namespace std::chrono;
    const int first = std::clamp(year - 1, int{kFirstYear}, int{kLastYear});
    const int last = std::clamp(year + 5, int{kFirstYear}, int{kLastYear});
    return {toDaySerial(std::chrono::year{first} / January / 1),
            toDaySerial(std::chrono::year{last} / December / 31)};
}

std::int64_t feedPublicationTime(DaySerial from) {
    return std::max(kReleaseTime, startOfYear(static_cast<int>(toYearMonthDay(from).year()) + 1));
}

ShiftCalendarWriter crewFeedWriter(CrewCode crew, const FeedPublication& publication) {
    const std::string name = crewCalendarName(crew);
    const std::string address = crewFeedAddress(publication.folder, crew);
    const std::string stamp = calendarStamp(publication.time);
    const std::string description =
        escapeCalendarText("The shifts of " + crewOf(name) + " from " + isoDate(publication.from) +
                           " to " + isoDate(publication.to) + ", by " +
                           std::string(kApplicationTitle) + ' ' + std::string(kVersionText) + '.');
    ShiftCalendarOptions options;
    options.stamp = stamp;
    options.calendarProperties = {
        "NAME:" + escapeCalendarText(name),
        "DESCRIPTION:" + description,
        "X-WR-CALDESC:" + description,
        "REFRESH-INTERVAL;VALUE=DURATION:" + std::string(kFeedRefreshInterval),
        "X-PUBLISHED-TTL:" + std::string(kFeedRefreshInterval),
        "SOURCE;VALUE=URI:" + address,
        "URL;VALUE=URI:" + address,
        "LAST-MODIFIED:" + stamp,
    };
    return ShiftCalendarWriter(crew, name, publication.from, publication.to, std::move(options));
}

} // namespace kelsing
