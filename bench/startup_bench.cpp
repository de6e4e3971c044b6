// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the program against a bare window, both timed from outside their processes: from
// the spawn to the X server's map of their window (under X11) and to the line each writes once
// its first complete frame is on the screen. The two are started alternately, and the figure
// is the median of the pair-by-pair ratios, which a drifting machine disturbs least. With
// --own-days, the program of a user with a remembered crew and ten years of own days against
// the program of the same user with none.
// Usage: kelsing_startup_bench [PAIRS [PROGRAM FLOOR]] | --own-days [PAIRS]

#include "owndays/owndaystore.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Start {
    std::optional<double> mappedMs; // only under X11
    double frameMs = 0;
    long peakKb = 0;
};

long peakKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

// Watches the X server's root window for windows being mapped; nothing without a display.
class MapWatch {
public:
    MapWatch() {
        if (!std::getenv("DISPLAY")) {
            return;
        }
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection)) {
            xcb_disconnect(m_connection);
            m_connection = nullptr;
            return;
        }
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }
    ~MapWatch() {
        if (m_connection) {
            xcb_disconnect(m_connection);
        }
    }
    MapWatch(const MapWatch&) = delete;
    MapWatch& operator=(const MapWatch&) = delete;

    bool active() const { return m_connection != nullptr; }
    int fd() const { return xcb_get_file_descriptor(m_connection); }

    // True when a window was mapped among the events that have arrived.
    bool mapSeen() {
        bool seen = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            seen = seen || (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
        }
        return seen;
    }

private:
    xcb_connection_t* m_connection = nullptr;
};

