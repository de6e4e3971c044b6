// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/dayserial.h"
#include "crews/form2.h"
#include "mainwindow/form1.h"
#include "platform/label.h"
#include "platform/localeservices.h"
#include "sheet/monthsheet.h"
#include "sheet/sheetfills.h"
#include "sheet/sheetlayout.h"
#include "windowtestsupport.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace kelsing;

namespace {

using WindowTests::boxText;
using WindowTests::clickAt;
using WindowTests::clickControl;
using WindowTests::control;
using WindowTests::dateOf;
using WindowTests::entryShowing;
using WindowTests::label;
using WindowTests::openChoosers;
using WindowTests::sheetDifference;
using WindowTests::walkChooser;

const QString kSelectCrew = QStringLiteral("Click Here to Select Crew");
const QString kChooseCrew = QStringLiteral("Choose Crew");
const QString kChooseLeft = QStringLiteral("Choose Left Side Crew");
const QString kChooseRight = QStringLiteral("Choose Right Side Crew");

const DaySerial kToday = dateOf(2007, 3, 15);

// A window where the chooser tests expect it, waited for until it is shown (not until active).
WindowTests::Window openWindow(DaySerial today = kToday, QPoint at = {60, 40}) {
    return WindowTests::openWindow(today, {}, {.at = at, .wait = WindowTests::Wait::Exposed});
}

QString buttonText(Form1& form, const char* name) {
    return static_cast<QPushButton*>(control(form, QString::fromLatin1(name)))->text();
}

Form2* theChooser() {
    const QList<Form2*> choosers = openChoosers();
    return choosers.size() == 1 ? choosers.front() : nullptr;
}

// Opens the chooser from a crew box, switching to the side-by-side view first when asked.
Form2* openChooserFrom(Form1& form, const QString& box, bool sideBySide) {
    if (sideBySide) {
        clickControl(form, "Command5");
    }
    clickControl(form, box);
    return theChooser();
}

Label* employerEntry(Form2& chooser, int slot) {
    return label(chooser, QStringLiteral("Label1_%1").arg(slot));
}

Label* crewEntry(Form2& chooser, int position) {
    return label(chooser, QStringLiteral("Label2_%1").arg(position));
}

Label* memberEntry(Form2& chooser, int position) {
    return label(chooser, QStringLiteral("Label4_%1").arg(position));
}

// Opens the chooser from a crew box and walks a path through it; the chooser must close.
bool choose(Form1& form, const char* box, const QString& path) {
    clickControl(form, box);
    Form2* chooser = theChooser();
    if (!chooser || !walkChooser(*chooser, path)) {
        return false;
    }
    if (!openChoosers().isEmpty()) {
        qWarning("the chooser stayed open after %s", qPrintable(path));
        return false;
    }
    return true;
}

// The sheet of a month as the single view or the side-by-side view shows it.
SheetModel singleView(MonthYear month, CrewCode crew = {}) {
    return monthSheet(month, {false, crew, {}, {}}, kToday);
}
SheetModel sideBySide(MonthYear month, CrewCode left, CrewCode right = {}) {
    return monthSheet(month, {true, {}, left, right}, kToday);
}

QString codeText(CrewCode code) {
    return LocaleServices::formatNumber(code);
}

int countShifts(const SheetModel& sheet) {
    int count = 0;
    for (const DayCell& cell : sheet.cells) {
        count += (cell.shift.empty() ? 0 : 1) + (cell.leftShift.empty() ? 0 : 1) +
                 (cell.rightShift.empty() ? 0 : 1);
    }
    return count;
}

int px(int twips) {
    return Twips().px(twips);
}

// The chooser's top below the outer corner of a main window, or of a host without a frame: 2800
// twips from the outer corner would put it over the crew box (top 5400) below a title bar lower
// than 205 twips, and an offscreen window's is far lower, so it stands right above the box.
int chooserTop(const QWidget* form = nullptr) {
    const int titleBar = form ? form->geometry().top() - form->frameGeometry().top() : 0;
    return titleBar + px(5400) - px(2805);
}

bool lineIs(const Form2::ConnectorLine& line, bool visible, QPoint from, QPoint to) {
    if (line.visible != visible || (visible && (line.from != from || line.to != to))) {
        qWarning("line %d (%d,%d)-(%d,%d), expected %d (%d,%d)-(%d,%d)", line.visible,
                 line.from.x(), line.from.y(), line.to.x(), line.to.y(), visible, from.x(),
                 from.y(), to.x(), to.y());
        return false;
    }
    return true;
}

QList<int> visibleIndices(const auto& lines) {
    QList<int> shown;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        if (lines[static_cast<std::size_t>(i)].visible) {
            shown << i;
        }
    }
    return shown;
}

QList<int> range(int count) {
    QList<int> list;
    for (int i = 0; i < count; ++i) {
        list << i;
    }
    return list;
}

QStringList shownCaptions(Form2& chooser, Label* (*entry)(Form2&, int)) {
    QStringList captions;
    for (int i = 0; i < Form2::kListEntries; ++i) {
        if (!entry(chooser, i)->isHidden()) {
            captions << entry(chooser, i)->text();
        }
    }
    return captions;
}

QList<int> boldEntries(Form2& chooser, Label* (*entry)(Form2&, int), int count) {
    QList<int> bold;
    for (int i = 0; i < count; ++i) {
        if (entry(chooser, i)->font().bold()) {
            bold << i;
        }
    }
    return bold;
}

// The chooser's outer rectangle relative to the main window's outer corner, in pixels.
QRect placeOf(const Form2& chooser, const Form1& form) {
    return chooser.frameGeometry().translated(-form.frameGeometry().topLeft());
}

bool isTwoColumns(const Form2& chooser, const Form1& form) {
    return placeOf(chooser, form) ==
           QRect(px(2430), chooserTop(&form), px(2436), chooser.frameGeometry().height());
}

bool isThreeColumns(const Form2& chooser, const Form1& form) {
    return placeOf(chooser, form) ==
           QRect(px(1770), chooserTop(&form), px(3654), chooser.frameGeometry().height());
}

// A stand-in for the main window that records what the chooser hands back.
class RecordingHost final : public ChooserHost {
public:
    explicit RecordingHost(bool sideBySide, const Twips& twips = Twips(), QPoint frame = {})
        : m_twips(twips)
        , m_frame(frame)
        , m_sideBySide(sideBySide) {}

    QPoint contentPosition() const override { return {100, 50}; }
    QPoint frameSize() const override { return m_frame; }
    int crewBoxTop() const override { return m_twips.px(5400); }
    const Twips& twips() const override { return m_twips; }
    bool sideBySideShowing() const override { return m_sideBySide; }
    void setCrew(ChooserTarget target, CrewCode code, const QString& boxText) override {
        calls << QStringLiteral("setCrew %1 %2 %3")
                     .arg(static_cast<int>(target))
                     .arg(codeText(code), boxText);
    }
    void fillFor(ChooserTarget target) override {
        calls << QStringLiteral("fillFor %1").arg(static_cast<int>(target));
    }

    QStringList calls;

private:
    Twips m_twips;
    QPoint m_frame;
    bool m_sideBySide;
};

} // namespace

