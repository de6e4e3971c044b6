// Figures of the window, each measured side by side with a floor in the same run and reported as
// a ratio, because absolute times on a shared machine drift from run to run:
//   startup: process start to the first complete frame, against a bare window of the same size
//            with one painted label (both started the same way, alternately);
//   steps:   a click on ">" until the sheet is repainted, single and side by side, against the
//            same repaint without a fill; the chooser's open and hand-back; peak memory.
// Usage: kelsing_gui_bench [startup RUNS | steps STEPS | all]

#include "crews/chooserhost.h"
#include "mainwindow/form1.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

extern char** environ;

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

// Reports the time of a widget's first complete frame: the queued call runs once the paint
// that follows the first expose has finished, children included.
class FirstFrame final : public QObject {
public:
    explicit FirstFrame(QWidget* window)
        : m_window(window) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, qApp, [] {
                const Memory m = memory();
                std::printf("frame %.6f peak_kb %ld\n", nowMs(), m.peakKb);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    QWidget* m_window;
    bool m_seen = false;
};

Form1Services silentServices(int port) {
    Form1Services services;
    services.siteHost = QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port));
    return services;
}

int childStartup(bool floor, int port) {
    int argc = 1;
    char name[] = "kelsing_gui_bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (floor) {
        window = std::make_unique<QWidget>();
        window->resize(465, 400);
        auto* label = new QLabel(QStringLiteral("Kelsing Shift Workers Schedule"), window.get());
        label->move(20, 20);
    } else {
        window = std::make_unique<Form1>(silentServices(port));
    }
    FirstFrame frame(window.get());
    window->show();
    return QApplication::exec();
}

// Starts this binary as a child in one start-up mode; returns its start-to-frame time and peak.
std::pair<double, long> timeChild(const char* self, const char* mode, int port) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const std::string portText = std::to_string(port);
    char* argv[] = {const_cast<char*>(self), const_cast<char*>(mode),
                    const_cast<char*>(portText.c_str()), nullptr};
    pid_t pid = 0;
    const double start = nowMs();
    if (posix_spawn(&pid, self, &actions, nullptr, argv, environ) != 0) {
        std::perror("spawn");
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    std::string out;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    double frame = 0;
    long peak = 0;
    if (std::sscanf(out.c_str(), "frame %lf peak_kb %ld", &frame, &peak) != 2) {
        std::fprintf(stderr, "child %s said: %s\n", mode, out.c_str());
        std::exit(1);
    }
    return {frame - start, peak};
}

int runStartup(const char* self, int runs) {
    int port = 0;
    const int server = silentServer(port);
    std::vector<double> app;
    std::vector<double> floor;
    long appPeak = 0;
    long floorPeak = 0;
    for (int i = 0; i < runs; ++i) {
        // Alternating keeps any drift of the machine from favouring one side.
        const auto [a, ap] = timeChild(self, "child-app", port);
        const auto [f, fp] = timeChild(self, "child-floor", port);
        app.push_back(a);
        floor.push_back(f);
        appPeak = std::max(appPeak, ap);
        floorPeak = std::max(floorPeak, fp);
    }
    ::close(server);
    std::printf(
        "platform %s, %d runs each, from process start\n",
        qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("default")).toUtf8().constData(),
        runs);
    printRow("start-up to first frame", summarise(app), summarise(floor));
    std::printf("%-34s app %ld KiB  floor %ld KiB  ratio %5.2f\n", "peak memory after start-up",
                appPeak, floorPeak, static_cast<double>(appPeak) / floorPeak);
    return 0;
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

} // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc > 1 ? argv[1] : "all";
    if (mode == "child-app" || mode == "child-floor") {
        return childStartup(mode == "child-floor", argc > 2 ? std::atoi(argv[2]) : 0);
    }
    if (mode == "startup") {
        return runStartup(argv[0], argc > 2 ? std::atoi(argv[2]) : 20);
    }
    if (mode == "steps") {
        return runSteps(argc > 2 ? std::atoi(argv[2]) : 500);
    }
    if (mode == "all") {
        const int status = runStartup(argv[0], 20);
        return status != 0 ? status : runSteps(500);
    }
    std::fprintf(stderr, "usage: %s [startup RUNS | steps STEPS | all]\n", argv[0]);
    return 2;
}
