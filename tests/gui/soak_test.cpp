// SPDX-License-Identifier: GPL-3.0-or-later
// Thousands of random clicks from a fixed seed on the real windows. After every click the program
// is alive and the sheet shows what the core's fills compute for the shown month and the crews
// of the active view; stepping reaches both ends of the calendar on the way.

#include "about/frmabout.h"
#include "calendar/dayserial.h"
#include "crews/crewcaptiontable.h"
#include "crews/crewcatalogue.h"
#include "crews/form2.h"
#include "loopbackserver.h"
#include "mainwindow/form1.h"
#include "platform/coretext.h"
#include "platform/label.h"
#include "platform/localeservices.h"
#include "sheet/sheetfills.h"
#include "sheet/sheetlayout.h"
#include "windowtestsupport.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <tuple>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QNetworkProxy>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kelsing;
using namespace kelsing::WindowTests;
using kelsing::test::Answer;
using kelsing::test::LoopbackServer;

namespace {

// The run's seed; KELSING_SOAK_SEED tries another one.
constexpr std::uint32_t kSeed = 20070315;
// Random clicks besides the two long runs of steps to the ends of the calendar, which add about
// ten thousand more.
constexpr int kRandomActions = 3000;
// The sheet is also checked as painted, every so many actions.
constexpr int kPaintCheckEvery = 97;
// The height of a day cell's frame above its shift line, in twips.
constexpr int kNumberArea = 470;

const QString kChooseCrewAtStart = QStringLiteral("Click here to Choose Crew");
const QString kChooseCrewAfterSwitch = QStringLiteral("Click Here to Select Crew");

const DaySerial kToday = dateOf(2007, 3, 15);
const MonthYear kTodaysMonth{3, 2007};
constexpr MonthYear kFirstMonth{1, 100};
constexpr MonthYear kLastMonth{12, 9999};

QPoint centreOf(QWidget& window, const QWidget* target) {
    return target->mapTo(&window, target->rect().center());
}

// The month a step shows, by month arithmetic alone; nothing beyond January 100 and December 9999.
std::optional<MonthYear> stepped(MonthYear from, int months) {
    const int index = from.year * 12 + (from.month - 1) + months;
    const int year = index / 12;
    if (year < kFirstMonth.year || year > kLastMonth.year) {
        return std::nullopt;
    }
    return MonthYear{static_cast<Int16>(index % 12 + 1), static_cast<Int16>(year)};
}

QString describe(MonthYear month) {
    return QStringLiteral("%1/%2").arg(month.month).arg(month.year);
}

const std::vector<CatalogueChoice>& catalogue() {
    static const std::vector<CatalogueChoice> choices = CrewCatalogue::allChoices();
    return choices;
}

// The crew box texts a nonzero code may show: the chooser's wording or the view switch's.
QStringList boxTextsFor(CrewCode code) {
    QStringList texts;
    for (const CatalogueChoice& choice : catalogue()) {
        if (choice.choice.code == code) {
            texts << kelsing::fromCore(choice.choice.boxText);
        }
    }
    if (const auto text = CrewCaptionText(code)) {
        texts << kelsing::fromCore(*text);
    }
    return texts;
}

bool isAllCrews(CrewCode code) {
    for (const CatalogueChoice& choice : catalogue()) {
        if (choice.choice.code == code) {
            return choice.choice.allCrews;
        }
    }
    return false;
}

// What the user should see, kept by the test from the core's fills alone.
struct Expected {
    SheetModel sheet;
    MonthYear month = kTodaysMonth;
    bool sideBySide = false;
    CrewCode single;
    CrewCode left;
    CrewCode right;
    int opened = 0; // addresses handed to the shell

    // The chooser as the test left it: open for a target, with the employer and group chosen.
    bool chooserOpen = false;
    ChooserTarget target = ChooserTarget::Single;
    std::optional<int> slot;
    std::optional<int> group;

