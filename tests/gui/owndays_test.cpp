// SPDX-License-Identifier: GPL-3.0-or-later
// The user's own days in the window: a window that keeps none is the original one, each entry
// of the day menu is painted, spoken and kept, a damaged store is told once and left alone, the
// printed page shows the entries, and the window and the tool write at once without a loss.

#include "mainwindow/calendarexport.h"
#include "owndays/owndaystore.h"
#include "pdfreading.h"
#include "sheet/monthsheet.h"
#include "sheet/sheetview.h"
#include "sqlitecli.h"
#include "windowtestsupport.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kelsing;
using namespace kelsing::WindowTests;

namespace {

const DaySerial kToday = dateOf(2007, 3, 15);
const CrewCode kCorvath403(83.2);
constexpr int kFirstCell = 3; // March 2007 starts on a Thursday: day d is in cell d + 3
constexpr int kHeads = 7;     // the accessible table's first children are the weekday heads

// A home of the test's own and what the window told the user there.
struct Home {
    QTemporaryDir folder;
    std::filesystem::path data = std::filesystem::path(folder.path().toStdString()) / "data";
    std::filesystem::path store = data / "kelsing-schedule" / "days.sqlite";
    std::shared_ptr<QStringList> warned = std::make_shared<QStringList>();
    std::shared_ptr<QStringList> informed = std::make_shared<QStringList>();
    std::shared_ptr<QString> note = std::make_shared<QString>();

    Window open(bool keepsOwnDays = true) const {
        Form1Services services;
        if (keepsOwnDays) {
            services.ownDaysFile = store;
        }
        services.warn = [warned = warned](QWidget*, const QString& text) { warned->append(text); };
        services.inform = [informed = informed](QWidget*, const QString& text) {
            informed->append(text);
        };
        services.askNote = [note = note](QWidget*, const QString&, const QString&) {
            return std::optional(*note);
        };
        Window window = openWindow(kToday, services, {.wait = Wait::Exposed});
        window.form->setCrew(ChooserTarget::Single, kCorvath403, QStringLiteral("Corvath\n403"));
        window.form->fillFor(ChooserTarget::Single);
        return window;
    }

    bool untouched() const { return QDir(folder.path()).isEmpty(); }
};

SheetView& sheetView(Form1& form) {
    return *control<SheetView>(form, QStringLiteral("SheetView"));
}

QString spokenName(Form1& form, int cell) {
    return QAccessible::queryAccessibleInterface(&sheetView(form))
        ->child(kHeads + cell)
        ->text(QAccessible::Name);
}

// Triggers an entry of a day's menu, found by its object name, or by its text in a submenu.
void choose(Form1& form, int day, const QString& entry, const QString& shift = {}) {
    const std::unique_ptr<QMenu> menu(form.dayMenu(kFirstCell + day));
    QVERIFY(menu);
    QAction* action = nullptr;
    if (shift.isEmpty()) {
        action = menu->findChild<QAction*>(entry);
    } else if (auto* shifts = menu->findChild<QMenu*>(entry)) {
        for (QAction* candidate : shifts->actions()) {
            action = candidate->text() == shift ? candidate : action;
        }
    }
    QVERIFY2(action, qPrintable(entry + QLatin1Char(' ') + shift));
    action->trigger();
}

// The pixels of a cell's picture within `tolerance` of a colour.
int pixelsNear(const QImage& picture, const QRect& cell, Rgb colour, int tolerance = 60) {
    int count = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            const int r = pixel.red() - colour.red;
            const int g = pixel.green() - colour.green;
            const int b = pixel.blue() - colour.blue;
            count += r * r + g * g + b * b <= tolerance * tolerance ? 1 : 0;
        }
    }
    return count;
}

} // namespace

class OwnDaysTest final : public QObject {
    Q_OBJECT

private slots:
    void withoutEntriesTheWindowIsTheOriginal();
    void eachEntryIsPaintedSpokenAndKept_data();
    void eachEntryIsPaintedSpokenAndKept();
    void theMenuOffersOnlyWhatIsValid();
    void theKeyboardOpensADayMenu_data();
    void theKeyboardOpensADayMenu();
    void aDamagedStoreIsToldOnceAndLeftAlone();
    void thePrintedPageAndTheSummaryShowThem();
    void theWindowAndTheToolWriteAtOnceWithoutALoss();
};