class Form2Test final : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void opensFromEachCrewBox_data();
    void opensFromEachCrewBox();
    void employerClickShowsItsCrewList_data();
    void employerClickShowsItsCrewList();
    void viewDependentEntryFollowsEachEmployerClick_data();
    void viewDependentEntryFollowsEachEmployerClick();
    void groupClickShowsItsMembers_data();
    void groupClickShowsItsMembers();
    void secondGroupReplacesTheMemberList_data();
    void secondGroupReplacesTheMemberList();
    void employerClickNarrowsToTwoColumns_data();
    void employerClickNarrowsToTwoColumns();
    void topIsSetOnlyAtCreation();
    void placeScalesWithTheContent_data();
    void placeScalesWithTheContent();
    void handBackChangesOnlyTheTarget_data();
    void handBackChangesOnlyTheTarget();
    void handBackTestsTheCaptionThenCloses_data();
    void handBackTestsTheCaptionThenCloses();
    void greyedEntriesIgnoreClicks_data();
    void greyedEntriesIgnoreClicks();
    void clickElsewhereClosesWithoutChange_data();
    void clickElsewhereClosesWithoutChange();
    void crewBoxClickWhileOpenOpensAFreshChooser_data();
    void crewBoxClickWhileOpenOpensAFreshChooser();
    void turningToAnotherWindowCloses();
    void everyOpeningStartsAfresh();
    void closingTheMainWindowClosesTheChooser();
    void linesAreDrawnWhereTheyStand();
    void switchRoundTrips_data();
    void switchRoundTrips();
    void switchLeavesCodesInNoRowAlone();
    void wholeJourney();
};

void Form2Test::cleanup() {
    // A chooser left open by a failed test must not leak into the next one.
    for (Form2* chooser : openChoosers()) {
        delete chooser;
    }
}

void Form2Test::opensFromEachCrewBox_data() {
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("allCrewsEntries");
    QTest::newRow("single") << false << "Label5" << kChooseCrew << true;
    QTest::newRow("left") << true << "Label8" << kChooseLeft << false;
    QTest::newRow("right") << true << "Label9" << kChooseRight << false;
    // Where the side-by-side boxes lie, the single box is in front in the single view.
    QTest::newRow("left area in the single view") << false << "Label8" << kChooseCrew << true;
    QTest::newRow("right area in the single view") << false << "Label9" << kChooseCrew << true;
}

void Form2Test::opensFromEachCrewBox() {
    QFETCH(bool, sideBySide);
    QFETCH(QString, box);
    QFETCH(QString, caption);
    QFETCH(bool, allCrewsEntries);
    auto w = openWindow();
    Form1& form = *w.form;
    Form2* chooser = openChooserFrom(form, box, sideBySide);
    QVERIFY(chooser);
    QCOMPARE(chooser->windowTitle(), caption);
    QVERIFY(chooser->isWindow());
    QCOMPARE(chooser->parentWidget(), &form);
    QCOMPARE(chooser->windowType(), Qt::Popup);
    QVERIFY(!chooser->isModal());
    QVERIFY(chooser->testAttribute(Qt::WA_DeleteOnClose));

    QVERIFY(isTwoColumns(*chooser, form));
    QCOMPARE(chooser->height(), px(2805));

    const QStringList employers = {"Brenmoor", "Tarsk",    "Quillon", "Velmora",
                                   "Zantor",   "Meridane", "Halvex",  "Corvath",
                                   "Tobrin's", "",         ""};
    const QList<bool> selectable = {true, false, false, false, true, false,
                                    true, true,  true,  false, false};
    for (int slot = 0; slot < Form2::kEmployerEntries; ++slot) {
        Label* entry = employerEntry(*chooser, slot);
        QCOMPARE(entry->text(), employers[slot]);
        QCOMPARE(entry->isEnabled(), selectable[slot]);
        QVERIFY(!entry->isHidden());
        QVERIFY(!entry->font().bold());
        QCOMPARE(entry->geometry(), Twips().rect(0, 120 + 240 * slot, 1095, 255));
    }
    QCOMPARE(shownCaptions(*chooser, crewEntry), QStringList());
    QCOMPARE(shownCaptions(*chooser, memberEntry), QStringList());
    QCOMPARE(crewEntry(*chooser, 4)->isEnabled(), allCrewsEntries);
    QCOMPARE(crewEntry(*chooser, 9)->isEnabled(), allCrewsEntries);
    QCOMPARE(crewEntry(*chooser, 3)->geometry(), Twips().rect(1440, 840, 1092, 255));
    QCOMPARE(memberEntry(*chooser, 9)->geometry(), Twips().rect(2640, 2280, 855, 255));

    const Form2::Lines& lines = chooser->lines();
    QCOMPARE(visibleIndices(lines.Line2), QList<int>());
    QCOMPARE(visibleIndices(lines.Line8), QList<int>());
    QCOMPARE(visibleIndices(lines.Line4), QList<int>());
    QCOMPARE(visibleIndices(lines.Line5), QList<int>());
    QVERIFY(!lines.Line1.visible);
    QVERIFY(!lines.Line3.visible);

    const QImage image = chooser->grab().toImage();
    QCOMPARE(image.pixelColor(image.width() - 2, image.height() - 2), QColor(192, 192, 255));
    // The main window's state is untouched by an opening.
    QCOMPARE(form.singleCrew(), CrewCode());
    QCOMPARE(buttonText(form, "Command5"), QString::fromLatin1(sideBySide ? "X" : "X | X"));
}

void Form2Test::employerClickShowsItsCrewList_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QStringList>("crews");
    QTest::addColumn<int>("stubStart");
    QTest::addColumn<int>("trunkEnd");
    QTest::addColumn<bool>("entry4");
    QTest::addColumn<bool>("entry9");
    const QStringList brenmoor = {"A Crew", "B Crew", "C Crew", "D Crew", "All Crews"};
    const QStringList zantor = {"A Crew", "B Crew", "C Crew", "D Crew", "E Crew"};
    const QStringList halvex = {"AA-DD",   "E (5-A)", "I2-L2",  "M (1-2)",
                                "P (6-9)", "S (A-B)", "T (1-2)"};
    const QStringList corvath = {"1-4", "30-31", "150-151", "401-404", "501-509"};
    const QStringList tobrins = {"A Crew",  "B Crew",  "C Crew",  "D Crew",  "All Crews",
                                 "AX Crew", "BX Crew", "CX Crew", "DX Crew", "All X Crews"};
    QTest::newRow("Brenmoor, single") << "Label5" << 0 << brenmoor << 600 << 1200 << true << true;
    QTest::newRow("Brenmoor, left") << "Label8" << 0 << brenmoor << 600 << 1200 << false << false;
    QTest::newRow("Zantor, single") << "Label5" << 4 << zantor << 600 << 1200 << true << true;
    QTest::newRow("Zantor, right") << "Label9" << 4 << zantor << 600 << 1200 << true << false;
    QTest::newRow("Halvex, single") << "Label5" << 6 << halvex << 600 << 1680 << true << true;
    QTest::newRow("Halvex, left") << "Label8" << 6 << halvex << 600 << 1680 << true << false;
    QTest::newRow("Corvath, single") << "Label5" << 7 << corvath << 840 << 1920 << true << true;
    QTest::newRow("Corvath, right") << "Label9" << 7 << corvath << 840 << 1920 << true << false;
    QTest::newRow("Tobrin's, single") << "Label5" << 8 << tobrins << 840 << 2160 << true << true;
    QTest::newRow("Tobrin's, right") << "Label9" << 8 << tobrins << 840 << 2160 << false << false;
}

