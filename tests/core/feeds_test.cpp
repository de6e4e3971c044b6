// SPDX-License-Identifier: GPL-3.0-or-later
// The crews' subscription feeds read back with libical, their addresses, their publication time,
// their page, and the QR codes read by real readers (zbarimg, with rsvg-convert for the page's
// SVG).

#include "base/version.h"
#include "crews/crewcatalogue.h"
#include "export/icalendar.h"
#include "feeds/crewfeed.h"
#include "feeds/feedaddress.h"
#include "feeds/feedindexpage.h"
#include "feeds/qrcode.h"
#include "testsupport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <libical/ical.h>
#include <memory>
#include <optional>
#include <regex>
#include <unistd.h>

#include <gtest/gtest.h>

namespace kelsing {
namespace {

using test::dateOf;

using Calendar = std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)>;

std::string feedText(CrewCode crew, const FeedPublication& publication) {
    ShiftCalendarWriter writer = crewFeedWriter(crew, publication);
    std::string text;
    while (writer.next(text)) {
    }
    return text;
}

std::int64_t secondsOf(int year, unsigned month, unsigned day) {
    using namespace std::chrono;
    return sys_days{std::chrono::year{year} / month / day}.time_since_epoch().count() * 86400;
}

std::string textProperty(icalcomponent* calendar, icalproperty_kind kind) {
    icalproperty* property = icalcomponent_get_first_property(calendar, kind);
    return property ? icalproperty_get_value_as_string(property) : "(none)";
}

std::string xProperty(icalcomponent* calendar, std::string_view name) {
    for (icalproperty* p = icalcomponent_get_first_property(calendar, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(calendar, ICAL_X_PROPERTY)) {
        if (icalproperty_get_x_name(p) == name) {
            return icalproperty_get_x(p);
        }
    }
    return "(none)";
}

// ---------------------------------------------------------------------------------------------
// The feed

struct FeedCase {
    double code;
    const char* name; // the chooser's words
    const char* file;
};

// Named by its file in test names, which stay the same from run to run.
void PrintTo(const FeedCase& c, std::ostream* out) {
    *out << c.file;
}

class CrewFeedTable : public ::testing::TestWithParam<FeedCase> {};

TEST_P(CrewFeedTable, CarriesWhatASubscribingCalendarReads) {
    const FeedCase& c = GetParam();
    const CrewCode crew(c.code);
    const FeedPublication publication{"https://feeds.test.example/k/", dateOf(2026, 1, 1),
                                      dateOf(2026, 12, 31), secondsOf(2027, 1, 2) + 3723};
    const std::string text = feedText(crew, publication);
    const Calendar calendar(icalparser_parse_string(text.c_str()), &icalcomponent_free);
    ASSERT_TRUE(calendar);
    EXPECT_EQ(icalcomponent_count_errors(calendar.get()), 0);
    const std::string name = std::string(c.name) + " shifts";
    const std::string address = std::string("https://feeds.test.example/k/") + c.file;
    EXPECT_EQ(textProperty(calendar.get(), ICAL_NAME_PROPERTY), name);
    EXPECT_EQ(xProperty(calendar.get(), "X-WR-CALNAME"), name);
    EXPECT_EQ(textProperty(calendar.get(), ICAL_SOURCE_PROPERTY), address);
    EXPECT_EQ(textProperty(calendar.get(), ICAL_URL_PROPERTY), address);
    icalproperty* refresh =
        icalcomponent_get_first_property(calendar.get(), ICAL_REFRESHINTERVAL_PROPERTY);
    ASSERT_TRUE(refresh);
    const icaldurationtype interval = icalproperty_get_refreshinterval(refresh);
    EXPECT_EQ(icaldurationtype_as_int(interval), 7 * 86400);
    EXPECT_EQ(xProperty(calendar.get(), "X-PUBLISHED-TTL"), "P1W");
    const std::string description = textProperty(calendar.get(), ICAL_DESCRIPTION_PROPERTY);
    EXPECT_NE(description.find(std::string(kApplicationTitle)), std::string::npos);
    EXPECT_NE(description.find("2026-01-01 to 2026-12-31"), std::string::npos) << description;
    EXPECT_EQ(textProperty(calendar.get(), ICAL_LASTMODIFIED_PROPERTY), "20270102T010203Z");

    // Apart from its own properties, the feed is the calendar file of the crew and span.
    std::string plain;
    bool own = false;
    for (const std::string& line : test::linesOf(text)) {
        static const std::regex ownProperty("(NAME|DESCRIPTION|X-WR-CALDESC|REFRESH-INTERVAL|"
                                            "X-PUBLISHED-TTL|SOURCE|URL|LAST-MODIFIED)[:;].*\r");
        if (plain.find("BEGIN:VEVENT") == std::string::npos && !line.starts_with(' ')) {
            own = std::regex_match(line, ownProperty);
        }
        if (!own) {
            plain += line + '\n';
        }
    }
    ShiftCalendarOptions options;
    options.stamp = "20270102T010203Z";
    EXPECT_EQ(plain, shiftCalendar(crew, c.name, publication.from, publication.to, options));
}

INSTANTIATE_TEST_SUITE_P(Crews, CrewFeedTable,
                         ::testing::Values(FeedCase{83.2, "Corvath 403", "83.2.ics"},
                                           FeedCase{14, "Brenmoor All Crews", "14.ics"},
                                           FeedCase{80, "Corvath 1", "80.ics"},
                                           FeedCase{98, "Tobrin's DX Crew", "98.ics"}),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             name.resize(name.size() - 4);
                             std::replace(name.begin(), name.end(), '.', '_');
                             return "crew_" + name;
                         });

// ---------------------------------------------------------------------------------------------
// When feeds count as published, and their default span

TEST(FeedPublicationTest, TheReleaseIsTheDateOfThisVersionsRelease) {
    // The release date of this version as the AppStream file tells software centres.
    std::ifstream metainfo(KELSING_SOURCE_DIR
                           "/resources/example.kelsing.schedule.metainfo.xml.in");
    const std::string text((std::istreambuf_iterator<char>(metainfo)), {});
    std::smatch match;
    const std::regex release("<release version=\"" + std::string(kVersionText) +
                             "\" date=\"([0-9]{4})-([0-9]{2})-([0-9]{2})\"");
    ASSERT_TRUE(std::regex_search(text, match, release));
    const std::int64_t day =
        secondsOf(std::stoi(match[1]), static_cast<unsigned>(std::stoi(match[2])),
                  static_cast<unsigned>(std::stoi(match[3])));
    EXPECT_GE(kReleaseTime, day);
    EXPECT_LT(kReleaseTime, day + 86400);
}

TEST(FeedPublicationTest, TheReleaseOrALaterFirstDay) {
    const struct {
        DaySerial from;
        std::int64_t time;
    } cases[] = {
        {dateOf(2025, 1, 1), kReleaseTime},
        {dateOf(100, 1, 1), kReleaseTime},
        {dateOf(2099, 1, 1), secondsOf(2100, 1, 1)},
        {dateOf(2099, 12, 31), secondsOf(2100, 1, 1)},
        {dateOf(9998, 3, 1), secondsOf(9999, 1, 1)},
        {dateOf(9999, 12, 31), secondsOf(9999, 12, 31) + 86399},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(feedPublicationTime(c.from), c.time) << test::iso(c.from);
    }
    // The feeds of the next year's regeneration are newer than this year's.
    using namespace std::chrono;
    const int releaseYear =
        static_cast<int>(year_month_day{floor<days>(sys_seconds{seconds{kReleaseTime}})}.year());
    EXPECT_EQ(feedPublicationTime(defaultFeedSpan(releaseYear).first), kReleaseTime);
    EXPECT_EQ(feedPublicationTime(defaultFeedSpan(releaseYear + 1).first),
              secondsOf(releaseYear + 1, 1, 1));
}

TEST(FeedPublicationTest, DefaultSpanIsLastYearToFiveYearsOn) {
    const struct {
        int year;
        DaySerial from;
        DaySerial to;
    } cases[] = {
        {2026, dateOf(2025, 1, 1), dateOf(2031, 12, 31)},
        {2000, dateOf(1999, 1, 1), dateOf(2005, 12, 31)},
        {100, dateOf(100, 1, 1), dateOf(105, 12, 31)},
        {9996, dateOf(9995, 1, 1), dateOf(9999, 12, 31)},
        {9999, dateOf(9998, 1, 1), dateOf(9999, 12, 31)},
    };
    for (const auto& c : cases) {
        const auto [from, to] = defaultFeedSpan(c.year);
        EXPECT_EQ(from, c.from) << c.year;
        EXPECT_EQ(to, c.to) << c.year;
    }
}

// ---------------------------------------------------------------------------------------------
// Addresses

TEST(FeedAddressTest, FolderAddressesAsAUserGivesThem) {
    const struct {
        const char* text;
        const char* folder; // nullptr: refused
    } cases[] = {
        {"https://example.org", "https://example.org/"},
        {"https://example.org/", "https://example.org/"},
        {"HTTP://Example.org/feeds", "http://Example.org/feeds/"},
        {"Https://example.org:8443/a/b/", "https://example.org:8443/a/b/"},
        {"http://[::1]:8080/f", "http://[::1]:8080/f/"},
        {"http://127.0.0.1:9/", "http://127.0.0.1:9/"},
        {"https://example.org/a%20b/", "https://example.org/a%20b/"},
        {"", nullptr},
        {"example.org/feeds", nullptr},
        {"//example.org/feeds", nullptr},
        {"ftp://example.org/", nullptr},
        {"webcal://example.org/", nullptr},
        {"file:///srv/feeds", nullptr},
        {"https://", nullptr},
        {"https:///feeds", nullptr},
        {"https://:8080/feeds", nullptr},
        {"https://example.org:/", nullptr},
        {"https://example.org:8o/", nullptr},
        {"http://[::1/", nullptr},
        {"https://example.org/f?x=1", nullptr},
        {"https://example.org/f#top", nullptr},
        {"https://exa mple.org/", nullptr},
        {"https://example.org/\"><b>", nullptr},
        {"https://example.org/\u00e9t\u00e9/", nullptr},
        {"https://example.org/\n", nullptr},
    };
    for (const auto& c : cases) {
        const auto folder = parseFeedFolderAddress(c.text);
        if (c.folder) {
            EXPECT_EQ(folder, std::optional<std::string>(c.folder)) << c.text;
        } else {
            EXPECT_EQ(folder, std::nullopt) << c.text;
        }
    }
}

TEST(FeedAddressTest, CrewAddressesAndTheirSubscription) {
    const struct {
        std::string folder;
        double code;
        const char* feed;
        const char* subscription;
    } cases[] = {
        {feedFolderAddress("http://www.kelsing.example"), 83.2,
         "http://www.kelsing.example/kelsing_schedule/feeds/83.2.ics",
         "webcal://www.kelsing.example/kelsing_schedule/feeds/83.2.ics"},
        {feedFolderAddress("https://host.example:8443/"), 80,
         "https://host.example:8443/kelsing_schedule/feeds/80.ics",
         "webcal://host.example:8443/kelsing_schedule/feeds/80.ics"},
        {"https://h.example/", 84.9, "https://h.example/84.9.ics", "webcal://h.example/84.9.ics"},
    };
    for (const auto& c : cases) {
        const std::string feed = crewFeedAddress(c.folder, CrewCode(c.code));
        EXPECT_EQ(feed, c.feed);
        EXPECT_EQ(subscriptionAddress(feed), c.subscription);
    }
}

// ---------------------------------------------------------------------------------------------
// The page

std::vector<std::string> allMatches(const std::string& text, const std::regex& pattern) {
    std::vector<std::string> found;
    for (std::sregex_iterator i(text.begin(), text.end(), pattern), end; i != end; ++i) {
        found.push_back((*i)[1]);
    }
    return found;
}

TEST(FeedIndexPageTest, EveryCrewOnceInTheChoosersOrderAndNothingFromOutside) {
    const FeedPublication publication{"https://feeds.test.example/k/", dateOf(2025, 1, 1),
                                      dateOf(2031, 12, 31), kReleaseTime};
    const std::string page = feedIndexPage(publication);
    std::vector<std::string> expected;
    for (const CatalogueChoice& entry : CrewCatalogue::allChoices()) {
        expected.push_back("webcal://feeds.test.example/k/" + entry.choice.code.text() + ".ics");
    }
    ASSERT_EQ(expected.size(), 70u);
    EXPECT_EQ(allMatches(page, std::regex("href=\"(webcal://[^\"]*)\"")), expected);
    for (std::string& address : expected) {
        address.replace(0, 6, "https");
    }
    EXPECT_EQ(allMatches(page, std::regex("href=\"(https://[^\"]*)\"")), expected);
    EXPECT_EQ(allMatches(page, std::regex("<svg ")).size(), 70u);
    // How to subscribe, then the employers that have crews, each once in slot order, and the
    // groups of two of them.
    EXPECT_EQ(allMatches(page, std::regex("<h2 id=\"[a-z]+\">([^<]*)</h2>")),
              (std::vector<std::string>{"How to subscribe", "Brenmoor", "Zantor", "Halvex",
                                        "Corvath", "Tobrin&#39;s"}));
    EXPECT_EQ(allMatches(page, std::regex("<h3>([^<]*)</h3>")).size(), 12u);
    // No script, style sheet, picture or font from anywhere, and no address but the feeds'.
    for (const char* outside : {"<script", "<link", "<img", "<iframe", "src=", "url(", "@import"}) {
        EXPECT_EQ(page.find(outside), std::string::npos) << outside;
    }
    for (const std::string& address : allMatches(page, std::regex("([a-z]+://[^\"<\\s]*)"))) {
        EXPECT_TRUE(address.starts_with("webcal://feeds.test.example/k/") ||
                    address.starts_with("https://feeds.test.example/k/") ||
                    address == "http://www.w3.org/2000/svg")
            << address;
    }
    EXPECT_EQ(page, feedIndexPage(publication));
}

// ---------------------------------------------------------------------------------------------
// QR codes, read by zbarimg

// What zbarimg reads in a picture file; nullopt when there is no zbarimg.
std::optional<std::string> decoded(const std::filesystem::path& picture) {
    if (std::system("command -v zbarimg >/dev/null") != 0) {
        return std::nullopt;
    }
    const std::string command = "zbarimg --raw -q '" + picture.string() + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    ::pclose(pipe);
    if (out.ends_with('\n')) {
        out.pop_back();
    }
    return out;
}

std::filesystem::path scratch(const std::string& suffix) {
    return std::filesystem::temp_directory_path() /
           ("kelsing-feeds-test-" + std::to_string(::getpid()) + suffix);
}

// The code as a PBM picture of `scale` pixels a module, with its quiet zone.
void writePbm(const QrCode& code, int scale, const std::filesystem::path& file) {
    const int side = (code.size() + 2 * QrCode::kQuietZone) * scale;
    std::ofstream out(file);
    out << "P1\n" << side << ' ' << side << '\n';
    for (int py = 0; py < side; ++py) {
        for (int px = 0; px < side; ++px) {
            const int x = px / scale - QrCode::kQuietZone;
            const int y = py / scale - QrCode::kQuietZone;
            const bool inside = x >= 0 && y >= 0 && x < code.size() && y < code.size();
            out << (inside && code.dark(x, y) ? "1 " : "0 ");
        }
        out << '\n';
    }
}

TEST(QrCodeTest, ReadsBackAsTheText) {
    const std::string texts[] = {
        "webcal://www.kelsing.example/kelsing_schedule/feeds/83.2.ics",
        "https://feeds.test.example:8443/a/b/84.9.ics",
        std::string(300, 'k') + "/14.ics",
    };
    const std::filesystem::path picture = scratch(".pbm");
    for (const std::string& text : texts) {
        const auto code = QrCode::encode(text);
        ASSERT_TRUE(code) << text;
        EXPECT_GE(code->size(), 21);
        EXPECT_EQ((code->size() - 17) % 4, 0) << "a QR code's side is 17 + 4 x version";
        writePbm(*code, 3, picture);
        const auto read = decoded(picture);
        if (!read) {
            std::filesystem::remove(picture);
            GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
        }
        EXPECT_EQ(*read, text);
    }
    std::filesystem::remove(picture);
    EXPECT_FALSE(QrCode::encode(std::string(3000, 'x')));
}

TEST(QrCodeTest, ThePagesSvgReadsBackAsTheAddress) {
    if (std::system("command -v rsvg-convert >/dev/null") != 0) {
        GTEST_SKIP() << "rsvg-convert (librsvg2-bin) is not installed";
    }
    const std::string address = "webcal://www.kelsing.example/kelsing_schedule/feeds/71.5.ics";
    const auto code = QrCode::encode(address);
    ASSERT_TRUE(code);
    const std::string svg = qrCodeSvg(*code, "QR code of " + address);
    EXPECT_NE(svg.find("aria-label=\"QR code of " + address + "\""), std::string::npos);
    const std::filesystem::path source = scratch(".svg");
    const std::filesystem::path picture = scratch(".png");
    std::ofstream(source) << svg;
    // A size that is no whole number of pixels a module, as a browser may draw it.
    const std::string command = "rsvg-convert --width=173 --height=173 -o '" + picture.string() +
                                "' '" + source.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto read = decoded(picture);
    std::filesystem::remove(source);
    std::filesystem::remove(picture);
    if (!read) {
        GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
    }
    EXPECT_EQ(*read, address);
}

} // namespace
} // namespace kelsing
