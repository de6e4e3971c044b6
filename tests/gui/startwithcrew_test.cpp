// SPDX-License-Identifier: GPL-3.0-or-later
// "Start with this crew": the crews the window starts with when the user asks for it, and the
// start of a user who never does.

#include "mainwindow/form1.h"
#include "stores/settingsfile.h"
#include "windowtestsupport.h"

#include <memory>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using namespace kelsing;

namespace {

using WindowTests::boxText;
using WindowTests::clickControl;
using WindowTests::openChoosers;
using WindowTests::sheetDifference;
using WindowTests::textOf;

const DaySerial kToday = WindowTests::dateOf(2007, 3, 15);

// A settings folder of the test's own, and what the window told the user.
struct SettingsHome {
    QTemporaryDir home;
    std::shared_ptr<QStringList> told = std::make_shared<QStringList>();
    std::shared_ptr<QStringList> warned = std::make_shared<QStringList>();
    std::filesystem::path file =
        std::filesystem::path(home.path().toStdString()) / "kelsing-schedule" / "settings.ini";

    WindowTests::Window open() const {
        Form1Services services;
        services.settingsFile = file;
        services.reportProblem = [told = told](const QString& line) { told->append(line); };
        services.warn = [warned = warned](QWidget*, const QString& line) { warned->append(line); };
        return WindowTests::openWindow(kToday, services, {.wait = WindowTests::Wait::Exposed});
    }
};

// Everything a start shows: the sheet, the crew boxes, the switch and the crew codes.
QString differenceOf(Form1& actual, Form1& expected) {
    for (const char* name : {"Label5", "Label8", "Label9", "Command5"}) {
        if (textOf(actual, name) != textOf(expected, name)) {
            return QStringLiteral("%1 shows '%2', not '%3'")
                .arg(QLatin1String(name), textOf(actual, name), textOf(expected, name));
        }
    }
    if (actual.singleCrew() != expected.singleCrew() || actual.leftCrew() != expected.leftCrew() ||
        actual.rightCrew() != expected.rightCrew()) {
        return QStringLiteral("the crew codes differ");
    }
    if (actual.sheet() != expected.sheet()) {
        return QStringLiteral("the sheet differs: ") +
               sheetDifference(actual.sheet(), expected.sheet());
    }
    return {};
}

void choose(Form1& form, const char* box, const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    clickControl(form, box);
    QTRY_COMPARE(openChoosers().size(), 1);
    QVERIFY(WindowTests::walkChooser(*openChoosers().front(), path));
    QTRY_VERIFY(openChoosers().isEmpty());
}

// The menu entry of a crew box, in a menu of its own that the caller deletes.
QAction* startEntry(Form1& form, ChooserTarget target, std::unique_ptr<QMenu>& menu) {
    menu.reset(form.crewBoxMenu(target));
    return menu->findChild<QAction*>(QStringLiteral("StartWithThisCrew"));
}

bool checked(Form1& form, ChooserTarget target) {
    std::unique_ptr<QMenu> menu;
    return startEntry(form, target, menu)->isChecked();
}

} // namespace

class StartWithCrewTest final : public QObject {
    Q_OBJECT

private slots:
    void withoutTheFileTheStartIsTheOriginal();
    void aRememberedStartIsTheClickedOne_data();
    void aRememberedStartIsTheClickedOne();
    void aDamagedFileIsToldOnceAndKept();
    void aFolderThatCannotBeWrittenIsSaid();
};

void StartWithCrewTest::withoutTheFileTheStartIsTheOriginal() {
    const SettingsHome settings;
    WindowTests::Window asked = settings.open();
    WindowTests::Window original = WindowTests::openWindow(kToday);
    QCOMPARE(differenceOf(*asked.form, *original.form), QString());
    QCOMPARE(boxText(*asked.form, "Label5"), QStringLiteral("Click here to Choose Crew"));
    std::unique_ptr<QMenu> menu;
    QAction* entry = startEntry(*asked.form, ChooserTarget::Single, menu);
    QVERIFY(!entry->isChecked());
    QVERIFY(!entry->isEnabled()); // no crew to remember yet
    QVERIFY(QDir(settings.home.path()).isEmpty());
    QVERIFY(settings.told->isEmpty());
}

void StartWithCrewTest::aRememberedStartIsTheClickedOne_data() {
    QTest::addColumn<QString>("single");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::newRow("one crew") << "Corvath/401-404/403"
                              << ""
                              << "";
    // The chooser's wording "All", which the switch would write "All Crews".
    QTest::newRow("all crews of a group") << "Halvex/AA-DD/All"
                                          << ""
                                          << "";
    QTest::newRow("side by side") << ""
                                  << "Halvex/P (6-9)/P-6"
                                  << "Halvex/AA-DD/BB";
    QTest::newRow("left side only") << ""
                                    << "Brenmoor/C Crew"
                                    << "";
    QTest::newRow("right side only") << ""
                                     << ""
                                     << "Tobrin's/DX Crew";
}