void Form2Test::employerClickShowsItsCrewList() {
    QFETCH(QString, box);
    QFETCH(int, slot);
    QFETCH(QStringList, crews);
    QFETCH(int, stubStart);
    QFETCH(int, trunkEnd);
    QFETCH(bool, entry4);
    QFETCH(bool, entry9);
    auto w = openWindow();
    Form1& form = *w.form;
    Form2* chooser = openChooserFrom(form, box, box != QLatin1String("Label5"));
    QVERIFY(chooser);
    clickControl(*chooser, employerEntry(*chooser, slot)->objectName());

    QCOMPARE(shownCaptions(*chooser, crewEntry), crews);
    for (int i = 0; i < crews.size(); ++i) {
        QCOMPARE(crewEntry(*chooser, i)->text(), crews[i]);
    }
    QCOMPARE(boldEntries(*chooser, employerEntry, Form2::kEmployerEntries), QList<int>{slot});
    QCOMPARE(boldEntries(*chooser, crewEntry, Form2::kListEntries), QList<int>());
    // Every employer in one face, the chosen one in its bold, however long its caption.
    QFont face = employerEntry(*chooser, slot)->font();
    face.setBold(false);
    for (int i = 0; i < Form2::kEmployerEntries; ++i) {
        QFont font = employerEntry(*chooser, i)->font();
        font.setBold(false);
        QCOMPARE(font, face);
    }
    QCOMPARE(crewEntry(*chooser, 4)->isEnabled(), entry4);
    QCOMPARE(crewEntry(*chooser, 9)->isEnabled(), entry9);

    const Form2::Lines& lines = chooser->lines();
    QCOMPARE(visibleIndices(lines.Line2), QList<int>{slot});
    const int y = 240 + 240 * slot;
    QVERIFY(lineIs(lines.Line2[slot], true, {stubStart, y}, {1200, y}));
    QVERIFY(lineIs(lines.Line1, true, {1200, 240}, {1200, trunkEnd}));
    // The stub is painted whole from its start: the chosen caption ends before it.
    const QImage picture = chooser->grab().toImage();
    const Twips twips;
    for (int x = twips.px(stubStart) + 1; x < twips.px(1200); ++x) {
        QVERIFY2(qGray(picture.pixel(x, twips.px(y))) < 80, qPrintable(QString::number(x)));
    }
    QCOMPARE(visibleIndices(lines.Line8), range(static_cast<int>(crews.size())));
    for (int i = 0; i < crews.size(); ++i) {
        QVERIFY(lineIs(lines.Line8[i], true, {1200, 240 + 240 * i}, {1320, 240 + 240 * i}));
    }
    QCOMPARE(visibleIndices(lines.Line4), QList<int>());
    QCOMPARE(visibleIndices(lines.Line5), QList<int>());
    QVERIFY(!lines.Line3.visible);
    QVERIFY(isTwoColumns(*chooser, form));
}

void Form2Test::viewDependentEntryFollowsEachEmployerClick_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QList<int>>("employers");
    QTest::addColumn<QString>("entry4");
    QTest::addColumn<QString>("entry9");
    // One character per click: 1 enabled, 0 greyed out.
    QTest::newRow("left: Zantor enables, Brenmoor greys again")
        << "Label8" << QList<int>{0, 4, 0, 6, 8, 7, 0} << "0101010"
        << "0000000";
    QTest::newRow("right: Corvath enables, Tobrin's greys again")
        << "Label9" << QList<int>{7, 8, 4, 8} << "1010"
        << "0000";
    QTest::newRow("single: nothing is greyed") << "Label5" << QList<int>{0, 4, 8, 6, 0} << "11111"
                                               << "11111";
}

void Form2Test::viewDependentEntryFollowsEachEmployerClick() {
    QFETCH(QString, box);
    QFETCH(QList<int>, employers);
    QFETCH(QString, entry4);
    QFETCH(QString, entry9);
    auto w = openWindow();
    Form2* chooser = openChooserFrom(*w.form, box, box != QLatin1String("Label5"));
    QVERIFY(chooser);
    for (int i = 0; i < employers.size(); ++i) {
        clickControl(*chooser, employerEntry(*chooser, employers[i])->objectName());
        QCOMPARE(crewEntry(*chooser, 4)->isEnabled(), entry4[i] == QLatin1Char('1'));
        QCOMPARE(crewEntry(*chooser, 9)->isEnabled(), entry9[i] == QLatin1Char('1'));
    }
}

void Form2Test::groupClickShowsItsMembers_data() {
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("group");
    QTest::addColumn<QStringList>("members");
    QTest::addColumn<QList<int>>("greyedSideBySide");
    QTest::addColumn<int>("trunkEnd");
    struct Row {
        const char* name;
        int slot;
        int group;
        QStringList members;
        QList<int> greyed;
        int trunkEnd;
    };
    const Row rows[] = {
        {"AA-DD", 6, 0, {"AA", "BB", "CC", "DD", "All"}, {4}, 1200},
        {"E (5-A)", 6, 1, {"E-5", "E-6", "E-7", "E-8", "E-9", "E-A"}, {}, 1440},
        {"I2-L2", 6, 2, {"I-2", "J-2", "K-2", "L-2", "All Crews"}, {4}, 1200},
        {"M (1-2)", 6, 3, {"M-1", "M-2"}, {}, 960},
        {"P (6-9)", 6, 4, {"P-6", "P-7", "P-8", "P-9"}, {}, 1200},
        {"S (A-B)", 6, 5, {"S-A", "S-B"}, {}, 1440},
        {"T (1-2)", 6, 6, {"T-1", "T-2"}, {}, 1680},
        {"1-4", 7, 0, {"1", "2", "3", "4", "1-4 All"}, {4}, 1200},
        {"30-31", 7, 1, {"30", "31"}, {}, 480},
        {"150-151", 7, 2, {"150", "151"}, {}, 720},
        {"401-404", 7, 3, {"401", "402", "403", "404", "All Crews"}, {4}, 1200},
        {"501-509",
         7,
         4,
         {"501", "502", "503", "504", "All 501-504", "506", "507", "508", "509", "All 506-509"},
         {4, 9},
         2400},
    };
    for (const Row& row : rows) {
        for (const bool sideBySide : {false, true}) {
            QTest::addRow("%s, %s", row.name, sideBySide ? "side by side" : "single")
                << sideBySide << row.slot << row.group << row.members << row.greyed << row.trunkEnd;
        }
    }
}

