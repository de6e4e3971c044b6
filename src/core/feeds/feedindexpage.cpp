// SPDX-License-Identifier: GPL-3.0-or-later
#include "feeds/feedindexpage.h"

#include "base/version.h"
#include "crews/crewcatalogue.h"
#include "export/calendarname.h"
#include "feeds/feedaddress.h"
#include "feeds/htmltext.h"
#include "feeds/qrcode.h"
#include "feeds/subscribesteps.h"

#include <cctype>

namespace kelsing {

namespace {

// Narrow enough for a phone held upright; the QR codes open only when asked for, as a page of
// seventy would be long.
constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Shift calendars to subscribe to</title>
<style>
body{font-family:system-ui,sans-serif;line-height:1.45;color:#1b1b1b;background:#fff;max-width:46rem;margin:0 auto;padding:0 1rem 2rem}
h1{font-size:1.5rem;margin:1.2rem 0 .6rem}
h2{font-size:1.25rem;margin:2rem 0 .4rem;padding-bottom:.2rem;border-bottom:1px solid #bbb}
h3{font-size:1.05rem;margin:1.2rem 0 .2rem}
ul.crews{list-style:none;margin:0;padding:0}
ul.crews>li{padding:.5rem 0;border-bottom:1px solid #e4e4e4}
.crew{display:inline-block;min-width:6.5rem;font-weight:bold}
time{white-space:nowrap}
a{color:#0b4ea2}
a.button{display:inline-block;margin:.2rem .3rem .2rem 0;padding:.35rem .65rem;border:1px solid #0b4ea2;border-radius:.3rem;text-decoration:none}
summary{cursor:pointer;color:#444;margin-top:.2rem}
details svg{display:block;width:12rem;max-width:100%;height:auto;margin:.5rem 0;shape-rendering:crispEdges}
.address{font-family:monospace;font-size:.85rem;overflow-wrap:anywhere;margin:.2rem 0}
</style>
</head>
<body>
)";

// An id for an employer's heading: its name in lower-case letters and digits.
std::string headingId(std::string_view name) {
    std::string id;
    for (const char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
            id += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return id;
}

std::string timeElement(DaySerial day) {
    const std::string date = isoDate(day);
    return "<time datetime=\"" + date + "\">" + date + "</time>";
}

void writeIntroduction(std::string& page, const FeedPublication& publication) {
    page += "<h1>Shift calendars to subscribe to</h1>\n<p>The shifts of every crew from " +
            timeElement(publication.from) + " to " + timeElement(publication.to) +
            " as a calendar that your phone or desktop calendar subscribes to and keeps current "
            "by itself. On the phone, tap your crew&#39;s Subscribe; at a computer, open its QR "
            "code and scan it with the phone.</p>\n<h2 id=\"how\">How to subscribe</h2>\n<ul>\n";
    for (const SubscribeStep& step : subscribeSteps()) {
        page += "<li><strong>" + htmlEscaped(step.device) + ":</strong> " + htmlEscaped(step.how) +
                "</li>\n";
    }
    page += "</ul>\n";
}

void writeCrew(std::string& page, const FeedPublication& publication,
               const CatalogueChoice& entry) {
    const CrewCode crew = entry.choice.code;
    const std::string download = crewFeedAddress(publication.folder, crew);
    const std::string subscribe = subscriptionAddress(download);
    std::string name = crewCalendarName(crew);
    name.resize(name.size() - std::string_view(" shifts").size());
    const std::string label = htmlEscaped(name);
    page += "<li id=\"crew-" + crew.text() + "\"><span class=\"crew\">" +
            htmlEscaped(entry.entry.caption) + "</span>\n<a class=\"button\" href=\"" +
            htmlEscaped(subscribe) + "\" aria-label=\"Subscribe to " + label +
            "\">Subscribe</a>\n<a class=\"button\" href=\"" + htmlEscaped(download) +
            "\" aria-label=\"Download " + label + "\">Download</a>\n<details><summary>QR code of " +
            label + "</summary>\n";
    if (const auto code = QrCode::encode(subscribe)) {
        page += qrCodeSvg(*code, "QR code of " + subscribe) + '\n';
    }
    page += "<p class=\"address\">" + htmlEscaped(subscribe) + "</p>\n</details></li>\n";
}

} // namespace

std::string feedIndexPage(const FeedPublication& publication) {
    std::string page(kHead);
    writeIntroduction(page, publication);
    int slot = -1;
    std::string_view group;
    bool listOpen = false;
    for (const CatalogueChoice& entry : CrewCatalogue::allChoices()) {
        const bool newEmployer = entry.slot != slot;
        const bool newGroup = newEmployer || entry.groupCaption != group;
        if (newGroup && listOpen) {
            page += "</ul>\n";
        }
        if (newEmployer) {
            const std::string_view employer = CrewCatalogue::employer(entry.slot).name;
            page += "<h2 id=\"" + headingId(employer) + "\">" + htmlEscaped(employer) + "</h2>\n";
        }
        if (newGroup && !entry.groupCaption.empty()) {
            page += "<h3>" + htmlEscaped(entry.groupCaption) + "</h3>\n";
        }
        if (newGroup) {
            page += "<ul class=\"crews\">\n";
        }
        slot = entry.slot;
        group = entry.groupCaption;
        listOpen = true;
        writeCrew(page, publication, entry);
    }
    if (listOpen) {
        page += "</ul>\n";
    }
    page += "<footer><p>Published with " + htmlEscaped(kApplicationTitle) + ' ' +
            htmlEscaped(kVersionText) + ".</p></footer>\n</body>\n</html>\n";
    return page;
}

} // namespace kelsing