void StartWithCrewTest::aRememberedStartIsTheClickedOne() {
    QFETCH(QString, single);
    QFETCH(QString, left);
    QFETCH(QString, right);
    const bool sideBySide = single.isEmpty();
    const ChooserTarget target = !sideBySide      ? ChooserTarget::Single
                                 : left.isEmpty() ? ChooserTarget::Right
                                                  : ChooserTarget::Left;
    const ChooserTarget other = sideBySide ? ChooserTarget::Single : ChooserTarget::Left;
    const SettingsHome settings;
    WindowTests::Window clicked = settings.open();
    if (sideBySide) {
        clickControl(*clicked.form, "Command5");
    }
    choose(*clicked.form, "Label5", single);
    choose(*clicked.form, "Label8", left);
    choose(*clicked.form, "Label9", right);
    {
        std::unique_ptr<QMenu> menu;
        QAction* entry = startEntry(*clicked.form, target, menu);
        QVERIFY(entry->isEnabled());
        QVERIFY(!entry->isChecked());
        entry->trigger();
    }
    QVERIFY(std::filesystem::exists(settings.file));
    QVERIFY(checked(*clicked.form, target));

    WindowTests::Window started = settings.open();
    QCOMPARE(differenceOf(*started.form, *clicked.form), QString());
    QVERIFY(checked(*started.form, target));
    // Every handler then sees what the clicks left: the switch rebuilds the same boxes.
    clickControl(*started.form, "Command5");
    clickControl(*clicked.form, "Command5");
    QCOMPARE(differenceOf(*started.form, *clicked.form), QString());
    // The other view's crews are not the remembered ones.
    QVERIFY(!checked(*started.form, other));

    clickControl(*started.form, "Command5");
    {
        std::unique_ptr<QMenu> menu;
        startEntry(*started.form, target, menu)->trigger();
    }
    QVERIFY(!checked(*started.form, target));
    QVERIFY(!std::filesystem::exists(settings.file));
    QVERIFY(settings.told->isEmpty());
    QVERIFY(settings.warned->isEmpty());
}

void StartWithCrewTest::aDamagedFileIsToldOnceAndKept() {
    const SettingsHome settings;
    std::filesystem::create_directories(settings.file.parent_path());
    const QByteArray damaged = "format = 1\n[start]\nview = single\ncrew = 83.2\nhue = 3\n";
    QFile file(QString::fromStdString(settings.file.string()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(damaged);
    file.close();
    WindowTests::Window started = settings.open();
    WindowTests::Window original = WindowTests::openWindow(kToday);
    QCOMPARE(differenceOf(*started.form, *original.form), QString());
    choose(*started.form, "Label5", QStringLiteral("Corvath/401-404/403"));
    QVERIFY(!checked(*started.form, ChooserTarget::Single));
    QVERIFY(!checked(*started.form, ChooserTarget::Single));
    QCOMPARE(settings.told->size(), 1);
    QVERIFY2(settings.told->front().contains(QStringLiteral("unknown key 'hue'")),
             qPrintable(settings.told->front()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), damaged);
    file.close();
    // Changing the choice again replaces it.
    {
        std::unique_ptr<QMenu> menu;
        startEntry(*started.form, ChooserTarget::Single, menu)->trigger();
    }
    QCOMPARE(readSettings(settings.file).settings.start,
             std::optional(RememberedStart{StartView::Single, CrewCode(83.2), {}, {}}));
    QCOMPARE(settings.told->size(), 1);
}

void StartWithCrewTest::aFolderThatCannotBeWrittenIsSaid() {
    SettingsHome settings;
    // A file where the folder would be: no one, root neither, can make the folder there.
    const QString notAFolder = settings.home.filePath(QStringLiteral("config"));
    QFile(notAFolder).open(QIODevice::WriteOnly);
    settings.file =
        std::filesystem::path(notAFolder.toStdString()) / "kelsing-schedule" / "settings.ini";
    WindowTests::Window window = settings.open();
    choose(*window.form, "Label5", QStringLiteral("Zantor/E Crew"));
    std::unique_ptr<QMenu> menu;
    QAction* entry = startEntry(*window.form, ChooserTarget::Single, menu);
    entry->trigger();
    QVERIFY(!entry->isChecked());
    QCOMPARE(settings.warned->size(), 1);
    QVERIFY2(settings.warned->front().contains(notAFolder), qPrintable(settings.warned->front()));
    QVERIFY(!checked(*window.form, ChooserTarget::Single));
    QCOMPARE(window.form->singleCrew(), CrewCode(54));
}

QTEST_MAIN(StartWithCrewTest)
#include "startwithcrew_test.moc"