void Form2Test::groupClickShowsItsMembers() {
    QFETCH(bool, sideBySide);
    QFETCH(int, slot);
    QFETCH(int, group);
    QFETCH(QStringList, members);
    QFETCH(QList<int>, greyedSideBySide);
    QFETCH(int, trunkEnd);
    auto w = openWindow();
    Form1& form = *w.form;
    Form2* chooser = openChooserFrom(form, sideBySide ? "Label9" : "Label5", sideBySide);
    QVERIFY(chooser);
    clickControl(*chooser, employerEntry(*chooser, slot)->objectName());
    clickControl(*chooser, crewEntry(*chooser, group)->objectName());

    QVERIFY(theChooser() == chooser);
    QCOMPARE(shownCaptions(*chooser, memberEntry), members);
    for (int i = 0; i < members.size(); ++i) {
        QCOMPARE(memberEntry(*chooser, i)->text(), members[i]);
        QCOMPARE(memberEntry(*chooser, i)->isEnabled(),
                 !(sideBySide && greyedSideBySide.contains(i)));
        QVERIFY(!memberEntry(*chooser, i)->font().bold());
        // A caption wider than its entry would be cut off at the entry's edge.
        QVERIFY(QFontMetrics(memberEntry(*chooser, i)->font()).horizontalAdvance(members[i]) <=
                memberEntry(*chooser, i)->width());
    }
    QCOMPARE(boldEntries(*chooser, crewEntry, Form2::kListEntries), QList<int>{group});
    QCOMPARE(boldEntries(*chooser, employerEntry, Form2::kEmployerEntries), QList<int>{slot});

    const Form2::Lines& lines = chooser->lines();
    const int y = 240 + 240 * group;
    QCOMPARE(visibleIndices(lines.Line4), QList<int>{group});
    QVERIFY(lineIs(lines.Line4[group], true, {group < 2 ? 2160 : 2280, y}, {2400, y}));
    QVERIFY(lineIs(lines.Line3, true, {2400, 240}, {2400, trunkEnd}));
    QCOMPARE(visibleIndices(lines.Line5), range(static_cast<int>(members.size())));
    for (int i = 0; i < members.size(); ++i) {
        QVERIFY(lineIs(lines.Line5[i], true, {2400, 240 + 240 * i}, {2520, 240 + 240 * i}));
    }
    QCOMPARE(visibleIndices(lines.Line2), QList<int>{slot});
    QVERIFY(lines.Line1.visible);
    QVERIFY(isThreeColumns(*chooser, form));
    // Every member entry lies inside the widened window.
    QVERIFY(chooser->rect().contains(memberEntry(*chooser, 9)->geometry()));
}

void Form2Test::secondGroupReplacesTheMemberList_data() {
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<QStringList>("members");
    QTest::addColumn<int>("trunkEnd");
    QTest::newRow("501-509 then 30-31, side by side")
        << true << 7 << 4 << 1 << QStringList{"30", "31"} << 480;
    QTest::newRow("30-31 then 501-509, single")
        << false << 7 << 1 << 4 << QStringList{"501", "502", "503", "504", "All 501-504",
                                               "506", "507", "508", "509", "All 506-509"}
        << 2400;
    QTest::newRow("E (5-A) then T (1-2)")
        << false << 6 << 1 << 6 << QStringList{"T-1", "T-2"} << 1680;
    QTest::newRow("the same group twice")
        << true << 6 << 0 << 0 << QStringList{"AA", "BB", "CC", "DD", "All"} << 1200;
}

void Form2Test::secondGroupReplacesTheMemberList() {
    QFETCH(bool, sideBySide);
    QFETCH(int, slot);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(QStringList, members);
    QFETCH(int, trunkEnd);
    auto w = openWindow();
    Form2* chooser = openChooserFrom(*w.form, sideBySide ? "Label8" : "Label5", sideBySide);
    QVERIFY(chooser);
    clickControl(*chooser, employerEntry(*chooser, slot)->objectName());
    clickControl(*chooser, crewEntry(*chooser, first)->objectName());
    clickControl(*chooser, crewEntry(*chooser, second)->objectName());

    QCOMPARE(shownCaptions(*chooser, memberEntry), members);
    QCOMPARE(boldEntries(*chooser, crewEntry, Form2::kListEntries), QList<int>{second});
    QCOMPARE(visibleIndices(chooser->lines().Line4), QList<int>{second});
    QCOMPARE(visibleIndices(chooser->lines().Line5), range(static_cast<int>(members.size())));
    QCOMPARE(chooser->lines().Line3.to, QPoint(2400, trunkEnd));
    // Entries greyed for the first group are enabled again when another group takes their place.
    for (int i = 0; i < Form2::kListEntries; ++i) {
        const bool allCrews = members.value(i).startsWith(QLatin1String("All"));
        QCOMPARE(memberEntry(*chooser, i)->isEnabled(), !(sideBySide && allCrews));
    }
}

void Form2Test::employerClickNarrowsToTwoColumns_data() {
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("crewCount");
    QTest::newRow("Corvath 501-509, then Halvex") << 4 << 6 << 7;
    QTest::newRow("Corvath 401-404, then Brenmoor") << 3 << 0 << 5;
    QTest::newRow("Corvath 1-4, then Corvath again") << 0 << 7 << 5;
}

void Form2Test::employerClickNarrowsToTwoColumns() {
    QFETCH(int, group);
    QFETCH(int, slot);
    QFETCH(int, crewCount);
    auto w = openWindow();
    Form1& form = *w.form;
    clickControl(form, "Label5");
    Form2* chooser = theChooser();
    QVERIFY(chooser);
    clickControl(*chooser, employerEntry(*chooser, 7)->objectName());
    clickControl(*chooser, crewEntry(*chooser, group)->objectName());
    QVERIFY(isThreeColumns(*chooser, form));

    clickControl(*chooser, employerEntry(*chooser, slot)->objectName());
    QVERIFY(isTwoColumns(*chooser, form));
    for (int i = 0; i < Form2::kListEntries; ++i) {
        // The member list is out of view, beyond the window's right edge.
        QVERIFY(memberEntry(*chooser, i)->x() >= chooser->width());
    }
    QCOMPARE(shownCaptions(*chooser, crewEntry).size(), crewCount);
    QCOMPARE(boldEntries(*chooser, crewEntry, Form2::kListEntries), QList<int>());
    QCOMPARE(boldEntries(*chooser, employerEntry, Form2::kEmployerEntries), QList<int>{slot});
    QCOMPARE(visibleIndices(chooser->lines().Line4), QList<int>());
    QCOMPARE(visibleIndices(chooser->lines().Line5), QList<int>());
    QCOMPARE(visibleIndices(chooser->lines().Line2), QList<int>{slot});
    // Nothing of the member column is drawn inside the narrowed window.
    QVERIFY(!chooser->lines().Line3.visible);
}

