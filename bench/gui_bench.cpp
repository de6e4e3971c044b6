// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the window in use, each step measured side by side with a floor in the same run
// and reported as a ratio, because absolute times on a shared machine drift from run to run: a
// click on ">" until the sheet is repainted, single and side by side, against the same repaint
// without a fill; the chooser's open and hand-back; memory over many steps. The start-up is
// timed from outside the process, by kelsing_startup_bench. With --own-days, a month step of a
// window that keeps a year of the user's own days against one that keeps none.
// Usage: kelsing_gui_bench [STEPS] | --own-days [PAIRS] | --own-days-every-day [PAIRS]

#include "crews/chooserhost.h"
#include "mainwindow/form1.h"
#include "owndays/owndaystore.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QTest>

using namespace kelsing;

namespace {

using Clock = std::chrono::steady_clock;

double nowMs() {
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

// Peak and current resident memory of this process, in KiB.
struct Memory {
    long peakKb = 0;
    long currentKb = 0;
};

Memory memory() {
    Memory m;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) {
            m.peakKb = std::stol(line.substr(6));
        } else if (line.starts_with("VmRSS:")) {
            m.currentKb = std::stol(line.substr(6));
        }
    }
    return m;
}

struct Summary {
    double median = 0;
    double p99 = 0;
    double low = 0;
    double high = 0;
};

Summary summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) {
        return samples[std::min(samples.size() - 1, static_cast<std::size_t>(q * samples.size()))];
    };
    return {at(0.5), at(0.99), samples.front(), samples.back()};
}

void printRow(const char* what, const Summary& s, const Summary& floor) {
    std::printf("%-34s median %8.3f ms  p99 %8.3f ms  [%7.3f .. %8.3f]  floor %7.3f ms  "
                "ratio %5.2f\n",
                what, s.median, s.p99, s.low, s.high, floor.median, s.median / floor.median);
}

// A loopback port that accepts connections (the kernel completes them) and never answers, so
// the version check stays in flight for the whole measurement.
int silentServer(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 64) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("silent server");
        std::exit(1);
    }
    port = ntohs(address.sin_port);
    return fd;
}

Form1Services silentServices(int port) {
    Form1Services services;
    services.siteHost = QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port));
    return services;
}

QWidget* child(QWidget* parent, const char* name) {
    return parent->findChild<QWidget*>(QString::fromLatin1(name));
}

QWidget* openChooser() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("Form2") && w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

// Clicks ">" and repaints, `steps` times, each step next to a repaint without a fill (the
// floor), so that both see the same state of the machine.
struct StepTimes {
    std::vector<double> steps;
    std::vector<double> floor;
};

StepTimes stepTimes(Form1& form, int steps) {
    QWidget* next = child(&form, "Command3");
    StepTimes times;
    for (int i = 0; i < steps; ++i) {
        double start = nowMs();
        form.repaint();
        times.floor.push_back(nowMs() - start);
        start = nowMs();
        QTest::mouseClick(next, Qt::LeftButton);
        form.repaint();
        times.steps.push_back(nowMs() - start);
    }
    return times;
}

int runSteps(int steps) {
    int argc = 1;
    char name[] = "kelsing_gui_bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    int port = 0;
    const int server = silentServer(port);
    Form1 form(silentServices(port));
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "window not exposed\n");
        return 1;
    }
    QApplication::processEvents();
    const Memory atStart = memory();

    form.setCrew(ChooserTarget::Single, CrewCode(83.2), QStringLiteral("Corvath\n403"));
    form.fillFor(ChooserTarget::Single);
    stepTimes(form, 20); // warm-up
    const StepTimes single = stepTimes(form, steps);
    const Summary floor = summarise(single.floor);
    printRow("month step, single view", summarise(single.steps), floor);

    QTest::mouseClick(child(&form, "Command5"), Qt::LeftButton);
    form.setCrew(ChooserTarget::Left, CrewCode(12), QStringLiteral("Brenmoor\nC Crew"));
    form.setCrew(ChooserTarget::Right, CrewCode(70.1), QStringLiteral("Halvex\nBB"));
    form.fillFor(ChooserTarget::Left);
    form.fillFor(ChooserTarget::Right);
    const StepTimes sideBySide = stepTimes(form, steps);
    printRow("month step, side by side", summarise(sideBySide.steps), summarise(sideBySide.floor));
    QTest::mouseClick(child(&form, "Command5"), Qt::LeftButton);

    std::vector<double> opening;
    std::vector<double> handBack;
    for (int i = 0; i < 50; ++i) {
        double start = nowMs();
        QTest::mouseClick(child(&form, "Label5"), Qt::LeftButton);
        QWidget* chooser = openChooser();
        if (!chooser) {
            std::fprintf(stderr, "no chooser\n");
            return 1;
        }
        chooser->repaint();
        opening.push_back(nowMs() - start);
        QTest::mouseClick(child(chooser, "Label1_7"), Qt::LeftButton);
        QTest::mouseClick(child(chooser, "Label2_3"), Qt::LeftButton);
        start = nowMs();
        QTest::mouseClick(child(chooser, "Label4_2"), Qt::LeftButton);
        form.repaint();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        handBack.push_back(nowMs() - start);
        if (openChooser()) {
            std::fprintf(stderr, "chooser still open\n");
            return 1;
        }
    }
    printRow("crew box click to chooser shown", summarise(opening), floor);
    printRow("member click to sheet, chooser gone", summarise(handBack), floor);

    const Memory before = memory();
    stepTimes(form, 100);
    const Memory after = memory();
    std::printf("%-34s after start-up %ld KiB, before 100 steps %ld KiB, after %ld KiB "
                "(peak %ld KiB)\n",
                "resident memory", atStart.currentKb, before.currentKb, after.currentKb,
                after.peakKb);
    ::close(server);
    return 0;
}

