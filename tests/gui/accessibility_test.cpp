// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/frmabout.h"
#include "crews/form2.h"
#include "mainwindow/calendarexportdialog.h"
#include "platform/label.h"
#include "sheet/sheetlayout.h"
#include "windowtestsupport.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

using namespace kelsing;
using namespace kelsing::WindowTests;

namespace {

const DaySerial kToday = dateOf(2007, 3, 15);
constexpr int kHeads = 7; // the table's first children are the weekday heads

QAccessibleInterface* accessible(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    if (!face) {
        qFatal("no accessible interface for %s", qPrintable(widget->objectName()));
    }
    return face;
}

QAccessibleInterface* accessible(QWidget& parent, const QString& name) {
    return accessible(control(parent, name));
}

QAccessibleInterface* sheet(Form1& form) {
    return accessible(form, QStringLiteral("SheetView"));
}

QString cellName(Form1& form, int cell) {
    return sheet(form)->child(kHeads + cell)->text(QAccessible::Name);
}

// Puts a window of March 2007 into a state named in the test tables.
void prepare(Form1& form, const QString& state) {
    const QStringList parts = state.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.value(0) == QLatin1String("single")) {
        const CrewCode code(parts.value(1).toDouble());
        form.setCrew(ChooserTarget::Single, code, QString());
        form.fillFor(ChooserTarget::Single);
    } else if (parts.value(0) == QLatin1String("sides")) {
        clickControl(form, QStringLiteral("Command5"));
        const CrewCode left(parts.value(1).toDouble());
        const CrewCode right(parts.value(2).toDouble());
        form.setCrew(ChooserTarget::Left, left, QString());
        form.setCrew(ChooserTarget::Right, right, QString());
        if (left.value() > 0) {
            form.fillFor(ChooserTarget::Left);
        }
        if (right.value() > 0) {
            form.fillFor(ChooserTarget::Right);
        }
    }
}

} // namespace

class AccessibilityTest final : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void mainWindowControlsAreNamedAndDescribed_data();
    void mainWindowControlsAreNamedAndDescribed();
    void namesFollowTheWindowsState();
    void cellsSayTheirDay_data();
    void cellsSayTheirDay();
    void sheetIsATableUnderItsHeads();
    void cellsAreFoundWhereTheyAreDrawn_data();
    void cellsAreFoundWhereTheyAreDrawn();
    void cellNamesFollowTheShownMonth();
    void pressActionsClickLikeTheMouse();
    void chooserEntriesAreListItems();
    void aboutWindowIsNamedAndDescribed_data();
    void aboutWindowIsNamedAndDescribed();
    void windowsAreAFrameAndDialogs();
    void arrowsMoveTheFocusedDay_data();
    void arrowsMoveTheFocusedDay();
};

void AccessibilityTest::cleanup() {
    deleteChoosersAndAboutWindows();
}

void AccessibilityTest::mainWindowControlsAreNamedAndDescribed_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key"); // the key that the description mentions
    const auto row = [](const char* control, QAccessible::Role role, const char* name,
                        const char* key) {
        QTest::newRow(control) << QString::fromLatin1(control) << int(role)
                               << QString::fromLatin1(name) << QString::fromLatin1(key);
    };
    row("Command1", QAccessible::Button, "Previous year", "Ctrl+Page Up");
    row("Command2", QAccessible::Button, "Previous month", "Page Up");
    row("Command3", QAccessible::Button, "Next month", "Page Down");
    row("Command4", QAccessible::Button, "Next year", "Ctrl+Page Down");
    row("Command5", QAccessible::Button, "Show two crews side by side", "");
    row("Label3", QAccessible::Button, "March 2007", "Home");
    row("Label5", QAccessible::Button, "Click here to Choose Crew", "");
    row("Label8", QAccessible::Button, "", "");
    row("Label9", QAccessible::Button, "", "");
    row("Label2_38", QAccessible::Link, "", "");
    row("Image1", QAccessible::Button, "About", "F1");
    row("Image2", QAccessible::Button, "Print", "Ctrl+P");
    row("SheetView", QAccessible::Table, "Month sheet, March 2007", "");
}