void Form2Test::topIsSetOnlyAtCreation() {
    auto w = openWindow(kToday, {100, 60});
    Form1& form = *w.form;
    clickControl(form, "Label5");
    Form2* chooser = theChooser();
    QVERIFY(chooser);
    const QPoint opened = chooser->frameGeometry().topLeft();
    QCOMPARE(opened, form.frameGeometry().topLeft() + QPoint(px(2430), chooserTop(&form)));

    form.move(140, 90);
    clickControl(*chooser, employerEntry(*chooser, 7)->objectName());
    clickControl(*chooser, crewEntry(*chooser, 3)->objectName());
    QCOMPARE(chooser->frameGeometry().left(), form.frameGeometry().left() + px(1770));
    QCOMPARE(chooser->frameGeometry().top(), opened.y());
    clickControl(*chooser, employerEntry(*chooser, 0)->objectName());
    QCOMPARE(chooser->frameGeometry().left(), form.frameGeometry().left() + px(2430));
    QCOMPARE(chooser->frameGeometry().top(), opened.y());
}

void Form2Test::placeScalesWithTheContent_data() {
    QTest::addColumn<QPoint>("frame"); // the main window's frame, left and top, in device pixels
    QTest::addColumn<double>("factor");
    for (const QPoint frame : {QPoint(1, 21), QPoint(4, 30), QPoint(0, 0)}) {
        for (const double factor : {1.25, 2.51, 2.95}) {
            QTest::addRow("frame %d,%d at %g", frame.x(), frame.y(), factor) << frame << factor;
        }
    }
}

void Form2Test::placeScalesWithTheContent() {
    QFETCH(QPoint, frame);
    QFETCH(double, factor);
    const QPoint content(100, 50);
    const auto placeAt = [&](const Twips& twips) {
        RecordingHost host(false, twips, frame);
        QPointer<Form2> chooser = Form2::open(host, ChooserTarget::Single);
        const QRect place = chooser->frameGeometry().translated(-content);
        // Never over the crew box.
        const bool clear = place.bottom() < twips.px(5400);
        chooser->close();
        return clear ? place.topLeft() : QPoint(-1000, -1000);
    };
    const QPoint designed = placeAt(Twips());
    // At factor 1 the designed place from the outer corner, where the title bar leaves room.
    if (frame.y() >= 14) {
        QCOMPARE(designed, QPoint(px(2430), px(2800)) - frame);
    }
    // At another factor the same place over the content, scaled with it.
    const QPoint scaled = placeAt(Twips(factor));
    QVERIFY2((scaled - designed * factor).manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(scaled.x()).arg(scaled.y())));
}

void Form2Test::handBackChangesOnlyTheTarget_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("Corvath 403, right") << "Label9"
                                        << "Corvath/401-404/403"
                                        << "83.2"
                                        << "Corvath\n403";
    QTest::newRow("Zantor E Crew, single") << "Label5"
                                           << "Zantor/E Crew"
                                           << "54"
                                           << "Zantor\nE Crew";
    QTest::newRow("Brenmoor All Crews, single") << "Label5"
                                                << "Brenmoor/All Crews"
                                                << "14"
                                                << "Brenmoor\nAll Crews";
    QTest::newRow("Tobrin's All Crews, single") << "Label5"
                                                << "Tobrin's/All Crews"
                                                << "94"
                                                << "Tobrin's\nAll Crews";
    QTest::newRow("Tobrin's All X Crews, single") << "Label5"
                                                  << "Tobrin's/All X Crews"
                                                  << "99"
                                                  << "Tobrin's\nAll X Crews";
    QTest::newRow("Tobrin's A Crew, left") << "Label8"
                                           << "Tobrin's/A Crew"
                                           << "90"
                                           << "Tobrin's\nA Crew";
    QTest::newRow("Brenmoor A Crew, right") << "Label9"
                                            << "Brenmoor/A Crew"
                                            << "10"
                                            << "Brenmoor\nA Crew";
    QTest::newRow("Corvath 1, left") << "Label8"
                                     << "Corvath/1-4/1"
                                     << "80"
                                     << "Corvath\n1";
    QTest::newRow("Corvath All 506-509, single") << "Label5"
                                                 << "Corvath/501-509/All 506-509"
                                                 << "84.9"
                                                 << "Corvath\nAll 506-509";
    QTest::newRow("Halvex E-9, right") << "Label9"
                                       << "Halvex/E (5-A)/E-9"
                                       << "71.4"
                                       << "Halvex\nE-9";
    QTest::newRow("Halvex All, single") << "Label5"
                                        << "Halvex/AA-DD/All"
                                        << "70.4"
                                        << "Halvex\nAll";
    QTest::newRow("Corvath 30, left") << "Label8"
                                      << "Corvath/30-31/30"
                                      << "81"
                                      << "Corvath\n30";
    QTest::newRow("Halvex T-2, left") << "Label8"
                                      << "Halvex/T (1-2)/T-2"
                                      << "76.1"
                                      << "Halvex\nT-2";
}

void Form2Test::handBackChangesOnlyTheTarget() {
    QFETCH(QString, box);
    QFETCH(QString, path);
    QFETCH(QString, code);
    QFETCH(QString, text);
    auto w = openWindow();
    Form1& form = *w.form;
    const bool sideBySide = box != QLatin1String("Label5");
    if (sideBySide) {
        clickControl(form, "Command5");
    }
    clickControl(form, "Command3");
    // Codes that were never painted: a fill of the wrong target would show their shifts.
    const CrewCode single(12), left(53), right(91);
    form.setCrew(ChooserTarget::Single, single, QStringLiteral("single box"));
    form.setCrew(ChooserTarget::Left, left, QStringLiteral("left box"));
    form.setCrew(ChooserTarget::Right, right, QStringLiteral("right box"));
    SheetModel expected = form.sheet();
    const QString title = boxText(form, "Label3");

    QVERIFY(choose(form, box.toLatin1().constData(), path));

    const auto parsed = LocaleServices::parseNumber(code);
    QVERIFY(parsed);
    const CrewCode chosen(*parsed);
    if (box == QLatin1String("Label5")) {
        QCOMPARE(codeText(form.singleCrew()), code);
        QCOMPARE(form.leftCrew(), left);
        QCOMPARE(form.rightCrew(), right);
        kelsing::Label5Update(expected, chosen, kToday);
    } else if (box == QLatin1String("Label8")) {
        QCOMPARE(codeText(form.leftCrew()), code);
        QCOMPARE(form.singleCrew(), single);
        QCOMPARE(form.rightCrew(), right);
        kelsing::LeftUpdate(expected, chosen, kToday);
    } else {
        QCOMPARE(codeText(form.rightCrew()), code);
        QCOMPARE(form.singleCrew(), single);
        QCOMPARE(form.leftCrew(), left);
        kelsing::RightUpdate(expected, chosen, kToday);
    }
    QCOMPARE(boxText(form, box.toLatin1().constData()), text);
    for (const char* other : {"Label5", "Label8", "Label9"}) {
        if (box != QLatin1String(other)) {
            QCOMPARE(boxText(form, other), QString::fromLatin1(other) == QLatin1String("Label5")
                                               ? QStringLiteral("single box")
                                           : QLatin1String(other) == QLatin1String("Label8")
                                               ? QStringLiteral("left box")
                                               : QStringLiteral("right box"));
        }
    }
    QCOMPARE(sheetDifference(form.sheet(), expected), QString());
    QVERIFY(countShifts(form.sheet()) > 0);
    QCOMPARE(boxText(form, "Label3"), title);
    QCOMPARE(buttonText(form, "Command5"), QString::fromLatin1(sideBySide ? "X" : "X | X"));
}