void OwnDaysTest::withoutEntriesTheWindowIsTheOriginal() {
    const Home home;
    Window keeping = home.open();
    Window original = home.open(false);
    for (const char* step : {"", "Command3", "Command3", "Command1", "Command2", "Label3"}) {
        if (*step != '\0') {
            click(*keeping.form, QString::fromLatin1(step));
            click(*original.form, QString::fromLatin1(step));
        }
        QCOMPARE(keeping.form->sheet(), original.form->sheet());
        QCOMPARE(sheetView(*keeping.form).grab().toImage(),
                 sheetView(*original.form).grab().toImage());
        // The menus are there to be asked for; asking makes nothing.
        delete keeping.form->dayMenu(kFirstCell + 12);
        const std::unique_ptr<QMenu> crewMenu(keeping.form->crewBoxMenu(ChooserTarget::Single));
        QVERIFY(!crewMenu->findChild<QAction*>(QStringLiteral("OwnSummary")));
    }
    QVERIFY(home.untouched());
    QVERIFY(home.warned->isEmpty());
}

void OwnDaysTest::eachEntryIsPaintedSpokenAndKept_data() {
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("shift");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("spoken");
    QTest::addColumn<QString>("row");
    // Corvath 403 works Days on the 12th and is off on the 7th, by the schedule table.
    QTest::newRow("leave") << 12 << "OwnLeave"
                           << "" << int(OwnDayKind::Leave) << "Monday 12 March 2007, Days, Leave"
                           << "leave||";
    QTest::newRow("sick") << 12 << "OwnSick"
                          << "" << int(OwnDayKind::Sick) << "Monday 12 March 2007, Days, Sick"
                          << "sick||";
    QTest::newRow("swap") << 12 << "OwnSwap"
                          << "Nights" << int(OwnDayKind::Swap)
                          << "Monday 12 March 2007, Days, Swap: Nights"
                          << "swap|Nights|";
    QTest::newRow("extra") << 7 << "OwnExtra"
                           << "Days (12)" << int(OwnDayKind::Extra)
                           << "Wednesday 7 March 2007, Off, Extra: Days (12)"
                           << "extra|Days (12)|";
    QTest::newRow("note") << 12 << "OwnNote"
                          << "" << int(OwnDayKind::Note)
                          << "Monday 12 March 2007, Days, Note: dentist at 9"
                          << "note||dentist at 9";
}

