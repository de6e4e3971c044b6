// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/dayserial.h"
#include "mainwindow/form1.h"
#include "platform/localeservices.h"
#include "sheet/monthsheet.h"
#include "sheet/sheetfills.h"
#include "sheet/sheetlayout.h"
#include "windowtestsupport.h"

#include <cstdlib>
#include <limits>

#include <QSignalSpy>
#include <QTest>

using namespace kelsing;

namespace {

using WindowTests::click;
using WindowTests::control;
using WindowTests::dateOf;
using WindowTests::sheetDifference;
using WindowTests::textOf;
using WindowTests::title;

// A window as the platform first shows it, left where it opens and not waited for, whose version
// check asks the built-in site host.
WindowTests::Window openWindow(DaySerial today) {
    return WindowTests::openWindow(
        today, {}, {.at = std::nullopt, .wait = WindowTests::Wait::Nothing, .ownSiteHost = true});
}

// Clicks a sequence of step buttons written as "<< < > >> T" (T is the month title).
void clickSteps(Form1& form, const QString& steps) {
    for (const QString& step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const char* name = step == QLatin1String("<<")   ? "Command1"
                           : step == QLatin1String("<")  ? "Command2"
                           : step == QLatin1String(">")  ? "Command3"
                           : step == QLatin1String(">>") ? "Command4"
                                                         : "Label3";
        click(form, name);
    }
}

int redNumbers(const SheetModel& sheet) {
    int count = 0;
    for (const DayCell& cell : sheet.cells) {
        count += cell.dayNumberColour == Colours::kRed ? 1 : 0;
    }
    return count;
}

bool anyShift(const SheetModel& sheet) {
    for (const DayCell& cell : sheet.cells) {
        if (!cell.shift.empty() || !cell.leftShift.empty() || !cell.rightShift.empty()) {
            return true;
        }
    }
    return false;
}

// The pixels of a picture inside a rectangle that are drawn in a colour: text is antialiased
// over the background picture, so a stroke's pixels keep the colour's hue, not its exact value.
int pixelsOf(const QImage& image, const QRect& area, QColor colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            const bool close = std::abs(p.red() - colour.red()) +
                                   std::abs(p.green() - colour.green()) +
                                   std::abs(p.blue() - colour.blue()) <
                               60;
            const bool sameHue = p.saturation() > 100 && colour.saturation() > 100 &&
                                 std::abs(p.hue() - colour.hue()) < 20;
            count += close || sameHue ? 1 : 0;
        }
    }
    return count;
}

} // namespace

class Form1Test final : public QObject {
    Q_OBJECT

private slots:
    void startsOnTheCurrentMonthWithNoCrew();
    void controlsCarryTheirCaptionsAndTooltips_data();
    void controlsCarryTheirCaptionsAndTooltips();
    void stepsMoveTheTitle_data();
    void stepsMoveTheTitle();
    void onlyTheCurrentMonthMarksToday();
    void stepsRepaintWithTheActiveViewsFill_data();
    void stepsRepaintWithTheActiveViewsFill();
    void titleClickRunsStartUpOnlyWithoutAnyCrew();
    void titleClickLaysOutItsMonthWhenNoFillWouldRun();
    void switchRebuildsCrewBoxesFromStoredCodes();
    void switchWithNoCrewsAsksForCrews();
    void todayIsReadAfreshAtEachFill();
    void clockOutsideTheCalendarShowsTheNearestMonth_data();
    void clockOutsideTheCalendarShowsTheNearestMonth();
    void dayCellClicksChangeNothing();
    void paintsTodayRedAndShiftsInTheirColours();
    void closingTheMainWindowClosesTheOthers();
};