void Form2Test::handBackTestsTheCaptionThenCloses_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("single, flat") << 0 << false << "Zantor/E Crew"
                                  << QStringList{"setCrew 0 54 Zantor\nE Crew", "fillFor 0"};
    QTest::newRow("left, member") << 1 << true << "Corvath/150-151/151"
                                  << QStringList{"setCrew 1 82.1 Corvath\n151", "fillFor 1"};
    QTest::newRow("right, member") << 2 << true << "Corvath/401-404/403"
                                   << QStringList{"setCrew 2 83.2 Corvath\n403", "fillFor 2"};
    // The greying follows the view, whatever the target.
    QTest::newRow("single target while side by side")
        << 0 << true << "Brenmoor/D Crew"
        << QStringList{"setCrew 0 13 Brenmoor\nD Crew", "fillFor 0"};
}

void Form2Test::handBackTestsTheCaptionThenCloses() {
    QFETCH(int, target);
    QFETCH(bool, sideBySide);
    QFETCH(QString, path);
    QFETCH(QStringList, calls);
    RecordingHost host(sideBySide);
    QPointer<Form2> chooser = Form2::open(host, static_cast<ChooserTarget>(target));
    QVERIFY(QTest::qWaitForWindowExposed(chooser.data()));
    QCOMPARE(chooser->frameGeometry().topLeft(), QPoint(100 + px(2430), 50 + chooserTop()));
    QVERIFY(walkChooser(*chooser, path.section(QLatin1Char('/'), 0, -2)));
    QVERIFY(host.calls.isEmpty());
    if (path.startsWith(QLatin1String("Brenmoor"))) {
        QCOMPARE(crewEntry(*chooser, 4)->isEnabled(), !sideBySide);
    }
    QVERIFY(walkChooser(*chooser, path));
    QCOMPARE(host.calls, calls);
    QVERIFY(chooser.isNull() || !chooser->isVisible());
    QTRY_VERIFY(chooser.isNull());
}

void Form2Test::greyedEntriesIgnoreClicks_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("index");
    QTest::newRow("Tarsk") << "Label5"
                           << ""
                           << "Label1" << 1;
    QTest::newRow("Meridane") << "Label9"
                              << ""
                              << "Label1" << 5;
    QTest::newRow("empty slot 9") << "Label5"
                                  << ""
                                  << "Label1" << 9;
    QTest::newRow("empty slot 10") << "Label8"
                                   << ""
                                   << "Label1" << 10;
    QTest::newRow("Brenmoor All Crews, left") << "Label8"
                                              << "Brenmoor"
                                              << "Label2" << 4;
    QTest::newRow("Tobrin's All X Crews, right") << "Label9"
                                                 << "Tobrin's"
                                                 << "Label2" << 9;
    QTest::newRow("Tobrin's All Crews after Zantor, right") << "Label9"
                                                            << "Zantor/Tobrin's"
                                                            << "Label2" << 4;
    QTest::newRow("1-4 All, side by side") << "Label9"
                                           << "Corvath/1-4"
                                           << "Label4" << 4;
    QTest::newRow("401-404 All Crews, side by side") << "Label8"
                                                     << "Corvath/401-404"
                                                     << "Label4" << 4;
    QTest::newRow("All 506-509, side by side") << "Label8"
                                               << "Corvath/501-509"
                                               << "Label4" << 9;
    QTest::newRow("Halvex All, side by side") << "Label9"
                                              << "Halvex/AA-DD"
                                              << "Label4" << 4;
    QTest::newRow("I2-L2 All Crews, side by side") << "Label9"
                                                   << "Halvex/I2-L2"
                                                   << "Label4" << 4;
}

void Form2Test::greyedEntriesIgnoreClicks() {
    QFETCH(QString, box);
    QFETCH(QString, path);
    QFETCH(QString, column);
    QFETCH(int, index);
    auto w = openWindow();
    Form1& form = *w.form;
    Form2* chooser = openChooserFrom(form, box, box != QLatin1String("Label5"));
    QVERIFY(chooser);
    // The path is walked one employer after another ("Zantor/Tobrin's") or down the columns.
    const bool employers = path.count(QLatin1Char('/')) == 1 &&
                           entryShowing(*chooser, "Label1", path.section('/', 1)) != nullptr;
    if (employers) {
        QVERIFY(walkChooser(*chooser, path.section('/', 0, 0)));
        QVERIFY(walkChooser(*chooser, path.section('/', 1)));
    } else if (!path.isEmpty()) {
        QVERIFY(walkChooser(*chooser, path));
    }
    Label* entry = label(*chooser, QStringLiteral("%1_%2").arg(column).arg(index));
    QVERIFY(!entry->isEnabled());
    const QStringList crewsBefore = shownCaptions(*chooser, crewEntry);
    const QStringList membersBefore = shownCaptions(*chooser, memberEntry);
    const QRect placeBefore = chooser->frameGeometry();

    clickControl(*chooser, entry->objectName());

    QCOMPARE(theChooser(), chooser);
    QCOMPARE(shownCaptions(*chooser, crewEntry), crewsBefore);
    QCOMPARE(shownCaptions(*chooser, memberEntry), membersBefore);
    QCOMPARE(chooser->frameGeometry(), placeBefore);
    QVERIFY(!entry->font().bold());
    QCOMPARE(form.singleCrew(), CrewCode());
    QCOMPARE(form.leftCrew(), CrewCode());
    QCOMPARE(form.rightCrew(), CrewCode());
}

void Form2Test::clickElsewhereClosesWithoutChange_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("target");
    QTest::newRow("employers state, sheet") << ""
                                            << "SheetView";
    QTest::newRow("crews state, window background") << "Corvath"
                                                    << "Form1";
    QTest::newRow("members state, sheet") << "Corvath/501-509"
                                          << "SheetView";
    QTest::newRow("members state, month title") << "Halvex/E (5-A)"
                                                << "Label3";
    QTest::newRow("members state, update notice") << "Halvex/E (5-A)"
                                                  << "Label2_38";
    QTest::newRow("crews state, another window of the program") << "Tobrin's"
                                                                << "other";
}

void Form2Test::clickElsewhereClosesWithoutChange() {
    QFETCH(QString, path);
    QFETCH(QString, target);
    auto w = openWindow();
    Form1& form = *w.form;
    QVERIFY(choose(form, "Label5", QStringLiteral("Corvath/401-404/403")));
    const SheetModel sheet = form.sheet();
    const QString box = boxText(form, "Label5");

    clickControl(form, "Label5");
    QPointer<Form2> chooser = theChooser();
    QVERIFY(chooser);
    if (!path.isEmpty()) {
        QVERIFY(walkChooser(*chooser, path));
    }
    QWidget other;
    other.resize(100, 100);
    if (target == QLatin1String("other")) {
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        clickAt(other, {50, 50});
    } else if (target == QLatin1String("Form1")) {
        clickAt(form, {3, form.height() - 3});
    } else {
        clickControl(form, target);
    }

    QVERIFY(openChoosers().isEmpty());
    QTRY_VERIFY(chooser.isNull());
    QCOMPARE(codeText(form.singleCrew()), QStringLiteral("83.2"));
    QCOMPARE(form.leftCrew(), CrewCode());
    QCOMPARE(form.rightCrew(), CrewCode());
    QCOMPARE(boxText(form, "Label5"), box);
    QCOMPARE(form.sheet(), sheet);
}

