// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/frmabout.h"
#include "crews/form2.h"
#include "loopbackserver.h"
#include "platform/label.h"
#include "windowtestsupport.h"

#include <QApplication>
#include <QMenu>
#include <QNetworkProxy>
#include <QPushButton>
#include <QTest>

using namespace kelsing;
using namespace kelsing::WindowTests;

namespace {

const DaySerial kToday = dateOf(2007, 3, 15);

// Puts a window into one of the states in which the keys are tried; all but the first show
// another month than today's, so that the title key has something to do.
void prepare(Form1& form, const QString& state) {
    if (state == QLatin1String("single crew")) {
        form.setCrew(ChooserTarget::Single, CrewCode(83.2), QStringLiteral("Corvath\n403"));
        form.fillFor(ChooserTarget::Single);
        clickControl(form, QStringLiteral("Command3"));
    } else if (state == QLatin1String("side by side")) {
        clickControl(form, QStringLiteral("Command5"));
        form.setCrew(ChooserTarget::Left, CrewCode(12), QStringLiteral("Brenmoor\nC Crew"));
        form.fillFor(ChooserTarget::Left);
        form.setCrew(ChooserTarget::Right, CrewCode(71.5), QStringLiteral("Halvex\nE-A"));
        form.fillFor(ChooserTarget::Right);
        clickControl(form, QStringLiteral("Command3"));
    } else if (state == QLatin1String("no crew, a year away")) {
        clickControl(form, QStringLiteral("Command4"));
        clickControl(form, QStringLiteral("Command3"));
    }
}

// What a file dialog was asked by the printing of a window that has no printer.
struct PrintRequests {
    QStringList suggestedNames;
};

Form1Services withoutPrinter(const std::shared_ptr<PrintRequests>& requests) {
    Form1Services services;
    services.defaultPrinter = [] { return QString(); };
    services.pdfFileName = [requests](QWidget*, const QString& suggestedName) {
        requests->suggestedNames.append(suggestedName);
        return QString(); // the user declines: nothing is written
    };
    return services;
}

// What a click or a key changed, as the user sees it.
struct Outcome {
    QString title;
    SheetModel sheet;
    bool sideBySide = false;
    QStringList windows; // the captions of the choosers and about windows that show
    QStringList printed; // the file names offered by printing without a printer
    QList<QUrl> opened;  // the addresses handed to the shell
    bool operator==(const Outcome&) const = default;
};

// A window of April 2007 with no crew, alone, side by side, or announcing a newer version.
WindowTests::Window openIn(const QString& state, test::LoopbackServer& server, Outcome& seen) {
    Form1Services services;
    services.defaultPrinter = [] { return QString(); };
    services.pdfFileName = [&seen](QWidget*, const QString& name) {
        seen.printed << name;
        return QString();
    };
    const bool announced = state == QLatin1String("notice");
    server.serve(test::LoopbackServer::kVersionPage, test::Answer::titled("9.9.9"));
    services.siteHost = server.host();
    auto w = openWindow(kToday, services, {.ownSiteHost = announced});
    if (announced && !QTest::qWaitFor([&w] { return !notice(*w.form).text().isEmpty(); }, 10000)) {
        qFatal("no notice of a newer version");
    }
    if (state == QLatin1String("side by side")) {
        clickControl(*w.form, QStringLiteral("Command5"));
    }
    clickControl(*w.form, QStringLiteral("Command3"));
    return w;
}

// What `w` shows now, with what it printed into `seen`; its choosers and about windows go.
Outcome outcomeOf(WindowTests::Window& w, Outcome seen) {
    seen.title = title(*w.form);
    seen.sheet = w.form->sheet();
    seen.sideBySide = w.form->sideBySideShowing();
    for (const Form2* chooser : openChoosers()) {
        seen.windows << chooser->windowTitle();
    }
    for (const frmAbout* about : openAboutWindows()) {
        seen.windows << about->windowTitle();
    }
    seen.opened = *w.opened;
    deleteChoosersAndAboutWindows();
    return seen;
}

// Presses Tab until `name` has the focus; false when a whole round passes without it.
bool tabTo(QWidget& window, const QString& name) {
    for (int i = 0; i < 20 && focusedControl() != name; ++i) {
        pressKey(window, Qt::Key_Tab);
    }
    return focusedControl() == name;
}

} // namespace

class KeyboardTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void tabWalksTheControlsAndKeysClick_data();
    void tabWalksTheControlsAndKeysClick();
    void chooserByKeysLeavesWhatItsClicksLeave_data();
    void chooserByKeysLeavesWhatItsClicksLeave();
    void focusShowsOnlyOnceAKeyIsPressed_data();
    void focusShowsOnlyOnceAKeyIsPressed();
    void menuKeysOpenTheCrewBoxMenu();
    void keysDoWhatTheirClicksDo_data();
    void keysDoWhatTheirClicksDo();
    void keysRepeatLikeClicks();
    void ctrlPPrintsLikeThePrinterImage();
    void f1OpensTheOneAboutWindow();
    void escapeClosesTheAboutWindow();
    void escapeClosesTheChooserWithoutAChange_data();
    void escapeClosesTheChooserWithoutAChange();
    void plainPAndOtherKeysDoNothing_data();
    void plainPAndOtherKeysDoNothing();
};

void KeyboardTest::initTestCase() {
    // The loopback server that announces a newer version is reached directly.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void KeyboardTest::cleanup() {
    deleteChoosersAndAboutWindows();
}

void KeyboardTest::tabWalksTheControlsAndKeysClick_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("order"); // from the control that has the focus at the start
    const QStringList top = {"Command1", "Command2", "Command3", "Command4", "Label3", "SheetView"};
    QTest::newRow("single") << "single"
                            << top + QStringList{"Label5", "Command5", "Image2", "Image1"};
    QTest::newRow("side by side") << "side by side"
                                  << top + QStringList{"Label8", "Label9", "Command5", "Image2",
                                                       "Image1"};
    QTest::newRow("notice") << "notice"
                            << top + QStringList{"Label5", "Command5", "Image2", "Label2_38",
                                                 "Image1"};
}

void KeyboardTest::tabWalksTheControlsAndKeysClick() {
    QFETCH(QString, state);
    QFETCH(QStringList, order);
    test::LoopbackServer server;
    Outcome ignored;
    auto w = openIn(state, server, ignored);
    QCOMPARE(focusedControl(), order.front());
    // Round the window and back to the start, both ways.
    for (qsizetype i = 1; i <= order.size(); ++i) {
        pressKey(*w.form, Qt::Key_Tab);
        QCOMPARE(focusedControl(), order[i % order.size()]);
    }
    for (qsizetype i = order.size() - 1; i >= 0; --i) {
        pressKey(*w.form, Qt::Key_Backtab);
        QCOMPARE(focusedControl(), order[i]);
    }
    // On each, Return or Space does what a click does, and the focus stays unless a window opens.
    for (qsizetype i = 0; i < order.size(); ++i) {
        Outcome byKey;
        auto keyed = openIn(state, server, byKey);
        for (qsizetype tab = 0; tab < i; ++tab) {
            pressKey(*keyed.form, Qt::Key_Tab);
        }
        pressKey(*keyed.form, i % 2 ? Qt::Key_Space : Qt::Key_Return);
        const QString focused = focusedControl();
        byKey = outcomeOf(keyed, byKey);
        if (byKey.windows.isEmpty()) {
            QCOMPARE(focused, order[i]);
        }
        Outcome byClick;
        auto clicked = openIn(state, server, byClick);
        clickControl(*clicked.form, order[i]);
        QVERIFY2(outcomeOf(clicked, byClick) == byKey, qPrintable(order[i]));
    }
}

void KeyboardTest::chooserByKeysLeavesWhatItsClicksLeave_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("keys"); // from the first employer, which has the focus
    QTest::addColumn<QString>("path"); // the same choice by clicks; empty for none
    const auto row = [](const char* box, const char* keys, const char* path) {
        QTest::addRow("%s: %s", box, path) << box << keys << path;
    };
    // Greyed entries are passed by: four employers, and beside another crew the all-crews ones.
    row("Label5", "Down Down Down Return Down Down Down Return Down Down Return",
        "Corvath/401-404/403");
    row("Label5", "End Return End Return", "Tobrin's/All X Crews");
    row("Label5", "Home Return Home Space", "Brenmoor/A Crew");
    row("Label9", "End Return End Return", "Tobrin's/DX Crew");
    row("Label8", "Down Down Down Return End Return End Up Return", "Corvath/501-509/508");
    // Back where the mouse can go: Left from the members, Backspace from the crews; Tab as Down.
    row("Label5", "Down Down Down Return Down Down Down Return Left Up Return Tab Return",
        "Corvath/150-151/151");
    row("Label5", "Return Backspace Down Space Shift+Tab Return", "Zantor/A Crew");
    row("Label9", "Down Down Down Return Down Down Down Return Escape", "");
}

