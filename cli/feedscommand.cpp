// SPDX-License-Identifier: GPL-3.0-or-later
#include "feedscommand.h"

#include "base/version.h"
#include "commandsupport.h"
#include "crews/crewcatalogue.h"
#include "errors.h"
#include "feedfolder.h"
#include "feeds/crewfeed.h"
#include "feeds/feedaddress.h"
#include "feeds/feedindexpage.h"
#include "output.h"

namespace kelsing::cli {

namespace {

constexpr OptionSpec kFeedsOptions[] = {{"--dir", '\0', true},
                                        {"--from", '\0', true},
                                        {"--to", '\0', true},
                                        {"--site", '\0', true},
                                        kOutput};

constexpr std::string_view kFeedsUsage =
    "Usage: kelsing-shifts feeds --dir DIR [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--site URL]\n"
    "\n"
    "Writes every crew's shifts as a calendar to subscribe to, DIR/<crew code>.ics (83.2.ics),\n"
    "and DIR/index.html, a page that lists them with their subscribe and download links and\n"
    "QR codes, for a web server to serve as they are. Each feed holds what 'ics --crew' holds\n"
    "for the span, with its own address and a weekly refresh for subscribing calendars.\n"
    "The same options write the same bytes and file times on any day, so that clients fetch\n"
    "nothing new until the feeds change. DIR is written whole into a temporary folder beside\n"
    "it; an existing DIR is replaced only when it holds nothing but earlier feeds.\n"
    "Prints PATH<TAB>ADDRESS for each file written.\n"
    "\n"
    "  --dir DIR            the folder of the feeds\n"
    "  --from, --to         the first and last day (by default 1 January of last year to\n"
    "                       31 December five years on)\n"
    "  --site URL           the address of DIR on the web server, http:// or https://\n";

DaySerial dateOption(const ParsedArguments& args, std::string_view name, DaySerial fallback) {
    const auto text = args.value(name);
    return text ? isoDateOption(*text) : fallback;
}

std::string siteOption(const ParsedArguments& args) {
    const auto text = args.value("--site");
    if (!text) {
        return feedFolderAddress(kSiteHost);
    }
    auto folder = parseFeedFolderAddress(*text);
    if (!folder) {
        badArgument("invalid --site (expected an absolute http:// or https:// address)", *text);
    }
    return std::move(*folder);
}

std::string_view folderOption(const ParsedArguments& args) {
    const auto folder = args.value("--dir");
    if (!folder) {
        throw UsageError{"missing --dir"};
    }
    if (folder->empty()) {
        throw UsageError{"empty folder name for option '--dir'"};
    }
    return *folder;
}

std::string joinedPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.ends_with('/')) {
        path += '/';
    }
    return path + std::string(name);
}

void runFeeds(const ParsedArguments& args, const ColourSettings&) {
    noOperands(args);
    const std::string_view folderPath = folderOption(args);
    const auto [firstDay, lastDay] =
        defaultFeedSpan(static_cast<int>(toYearMonthDay(localToday()).year()));
    FeedPublication publication;
    publication.from = dateOption(args, "--from", firstDay);
    publication.to = dateOption(args, "--to", lastDay);
    if (publication.to < publication.from) {
        throw UsageError{"--to is before --from"};
    }
    publication.folder = siteOption(args);
    publication.time = feedPublicationTime(publication.from);

    Output out(outputPath(args));
    FeedFolder folder(folderPath);
    std::string report;
    std::string piece;
    for (const CatalogueChoice& entry : CrewCatalogue::allChoices()) {
        const CrewCode crew = entry.choice.code;
        folder.startFile(crewFeedFileName(crew));
        ShiftCalendarWriter writer = crewFeedWriter(crew, publication);
        while (writer.next(piece)) {
            folder.write(piece);
            piece.clear();
        }
        folder.finishFile(publication.time);
        report += joinedPath(folderPath, crewFeedFileName(crew)) + '\t' +
                  crewFeedAddress(publication.folder, crew) + '\n';
    }
    folder.startFile(kFeedIndexName);
    folder.write(feedIndexPage(publication));
    folder.finishFile(publication.time);
    report += joinedPath(folderPath, kFeedIndexName) + '\t' + publication.folder +
              std::string(kFeedIndexName) + '\n';
    folder.commit();
    out.write(report);
    out.commit();
}

} // namespace

Command feedsCommand() {
    return {"feeds", "every crew's calendar feed and their page, for a web server", kFeedsUsage,
            kFeedsOptions, runFeeds};
}

} // namespace kelsing::cli
