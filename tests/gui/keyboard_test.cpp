// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/frmabout.h"
#include "crews/form2.h"
#include "windowtestsupport.h"

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

} // namespace

class KeyboardTest final : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
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

void KeyboardTest::cleanup() {
    deleteChoosersAndAboutWindows();
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