    void formLoad() {
        sheet.title = month;
        FormLoadCalendar(sheet, kToday);
    }
    void label5Update() {
        sheet.title = month;
        kelsing::Label5Update(sheet, single, kToday);
    }
    void leftUpdate() {
        sheet.title = month;
        kelsing::LeftUpdate(sheet, left, kToday);
    }
    void rightUpdate() {
        sheet.title = month;
        kelsing::RightUpdate(sheet, right, kToday);
    }
    // The last test of a step or a title click: the single fill when the single view has a crew,
    // otherwise the fill of each side that has one.
    void sideFills() {
        if (!sideBySide && single.value() > 0) {
            label5Update();
            return;
        }
        if (left.value() > 0) {
            leftUpdate();
        }
        if (right.value() > 0) {
            rightUpdate();
        }
    }
};

// Pixels of a picture inside a rectangle with the hue of pure red.
int redPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            const int hue = p.hue();
            count += p.saturation() > 100 && p.value() > 100 && (hue < 12 || hue > 348) ? 1 : 0;
        }
    }
    return count;
}

std::uint32_t seed() {
    bool given = false;
    const auto other = qEnvironmentVariable("KELSING_SOAK_SEED").toUInt(&given);
    return given ? other : kSeed;
}

class Soak {
public:
    Soak(Form1& form, const QUrl& site, const std::shared_ptr<QList<QUrl>>& opened)
        : m_form(form)
        , m_site(site)
        , m_opened(opened)
        , m_rng(seed()) {
        m_expected.formLoad();
    }

    // Runs the random actions, with a long run of steps to January 100 after the first third and
    // one from today's month to December 9999 after the second; the first failure ends it with a
    // message.
    QString run() {
        for (int n = 0; n < kRandomActions; ++n) {
            QString failure;
            if (n == kRandomActions / 3) {
                failure = longRun(false);
            } else if (n == 2 * kRandomActions / 3) {
                // Back to today's month first, the shorter way to the other end.
                failure = titleClick();
                failure = failure.isEmpty() ? longRun(true) : failure;
            } else {
                failure = randomAction();
            }
            if (!failure.isEmpty()) {
                return QStringLiteral("action %1 (%2): %3").arg(m_actions).arg(m_last, failure);
            }
        }
        return {};
    }

    int actions() const { return m_actions; }
    bool reachedFirstMonth() const { return m_reachedFirst; }
    bool reachedLastMonth() const { return m_reachedLast; }
    bool sawNotice() const { return m_sawNotice; }
    int handBacks() const { return m_handBacks; }
    int greyedClicks() const { return m_greyedClicks; }

private:
    int below(int n) { return static_cast<int>(m_rng() % static_cast<std::uint32_t>(n)); }

    QString randomAction() {
        const int roll = below(100);
        if (m_expected.chooserOpen && roll < 85) {
            return chooserClick();
        }
        if (roll < 2) {
            return shortRun();
        }
        if (roll < 40) {
            return step(below(4));
        }
        if (roll < 45) {
            return titleClick();
        }
        if (roll < 62) {
            return crewBoxClick();
        }
        if (roll < 70) {
            return switchClick();
        }
        if (roll < 78) {
            return outsideClick();
        }
        if (roll < 81) {
            return infoClick();
        }
        if (roll < 86) {
            return aboutOkClick();
        }
        return noticeClick();
    }

    // A step button: 0 "<<", 1 "<", 2 ">", 3 ">>".
    QString step(int button) {
        static const char* const kNames[] = {"Command1", "Command2", "Command3", "Command4"};
        static const int kMonths[] = {-12, -1, 1, 12};
        m_last = QString::fromLatin1(kNames[button]);
        clickAt(m_form, centreOf(m_form, control(m_form, m_last)));
        closeChooserByOutsideClick();
        Expected& e = m_expected;
        if (const auto next = stepped(e.month, kMonths[button])) {
            e.month = *next;
            const bool noCrew =
                e.sideBySide ? e.left.value() + e.right.value() == 0 : e.single.value() == 0;
            if (noCrew) {
                e.formLoad();
            }
            e.sideFills();
        }
        return check();
    }