void KeyboardTest::chooserByKeysLeavesWhatItsClicksLeave() {
    QFETCH(QString, box);
    QFETCH(QString, keys);
    QFETCH(QString, path);
    const bool sides = box != QLatin1String("Label5");
    auto byKeys = openWindow(kToday);
    if (sides) {
        pressKeys(*byKeys.form, QStringLiteral("Shift+Tab Shift+Tab Shift+Tab Space"));
    }
    QVERIFY(tabTo(*byKeys.form, box));
    pressKey(*byKeys.form, Qt::Key_Return);
    QCOMPARE(focusedControl(), QStringLiteral("Label1_0"));
    pressKeys(*byKeys.form, keys);
    QVERIFY(openChoosers().isEmpty());
    // The keys are back on the crew box that the chooser served.
    QCOMPARE(focusedControl(), box);

    auto byClicks = openWindow(kToday);
    if (sides) {
        clickControl(*byClicks.form, QStringLiteral("Command5"));
    }
    clickControl(*byClicks.form, box);
    QVERIFY(path.isEmpty() || walkChooser(*openChoosers().front(), path));
    deleteChoosersAndAboutWindows();
    QCOMPARE(byKeys.form->singleCrew(), byClicks.form->singleCrew());
    QCOMPARE(byKeys.form->leftCrew(), byClicks.form->leftCrew());
    QCOMPARE(byKeys.form->rightCrew(), byClicks.form->rightCrew());
    QCOMPARE(boxText(*byKeys.form, box), boxText(*byClicks.form, box));
    QCOMPARE(byKeys.form->sheet(), byClicks.form->sheet());
}

void KeyboardTest::focusShowsOnlyOnceAKeyIsPressed_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("designed") << QSize();
    QTest::newRow("larger") << QSize(698, 600);
}

void KeyboardTest::focusShowsOnlyOnceAKeyIsPressed() {
    QFETCH(QSize, size);
    auto w = openWindow(kToday, {}, {.size = size});
    Form1& form = *w.form;
    // The first control has the focus from the start, and shows nothing of it.
    QCOMPARE(focusedControl(), QStringLiteral("Command1"));
    const QImage asDesigned = form.grab().toImage();
    QApplication::focusWidget()->clearFocus();
    QCOMPARE(form.grab().toImage(), asDesigned);
    // Once a key is pressed every control shows the focus, the sheet on its day.
    QStringList unframed;
    for (int i = 0; i < 10; ++i) {
        pressKey(form, Qt::Key_Tab);
        if (form.grab().toImage() == asDesigned) {
            unframed << focusedControl();
        }
    }
    QCOMPARE(unframed, QStringList());
    // A mouse press hides it again, and the window looks as designed.
    clickControl(form, QStringLiteral("SheetView"));
    QCOMPARE(form.grab().toImage(), asDesigned);
}

void KeyboardTest::menuKeysOpenTheCrewBoxMenu() {
    QStringList asked;
    Form1Services services;
    services.calendarExport = [&asked](QWidget*, const CalendarExport& proposal, const Twips&,
                                       const CalendarExportWriter&) {
        asked << proposal.calendarName;
        return std::optional<CalendarExport>();
    };
    auto w = openWindow(kToday, services);
    Form1& form = *w.form;
    form.setCrew(ChooserTarget::Single, CrewCode(83.2), QStringLiteral("Corvath\n403"));
    QVERIFY(tabTo(form, QStringLiteral("Label5")));
    for (const char* key : {"Menu", "Shift+F10"}) {
        pressKeys(form, QString::fromLatin1(key));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        // Its entry is ready for Return, and a screen reader hears it.
        QVERIFY(menu && menu->activeAction());
        QCOMPARE(menu->activeAction()->text(), QStringLiteral("Export shifts to calendar file..."));
        pressKeys(form, QStringLiteral("Return"));
    }
    QCOMPARE(asked, QStringList(2, QStringLiteral("Corvath 403 shifts")));
    // Opened by the mouse, the menu marks no entry, as before.
    clickControl(form, QStringLiteral("Label5"), Qt::RightButton);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu && !menu->activeAction());
    menu->close();
}