void Form2Test::crewBoxClickWhileOpenOpensAFreshChooser_data() {
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("caption");
    QTest::newRow("single box twice") << false << "Label5"
                                      << "Label5" << kChooseCrew;
    QTest::newRow("left, then right") << true << "Label8"
                                      << "Label9" << kChooseRight;
    QTest::newRow("right, then left") << true << "Label9"
                                      << "Label8" << kChooseLeft;
    QTest::newRow("left box twice") << true << "Label8"
                                    << "Label8" << kChooseLeft;
}

void Form2Test::crewBoxClickWhileOpenOpensAFreshChooser() {
    QFETCH(bool, sideBySide);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, caption);
    auto w = openWindow();
    Form1& form = *w.form;
    QPointer<Form2> old = openChooserFrom(form, first, sideBySide);
    QVERIFY(old);
    QVERIFY(walkChooser(*old, QStringLiteral("Corvath/501-509")));
    const SheetModel sheet = form.sheet();

    clickControl(form, second);

    Form2* fresh = theChooser();
    QVERIFY(fresh);
    QVERIFY(fresh != old.data());
    QTRY_VERIFY(old.isNull());
    QCOMPARE(fresh->windowTitle(), caption);
    QVERIFY(isTwoColumns(*fresh, form));
    QCOMPARE(shownCaptions(*fresh, crewEntry), QStringList());
    QCOMPARE(boldEntries(*fresh, employerEntry, Form2::kEmployerEntries), QList<int>());
    QCOMPARE(visibleIndices(fresh->lines().Line2), QList<int>());
    QCOMPARE(form.sheet(), sheet);
    QCOMPARE(form.singleCrew(), CrewCode());
    QCOMPARE(form.leftCrew(), CrewCode());
    QCOMPARE(form.rightCrew(), CrewCode());
}

void Form2Test::turningToAnotherWindowCloses() {
    auto w = openWindow();
    Form1& form = *w.form;
    clickControl(form, "Label5");
    QPointer<Form2> chooser = theChooser();
    QVERIFY(chooser);
    QVERIFY(QTest::qWaitForWindowActive(chooser.data()));
    QVERIFY(walkChooser(*chooser, QStringLiteral("Halvex")));

    QWidget elsewhere; // stands for a window of another application
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));

    QTRY_VERIFY(chooser.isNull());
    QCOMPARE(form.singleCrew(), CrewCode());
    QCOMPARE(boxText(form, "Label5"), QStringLiteral("Click here to Choose Crew"));
}

void Form2Test::everyOpeningStartsAfresh() {
    auto w = openWindow();
    Form1& form = *w.form;
    for (int opening = 0; opening < 3; ++opening) {
        clickControl(form, "Label5");
        QPointer<Form2> chooser = theChooser();
        QVERIFY(chooser);
        QVERIFY(isTwoColumns(*chooser, form));
        QCOMPARE(boldEntries(*chooser, employerEntry, Form2::kEmployerEntries), QList<int>());
        QCOMPARE(shownCaptions(*chooser, crewEntry), QStringList());
        QCOMPARE(shownCaptions(*chooser, memberEntry), QStringList());
        QVERIFY(!chooser->lines().Line1.visible);
        QVERIFY(!chooser->lines().Line3.visible);
        QVERIFY(walkChooser(*chooser, QStringLiteral("Corvath/501-509")));
        clickControl(form, "SheetView");
        QTRY_VERIFY(chooser.isNull());
    }
}

void Form2Test::closingTheMainWindowClosesTheChooser() {
    auto w = openWindow();
    clickControl(*w.form, "Label5");
    QPointer<Form2> chooser = theChooser();
    QVERIFY(chooser);
    QVERIFY(w.form->close());
    QVERIFY(openChoosers().isEmpty());
    QTRY_VERIFY(chooser.isNull());
}

void Form2Test::linesAreDrawnWhereTheyStand() {
    auto w = openWindow();
    clickControl(*w.form, "Label5");
    Form2* chooser = theChooser();
    QVERIFY(chooser);
    QVERIFY(walkChooser(*chooser, QStringLiteral("Corvath/401-404")));
    const QImage image = chooser->grab().toImage();
    const Twips twips;
    const auto isLine = [&](int x, int y) {
        const QColor c = image.pixelColor(twips.point(x, y));
        return c.red() < 80 && c.green() < 80 && c.blue() < 80;
    };
    const auto isBackground = [&](int x, int y) {
        return image.pixelColor(twips.point(x, y)) == QColor(192, 192, 255);
    };
    QVERIFY(isLine(1140, 1920));       // Corvath's stub
    QVERIFY(isLine(1200, 1800));       // the crew trunk down to Corvath
    QVERIFY(isLine(1260, 1200));       // the stub of 501-509
    QVERIFY(isLine(2340, 960));        // the stub of 401-404
    QVERIFY(isLine(2400, 1080));       // the member trunk
    QVERIFY(isLine(2460, 1200));       // the stub of All Crews
    QVERIFY(isBackground(2460, 1440)); // no sixth member
    QVERIFY(isBackground(2340, 720));  // 150-151 is not chosen
    QVERIFY(isBackground(1140, 240));  // Brenmoor is not chosen
    QVERIFY(isBackground(1200, 2040)); // the trunk ends at Corvath
    QVERIFY(isBackground(2400, 1320)); // the member trunk ends at the last member
}

void Form2Test::switchRoundTrips_data() {
    QTest::addColumn<QString>("singlePath");
    QTest::addColumn<QString>("leftPath");
    QTest::addColumn<QString>("rightPath");
    QTest::addColumn<QString>("single");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::newRow("nothing chosen") << ""
                                    << ""
                                    << "" << kSelectCrew << kSelectCrew << kSelectCrew;
    QTest::newRow("80.2 / 12 / 0") << "Corvath/1-4/3"
                                   << "Brenmoor/C Crew"
                                   << ""
                                   << "Corvath\n3"
                                   << "Brenmoor\nC Crew" << kSelectCrew;
    QTest::newRow("70.4 All becomes All Crews")
        << "Halvex/AA-DD/All"
        << ""
        << ""
        << "Halvex\nAll Crews" << kSelectCrew << kSelectCrew;
    QTest::newRow("70.1 BB") << "Halvex/AA-DD/BB"
                             << ""
                             << ""
                             << "Halvex\nBB" << kSelectCrew << kSelectCrew;
    QTest::newRow("84.4 wording") << "Corvath/501-509/All 501-504"
                                  << "Corvath/501-509/509"
                                  << ""
                                  << "Corvath\nAll 501-4 Crews"
                                  << "Corvath\n509" << kSelectCrew;
    QTest::newRow("84.9 wording") << "Corvath/501-509/All 506-509"
                                  << ""
                                  << "Corvath/1-4/1"
                                  << "Corvath\nAll 506-9 Crews" << kSelectCrew << "Corvath\n1";
    QTest::newRow("Tobrin's codes") << "Tobrin's/All X Crews"
                                    << "Tobrin's/A Crew"
                                    << "Halvex/E (5-A)/E-A"
                                    << "Tobrin's\nAll X Crews"
                                    << "Tobrin's\nA Crew"
                                    << "Halvex\nE-A";
    QTest::newRow("sides only") << ""
                                << "Zantor/E Crew"
                                << "Halvex/I2-L2/L-2" << kSelectCrew << "Zantor\nE Crew"
                                << "Halvex\nL-2";
}