    // Steps to January 100 (or December 9999), mostly by years, then a few steps beyond the end,
    // where nothing may change.
    QString longRun(bool up) {
        const MonthYear end = up ? kLastMonth : kFirstMonth;
        int beyond = 0;
        while (beyond < 4) {
            const bool atEnd = m_expected.month == end;
            beyond += atEnd ? 1 : 0;
            const bool byYear =
                atEnd ? below(2) == 0 : m_expected.month.year != end.year && below(8) != 0;
            const int button = up ? (byYear ? 3 : 2) : (byYear ? 0 : 1);
            if (const QString failure = step(button); !failure.isEmpty()) {
                return failure;
            }
        }
        return {};
    }

    // A few dozen clicks on one step button.
    QString shortRun() {
        const int button = below(4);
        for (int n = 5 + below(40); n > 0; --n) {
            if (const QString failure = step(button); !failure.isEmpty()) {
                return failure;
            }
        }
        return {};
    }

    QString titleClick() {
        m_last = QStringLiteral("Label3");
        clickAt(m_form, centreOf(m_form, control(m_form, m_last)));
        closeChooserByOutsideClick();
        Expected& e = m_expected;
        e.month = kTodaysMonth;
        // The title is written first; the cells follow with the start-up routine when no crew
        // is chosen at all, or when no fill would run.
        e.sheet.title = e.month;
        const bool anyFill =
            (!e.sideBySide && e.single.value() > 0) || e.left.value() > 0 || e.right.value() > 0;
        if (e.single.value() + e.left.value() + e.right.value() == 0 || !anyFill) {
            e.formLoad();
        }
        e.sideFills();
        return check();
    }

    QString crewBoxClick() {
        // Anywhere on the crew boxes: in the single view the single box covers the two others.
        const bool rightHalf = below(2) == 0;
        QWidget* box =
            control(m_form, rightHalf ? QStringLiteral("Label9") : QStringLiteral("Label8"));
        const QRect area = box->geometry().adjusted(3, 3, -3, -3);
        const QPoint at(area.left() + below(area.width()), area.top() + below(area.height()));
        m_last = QStringLiteral("crew box at %1,%2").arg(at.x()).arg(at.y());
        clickAt(m_form, at);
        Expected& e = m_expected;
        e.chooserOpen = true;
        e.target = !e.sideBySide ? ChooserTarget::Single
                   : rightHalf   ? ChooserTarget::Right
                                 : ChooserTarget::Left;
        e.slot.reset();
        e.group.reset();
        const QList<Form2*> choosers = openChoosers();
        if (choosers.size() != 1) {
            return QStringLiteral("%1 choosers open").arg(choosers.size());
        }
        if (choosers.front()->windowTitle() != Form2::targetCaption(e.target)) {
            return QStringLiteral("chooser for '%1'").arg(choosers.front()->windowTitle());
        }
        return check();
    }