void Form1Test::startsOnTheCurrentMonthWithNoCrew() {
    auto w = openWindow(dateOf(2007, 3, 15));
    Form1& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QStringLiteral("Kelsing Shift Workers Schedule"));
    QCOMPARE(title(form), QStringLiteral("March 2007"));
    QCOMPARE(form.sheet().ShownMonth, 3);
    QCOMPARE(form.sheet().ShownYear, 2007);
    // March 2007 starts on a Thursday, so the 15th is in cell 4 + 15 - 2.
    QCOMPARE(form.sheet().cells[18].dayNumber, std::string("15"));
    QCOMPARE(form.sheet().cells[18].dayNumberColour, Colours::kRed);
    QCOMPARE(redNumbers(form.sheet()), 1);
    QCOMPARE(form.sheet().cells[14].caption, std::string("DST Starts"));
    QVERIFY(!anyShift(form.sheet()));
    QCOMPARE(form.size(), QSize(465, 400));
}

void Form1Test::controlsCarryTheirCaptionsAndTooltips_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");
    const auto row = [](const char* name, const char* caption, const char* toolTip) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption)
                            << QString::fromLatin1(toolTip);
    };
    row("Command1", "<<", "Click on this Button to Choose Previous Year");
    row("Command2", "<", "Click on this Button to Choose Previous Month");
    row("Command3", ">", "Click on this Button to Choose Next Month");
    row("Command4", ">>", "Click on this Button to Choose Next Year");
    row("Command5", "X | X", "Click this Button to Switch Between Single and Dual Schedules");
    row("Label3", "March 2007", "Click Here to Select Current Month");
    row("Label5", "Click here to Choose Crew", "Click Here to Select Crew");
    row("Label8", "", "");
    row("Label9", "", "");
    row("Label2_38", "", "");
    row("Image1", "", "Click here for Info on changes or having your schedule added");
    row("Image2", "", "Click here to print this sheet to default printer");
}

void Form1Test::controlsCarryTheirCaptionsAndTooltips() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);
    auto w = openWindow(dateOf(2007, 3, 15));
    const QByteArray key = name.toLatin1();
    QCOMPARE(textOf(*w.form, key.constData()), caption);
    QCOMPARE(control(*w.form, key.constData())->toolTip(), toolTip);
}

void Form1Test::stepsMoveTheTitle_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, int year, int month, const char* steps,
                        const char* expected) {
        QTest::newRow(name) << year << month << QString::fromLatin1(steps)
                            << QString::fromLatin1(expected);
    };
    row("back into the previous year", 2007, 1, "<", "December 2006");
    row("forward into the next year", 2007, 12, ">", "January 2008");
    row("year back", 2008, 2, "<<", "February 2007");
    row("year forward", 2008, 2, ">>", "February 2009");
    row("round trip", 2008, 2, "> > > < < <", "February 2008");
    row("title returns to today", 2008, 2, ">> > > <<  < T", "February 2008");
    row("first month of the calendar", 100, 1, "<", "January 0100");
    row("first year of the calendar", 100, 6, "<<", "June 0100");
    row("year back blocked near the start", 100, 1, "<< <", "January 0100");
    row("year back allowed from 101", 101, 1, "<<", "January 0100");
    row("last month of the calendar", 9999, 12, ">", "December 9999");
    row("last year of the calendar", 9999, 5, ">>", "May 9999");
    row("steps back from the last month", 9999, 12, "> <", "November 9999");
}

void Form1Test::stepsMoveTheTitle() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(QString, steps);
    QFETCH(QString, expected);
    auto w = openWindow(dateOf(year, static_cast<unsigned>(month), 10));
    clickSteps(*w.form, steps);
    QCOMPARE(title(*w.form), expected);
    const auto parsed = LocaleServices::parseMonthTitle(expected);
    QVERIFY(parsed);
    QCOMPARE(w.form->sheet().ShownMonth, parsed->month);
    QCOMPARE(w.form->sheet().ShownYear, parsed->year);
}