void OwnDaysTest::eachEntryIsPaintedSpokenAndKept() {
    QFETCH(int, day);
    QFETCH(QString, entry);
    QFETCH(QString, shift);
    QFETCH(int, kind);
    QFETCH(QString, spoken);
    QFETCH(QString, row);
    const Home home;
    *home.note = QStringLiteral("  dentist at 9 ");
    Window window = home.open();
    Form1& form = *window.form;
    const int cell = kFirstCell + day;
    const QRect frame = sheetView(form).cellRect(cell);
    const Rgb colour = kindColour(static_cast<OwnDayKind>(kind));
    const QImage before = sheetView(form).grab().toImage();

    choose(form, day, entry, shift);
    // Kept before it is shown: the row is in the file, as SQLite's own shell reads it.
    QCOMPARE(QString::fromStdString(test::sqliteShell(
                 home.store,
                 "SELECT kind, shift, note FROM own_days WHERE date = '2007-03-" +
                     QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0')).toStdString() + "';")),
             row + QLatin1Char('\n'));
    QCOMPARE(QString::fromStdString(form.sheet().cells[static_cast<std::size_t>(cell)].own.word),
             QString::fromUtf8(kindWord(static_cast<OwnDayKind>(kind))));
    QCOMPARE(spokenName(form, cell), spoken);
    const QImage after = sheetView(form).grab().toImage();
    QVERIFY2(pixelsNear(after, frame, colour) >= pixelsNear(before, frame, colour) + 5,
             "no mark in the entry's colour");
    // The rest of the sheet is as it was.
    QImage rest = after;
    QImage restBefore = before;
    for (QImage* picture : {&rest, &restBefore}) {
        for (int y = frame.top(); y <= frame.bottom(); ++y) {
            for (int x = frame.left(); x <= frame.right(); ++x) {
                picture->setPixelColor(x, y, Qt::white);
            }
        }
    }
    QCOMPARE(rest, restBefore);
    // Chosen again (a leave, a sick day, the same swap or extra), or cleared, it goes.
    if (entry == QLatin1String("OwnNote")) {
        choose(form, day, QStringLiteral("OwnClear"));
    } else {
        choose(form, day, entry, shift);
    }
    QCOMPARE(test::sqliteShell(home.store, "SELECT count(*) FROM own_days;"), std::string("0\n"));
    QCOMPARE(sheetView(form).grab().toImage(), before);
    QVERIFY(home.warned->isEmpty());
}

void OwnDaysTest::theMenuOffersOnlyWhatIsValid() {
    const Home home;
    Window window = home.open();
    Form1& form = *window.form;
    const auto shiftsOf = [&](int cell, const char* menuName) {
        const std::unique_ptr<QMenu> menu(form.dayMenu(cell));
        QStringList shifts;
        for (QAction* action : menu->findChild<QMenu*>(QString::fromLatin1(menuName))->actions()) {
            shifts << action->text();
        }
        return shifts;
    };
    const QStringList all = {"Days",     "Nights",    "Afternoons", "Training",
                             "Days (8)", "Days (12)", "Off"};
    QStringList notDays = all;
    notDays.removeOne(QStringLiteral("Days"));
    QStringList worked = all;
    worked.removeOne(QStringLiteral("Off"));
    QCOMPARE(shiftsOf(kFirstCell + 12, "OwnSwap"), notDays); // no swap of Days for Days
    QCOMPARE(shiftsOf(kFirstCell + 12, "OwnExtra"), worked); // no extra "Off"
    {
        const std::unique_ptr<QMenu> menu(form.dayMenu(kFirstCell + 12));
        QVERIFY(!menu->findChild<QAction*>(QStringLiteral("OwnClear"))->isEnabled());
    }
    // No day in the cell, no crew of one's own, or two crews side by side: no menu.
    QVERIFY(!form.dayMenu(0));
    QVERIFY(!form.dayMenu(37));
    form.setCrew(ChooserTarget::Single, CrewCode(14), QStringLiteral("Brenmoor\nAll Crews"));
    form.fillFor(ChooserTarget::Single);
    QVERIFY(!form.dayMenu(kFirstCell + 12));
    form.setCrew(ChooserTarget::Single, kCorvath403, QStringLiteral("Corvath\n403"));
    form.fillFor(ChooserTarget::Single);
    click(form, QStringLiteral("Command5"));
    QVERIFY(!form.dayMenu(kFirstCell + 12));
    QVERIFY(home.untouched());
}

void OwnDaysTest::theKeyboardOpensADayMenu_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
}

void OwnDaysTest::theKeyboardOpensADayMenu() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    const Home home;
    Window window = home.open();
    Form1& form = *window.form;
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    // The sheet's focus starts on today, the 15th; Left moves it to the 14th.
    sheetView(form).setFocus(Qt::TabFocusReason);
    QTest::keyClick(form.windowHandle(), Qt::Key_Left);
    // Through the window system, as a key pressed on the keyboard.
    QTest::keyClick(form.windowHandle(), static_cast<Qt::Key>(key),
                    static_cast<Qt::KeyboardModifiers>(modifiers));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), QStringLiteral("DayMenu"));
    menu->findChild<QAction*>(QStringLiteral("OwnSick"))->trigger();
    menu->close();
    QCOMPARE(test::sqliteShell(home.store, "SELECT date, kind FROM own_days;"),
             std::string("2007-03-14|sick\n"));
    QCOMPARE(spokenName(form, kFirstCell + 14),
             QStringLiteral("Wednesday 14 March 2007, Nights, Sick"));
    // Where the focus is on no day, the window offers every day of the month, today's chosen.
    std::unique_ptr<QMenu> days(form.keyboardDayMenu());
    QVERIFY(days);
    const QList<QAction*> entries = days->actions();
    QCOMPARE(std::count_if(entries.begin(), entries.end(),
                           [](QAction* action) { return action->menu() != nullptr; }),
             31);
    QVERIFY(days->activeAction());
    QCOMPARE(days->activeAction()->text(), spokenName(form, kFirstCell + 15));
}

