// SPDX-License-Identifier: GPL-3.0-or-later
// Peak resident memory and time of kelsing-shifts over growing spans: memory must stay flat and
// time grow with the number of days. Each run is a fresh process, measured by wait4().

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run {
    long peakKiB = 0;
    double seconds = 0;
    int status = -1;
};

Run measure(const std::vector<std::string>& args) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        std::vector<char*> argv;
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    Run run;
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKiB = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

int main() {
    struct Span {
        const char* from;
        const char* to;
        double days;
    };
    const Span spans[] = {{"2007-01-01", "2007-12-31", 365},
                          {"2000-01-01", "2099-12-31", 36525},
                          {"0100-01-01", "9999-12-31", 3615900}};
    std::printf("%-26s %-14s %10s %12s %14s\n", "span", "events", "peak RSS", "time", "per day");
    int failures = 0;
    for (const Span& span : spans) {
        for (const bool includeOff : {false, true}) {
            std::vector<std::string> args = {KELSING_SHIFTS_EXE, "ics",     "--crew", "83.2",
                                             "--from",           span.from, "--to",   span.to};
            if (includeOff) {
                args.emplace_back("--include-off");
            }
            const Run run = measure(args);
            failures += run.status == 0 ? 0 : 1;
            std::printf("%s..%s %-14s %7.1f MiB %10.3f s %11.0f ns%s\n", span.from, span.to,
                        includeOff ? "--include-off" : "working days", run.peakKiB / 1024.0,
                        run.seconds, run.seconds / span.days * 1e9,
                        run.status == 0 ? "" : "  FAILED");
        }
    }
    return failures == 0 ? 0 : 1;
}