void Form1Test::onlyTheCurrentMonthMarksToday() {
    auto w = openWindow(dateOf(2007, 3, 15));
    click(*w.form, "Command3");
    QCOMPARE(redNumbers(w.form->sheet()), 0);
    click(*w.form, "Command2");
    QCOMPARE(redNumbers(w.form->sheet()), 1);
    click(*w.form, "Command4");
    QCOMPARE(redNumbers(w.form->sheet()), 0);
}

void Form1Test::stepsRepaintWithTheActiveViewsFill_data() {
    QTest::addColumn<double>("single");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    QTest::addColumn<bool>("sideBySide");
    QTest::newRow("single view with a crew") << 83.2 << 0.0 << 0.0 << false;
    QTest::newRow("single view, no crew") << 0.0 << 0.0 << 0.0 << false;
    QTest::newRow("single view, a left crew left over") << 0.0 << 12.0 << 0.0 << false;
    QTest::newRow("single view, both sides left over") << 0.0 << 12.0 << 74.1 << false;
    QTest::newRow("single crew hides the sides") << 14.0 << 12.0 << 74.1 << false;
    QTest::newRow("side by side, no crews") << 14.0 << 0.0 << 0.0 << true;
    QTest::newRow("side by side, right only") << 0.0 << 0.0 << 70.0 << true;
    QTest::newRow("side by side, both") << 0.0 << 84.3 << 71.5 << true;
}

void Form1Test::stepsRepaintWithTheActiveViewsFill() {
    QFETCH(double, single);
    QFETCH(double, left);
    QFETCH(double, right);
    QFETCH(bool, sideBySide);
    const DaySerial today = dateOf(2007, 3, 15);
    auto w = openWindow(today);
    Form1& form = *w.form;
    if (sideBySide) {
        click(form, "Command5");
    }
    form.setCrew(ChooserTarget::Single, CrewCode(single), QString());
    form.setCrew(ChooserTarget::Left, CrewCode(left), QString());
    form.setCrew(ChooserTarget::Right, CrewCode(right), QString());
    click(form, "Command3");

    // What the sheet must show for April 2007: the plain calendar, then the active view's fill.
    const SheetModel expected = monthSheet(
        {4, 2007}, {sideBySide, CrewCode(single), CrewCode(left), CrewCode(right)}, today);
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        QCOMPARE(form.sheet().cells[c].dayNumber, expected.cells[c].dayNumber);
        QCOMPARE(form.sheet().cells[c].caption, expected.cells[c].caption);
        QCOMPARE(form.sheet().cells[c].shift, expected.cells[c].shift);
        QCOMPARE(form.sheet().cells[c].leftShift, expected.cells[c].leftShift);
        QCOMPARE(form.sheet().cells[c].rightShift, expected.cells[c].rightShift);
    }
    const bool shiftsExpected = (!sideBySide && single > 0) || left > 0 || right > 0;
    QCOMPARE(anyShift(form.sheet()), shiftsExpected);
}

void Form1Test::titleClickRunsStartUpOnlyWithoutAnyCrew() {
    const DaySerial today = dateOf(2007, 3, 15);
    auto w = openWindow(today);
    Form1& form = *w.form;
    click(form, "Command5");
    form.setCrew(ChooserTarget::Left, CrewCode(10), QString());
    form.fillFor(ChooserTarget::Left);
    // Stale single lines would survive a title click that skipped the start-up routine; the
    // side-by-side view with a left crew only refills the left halves.
    clickSteps(form, "> > T");
    QCOMPARE(title(form), QStringLiteral("March 2007"));
    SheetModel expected;
    expected.title = MonthYear{3, 2007};
    kelsing::LeftUpdate(expected, CrewCode(10), today);
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        QCOMPARE(form.sheet().cells[c].leftShift, expected.cells[c].leftShift);
        QCOMPARE(form.sheet().cells[c].dayNumber, expected.cells[c].dayNumber);
    }
}