void AccessibilityTest::mainWindowControlsAreNamedAndDescribed() {
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, key);
    auto w = openWindow(kToday);
    QAccessibleInterface* face = accessible(*w.form, control);
    QCOMPARE(int(face->role()), role);
    QCOMPARE(face->text(QAccessible::Name), name);
    const QString description = face->text(QAccessible::Description);
    QVERIFY(!description.isEmpty());
    QVERIFY2(description.contains(key), qPrintable(description));
    // What has no words is passed by; everything with a name is there to be read.
    QCOMPARE(bool(face->state().invisible), name.isEmpty());
    // The tooltips are those of the window, untouched by the descriptions.
    QVERIFY(!WindowTests::control(*w.form, control)->toolTip().contains(QLatin1String("Page")));
}

void AccessibilityTest::namesFollowTheWindowsState() {
    auto w = openWindow(kToday);
    Form1& form = *w.form;
    form.setCrew(ChooserTarget::Single, CrewCode(83.2), QStringLiteral("Corvath\n403"));
    form.fillFor(ChooserTarget::Single);
    QCOMPARE(accessible(form, QStringLiteral("Label5"))->text(QAccessible::Name),
             QStringLiteral("Corvath 403"));
    QTest::keyClick(&form, Qt::Key_PageDown);
    QCOMPARE(accessible(form, QStringLiteral("Label3"))->text(QAccessible::Name),
             QStringLiteral("April 2007"));
    QCOMPARE(sheet(form)->text(QAccessible::Name), QStringLiteral("Month sheet, April 2007"));

    clickControl(form, QStringLiteral("Command5"));
    QAccessibleInterface* single = accessible(form, QStringLiteral("Label5"));
    QAccessibleInterface* left = accessible(form, QStringLiteral("Label8"));
    QCOMPARE(accessible(form, QStringLiteral("Command5"))->text(QAccessible::Name),
             QStringLiteral("Show one crew"));
    QCOMPARE(left->text(QAccessible::Name), QStringLiteral("Click Here to Select Crew"));
    QVERIFY(!left->state().invisible);
    // The single box stays behind the two, empty: a screen reader passes it by.
    QVERIFY(single->state().invisible);

    clickControl(form, QStringLiteral("Command5"));
    QCOMPARE(single->text(QAccessible::Name), QStringLiteral("Corvath 403"));
    QVERIFY(!single->state().invisible);
    QVERIFY(left->state().invisible);
    QCOMPARE(accessible(form, QStringLiteral("Command5"))->text(QAccessible::Name),
             QStringLiteral("Show two crews side by side"));
}

void AccessibilityTest::cellsSayTheirDay_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("name");
    // March 2007 begins on a Thursday: day d is in cell d + 3; today is the 15th.
    const auto row = [](const char* title, const char* state, int cell, const char* name) {
        QTest::newRow(title) << QString::fromLatin1(state) << cell << QString::fromUtf8(name);
    };
    row("no crew, a plain day", "", 4, "Thursday 1 March 2007");
    row("no crew, today", "", 18, "Thursday 15 March 2007, today");
    row("no crew, clock change", "", 14, "Sunday 11 March 2007, DST Starts");
    row("no crew, before the 1st", "", 0, "");
    row("no crew, after the 31st", "", 35, "");
    row("never a day", "", 37, "");
    row("single, shift and clock change", "single 83.2", 14,
        "Sunday 11 March 2007, Off, DST Starts");
    row("single, today", "single 83.2", 18, "Thursday 15 March 2007, today, Nights");
    row("single, a working day", "single 83.2", 15, "Monday 12 March 2007, Days");
    row("single, last day", "single 83.2", 34, "Saturday 31 March 2007, Nights");
    row("single, training", "single 50", 15, "Monday 12 March 2007, Training");
    row("all crews", "single 14", 14, "Sunday 11 March 2007, AO BD CN DO, DST Starts");
    row("sides, short labels in words", "sides 74 70.1", 8,
        "Monday 5 March 2007, Halvex P-6: Days (12), Halvex BB: Days");
    row("sides, eight hours and afternoons", "sides 74 70.1", 25,
        "Thursday 22 March 2007, Halvex P-6: Days (8), Halvex BB: Afternoons");
    row("sides with a clock change", "sides 74 70.1", 14,
        "Sunday 11 March 2007, Halvex P-6: Off, Halvex BB: Off, DST Starts");
    row("sides, today", "sides 12 83.2", 18,
        "Thursday 15 March 2007, today, Brenmoor C Crew: Off, Corvath 403: Nights");
    row("left side only", "sides 74 0", 8, "Monday 5 March 2007, Halvex P-6: Days (12)");
    row("right side only", "sides 0 70.1", 25, "Thursday 22 March 2007, Halvex BB: Afternoons");
    row("sides, none chosen", "sides 0 0", 14, "Sunday 11 March 2007, DST Starts");
}