    // A click in the open chooser: mostly on an entry that takes it, the crew and member lists
    // more often than the employers; now and then on any entry, greyed or hidden ones included.
    QString chooserClick() {
        Form2* chooser = openChoosers().value(0);
        if (!chooser) {
            return QStringLiteral("the chooser is not open");
        }
        static const char* const kColumns[] = {"Label1", "Label2", "Label4"};
        const auto entryAt = [chooser](int column, int index) {
            return label(*chooser,
                         QStringLiteral("%1_%2").arg(QLatin1String(kColumns[column])).arg(index));
        };
        const auto inside = [chooser](Label* entry) {
            return chooser->rect().contains(centreOf(*chooser, entry));
        };
        QList<QPair<int, int>> live;
        for (int column = 0; column < 3; ++column) {
            const int count = column == 0 ? Form2::kEmployerEntries : Form2::kListEntries;
            for (int index = 0; index < count; ++index) {
                Label* entry = entryAt(column, index);
                if (entry->isVisible() && entry->isEnabled() && inside(entry)) {
                    for (int weight = column == 0 ? 1 : 4; weight > 0; --weight) {
                        live.append({column, index});
                    }
                }
            }
        }
        int column = below(3);
        int index = below(column == 0 ? Form2::kEmployerEntries : Form2::kListEntries);
        if (!live.isEmpty() && below(4) != 0) {
            std::tie(column, index) = live.at(below(static_cast<int>(live.size())));
        }
        Label* entry = entryAt(column, index);
        m_last = QStringLiteral("chooser %1").arg(entry->objectName());
        if (!inside(entry)) {
            // The member column of a narrowed chooser lies outside it: not a place to click.
            return {};
        }
        const bool takesClicks = entry->isVisible() && entry->isEnabled();
        m_greyedClicks += entry->isVisible() && !entry->isEnabled() ? 1 : 0;
        clickAt(*chooser, centreOf(*chooser, entry));

        Expected& e = m_expected;
        if (!takesClicks) {
            return check();
        }
        if (column == 0) {
            e.slot = index;
            e.group.reset();
            return check();
        }
        if (!e.slot) {
            return QStringLiteral("an entry showed before an employer was chosen");
        }
        const int slot = *e.slot;
        if (column == 1 && CrewCatalogue::employer(slot).kind == EmployerKind::Grouped) {
            e.group = index;
            return check();
        }
        if (column == 2 && !e.group) {
            return QStringLiteral("a member showed before a group was chosen");
        }
        // The chooser's codes: (slot + 1) x 10 + position, or + group position + member / 10.
        const double code =
            column == 1 ? (slot + 1) * 10 + index : (slot + 1) * 10 + *e.group + index / 10.0;
        ++m_handBacks;
        e.chooserOpen = false;
        switch (e.target) {
        case ChooserTarget::Single:
            e.single = CrewCode(code);
            e.label5Update();
            break;
        case ChooserTarget::Left:
            e.left = CrewCode(code);
            e.leftUpdate();
            break;
        case ChooserTarget::Right:
            e.right = CrewCode(code);
            e.rightUpdate();
            break;
        }
        return check();
    }

    QString switchClick() {
        m_last = QStringLiteral("Command5");
        clickAt(m_form, centreOf(m_form, control(m_form, m_last)));
        closeChooserByOutsideClick();
        Expected& e = m_expected;
        e.sideBySide = !e.sideBySide;
        if (e.sideBySide) {
            e.leftUpdate();
            e.rightUpdate();
        } else {
            e.label5Update();
        }
        return check();
    }

    // A click on a day cell or on the window's free background: nothing happens, except that an
    // open chooser closes.
    QString outsideClick() {
        if (below(3) == 0) {
            m_last = QStringLiteral("background");
            clickAt(m_form, m_form.twips().rect(120, 5400, 200, 400).center());
        } else {
            const int cell = below(SheetModel::kCellCount);
            m_last = QStringLiteral("day cell %1").arg(cell);
            clickAt(m_form, m_form.twips().rect(SheetLayout::dayFrame(cell)).center());
        }
        closeChooserByOutsideClick();
        return check();
    }

    QString infoClick() {
        m_last = QStringLiteral("Image1");
        clickAt(m_form, centreOf(m_form, control(m_form, m_last)));
        closeChooserByOutsideClick();
        return check();
    }

    QString aboutOkClick() {
        frmAbout* about = openAboutWindows().value(0);
        if (!about) {
            return {};
        }
        m_last = QStringLiteral("about OK");
        clickAt(*about, centreOf(*about, control(*about, QStringLiteral("cmdOK"))));
        closeChooserByOutsideClick();
        if (!openAboutWindows().isEmpty()) {
            return QStringLiteral("the about window stayed open");
        }
        return check();
    }