// A store with a year of entries from March 2007: a worker's year (24 days of leave, 8 sick
// days, 11 swaps, 8 extra shifts, 6 notes alone), or with `everyDay` an entry on every day,
// the kinds in turn.
std::filesystem::path yearOfOwnDays(bool everyDay) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kelsing-bench-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    const std::filesystem::path file = folder / "days.sqlite";
    std::vector<OwnDay> entries;
    const DaySerial first = toDaySerial(std::chrono::year{2007} / 3 / 1);
    for (DaySerial date = first; date < first + 366; ++date) {
        const int day = date - first;
        if (!everyDay) {
            if ((day >= 150 && day < 160) || (day >= 295 && day < 300) || day % 37 == 5) {
                entries.push_back({date, OwnDayKind::Leave, {}, {}});
            } else if (day % 45 == 11) {
                entries.push_back({date, OwnDayKind::Sick, {}, {}});
            } else if (day % 30 == 17) {
                entries.push_back({date, OwnDayKind::Swap, "Training", "covering for Ann"});
            } else if (day % 36 == 23) {
                entries.push_back({date, OwnDayKind::Extra, "Days (12)", {}});
            } else if (day % 60 == 29) {
                entries.push_back({date, OwnDayKind::Note, {}, "a note of the day"});
            }
            continue;
        }
        switch (date % 4) {
        case 0:
            entries.push_back({date, OwnDayKind::Leave, {}, "away"});
            break;
        case 1:
            entries.push_back({date, OwnDayKind::Swap, "Training", {}});
            break;
        case 2:
            entries.push_back({date, OwnDayKind::Extra, "Days (12)", {}});
            break;
        default:
            entries.push_back({date, OwnDayKind::Note, {}, "a note of the day"});
            break;
        }
    }
    OwnDayStore::openForWriting(file).setAll(entries);
    return file;
}

// A month step back and forth within the year of entries, in a window that keeps them and in
// one that keeps none, alternately; each pair gives a ratio.
int runOwnDaysSteps(int pairs, bool everyDay) {
    int argc = 1;
    char name[] = "kelsing_gui_bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    int port = 0;
    const int server = silentServer(port);
    const std::filesystem::path store = yearOfOwnDays(everyDay);
    Form1Services keeping = silentServices(port);
    keeping.today = [] { return toDaySerial(std::chrono::year{2007} / 3 / 15); };
    Form1Services plain = keeping;
    keeping.ownDaysFile = store;
    Form1 withDays(keeping);
    Form1 without(plain);
    for (Form1* form : {&withDays, &without}) {
        form->show();
        if (!QTest::qWaitForWindowExposed(form)) {
            std::fprintf(stderr, "window not exposed\n");
            return 1;
        }
        QApplication::processEvents();
        form->setCrew(ChooserTarget::Single, CrewCode(83.2), QStringLiteral("Corvath\n403"));
        form->fillFor(ChooserTarget::Single);
    }
    if (!std::any_of(withDays.sheet().cells.begin(), withDays.sheet().cells.end(),
                     [](const DayCell& cell) { return !cell.own.word.empty(); })) {
        std::fprintf(stderr, "the own days are not shown\n");
        return 1;
    }
    const auto step = [](Form1& form, int i) {
        // Eleven steps forward, eleven back: March 2007 to February 2008 and again.
        QWidget* button = child(&form, (i / 11) % 2 == 0 ? "Command3" : "Command2");
        const double start = nowMs();
        QTest::mouseClick(button, Qt::LeftButton);
        form.repaint();
        return nowMs() - start;
    };
    for (int i = 0; i < 22; ++i) { // warm-up
        step(withDays, i);
        step(without, i);
    }
    std::vector<double> kept;
    std::vector<double> none;
    std::vector<double> ratios;
    for (int i = 0; i < pairs; ++i) {
        kept.push_back(step(withDays, i));
        none.push_back(step(without, i));
        ratios.push_back(kept.back() / none.back());
    }
    const Summary keptSummary = summarise(kept);
    const Summary noneSummary = summarise(none);
    std::printf("%s\n", everyDay ? "an entry on every day of the year:"
                                 : "a worker's year of entries (57 of them):");
    std::printf("%-34s median %8.3f ms  p99 %8.3f ms\n", "month step, a year of own days",
                keptSummary.median, keptSummary.p99);
    std::printf("%-34s median %8.3f ms  p99 %8.3f ms\n", "month step, no own days",
                noneSummary.median, noneSummary.p99);
    std::printf("%-34s median pair ratio %.3f over %d pairs (goal: within 1.10)\n",
                "month step with own days / without", summarise(ratios).median, pairs);
    std::filesystem::remove_all(store.parent_path());
    ::close(server);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && std::string(argv[1]).starts_with("--own-days")) {
        const bool everyDay = std::string(argv[1]) == "--own-days-every-day";
        const int pairs = argc > 2 ? std::atoi(argv[2]) : 500;
        if (argc > 3 || pairs < 1 || (!everyDay && std::string(argv[1]) != "--own-days")) {
            std::fprintf(stderr, "usage: %s --own-days|--own-days-every-day [PAIRS]\n", argv[0]);
            return 2;
        }
        return runOwnDaysSteps(pairs, everyDay);
    }
    const int steps = argc > 1 ? std::atoi(argv[1]) : 500;
    if (argc > 2 || steps < 1) {
        std::fprintf(stderr, "usage: %s [STEPS] | --own-days[-every-day] [PAIRS]\n", argv[0]);
        return 2;
    }
    return runSteps(steps);
}