void AccessibilityTest::cellsSayTheirDay() {
    QFETCH(QString, state);
    QFETCH(int, cell);
    QFETCH(QString, name);
    auto w = openWindow(kToday);
    prepare(*w.form, state);
    QCOMPARE(cellName(*w.form, cell), name);
    QAccessibleInterface* face = sheet(*w.form)->child(kHeads + cell);
    QCOMPARE(face->role(), QAccessible::Cell);
    QCOMPARE(face->text(QAccessible::Description),
             QStringLiteral("Week %1, %2")
                 .arg(cell / 7 + 1)
                 .arg(sheet(*w.form)->child(cell % 7)->text(QAccessible::Name)));
}

void AccessibilityTest::sheetIsATableUnderItsHeads() {
    auto w = openWindow(kToday);
    QAccessibleInterface* table = sheet(*w.form);
    QAccessibleTableInterface* grid = table->tableInterface();
    QVERIFY(grid);
    // Every place of the grid is a cell: the four beside the update notice are blank.
    QCOMPARE(table->childCount(), 7 + 6 * 7);
    QCOMPARE(grid->columnCount(), 7);
    QCOMPARE(grid->rowCount(), 6);
    const QStringList heads = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                               "Thursday", "Friday", "Saturday"};
    for (int k = 0; k < 7; ++k) {
        QCOMPARE(table->child(k)->role(), QAccessible::ColumnHeader);
        QCOMPARE(table->child(k)->text(QAccessible::Name), heads[k]);
        QCOMPARE(grid->columnDescription(k), heads[k]);
        QCOMPARE(table->child(k)->parent(), table);
    }
    for (int c = 0; c < grid->rowCount() * grid->columnCount(); ++c) {
        QAccessibleInterface* cell = table->child(kHeads + c);
        QCOMPARE(grid->cellAt(c / 7, c % 7), cell);
        QCOMPARE(table->indexOfChild(cell), kHeads + c);
        QCOMPARE(cell->parent(), table);
        QAccessibleTableCellInterface* place = cell->tableCellInterface();
        QVERIFY(place);
        QCOMPARE(place->rowIndex(), c / 7);
        QCOMPARE(place->columnIndex(), c % 7);
        QCOMPARE(place->columnHeaderCells(), QList<QAccessibleInterface*>{table->child(c % 7)});
        QCOMPARE(place->table(), table);
    }
    // The last row has three day cells and four blank places; nothing lies outside the grid.
    QCOMPARE(grid->cellAt(5, 2), table->child(kHeads + 37));
    for (int column = 3; column < 7; ++column) {
        QAccessibleInterface* blank = grid->cellAt(5, column);
        QCOMPARE(blank->text(QAccessible::Name), QString());
        QCOMPARE(blank->text(QAccessible::Description),
                 QStringLiteral("Week 6, %1").arg(heads[column]));
        QVERIFY(!blank->state().focusable);
    }
    QCOMPARE(grid->cellAt(6, 0), nullptr);
    QCOMPARE(grid->cellAt(-1, 0), nullptr);
    QCOMPARE(grid->cellAt(0, 7), nullptr);
    QCOMPARE(table->child(49), nullptr);
    QCOMPARE(grid->rowDescription(2), QStringLiteral("Week 3"));
    // The same child is handed out every time, so a screen reader can keep hold of it.
    QCOMPARE(table->child(kHeads + 18), table->child(kHeads + 18));
}

void AccessibilityTest::cellsAreFoundWhereTheyAreDrawn_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("cell");
    for (const QSize size : {QSize(465, 400), QSize(698, 600), QSize(1000, 700)}) {
        for (const int cell : {0, 18, 36, 37}) {
            QTest::addRow("cell %d in %dx%d", cell, size.width(), size.height()) << size << cell;
        }
    }
}