    QString noticeClick() {
        m_last = QStringLiteral("Label2_38");
        Label* notice = label(m_form, m_last);
        const bool shownBefore = !notice->text().isEmpty();
        clickAt(m_form, centreOf(m_form, notice));
        closeChooserByOutsideClick();
        // A notice never empties again; one that arrived during the click may or may not have
        // taken it.
        const bool shownAfter = !notice->text().isEmpty();
        m_sawNotice = m_sawNotice || shownAfter;
        const int opened = static_cast<int>(m_opened->size());
        if (shownBefore || (shownAfter && opened == m_expected.opened + 1)) {
            ++m_expected.opened;
        }
        return check();
    }

    void closeChooserByOutsideClick() { m_expected.chooserOpen = false; }

    // The program is alive and shows what the test expects.
    QString check() {
        ++m_actions;
        QCoreApplication::processEvents();
        const Expected& e = m_expected;
        m_reachedFirst = m_reachedFirst || e.month == kFirstMonth;
        m_reachedLast = m_reachedLast || e.month == kLastMonth;
        if (!m_form.isVisible()) {
            return QStringLiteral("the main window is gone");
        }
        const QString title = label(m_form, QStringLiteral("Label3"))->text();
        if (title != LocaleServices::formatMonthTitle(e.month)) {
            return QStringLiteral("title '%1', expected %2").arg(title, describe(e.month));
        }
        if (m_form.singleCrew() != e.single || m_form.leftCrew() != e.left ||
            m_form.rightCrew() != e.right) {
            return QStringLiteral("crew codes %1 %2 %3, expected %4 %5 %6")
                .arg(m_form.singleCrew().value())
                .arg(m_form.leftCrew().value())
                .arg(m_form.rightCrew().value())
                .arg(e.single.value())
                .arg(e.left.value())
                .arg(e.right.value());
        }
        if (isAllCrews(e.left) || isAllCrews(e.right)) {
            return QStringLiteral("an all-crews entry on a side");
        }
        const QString switchCaption =
            static_cast<QPushButton*>(control(m_form, QStringLiteral("Command5")))->text();
        if (switchCaption != QLatin1String(e.sideBySide ? "X" : "X | X")) {
            return QStringLiteral("switch reads '%1'").arg(switchCaption);
        }
        if (const QString boxes = crewBoxDifference(); !boxes.isEmpty()) {
            return boxes;
        }
        if (const QString sheet = sheetDifference(m_form.sheet(), e.sheet); !sheet.isEmpty()) {
            return sheet;
        }
        const int choosers = static_cast<int>(openChoosers().size());
        if (choosers != (e.chooserOpen ? 1 : 0)) {
            return QStringLiteral("%1 choosers open").arg(choosers);
        }
        if (openAboutWindows().size() > 1) {
            return QStringLiteral("more than one about window");
        }
        if (m_opened->size() != e.opened) {
            return QStringLiteral("%1 addresses opened, expected %2")
                .arg(m_opened->size())
                .arg(e.opened);
        }
        if (!m_opened->isEmpty() && m_opened->last() != m_site) {
            return QStringLiteral("opened %1").arg(m_opened->last().toString());
        }
        if (m_actions % kPaintCheckEvery == 0) {
            return paintDifference();
        }
        return {};
    }

    QString crewBoxDifference() {
        const Expected& e = m_expected;
        const auto boxIs = [this](const char* name, CrewCode code) -> QString {
            const QString text = label(m_form, QString::fromLatin1(name))->text();
            const bool fits = code.value() == 0
                                  ? text == kChooseCrewAtStart || text == kChooseCrewAfterSwitch
                                  : boxTextsFor(code).contains(text);
            return fits ? QString()
                        : QStringLiteral("%1 reads '%2' for crew %3")
                              .arg(QLatin1String(name), text)
                              .arg(code.value());
        };
        const auto isEmpty = [this](const char* name) -> QString {
            const QString text = label(m_form, QString::fromLatin1(name))->text();
            return text.isEmpty() ? QString()
                                  : QStringLiteral("%1 reads '%2', expected nothing")
                                        .arg(QLatin1String(name), text);
        };
        if (e.sideBySide) {
            for (const QString& difference :
                 {boxIs("Label8", e.left), boxIs("Label9", e.right), isEmpty("Label5")}) {
                if (!difference.isEmpty()) {
                    return difference;
                }
            }
            return {};
        }
        for (const QString& difference :
             {boxIs("Label5", e.single), isEmpty("Label8"), isEmpty("Label9")}) {
            if (!difference.isEmpty()) {
                return difference;
            }
        }
        return {};
    }

