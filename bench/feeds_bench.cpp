// SPDX-License-Identifier: GPL-3.0-or-later
// Time and memory of kelsing-shifts feeds: every crew's feed of seven years and their page,
// against a floor that writes the same files the same way without working anything out. Both
// are timed as whole processes by wait4(), started alternately; the figures are medians, and the
// ratio the median of the pair-by-pair ratios. Target: the feeds well under a second.
// Usage: kelsing_feeds_bench [PAIRS]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run {
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKiB = 0;
    bool ok = false;
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
    const auto cpu = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    run.cpuSeconds = cpu(usage.ru_utime) + cpu(usage.ru_stime);
    run.peakKiB = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    namespace fs = std::filesystem;
    const fs::path work =
        fs::temp_directory_path() / ("kelsing-feeds-bench-" + std::to_string(::getpid()));
    fs::create_directories(work);
    const std::vector<std::string> feeds = {
        KELSING_SHIFTS_EXE, "feeds",      "--dir", (work / "feeds").string(),
        "--from",           "2025-01-01", "--to",  "2031-12-31"};
    const std::vector<std::string> floor = {KELSING_FEEDS_FLOOR_EXE, (work / "feeds").string(),
                                            (work / "floor").string()};
    // One run of each first: the folder the floor copies, and a warm page cache.
    bool ok = measure(feeds).ok && measure(floor).ok;
    std::vector<double> times[2], cpu[2], memory[2], ratios;
    for (int i = 0; i < pairs && ok; ++i) {
        const Run program = measure(feeds);
        const Run base = measure(floor);
        ok = program.ok && base.ok;
        for (const auto& [side, run] : {std::pair{0, program}, std::pair{1, base}}) {
            times[side].push_back(run.seconds);
            cpu[side].push_back(run.cpuSeconds);
            memory[side].push_back(run.peakKiB / 1024.0);
        }
        ratios.push_back(program.seconds / base.seconds);
    }
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(work / "feeds")) {
        bytes += entry.file_size();
    }
    fs::remove_all(work);
    if (!ok) {
        std::printf("FAILED: a run of the feeds or of the floor failed\n");
        return 1;
    }
    std::printf("70 feeds of seven years and their page, %.1f MiB, median of %d pairs:\n",
                bytes / 1048576.0, pairs);
    std::printf("%-32s %11s %11s %12s\n", "", "time", "CPU", "peak memory");
    std::printf("%-32s %8.0f ms %8.0f ms %8.1f MiB\n", "kelsing-shifts feeds",
                median(times[0]) * 1e3, median(cpu[0]) * 1e3, median(memory[0]));
    std::printf("%-32s %8.0f ms %8.0f ms %8.1f MiB\n", "floor (the same files written)",
                median(times[1]) * 1e3, median(cpu[1]) * 1e3, median(memory[1]));
    std::printf("median pair ratio %.2f; target: the feeds under 1 s: %s\n", median(ratios),
                median(times[0]) < 1.0 ? "met" : "NOT MET");
    return median(times[0]) < 1.0 ? 0 : 1;
}