void AccessibilityTest::cellsAreFoundWhereTheyAreDrawn() {
    QFETCH(QSize, size);
    QFETCH(int, cell);
    auto w = openWindow(kToday, {}, {.size = size});
    Form1& form = *w.form;
    QWidget* content = control(form, QStringLiteral("Content"));
    const QRect frame = form.twips().rect(SheetLayout::dayFrame(cell));
    const QRect onScreen(content->mapToGlobal(frame.topLeft()), frame.size());
    QAccessibleInterface* table = sheet(form);
    QAccessibleInterface* face = table->child(kHeads + cell);
    QCOMPARE(face->rect(), onScreen);
    QCOMPARE(table->childAt(onScreen.center().x(), onScreen.center().y()), face);
    const QRect head = form.twips().rect(SheetLayout::weekdayHead(cell % 7));
    const QPoint headCentre = content->mapToGlobal(head.center());
    QCOMPARE(table->childAt(headCentre.x(), headCentre.y()), table->child(cell % 7));
}

void AccessibilityTest::cellNamesFollowTheShownMonth() {
    auto w = openWindow(kToday);
    Form1& form = *w.form;
    form.setCrew(ChooserTarget::Single, CrewCode(83.2), QStringLiteral("Corvath\n403"));
    form.fillFor(ChooserTarget::Single);
    QAccessibleInterface* first = sheet(form)->child(kHeads + 0);
    QAccessibleInterface* last = sheet(form)->child(kHeads + 36);
    QCOMPARE(first->text(QAccessible::Name), QString());
    // April 2007 begins on a Sunday and has 30 days.
    QTest::keyClick(&form, Qt::Key_PageDown);
    QCOMPARE(first->text(QAccessible::Name), QStringLiteral("Sunday 1 April 2007, Off"));
    QCOMPARE(last->text(QAccessible::Name), QString());
    // December 2007 begins on a Saturday: its 31st is in the last row.
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(&form, Qt::Key_PageDown);
    }
    QCOMPARE(last->text(QAccessible::Name), QStringLiteral("Monday 31 December 2007, Days"));
    QCOMPARE(sheet(form)->child(kHeads + 30)->text(QAccessible::Name),
             QStringLiteral("Tuesday 25 December 2007, Days, Xmas Day"));
    QTest::keyClick(&form, Qt::Key_Home);
    QCOMPARE(sheet(form)->child(kHeads + 18)->text(QAccessible::Name),
             QStringLiteral("Thursday 15 March 2007, today, Nights"));
}

