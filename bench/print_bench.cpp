// SPDX-License-Identifier: GPL-3.0-or-later
// One print of the sheet to a cups-pdf queue of a CUPS server of the benchmark's own: the
// window's peak resident memory during the print against its memory before, the window's
// longest stall (the largest gap between the ticks of a 1 ms timer on its thread, from the
// click until the print system's report has arrived), the time until the page has arrived, and
// the size of the job. The first print of a run, which loads what printing needs, and the
// median and largest of the later ones.
// Usage: kelsing_print_bench [PRINTS [WIDTHxHEIGHT]]   (root only, as cupsd and cups-pdf need
// it; the window at its designed size unless given one: a larger window is laid out at the
// designed scale for the page and back)

#include "mainwindow/form1.h"
#include "privateprintsystem.h"
#include "services/printjob.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

using namespace kelsing;

namespace {

// Resident memory of this process and its peak since the last reset, in KiB.
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

// Makes the peak start again from the memory in use now.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct Print {
    double memoryRatio = 0;
    long beforeKb = 0;
    long peakKb = 0;
    double longestStallMs = 0;
    double arrivedMs = 0;
    qint64 bytes = 0;
};

QStringList printedFiles(const PrivatePrintSystem& cups) {
    return QDir(cups.outputFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
}

Print printOnce(Form1& form, PrivatePrintSystem& cups) {
    for (const QString& file : printedFiles(cups)) {
        QFile::remove(QDir(cups.outputFolder()).filePath(file));
    }
    QApplication::processEvents();
    Print print;
    print.beforeKb = memory().currentKb;
    resetPeak();
    // The ticks of a timer on the window's thread: a gap between two is a stall.
    QElapsedTimer clock;
    clock.start();
    double lastTick = 0;
    QTimer ticks;
    ticks.setInterval(1);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const double now = clock.nsecsElapsed() / 1e6;
        print.longestStallMs = std::max(print.longestStallMs, now - lastTick);
        lastTick = now;
    });
    ticks.start();
    // The handler of the printer image and of Ctrl+P.
    QTimer::singleShot(0, &form, [&form] { form.Image2_Click(); });
    // Until the page has arrived and the window has had the print system's report.
    while (printedFiles(cups).isEmpty() || form.findChild<PrintJob*>()) {
        QTest::qWait(5);
        if (print.arrivedMs == 0 && !printedFiles(cups).isEmpty()) {
            print.arrivedMs = clock.nsecsElapsed() / 1e6;
        }
        if (clock.elapsed() > 120000) {
            std::fprintf(stderr, "the print did not arrive within 2 minutes\n");
            std::exit(1);
        }
    }
    ticks.stop();
    print.peakKb = memory().peakKb;
    print.memoryRatio = static_cast<double>(print.peakKb) / print.beforeKb;
    // Let cups-pdf finish the file before it is measured.
    QTest::qWait(1000);
    print.bytes =
        QFileInfo(QDir(cups.outputFolder()).filePath(printedFiles(cups).constFirst())).size();
    return print;
}

void report(const char* what, const Print& p) {
    std::printf("%-22s memory %6.1f -> %6.1f MiB (x%.2f)  longest stall %6.1f ms  page arrived "
                "after %7.1f ms  %lld bytes\n",
                what, p.beforeKb / 1024.0, p.peakKb / 1024.0, p.memoryRatio, p.longestStallMs,
                p.arrivedMs, static_cast<long long>(p.bytes));
}

template <typename Field>
double median(std::vector<Print> prints, Field field) {
    std::sort(prints.begin(), prints.end(),
              [field](const Print& a, const Print& b) { return a.*field < b.*field; });
    return prints[prints.size() / 2].*field;
}

template <typename Field>
double largest(const std::vector<Print>& prints, Field field) {
    double most = 0;
    for (const Print& p : prints) {
        most = std::max(most, static_cast<double>(p.*field));
    }
    return most;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int prints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QString why = PrivatePrintSystem::cannotStart();
    PrivatePrintSystem cups;
    if (why.isEmpty()) {
        cups.start(&why);
    }
    if (!why.isEmpty()) {
        std::printf("skipped: no print system of the benchmark's own: %s\n", qPrintable(why));
        return 0;
    }
    Form1Services services;
    // The version host: a closed loopback port, so nothing leaves the machine.
    services.siteHost = QUrl(QStringLiteral("http://127.0.0.1:9"));
    services.warn = [](QWidget*, const QString& message) {
        std::fprintf(stderr, "the window said: %s\n", qPrintable(message));
        std::exit(1);
    };
    Form1 form(services);
    if (argc > 2) {
        const QStringList size = QString::fromLocal8Bit(argv[2]).split(QLatin1Char('x'));
        form.resize(size.value(0).toInt(), size.value(1).toInt());
    }
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "the window is not shown\n");
        return 1;
    }
    form.setCrew(ChooserTarget::Single, CrewCode(83.2), QStringLiteral("Corvath\n403"));
    form.fillFor(ChooserTarget::Single);
    QTest::qWait(200);

    std::printf("One print to a cups-pdf queue from a window of %d x %d (targets: memory x1.30 "
                "at most, no stall of 100 ms)\n",
                form.width(), form.height());
    report("first print", printOnce(form, cups));
    std::vector<Print> later;
    for (int i = 0; i < prints; ++i) {
        later.push_back(printOnce(form, cups));
    }
    std::printf("%d later prints:       memory x%.2f median, x%.2f largest; longest stall "
                "%.1f ms median, %.1f ms largest; page arrived after %.1f ms median\n",
                prints, median(later, &Print::memoryRatio), largest(later, &Print::memoryRatio),
                median(later, &Print::longestStallMs), largest(later, &Print::longestStallMs),
                median(later, &Print::arrivedMs));
    return 0;
}