void Form2Test::switchRoundTrips() {
    QFETCH(QString, singlePath);
    QFETCH(QString, leftPath);
    QFETCH(QString, rightPath);
    QFETCH(QString, single);
    QFETCH(QString, left);
    QFETCH(QString, right);
    auto w = openWindow();
    Form1& form = *w.form;
    const QPoint inLeftBox = control(form, "Label8")->geometry().center();
    const QPoint inRightBox = control(form, "Label9")->geometry().center();
    if (!singlePath.isEmpty()) {
        QVERIFY(choose(form, "Label5", singlePath));
        QCOMPARE(boxText(form, "Label5"),
                 singlePath.section('/', 0, 0) + QLatin1Char('\n') + singlePath.section('/', -1));
    }
    clickControl(form, "Command5");
    QCOMPARE(buttonText(form, "Command5"), QStringLiteral("X"));
    QCOMPARE(boxText(form, "Label5"), QString());
    QCOMPARE(boxText(form, "Label8"), kSelectCrew);
    QCOMPARE(boxText(form, "Label9"), kSelectCrew);
    QCOMPARE(form.childAt(inLeftBox)->objectName(), QStringLiteral("Label8"));
    QCOMPARE(form.childAt(inRightBox)->objectName(), QStringLiteral("Label9"));
    QCOMPARE(countShifts(form.sheet()), 0);
    if (!leftPath.isEmpty()) {
        QVERIFY(choose(form, "Label8", leftPath));
    }
    if (!rightPath.isEmpty()) {
        QVERIFY(choose(form, "Label9", rightPath));
    }

    clickControl(form, "Command5");
    QCOMPARE(buttonText(form, "Command5"), QStringLiteral("X | X"));
    QCOMPARE(boxText(form, "Label5"), single);
    QCOMPARE(boxText(form, "Label8"), QString());
    QCOMPARE(boxText(form, "Label9"), QString());
    QCOMPARE(form.childAt(inLeftBox)->objectName(), QStringLiteral("Label5"));
    QCOMPARE(form.childAt(inRightBox)->objectName(), QStringLiteral("Label5"));
    QCOMPARE(sheetDifference(form.sheet(), singleView({3, 2007}, form.singleCrew())), QString());
    QCOMPARE(form.sheet().cells[18].leftShift, std::string());

    clickControl(form, "Command5");
    QCOMPARE(boxText(form, "Label5"), QString());
    QCOMPARE(boxText(form, "Label8"), left);
    QCOMPARE(boxText(form, "Label9"), right);
    QCOMPARE(
        sheetDifference(form.sheet(), sideBySide({3, 2007}, form.leftCrew(), form.rightCrew())),
        QString());
    QCOMPARE(form.sheet().cells[18].shift, std::string());
}

void Form2Test::switchLeavesCodesInNoRowAlone() {
    auto w = openWindow();
    Form1& form = *w.form;
    // 30 lies in no row of the caption table: the box keeps whatever it showed.
    form.setCrew(ChooserTarget::Left, CrewCode(30), QString());
    form.setCrew(ChooserTarget::Right, CrewCode(80.7), QString());
    clickControl(form, "Command5");
    QCOMPARE(boxText(form, "Label8"), QString());
    QCOMPARE(boxText(form, "Label9"), QString());
    QVERIFY(choose(form, "Label8", QStringLiteral("Zantor/A Crew")));
    form.setCrew(ChooserTarget::Single, CrewCode(20), QString());
    clickControl(form, "Command5");
    QCOMPARE(boxText(form, "Label5"), QString());
    clickControl(form, "Command5");
    QCOMPARE(boxText(form, "Label8"), QStringLiteral("Zantor\nA Crew"));
    QCOMPARE(buttonText(form, "Command5"), QStringLiteral("X"));
}

void Form2Test::wholeJourney() {
    auto w = openWindow();
    Form1& form = *w.form;
    QCOMPARE(sheetDifference(form.sheet(), singleView({3, 2007})), QString());
    QCOMPARE(boxText(form, "Label5"), QStringLiteral("Click here to Choose Crew"));

    QVERIFY(choose(form, "Label5", QStringLiteral("Corvath/401-404/403")));
    QCOMPARE(boxText(form, "Label5"), QStringLiteral("Corvath\n403"));
    QCOMPARE(sheetDifference(form.sheet(), singleView({3, 2007}, CrewCode(83.2))), QString());
    QVERIFY(countShifts(form.sheet()) == 31);

    clickControl(form, "Command3");
    QCOMPARE(sheetDifference(form.sheet(), singleView({4, 2007}, CrewCode(83.2))), QString());
    clickControl(form, "Command3");
    QCOMPARE(boxText(form, "Label3"), QStringLiteral("May 2007"));
    QCOMPARE(sheetDifference(form.sheet(), singleView({5, 2007}, CrewCode(83.2))), QString());

    clickControl(form, "Command5");
    QCOMPARE(sheetDifference(form.sheet(), singleView({5, 2007})), QString());
    QVERIFY(choose(form, "Label8", QStringLiteral("Brenmoor/B Crew")));
    QCOMPARE(boxText(form, "Label8"), QStringLiteral("Brenmoor\nB Crew"));
    QCOMPARE(sheetDifference(form.sheet(), sideBySide({5, 2007}, CrewCode(11))), QString());
    QVERIFY(choose(form, "Label9", QStringLiteral("Halvex/E (5-A)/E-7")));
    QCOMPARE(boxText(form, "Label9"), QStringLiteral("Halvex\nE-7"));
    QCOMPARE(sheetDifference(form.sheet(), sideBySide({5, 2007}, CrewCode(11), CrewCode(71.2))),
             QString());
    QCOMPARE(countShifts(form.sheet()), 62);

    clickControl(form, "Command1");
    QCOMPARE(boxText(form, "Label3"), QStringLiteral("May 2006"));
    QCOMPARE(sheetDifference(form.sheet(), sideBySide({5, 2006}, CrewCode(11), CrewCode(71.2))),
             QString());

    clickControl(form, "Command5");
    QCOMPARE(boxText(form, "Label5"), QStringLiteral("Corvath\n403"));
    QCOMPARE(sheetDifference(form.sheet(), singleView({5, 2006}, CrewCode(83.2))), QString());
    QCOMPARE(countShifts(form.sheet()), 31);
    QCOMPARE(codeText(form.singleCrew()), QStringLiteral("83.2"));
    QCOMPARE(codeText(form.leftCrew()), QStringLiteral("11"));
    QCOMPARE(codeText(form.rightCrew()), QStringLiteral("71.2"));
}

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
