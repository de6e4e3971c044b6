// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/quoting.h"
#include "base/version.h"
#include "mainwindow/form1.h"
#include "owndays/owndaystore.h"
#include "platform/coretext.h"
#include "platform/displayscale.h"
#include "platform/firstframe.h"
#include "platform/pictures.h"
#include "stores/xdgfolders.h"

#include <cstdio>
#include <optional>

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QScreen>

namespace {

// Exit status for arguments the program does not take.
constexpr int kBadArguments = 2;

// The options that Qt itself takes from the command line (those of QGuiApplication,
// QApplication and the X11 platform), which scripts pass, such as -platform and -geometry.
const char* const kQtValueOptions[] = {"platform",
                                       "platformpluginpath",
                                       "platformtheme",
                                       "plugin",
                                       "qwindowgeometry",
                                       "geometry",
                                       "qwindowicon",
                                       "icon",
                                       "qwindowtitle",
                                       "title",
                                       "session",
                                       "display",
                                       "name",
                                       "visual",
                                       "style",
                                       "stylesheet",
                                       "qmljsdebugger",
                                       "dialogs",
                                       "fontengine"};
const char* const kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "testability"};

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// An argument as a message names it: quoted, its control characters escaped, on one line.
QString quoted(const QString& argument) {
    return kelsing::fromCore(kelsing::quotedArgument(argument.toStdString()));
}

// Why the command line was refused, naming the argument the user typed only through quoted().
QString parseError(const QCommandLineParser& parser) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        return QStringLiteral("unknown option %1").arg(quoted(unknown.constFirst()));
    }
    // The other errors name one of the program's own options only.
    return parser.errorText();
}

// Reads the command line: --help and --version print and give the exit status, as does an
// argument the program does not take; Qt's own options are left for QApplication.
std::optional<int> handleArguments(int argc, char* argv[]) {
    // Parsed before QApplication, which needs a display; the core application does not.
    QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Shows on which days a crew works, and which shift.\n"
                       "Qt's own options, such as -platform NAME and -geometry WxH+X+Y, are "
                       "taken too."));
    // Qt's own help option would offer a --help-all with Qt's options, which it lists only once
    // QApplication is there.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    for (const char* name : kQtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : kQtFlagOptions) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    const QString program = QStringLiteral("kelsing-schedule");
    if (!parser.parse(QCoreApplication::arguments())) {
        print(stderr, QStringLiteral("%1: %2\n").arg(program, parseError(parser)));
        return kBadArguments;
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, QStringLiteral("%1: unexpected argument %2\n")
                          .arg(program, quoted(parser.positionalArguments().constFirst())));
        return kBadArguments;
    }
    if (parser.isSet(help)) {
        print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout,
              QStringLiteral("%1 %2\n").arg(program, kelsing::fromCore(kelsing::kVersionText)));
        return 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    // Before the application object, which reads the scale factors.
    const double smallestScale = kelsing::DisplayScale::takeFactorBelowOne();
    QCoreApplication::setApplicationName(kelsing::fromCore(kelsing::kApplicationTitle));
    QCoreApplication::setApplicationVersion(kelsing::fromCore(kelsing::kVersionText));
    // Without arguments there is nothing to read, and the window starts at once.
    if (argc > 1) {
        if (const std::optional<int> status = handleArguments(argc, argv)) {
            return *status;
        }
    }

    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("kelsing-schedule"));

    kelsing::Form1Services services;
    services.smallestScale = smallestScale;
    services.lateStart = true;
    // The only file the window reads at start, and only when the user has asked it to keep one.
    if (auto settings = kelsing::settingsFilePath(kelsing::currentXdgEnvironment())) {
        services.settingsFile = std::move(*settings);
    }
    // Read after the first frame when it exists; made only when the user enters an own day.
    if (auto days = kelsing::ownDaysFilePath(kelsing::currentXdgEnvironment())) {
        services.ownDaysFile = std::move(*days);
    }
    kelsing::Form1 window(std::move(services));
    // The window opens centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        window.move(available.center() - window.rect().center());
    }
    // X11 takes the icon drawn from its scalable picture at four sizes: work that the first
    // frame need not wait for.
    kelsing::afterFirstFrame(&window,
                             [] { QApplication::setWindowIcon(kelsing::Pictures::programIcon()); });
    kelsing::reportFirstFrameIfAsked(&window);
    window.show();
    return QApplication::exec();
}