void OwnDaysTest::aDamagedStoreIsToldOnceAndLeftAlone() {
    const Home home;
    std::filesystem::create_directories(home.store.parent_path());
    QFile damaged(QString::fromStdString(home.store.string()));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("SQLite format 3") + QByteArray(5000, '\x17'));
    damaged.close();
    Window window = home.open();
    QCOMPARE(home.warned->size(), 1);
    QVERIFY(home.warned->front().contains(QString::fromStdString(home.store.string())));
    click(*window.form, QStringLiteral("Command3"));
    click(*window.form, QStringLiteral("Command2"));
    QCOMPARE(window.form->sheet(), monthSheet({3, 2007}, {false, kCorvath403, {}, {}}, kToday));
    const std::unique_ptr<QMenu> menu(window.form->dayMenu(kFirstCell + 12));
    QCOMPARE(menu->actions().size(), 1);
    QVERIFY(!menu->actions().front()->isEnabled());
    QCOMPARE(home.warned->size(), 1);
    QVERIFY(damaged.open(QIODevice::ReadOnly));
    QCOMPARE(damaged.readAll(), QByteArray("SQLite format 3") + QByteArray(5000, '\x17'));
}

void OwnDaysTest::thePrintedPageAndTheSummaryShowThem() {
    const Home home;
    const QString pdf = home.folder.filePath(QStringLiteral("sheet.pdf"));
    Form1Services services;
    services.ownDaysFile = home.store;
    services.defaultPrinter = [] { return QString(); };
    services.pdfFileName = [pdf](QWidget*, const QString&) { return pdf; };
    services.inform = [informed = home.informed](QWidget*, const QString& text) {
        informed->append(text);
    };
    Window window = openWindow(kToday, services, {.wait = Wait::Exposed});
    Form1& form = *window.form;
    form.setCrew(ChooserTarget::Single, kCorvath403, QStringLiteral("Corvath\n403"));
    form.fillFor(ChooserTarget::Single);
    choose(form, 12, QStringLiteral("OwnLeave"));
    choose(form, 14, QStringLiteral("OwnSwap"), QStringLiteral("Training"));
    form.Image2_Click();
    const QStringList words = PdfReading::readPdf(pdf).words;
    QVERIFY2(words.contains(QStringLiteral("Leave")), qPrintable(words.join(QLatin1Char(' '))));
    QVERIFY(words.contains(QStringLiteral("Swap")));
    QVERIFY(words.contains(QStringLiteral("Training")));
    // The summary, from the crew box, counts them: March 2007 has 8 Days and 8 Nights, less the
    // Days of the leave and the Nights swapped for Training.
    const std::unique_ptr<QMenu> menu(form.crewBoxMenu(ChooserTarget::Single));
    QAction* summary = menu->findChild<QAction*>(QStringLiteral("OwnSummary"));
    QVERIFY(summary);
    summary->trigger();
    QCOMPARE(home.informed->size(), 1);
    QVERIFY2(home.informed->front().contains(QStringLiteral(
                 "March 2007: 15 shifts worked (Days 7, Nights 7, Training 1); 1 leave day")),
             qPrintable(home.informed->front()));
}

void OwnDaysTest::theWindowAndTheToolWriteAtOnceWithoutALoss() {
    const Home home;
    Window window = home.open();
    // The tool marks every day of 2008 from January to February while the window marks March.
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(home.data.string()));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       home.folder.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("TOOL"), QStringLiteral(KELSING_SHIFTS_EXE));
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral("sh"),
               {QStringLiteral("-c"),
                QStringLiteral("for m in 01 02; do for d in $(seq -w 1 29); do "
                               "\"$TOOL\" days set 2008-$m-$d sick || exit 1; done; done")});
    QVERIFY(tool.waitForStarted());
    for (int day = 1; day <= 31; ++day) {
        choose(*window.form, day, QStringLiteral("OwnLeave"));
        QCoreApplication::processEvents();
    }
    QVERIFY(tool.waitForFinished(120000));
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(test::sqliteShell(home.store, "SELECT kind, count(*) FROM own_days GROUP BY kind;"
                                           " PRAGMA integrity_check;"),
             std::string("leave|31\nsick|58\nok\n"));
    QVERIFY(home.warned->isEmpty());
    // What the tool kept shows in the window at the next step to its month.
    window.form->Command4_Click();
    window.form->Command2_Click();
    QCOMPARE(QString::fromStdString(window.form->sheet().cells[5].own.word),
             QStringLiteral("Sick")); // 1 February 2008 is a Friday, in cell 5
}

QTEST_MAIN(OwnDaysTest)
#include "owndays_test.moc"