void AccessibilityTest::pressActionsClickLikeTheMouse() {
    bool opened = false;
    Form1Services services;
    services.openUrl = [&opened](const QUrl&) { return opened = true; };
    auto w = openWindow(kToday, services);
    Form1& form = *w.form;

    QAccessibleInterface* next = accessible(form, QStringLiteral("Command3"));
    QVERIFY(
        next->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    next->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // A button shows itself pressed for a moment before it clicks.
    QTRY_COMPARE(accessible(form, QStringLiteral("Label3"))->text(QAccessible::Name),
                 QStringLiteral("April 2007"));
    accessible(form, QStringLiteral("Label3"))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(accessible(form, QStringLiteral("Label3"))->text(QAccessible::Name),
             QStringLiteral("March 2007"));

    accessible(form, QStringLiteral("Label5"))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(openChoosers().size(), 1);
    Form2* chooser = openChoosers().front();
    QCOMPARE(accessible(chooser)->text(QAccessible::Name), QStringLiteral("Choose Crew"));
    const auto press = [chooser](const QString& entry) {
        accessible(*chooser, entry)
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
    };
    press(QStringLiteral("Label1_1")); // greyed out: nothing happens
    QVERIFY(control(*chooser, QStringLiteral("Label2_0"))->isHidden());
    press(QStringLiteral("Label1_7"));
    QCOMPARE(accessible(*chooser, QStringLiteral("Label2_3"))->text(QAccessible::Name),
             QStringLiteral("401-404"));
    press(QStringLiteral("Label2_3"));
    press(QStringLiteral("Label4_2"));
    QVERIFY(openChoosers().isEmpty());
    QCOMPARE(form.singleCrew(), CrewCode(83.2));
    QCOMPARE(accessible(form, QStringLiteral("Label5"))->text(QAccessible::Name),
             QStringLiteral("Corvath 403"));
    QCOMPARE(cellName(form, 14), QStringLiteral("Sunday 11 March 2007, Off, DST Starts"));

    accessible(form, QStringLiteral("Image1"))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(openAboutWindows().size(), 1);
    accessible(*openAboutWindows().front(), QStringLiteral("Label1"))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(opened);
    // Static text offers no press: it is no button.
    QVERIFY(!accessible(*openAboutWindows().front(), QStringLiteral("lblVersion"))
                 ->actionInterface()
                 ->actionNames()
                 .contains(QAccessibleActionInterface::pressAction()));
}

void AccessibilityTest::chooserEntriesAreListItems() {
    auto w = openWindow(kToday);
    Form1& form = *w.form;
    clickControl(form, QStringLiteral("Command5"));
    clickControl(form, QStringLiteral("Label9"));
    QCOMPARE(openChoosers().size(), 1);
    Form2* chooser = openChoosers().front();
    QCOMPARE(accessible(chooser)->text(QAccessible::Name),
             QStringLiteral("Choose Right Side Crew"));
    const QStringList employers = {"Brenmoor", "Tarsk",  "Quillon", "Velmora", "Zantor",
                                   "Meridane", "Halvex", "Corvath", "Tobrin's"};
    const QList<bool> selectable = {true, false, false, false, true, false, true, true, true};
    for (int slot = 0; slot < employers.size(); ++slot) {
        QAccessibleInterface* entry = accessible(*chooser, QStringLiteral("Label1_%1").arg(slot));
        QCOMPARE(entry->role(), QAccessible::ListItem);
        QCOMPARE(entry->text(QAccessible::Name), employers[slot]);
        QCOMPARE(entry->text(QAccessible::Description),
                 QStringLiteral("Employer; shows its crews"));
        QCOMPARE(!entry->state().disabled, selectable[slot]);
        QCOMPARE(entry->actionInterface()->actionNames().contains(
                     QAccessibleActionInterface::pressAction()),
                 selectable[slot]);
    }
    QVERIFY(walkChooser(*chooser, QStringLiteral("Brenmoor")));
    QAccessibleInterface* crew = accessible(*chooser, QStringLiteral("Label2_0"));
    QCOMPARE(crew->text(QAccessible::Name), QStringLiteral("A Crew"));
    QCOMPARE(crew->text(QAccessible::Description), QStringLiteral("Crew; chooses it"));
    // "All Crews" has no room beside another crew: greyed out, and said so.
    QVERIFY(accessible(*chooser, QStringLiteral("Label2_4"))->state().disabled);
    QVERIFY(walkChooser(*chooser, QStringLiteral("Corvath")));
    QCOMPARE(accessible(*chooser, QStringLiteral("Label2_4"))->text(QAccessible::Description),
             QStringLiteral("Crew group; shows its crews"));
    QVERIFY(walkChooser(*chooser, QStringLiteral("Corvath/501-509")));
    QAccessibleInterface* member = accessible(*chooser, QStringLiteral("Label4_9"));
    QCOMPARE(member->text(QAccessible::Name), QStringLiteral("All 506-509"));
    QVERIFY(member->state().disabled);
    QCOMPARE(accessible(*chooser, QStringLiteral("Label4_5"))->text(QAccessible::Description),
             QStringLiteral("Crew; chooses it"));
}

void AccessibilityTest::aboutWindowIsNamedAndDescribed_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::newRow("Picture1") << "Picture1" << int(QAccessible::Graphic) << "Program icon";
    QTest::newRow("lblTitle") << "lblTitle" << int(QAccessible::StaticText)
                              << "Kelsing Shift Workers Schedule";
    QTest::newRow("lblVersion") << "lblVersion" << int(QAccessible::StaticText) << "Version 2.3.0";
    QTest::newRow("lblDescription")
        << "lblDescription" << int(QAccessible::StaticText) << "This is a simple program";
    QTest::newRow("Label1") << "Label1" << int(QAccessible::Link)
                            << "127.0.0.1:9/kelsing_schedule/";
    QTest::newRow("lblDisclaimer")
        << "lblDisclaimer" << int(QAccessible::StaticText) << "Warning: ...";
    QTest::newRow("cmdOK") << "cmdOK" << int(QAccessible::Button) << "OK";
}