void Form1Test::titleClickLaysOutItsMonthWhenNoFillWouldRun() {
    // Side by side with no crew on either side, but one chosen in the single view: the title
    // must not stand over the days of the month shown before.
    const DaySerial today = dateOf(2007, 3, 15);
    auto w = openWindow(today);
    Form1& form = *w.form;
    form.setCrew(ChooserTarget::Single, CrewCode(14), QStringLiteral("Brenmoor\nAll Crews"));
    click(form, "Command5");
    clickSteps(form, "> > T");
    QCOMPARE(title(form), QStringLiteral("March 2007"));
    QCOMPARE(sheetDifference(form.sheet(), monthSheet({3, 2007}, {}, today)), QString());
}

void Form1Test::switchRebuildsCrewBoxesFromStoredCodes() {
    auto w = openWindow(dateOf(2007, 3, 15));
    Form1& form = *w.form;
    form.setCrew(ChooserTarget::Single, CrewCode(80.2), QStringLiteral("Corvath\n3"));
    form.setCrew(ChooserTarget::Left, CrewCode(12), QString());
    form.fillFor(ChooserTarget::Single);

    click(form, "Command5");
    QCOMPARE(textOf(form, "Command5"), QStringLiteral("X"));
    QCOMPARE(textOf(form, "Label5"), QString());
    QCOMPARE(textOf(form, "Label8"), QStringLiteral("Brenmoor\nC Crew"));
    QCOMPARE(textOf(form, "Label9"), QStringLiteral("Click Here to Select Crew"));
    QVERIFY(form.sideBySideShowing());
    // The side-by-side boxes now lie over the single box and take its clicks.
    const QPoint inLeftBox = control(form, "Label8")->geometry().center();
    QCOMPARE(form.childAt(inLeftBox)->objectName(), QStringLiteral("Label8"));

    click(form, "Command5");
    QCOMPARE(textOf(form, "Command5"), QStringLiteral("X | X"));
    QCOMPARE(textOf(form, "Label5"), QStringLiteral("Corvath\n3"));
    QCOMPARE(textOf(form, "Label8"), QString());
    QCOMPARE(form.childAt(inLeftBox)->objectName(), QStringLiteral("Label5"));
    QCOMPARE(form.leftCrew(), CrewCode(12));
    SheetModel expected;
    expected.title = MonthYear{3, 2007};
    kelsing::Label5Update(expected, CrewCode(80.2), dateOf(2007, 3, 15));
    QCOMPARE(sheetDifference(form.sheet(), expected), QString());
}

void Form1Test::switchWithNoCrewsAsksForCrews() {
    auto w = openWindow(dateOf(2007, 3, 15));
    Form1& form = *w.form;
    click(form, "Command5");
    QCOMPARE(textOf(form, "Label8"), QStringLiteral("Click Here to Select Crew"));
    QCOMPARE(textOf(form, "Label9"), QStringLiteral("Click Here to Select Crew"));
    QVERIFY(!anyShift(form.sheet()));
    click(form, "Command5");
    QCOMPARE(textOf(form, "Label5"), QStringLiteral("Click Here to Select Crew"));
    QVERIFY(!anyShift(form.sheet()));
}

void Form1Test::todayIsReadAfreshAtEachFill() {
    auto w = openWindow(dateOf(2007, 3, 31));
    *w.today = dateOf(2007, 4, 1); // the window stayed open past midnight
    click(*w.form, "Label3");
    QCOMPARE(title(*w.form), QStringLiteral("April 2007"));
    QCOMPARE(w.form->sheet().cells[0].dayNumber, std::string("1"));
    QCOMPARE(w.form->sheet().cells[0].dayNumberColour, Colours::kRed);
}