Start timeStart(const char* program, MapWatch& maps) {
    int out[2];
    if (::pipe(out) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t pid = 0;
    if (maps.active()) {
        maps.mapSeen(); // forgets the maps of an earlier start
    }
    const Clock::time_point start = Clock::now();
    if (posix_spawn(&pid, program, &actions, nullptr, argv, environ) != 0) {
        std::perror(program);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);

    Start result;
    std::string line;
    while (line.find('\n') == std::string::npos) {
        pollfd fds[2] = {{out[0], POLLIN, 0}, {maps.active() ? maps.fd() : -1, POLLIN, 0}};
        if (::poll(fds, 2, 10000) <= 0) {
            std::fprintf(stderr, "%s: no first frame within 10 s\n", program);
            std::exit(1);
        }
        if (fds[1].revents && maps.mapSeen() && !result.mappedMs) {
            result.mappedMs = msSince(start);
        }
        if (fds[0].revents) {
            char buffer[64];
            const ssize_t n = ::read(out[0], buffer, sizeof buffer);
            if (n <= 0) {
                std::fprintf(stderr, "%s: ended before its first frame\n", program);
                std::exit(1);
            }
            line.append(buffer, static_cast<std::size_t>(n));
        }
    }
    result.frameMs = msSince(start);
    if (maps.active() && !result.mappedMs && maps.mapSeen()) {
        result.mappedMs = result.frameMs;
    }
    result.peakKb = peakKb(pid);
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    ::close(out[0]);
    return result;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Series {
    std::vector<double> program;
    std::vector<double> floor;
    std::vector<double> ratios;

    void add(double programValue, double floorValue) {
        program.push_back(programValue);
        floor.push_back(floorValue);
        ratios.push_back(programValue / floorValue);
    }

    void print(const char* what, const char* unit) const {
        std::printf("%-30s program %7.1f %s  floor %7.1f %s  median pair ratio %.2f\n", what,
                    median(program), unit, median(floor), unit, median(ratios));
    }
};

// Folders of a user who remembers Corvath 403 and keeps an entry on every day of the ten years
// around today, and of the same user without own days.
struct OwnDaysHomes {
    std::filesystem::path root;
    std::string config;
    std::string withDays;
    std::string without;
};

OwnDaysHomes ownDaysHomes() {
    OwnDaysHomes homes;
    homes.root = std::filesystem::temp_directory_path() /
                 ("kelsing-startup-bench-" + std::to_string(::getpid()));
    std::filesystem::remove_all(homes.root);
    homes.config = (homes.root / "config").string();
    homes.withDays = (homes.root / "data").string();
    homes.without = (homes.root / "empty").string();
    std::filesystem::create_directories(homes.root / "config" / "kelsing-schedule");
    std::filesystem::create_directories(homes.without);
    std::ofstream(homes.root / "config" / "kelsing-schedule" / "settings.ini")
        << "format = 1\n\n[start]\nview = single\ncrew = 83.2\n";
    const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    const std::chrono::year_month_day now{today};
    const kelsing::DaySerial first = kelsing::toDaySerial(now.year() / 1 / 1) - 5 * 365;
    std::vector<kelsing::OwnDay> entries;
    for (kelsing::DaySerial date = first; date < first + 3652; ++date) {
        entries.push_back({date,
                           date % 3 == 0 ? kelsing::OwnDayKind::Leave : kelsing::OwnDayKind::Extra,
                           date % 3 == 0 ? "" : "Nights", date % 5 == 0 ? "a note" : ""});
    }
    kelsing::OwnDayStore::openForWriting(homes.root / "data" / "kelsing-schedule" /
                                         kelsing::kOwnDaysFileName)
        .setAll(entries);
    return homes;
}

int runOwnDays(int pairs) {
    const OwnDaysHomes homes = ownDaysHomes();
    ::setenv("KELSING_REPORT_FIRST_FRAME", "1", 1);
    ::setenv("XDG_CONFIG_HOME", homes.config.c_str(), 1);
    MapWatch maps;
    const auto start = [&](const std::string& data) {
        ::setenv("XDG_DATA_HOME", data.c_str(), 1);
        return timeStart(KELSING_SCHEDULE_EXE, maps);
    };
    start(homes.withDays);
    start(homes.without);
    Series frame;
    for (int i = 0; i < pairs; ++i) {
        const Start withDays = start(homes.withDays);
        const Start without = start(homes.without);
        frame.add(withDays.frameMs, without.frameMs);
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("platform %s, %d pairs, from process start (goal: ratio within 1.02)\n",
                platform ? platform : "default", pairs);
    std::printf("ten years of own days (program) against none (floor):\n");
    frame.print("start-up to the first frame", "ms ");
    std::filesystem::remove_all(homes.root);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && std::strcmp(argv[1], "--own-days") == 0) {
        const int pairs = argc > 2 ? std::atoi(argv[2]) : 20;
        if (pairs < 1 || argc > 3) {
            std::fprintf(stderr, "usage: %s --own-days [PAIRS]\n", argv[0]);
            return 2;
        }
        return runOwnDays(pairs);
    }
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 20;
    if (pairs < 1 || (argc != 2 && argc != 4 && argc != 1)) {
        std::fprintf(stderr, "usage: %s [PAIRS [PROGRAM FLOOR]]\n", argv[0]);
        return 2;
    }
    const char* const programPath = argc == 4 ? argv[2] : KELSING_SCHEDULE_EXE;
    const char* const floorPath = argc == 4 ? argv[3] : KELSING_BARE_WINDOW_EXE;
    ::setenv("KELSING_REPORT_FIRST_FRAME", "1", 1);
    MapWatch maps;
    // One start each first, so that both find the files they read in the page cache.
    timeStart(programPath, maps);
    timeStart(floorPath, maps);

    Series mapped;
    Series frame;
    Series peak;
    for (int i = 0; i < pairs; ++i) {
        const Start program = timeStart(programPath, maps);
        const Start floor = timeStart(floorPath, maps);
        if (program.mappedMs && floor.mappedMs) {
            mapped.add(*program.mappedMs, *floor.mappedMs);
        }
        frame.add(program.frameMs, floor.frameMs);
        peak.add(program.peakKb / 1024.0, floor.peakKb / 1024.0);
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("platform %s, %d pairs, from process start (targets: ratios within 1.30, "
                "memory within 1.15)\n",
                platform ? platform : "default", pairs);
    if (!mapped.ratios.empty()) {
        mapped.print("start-up to the mapped window", "ms ");
    }
    frame.print("start-up to the first frame", "ms ");
    peak.print("peak memory at the first frame", "MiB");
    return 0;
}