    // The painted sheet: today's number in red exactly in today's month, and nowhere else.
    QString paintDifference() {
        const QImage image = m_form.grab().toImage();
        for (int c = 0; c < SheetModel::kCellCount; ++c) {
            const bool today =
                m_expected.sheet.cells[static_cast<std::size_t>(c)].dayNumberColour ==
                Colours::kRed;
            // The frame's upper part holds the day number and the black caption, no shift line.
            const TwipsRect frame = SheetLayout::dayFrame(c);
            const int red = redPixels(
                image, m_form.twips().rect(frame.left, frame.top, frame.width, kNumberArea));
            if (today != (red > 10) || (!today && red > 0)) {
                return QStringLiteral("cell %1 has %2 red pixels").arg(c).arg(red);
            }
        }
        return {};
    }

    Form1& m_form;
    QUrl m_site;
    std::shared_ptr<QList<QUrl>> m_opened;
    std::mt19937 m_rng;
    Expected m_expected;
    QString m_last;
    int m_actions = 0;
    int m_handBacks = 0;
    int m_greyedClicks = 0;
    bool m_reachedFirst = false;
    bool m_reachedLast = false;
    bool m_sawNotice = false;
};

} // namespace

class SoakTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void randomClicksKeepTheSheetRight();
};

void SoakTest::initTestCase() {
    // The loopback server must be reached directly, whatever proxy the machine has.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    // The offscreen platform says so for every chooser that sizes itself; hundreds of those
    // lines would bury a real message.
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.startsWith(QLatin1String("This plugin does not support"))) {
                previous(type, context, message);
            }
        });
}

void SoakTest::randomClicksKeepTheSheetRight() {
    LoopbackServer server;
    server.serve(LoopbackServer::kVersionPage, Answer::titled("2.4.0"));
    Form1Services services;
    services.siteHost = server.host();
    services.defaultPrinter = [] { return QString(); };
    services.pdfFileName = [](QWidget*, const QString&) { return QString(); };
    auto w = openWindow(kToday, services,
                        {.at = QPoint(60, 40), .wait = Wait::Nothing, .ownSiteHost = true});
    std::unique_ptr<Form1>& form = w.form;
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));

    QUrl site = server.host();
    site.setPath(QStringLiteral("/kelsing_schedule/"));
    Soak soak(*form, site, w.opened);
    QElapsedTimer clock;
    clock.start();
    const QString failure = soak.run();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    qInfo("seed %u: %d actions in %lld ms, %d crews chosen, %d greyed entries clicked", seed(),
          soak.actions(), clock.elapsed(), soak.handBacks(), soak.greyedClicks());

    QVERIFY(soak.reachedFirstMonth());
    QVERIFY(soak.reachedLastMonth());
    QVERIFY(soak.sawNotice());
    QVERIFY(soak.handBacks() > 50);
    QVERIFY(soak.greyedClicks() > 10);
    // Every request stayed on the loopback server and asked for the version page.
    QVERIFY(!server.requests().isEmpty());
    for (const QString& path : server.requests()) {
        QCOMPARE(path, QString::fromLatin1(LoopbackServer::kVersionPage));
    }

    // Closing the main window closes the others.
    QVERIFY(form->close());
    QTRY_VERIFY(openChoosers().isEmpty() && openAboutWindows().isEmpty());
}

QTEST_MAIN(SoakTest)
#include "platform/coretext.h"
#include "soak_test.moc"