void KeyboardTest::keysDoWhatTheirClicksDo_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("expectedTitle");
    struct Key {
        const char* name;
        int key;
        int modifiers;
        const char* control;
    };
    const Key keys[] = {
        {"Ctrl+PageUp", Qt::Key_PageUp, Qt::ControlModifier, "Command1"},
        {"PageUp", Qt::Key_PageUp, Qt::NoModifier, "Command2"},
        {"PageDown", Qt::Key_PageDown, Qt::NoModifier, "Command3"},
        {"Ctrl+PageDown", Qt::Key_PageDown, Qt::ControlModifier, "Command4"},
        {"Home", Qt::Key_Home, Qt::NoModifier, "Label3"},
    };
    // Each state with the month it shows and the title each key leads to.
    struct State {
        const char* name;
        const char* titles[std::size(keys)];
    };
    const State states[] = {
        {"no crew", {"March 2006", "February 2007", "April 2007", "March 2008", "March 2007"}},
        {"single crew", {"April 2006", "March 2007", "May 2007", "April 2008", "March 2007"}},
        {"side by side", {"April 2006", "March 2007", "May 2007", "April 2008", "March 2007"}},
        {"no crew, a year away",
         {"April 2007", "March 2008", "May 2008", "April 2009", "March 2007"}},
    };
    for (std::size_t k = 0; k < std::size(keys); ++k) {
        for (const State& state : states) {
            QTest::addRow("%s, %s", keys[k].name, state.name)
                << keys[k].key << keys[k].modifiers << QString::fromLatin1(keys[k].control)
                << QString::fromLatin1(state.name) << QString::fromLatin1(state.titles[k]);
        }
    }
}

void KeyboardTest::keysDoWhatTheirClicksDo() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, control);
    QFETCH(QString, state);
    QFETCH(QString, expectedTitle);
    auto byKey = openWindow(kToday);
    prepare(*byKey.form, state);
    QTest::keyClick(byKey.form.get(), static_cast<Qt::Key>(key),
                    static_cast<Qt::KeyboardModifiers>(modifiers));
    QCOMPARE(title(*byKey.form), expectedTitle);

    auto byClick = openWindow(kToday);
    prepare(*byClick.form, state);
    clickControl(*byClick.form, control);
    QCOMPARE(title(*byClick.form), expectedTitle);
    QCOMPARE(byKey.form->sheet(), byClick.form->sheet());
    QCOMPARE(byKey.form->sideBySideShowing(), byClick.form->sideBySideShowing());
}