void AccessibilityTest::aboutWindowIsNamedAndDescribed() {
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    auto w = openWindow(kToday);
    QTest::keyClick(w.form.get(), Qt::Key_F1);
    QCOMPARE(openAboutWindows().size(), 1);
    frmAbout* about = openAboutWindows().front();
    QCOMPARE(accessible(about)->text(QAccessible::Name),
             QStringLiteral("About Kelsing Shift Workers Schedule"));
    QAccessibleInterface* face = accessible(*about, control);
    QCOMPARE(int(face->role()), role);
    QVERIFY2(face->text(QAccessible::Name).startsWith(name),
             qPrintable(face->text(QAccessible::Name)));
    QVERIFY(!face->text(QAccessible::Description).isEmpty());
    QVERIFY(!face->state().invisible);
}

void AccessibilityTest::windowsAreAFrameAndDialogs() {
    auto w = openWindow(kToday);
    QAccessibleInterface* program = QAccessible::queryAccessibleInterface(qApp);
    QAccessibleInterface* frame = accessible(w.form.get());
    QCOMPARE(frame->role(), QAccessible::Window);
    QCOMPARE(program->child(program->indexOfChild(frame)), frame);
    const int windows = program->childCount();
    // The chooser, a popup, is in the tree while it shows, and holds the keys.
    clickControl(*w.form, QStringLiteral("Label9"));
    QAccessibleInterface* chooser = accessible(openChoosers().front());
    QCOMPARE(chooser->role(), QAccessible::Dialog);
    QCOMPARE(program->childCount(), windows + 1);
    QCOMPARE(program->child(program->indexOfChild(chooser)), chooser);
    QCOMPARE(chooser->parent(), program);
    QCOMPARE(program->focusChild(), chooser);
    QVERIFY(accessible(*openChoosers().front(), QStringLiteral("Label1_0"))->state().focused);
    QVERIFY(!frame->state().active);
    pressKeys(*w.form, QStringLiteral("Escape"));
    QCOMPARE(program->childCount(), windows);
    QVERIFY(frame->state().active);

    QTest::keyClick(w.form.get(), Qt::Key_F1);
    QCOMPARE(accessible(openAboutWindows().front())->role(), QAccessible::Dialog);
    const CalendarExport proposal{QStringLiteral("Corvath 403"), QDate(2007, 3, 1),
                                  QDate(2008, 2, 29), false, QStringLiteral("/tmp/c.ics")};
    CalendarExportDialog dialog(proposal, Twips(), {});
    QCOMPARE(accessible(&dialog)->role(), QAccessible::Dialog);
}

void AccessibilityTest::arrowsMoveTheFocusedDay_data() {
    QTest::addColumn<QString>("keys"); // after Tab has brought the focus to the sheet
    QTest::addColumn<QString>("day");
    // March 2007 begins on a Thursday and has 31 days; today is the 15th.
    QTest::newRow("today first") << ""
                                 << "Thursday 15 March 2007, today";
    QTest::newRow("days and weeks") << "Right Up Right"
                                    << "Saturday 10 March 2007";
    QTest::newRow("not before the 1st") << "Up Up Up Left"
                                        << "Thursday 1 March 2007";
    QTest::newRow("not after the 31st") << "Down Down Right Right Down Right"
                                        << "Saturday 31 March 2007";
    // The same day of another month, or its last day.
    QTest::newRow("next month") << "Left PgDown"
                                << "Saturday 14 April 2007";
    QTest::newRow("shorter, then longer") << "Down Down Right Right PgDown PgDown"
                                          << "Thursday 31 May 2007";
}

void AccessibilityTest::arrowsMoveTheFocusedDay() {
    QFETCH(QString, keys);
    QFETCH(QString, day);
    auto w = openWindow(kToday);
    Form1& form = *w.form;
    QAccessibleInterface* table = sheet(form);
    QCOMPARE(table->focusChild(), nullptr);
    pressKeys(form, QStringLiteral("Tab Tab Tab Tab Tab ") + keys);
    QCOMPARE(focusedControl(), QStringLiteral("SheetView"));
    QVERIFY(table->focusChild());
    QCOMPARE(table->focusChild()->text(QAccessible::Name), day);
    QStringList focusedCells;
    for (int c = 0; c < table->childCount(); ++c) {
        if (table->child(c)->state().focused) {
            focusedCells << table->child(c)->text(QAccessible::Name);
        }
    }
    QCOMPARE(focusedCells, QStringList{day});
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