void Form1Test::clockOutsideTheCalendarShowsTheNearestMonth_data() {
    QTest::addColumn<int>("today");
    QTest::addColumn<QString>("expected");
    const QString first = QStringLiteral("January 0100");
    const QString last = QStringLiteral("December 9999");
    QTest::newRow("the day before January 100") << dateOf(99, 12, 31) << first;
    QTest::newRow("the year 50") << dateOf(50, 6, 15) << first;
    QTest::newRow("the day after December 9999") << dateOf(10000, 1, 1) << last;
    QTest::newRow("8000 years ahead") << dateOf(10103, 10, 7) << last;
    QTest::newRow("the first day serial") << std::numeric_limits<int>::min() << first;
    QTest::newRow("the last day serial") << std::numeric_limits<int>::max() << last;
}

void Form1Test::clockOutsideTheCalendarShowsTheNearestMonth() {
    QFETCH(int, today);
    QFETCH(QString, expected);
    const auto showsTheNearestMonth = [&expected](Form1& form) {
        QCOMPARE(title(form), expected);
        QCOMPARE(redNumbers(form.sheet()), 0);
        QVERIFY(!form.sheet().cells[SheetModel::kCellCount / 2].dayNumber.empty());
    };
    // At start, then after the title, the keys' steps both ways and a crew's fill.
    auto w = openWindow(today);
    showsTheNearestMonth(*w.form);
    clickSteps(*w.form, "T > < T");
    showsTheNearestMonth(*w.form);
    w.form->setCrew(ChooserTarget::Single, CrewCode(83.2), QStringLiteral("Corvath\n403"));
    clickSteps(*w.form, "<< >> T");
    showsTheNearestMonth(*w.form);
    QVERIFY(anyShift(w.form->sheet()));
    // A clock that jumps there while the window is open.
    auto jumped = openWindow(dateOf(2007, 3, 15));
    *jumped.today = today;
    clickSteps(*jumped.form, "T");
    showsTheNearestMonth(*jumped.form);
}

void Form1Test::dayCellClicksChangeNothing() {
    auto w = openWindow(dateOf(2007, 3, 15));
    const SheetModel before = w.form->sheet();
    auto* view = control(*w.form, "SheetView");
    for (const int c : {0, 18, 36, 37}) {
        const QPoint centre = w.form->twips().rect(SheetLayout::dayFrame(c)).center();
        QTest::mouseClick(view, Qt::LeftButton, {}, centre - view->pos());
    }
    QCOMPARE(w.form->sheet(), before);
}

void Form1Test::paintsTodayRedAndShiftsInTheirColours() {
    auto w = openWindow(dateOf(2007, 3, 15));
    Form1& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.setCrew(ChooserTarget::Single, CrewCode(10), QStringLiteral("Brenmoor\nA Crew"));
    form.fillFor(ChooserTarget::Single);
    const QImage image = form.grab().toImage();

    const QRect todayFrame = form.twips().rect(SheetLayout::dayFrame(18));
    QVERIFY(pixelsOf(image, todayFrame, Qt::red) > 10);
    QCOMPARE(pixelsOf(image, form.twips().rect(SheetLayout::dayFrame(19)), Qt::red), 0);

    int checked = 0;
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        const DayCell& cell = form.sheet().cells[c];
        const QRect line = form.twips().rect(SheetLayout::shiftLine(c));
        if (cell.shift == "Days") {
            QVERIFY(pixelsOf(image, line, QColor(0, 0, 255)) > 5);
            ++checked;
        } else if (cell.shift == "Off") {
            QVERIFY(pixelsOf(image, line, QColor(0, 128, 0)) > 5);
            QCOMPARE(pixelsOf(image, line, QColor(0, 0, 255)), 0);
            ++checked;
        }
    }
    QVERIFY(checked > 10);
}

void Form1Test::closingTheMainWindowClosesTheOthers() {
    auto w = openWindow(dateOf(2007, 3, 15));
    QWidget other;
    other.show();
    QVERIFY(other.isVisible());
    QVERIFY(w.form->close());
    QVERIFY(!other.isVisible());
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