void KeyboardTest::keysRepeatLikeClicks() {
    auto w = openWindow(kToday);
    Form1& form = *w.form;
    for (int i = 0; i < 14; ++i) {
        QTest::keyClick(&form, Qt::Key_PageDown);
    }
    QCOMPARE(title(form), QStringLiteral("May 2008"));
    QTest::keyClick(&form, Qt::Key_PageUp, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(title(form), QStringLiteral("May 2006"));
    QTest::keyClick(&form, Qt::Key_Home);
    QCOMPARE(title(form), QStringLiteral("March 2007"));
}

void KeyboardTest::ctrlPPrintsLikeThePrinterImage() {
    const auto byKeyRequests = std::make_shared<PrintRequests>();
    auto byKey = openWindow(kToday, withoutPrinter(byKeyRequests));
    QTest::keyClick(byKey.form.get(), Qt::Key_PageDown);
    QTest::keyClick(byKey.form.get(), Qt::Key_P, Qt::ControlModifier);

    const auto byClickRequests = std::make_shared<PrintRequests>();
    auto byClick = openWindow(kToday, withoutPrinter(byClickRequests));
    clickControl(*byClick.form, QStringLiteral("Command3"));
    clickControl(*byClick.form, QStringLiteral("Image2"));

    QCOMPARE(byKeyRequests->suggestedNames,
             QStringList{QStringLiteral("Kelsing schedule April 2007.pdf")});
    QCOMPARE(byKeyRequests->suggestedNames, byClickRequests->suggestedNames);
    // Printing hides the buttons and images only while it runs.
    for (const char* name : {"Image1", "Image2", "Command1", "Command5"}) {
        QVERIFY(control(*byKey.form, QString::fromLatin1(name))->isVisible());
    }
}

void KeyboardTest::f1OpensTheOneAboutWindow() {
    auto w = openWindow(kToday);
    QTest::keyClick(w.form.get(), Qt::Key_F1);
    QCOMPARE(openAboutWindows().size(), 1);
    frmAbout* first = openAboutWindows().front();
    QCOMPARE(first->windowTitle(), QStringLiteral("About Kelsing Shift Workers Schedule"));
    // Like a second click on the info image, a second F1 brings the same window forward.
    w.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    QTest::keyClick(w.form.get(), Qt::Key_F1);
    QCOMPARE(openAboutWindows().size(), 1);
    QCOMPARE(openAboutWindows().front(), first);
    clickControl(*w.form, QStringLiteral("Image1"));
    QCOMPARE(openAboutWindows().size(), 1);
}

void KeyboardTest::escapeClosesTheAboutWindow() {
    auto w = openWindow(kToday);
    QTest::keyClick(w.form.get(), Qt::Key_F1);
    QCOMPARE(openAboutWindows().size(), 1);
    QPointer<frmAbout> about = openAboutWindows().front();
    // It takes the keys as it opens, so Escape reaches it without a click first.
    QVERIFY(QTest::qWaitForWindowActive(about));
    QTest::keyClick(about, Qt::Key_Escape);
    QVERIFY(openAboutWindows().isEmpty());
    // It closed as "OK" closes it, unloaded: the next F1 builds a fresh one.
    QTRY_VERIFY(!about);
    w.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    QTest::keyClick(w.form.get(), Qt::Key_F1);
    QCOMPARE(openAboutWindows().size(), 1);
}

void KeyboardTest::escapeClosesTheChooserWithoutAChange_data() {
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("path"); // how far the user got before Escape
    QTest::newRow("employers") << false << QStringLiteral("Label5") << QString();
    QTest::newRow("crews") << false << QStringLiteral("Label5") << QStringLiteral("Zantor");
    QTest::newRow("members") << false << QStringLiteral("Label5")
                             << QStringLiteral("Corvath/401-404");
    QTest::newRow("left box, members")
        << true << QStringLiteral("Label8") << QStringLiteral("Halvex/E (5-A)");
    QTest::newRow("right box, crews")
        << true << QStringLiteral("Label9") << QStringLiteral("Tobrin's");
}

void KeyboardTest::escapeClosesTheChooserWithoutAChange() {
    QFETCH(bool, sideBySide);
    QFETCH(QString, box);
    QFETCH(QString, path);
    auto w = openWindow(kToday);
    Form1& form = *w.form;
    form.setCrew(ChooserTarget::Single, CrewCode(14), QStringLiteral("Brenmoor\nAll Crews"));
    form.fillFor(ChooserTarget::Single);
    if (sideBySide) {
        clickControl(form, QStringLiteral("Command5"));
    }
    const SheetModel before = form.sheet();
    const QStringList boxesBefore = {boxText(form, "Label5"), boxText(form, "Label8"),
                                     boxText(form, "Label9")};
    clickControl(form, box);
    QCOMPARE(openChoosers().size(), 1);
    Form2* chooser = openChoosers().front();
    QVERIFY(QTest::qWaitForWindowActive(chooser));
    if (!path.isEmpty()) {
        QVERIFY(walkChooser(*chooser, path));
        QCOMPARE(openChoosers().size(), 1);
    }
    QTest::keyClick(chooser, Qt::Key_Escape);
    QVERIFY(openChoosers().isEmpty());
    QCOMPARE(form.sheet(), before);
    QCOMPARE(form.singleCrew(), CrewCode(14));
    QCOMPARE(form.leftCrew(), CrewCode());
    QCOMPARE(form.rightCrew(), CrewCode());
    QCOMPARE(
        (QStringList{boxText(form, "Label5"), boxText(form, "Label8"), boxText(form, "Label9")}),
        boxesBefore);
}

void KeyboardTest::plainPAndOtherKeysDoNothing_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("P") << int(Qt::Key_P) << int(Qt::NoModifier);
    QTest::newRow("Shift+PageDown") << int(Qt::Key_PageDown) << int(Qt::ShiftModifier);
    QTest::newRow("Alt+PageUp") << int(Qt::Key_PageUp) << int(Qt::AltModifier);
    QTest::newRow("End") << int(Qt::Key_End) << int(Qt::NoModifier);
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
    QTest::newRow("Ctrl+Home") << int(Qt::Key_Home) << int(Qt::ControlModifier);
}

void KeyboardTest::plainPAndOtherKeysDoNothing() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    const auto requests = std::make_shared<PrintRequests>();
    auto w = openWindow(kToday, withoutPrinter(requests));
    clickControl(*w.form, QStringLiteral("Command3"));
    const SheetModel before = w.form->sheet();
    QTest::keyClick(w.form.get(), static_cast<Qt::Key>(key),
                    static_cast<Qt::KeyboardModifiers>(modifiers));
    QCOMPARE(w.form->sheet(), before);
    QVERIFY(requests->suggestedNames.isEmpty());
    QVERIFY(openAboutWindows().isEmpty());
    QVERIFY(w.form->isVisible());
}

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
