#include "crews/form2.h"
#include "export/icalendar.h"
#include "mainwindow/calendarexportdialog.h"
#include "platform/label.h"
#include "platform/localeservices.h"
#include "windowtestsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace kelsing;
using namespace kelsing::WindowTests;

namespace {

const DaySerial kToday = dayOf(2007, 3, 15);
const QDateTime kNow(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC);
const QString kEntry = QStringLiteral("Export shifts to calendar file...");

// What the export dialog was shown, and how the stand-in user answers it.
struct Dialog {
    QList<CalendarExport> proposals;
    QList<double> scales;
    std::function<std::optional<CalendarExport>(CalendarExport)> answer =
        [](CalendarExport proposal) { return proposal; };
};

struct Session {
    std::shared_ptr<Dialog> dialog = std::make_shared<Dialog>();
    std::shared_ptr<QStringList> warnings = std::make_shared<QStringList>();
    Window window;
};

Session openSession(QSize size = {}) {
    Session s;
    Form1Services services;
    services.calendarExport = [dialog = s.dialog](QWidget*, const CalendarExport& proposal,
                                                  const Twips& twips) {
        dialog->proposals.append(proposal);
        dialog->scales.append(twips.scale());
        return dialog->answer(proposal);
    };
    services.now = [] { return kNow; };
    services.warn = [warnings = s.warnings](QWidget*, const QString& message) {
        warnings->append(message);
    };
    s.window = openWindow(kToday, services, {.size = size});
    return s;
}

// Gives a window its crews, as the chooser would: the single crew, or the two sides.
void chooseCrews(Form1& form, bool sideBySide, double single, double left, double right) {
    form.setCrew(ChooserTarget::Single, CrewCode(single),
                 single > 0 ? QStringLiteral("Corvath\n403")
                            : form.crewBoxText(ChooserTarget::Single));
    form.fillFor(ChooserTarget::Single);
    if (sideBySide) {
        clickControl(form, QStringLiteral("Command5"));
        if (left > 0) {
            form.setCrew(ChooserTarget::Left, CrewCode(left), QStringLiteral("Brenmoor\nC Crew"));
            form.fillFor(ChooserTarget::Left);
        }
        if (right > 0) {
            form.setCrew(ChooserTarget::Right, CrewCode(right), QStringLiteral("Halvex\nE-A"));
            form.fillFor(ChooserTarget::Right);
        }
    }
}

// Right-clicks a control of the main window where it shows; the menu that opens, if any.
QMenu* rightClick(Form1& form, const QString& name) {
    clickControl(form, name, Qt::RightButton);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QByteArray fileContents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray coreCalendar(double code, const char* name, QDate from, QDate to, bool includeOff) {
    ShiftCalendarOptions options;
    options.includeOff = includeOff;
    options.stamp = "20240506T070809Z";
    return QByteArray::fromStdString(shiftCalendar(CrewCode(code), name,
                                                   LocaleServices::toDaySerial(from),
                                                   LocaleServices::toDaySerial(to), options));
}

} // namespace

class CalendarExportTest final : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void menuServesTheBoxUnderTheClick_data();
    void menuServesTheBoxUnderTheClick();
    void fileHoldsTheCoreCalendar_data();
    void fileHoldsTheCoreCalendar();
    void cancellingWritesNothing();
    void anUnwritableFileIsReported();
    void anExistingFileIsReplacedWhole();
    void dialogShowsAndSettlesTheExport();
    void dialogRefusesAReversedSpanOrNoFile_data();
    void dialogRefusesAReversedSpanOrNoFile();
};

void CalendarExportTest::cleanup() {
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
    for (Form2* chooser : openChoosers()) {
        delete chooser;
    }
}

void CalendarExportTest::menuServesTheBoxUnderTheClick_data() {
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<double>("single");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("crew"); // empty: the entry is greyed out
    const QString corvath = QStringLiteral("Corvath 403");
    const QString brenmoor = QStringLiteral("Brenmoor C Crew");
    const QString halvex = QStringLiteral("Halvex E-A");
    QTest::newRow("single box, no crew") << false << 0.0 << 0.0 << 0.0 << "Label5"
                                         << "";
    QTest::newRow("single box") << false << 83.2 << 0.0 << 0.0 << "Label5" << corvath;
    // In the single view the single box lies in front of the two side boxes.
    QTest::newRow("left area, single view") << false << 83.2 << 12.0 << 0.0 << "Label8" << corvath;
    QTest::newRow("right area, single view, no crew") << false << 0.0 << 0.0 << 71.5 << "Label9"
                                                      << "";
    QTest::newRow("left box") << true << 83.2 << 12.0 << 71.5 << "Label8" << brenmoor;
    QTest::newRow("right box") << true << 83.2 << 12.0 << 71.5 << "Label9" << halvex;
    QTest::newRow("right box without a crew") << true << 83.2 << 12.0 << 0.0 << "Label9"
                                              << "";
    QTest::newRow("left box without a crew") << true << 0.0 << 0.0 << 71.5 << "Label8"
                                             << "";
}

void CalendarExportTest::menuServesTheBoxUnderTheClick() {
    QFETCH(bool, sideBySide);
    QFETCH(double, single);
    QFETCH(double, left);
    QFETCH(double, right);
    QFETCH(QString, box);
    QFETCH(QString, crew);
    Session s = openSession();
    Form1& form = *s.window.form;
    chooseCrews(form, sideBySide, single, left, right);
    const SheetModel before = form.sheet();

    QMenu* menu = rightClick(form, box);
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 1);
    QAction* entry = menu->actions().front();
    QCOMPARE(entry->text(), kEntry);
    QCOMPARE(entry->isEnabled(), !crew.isEmpty());
    // A right click opens no chooser and changes nothing.
    QVERIFY(openChoosers().isEmpty());
    QCOMPARE(form.sheet(), before);
    if (crew.isEmpty()) {
        return;
    }
    s.dialog->answer = [](const CalendarExport&) { return std::nullopt; };
    entry->trigger();
    QCOMPARE(s.dialog->proposals.size(), 1);
    QCOMPARE(s.dialog->proposals.front().crewName, crew);
    QCOMPARE(QFileInfo(s.dialog->proposals.front().fileName).fileName(),
             crew + QStringLiteral(" shifts.ics"));
}

void CalendarExportTest::fileHoldsTheCoreCalendar_data() {
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<QString>("box");
    QTest::addColumn<double>("code");
    QTest::addColumn<QString>("crewName");
    QTest::addColumn<QString>(
        "steps"); // keys pressed before the export: > next month, >> next year
    QTest::addColumn<QDate>("proposedFrom");
    QTest::addColumn<QDate>("proposedTo");
    QTest::addColumn<QDate>("from"); // the span the user settles on; invalid: as proposed
    QTest::addColumn<QDate>("to");
    QTest::addColumn<bool>("includeOff");
    const QDate asProposed;
    QTest::newRow("single crew, a year from the shown month")
        << false << "Label5" << 83.2 << "Corvath 403"
        << "" << QDate(2007, 3, 1) << QDate(2008, 2, 29) << asProposed << asProposed << false;
    QTest::newRow("from December, into the next year")
        << false << "Label5" << 83.2 << "Corvath 403"
        << "> > > > > > > > >" << QDate(2007, 12, 1) << QDate(2008, 11, 30) << asProposed
        << asProposed << false;
    QTest::newRow("a span of the user's, days off too")
        << false << "Label5" << 83.2 << "Corvath 403"
        << "" << QDate(2007, 3, 1) << QDate(2008, 2, 29) << QDate(2007, 3, 10) << QDate(2007, 3, 20)
        << true;
    QTest::newRow("one day") << false << "Label5" << 83.2 << "Corvath 403"
                             << ">>" << QDate(2008, 3, 1) << QDate(2009, 2, 28)
                             << QDate(2008, 2, 29) << QDate(2008, 2, 29) << true;
    QTest::newRow("left crew") << true << "Label8" << 12.0 << "Brenmoor C Crew"
                               << ">" << QDate(2007, 4, 1) << QDate(2008, 3, 31) << asProposed
                               << asProposed << false;
    QTest::newRow("right crew, days off too")
        << true << "Label9" << 71.5 << "Halvex E-A"
        << "" << QDate(2007, 3, 1) << QDate(2008, 2, 29) << asProposed << asProposed << true;
}

void CalendarExportTest::fileHoldsTheCoreCalendar() {
    QFETCH(bool, sideBySide);
    QFETCH(QString, box);
    QFETCH(double, code);
    QFETCH(QString, crewName);
    QFETCH(QString, steps);
    QFETCH(QDate, proposedFrom);
    QFETCH(QDate, proposedTo);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(bool, includeOff);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("export.ics"));
    Session s = openSession();
    Form1& form = *s.window.form;
    chooseCrews(form, sideBySide, sideBySide ? 0 : code, code, code);
    for (const QString& step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QTest::keyClick(&form, Qt::Key_PageDown,
                        step == QLatin1String(">>") ? Qt::ControlModifier : Qt::NoModifier);
    }
    s.dialog->answer = [=](CalendarExport settled) {
        settled.from = from.isValid() ? from : settled.from;
        settled.to = to.isValid() ? to : settled.to;
        settled.includeOff = includeOff;
        settled.fileName = path;
        return settled;
    };
    QMenu* menu = rightClick(form, box);
    QVERIFY(menu);
    menu->actions().front()->trigger();

    QCOMPARE(s.dialog->proposals.size(), 1);
    const CalendarExport& proposal = s.dialog->proposals.front();
    QCOMPARE(proposal.crewName, crewName);
    QCOMPARE(proposal.from, proposedFrom);
    QCOMPARE(proposal.to, proposedTo);
    QVERIFY(!proposal.includeOff);
    QCOMPARE(s.dialog->scales, QList<double>{1.0});
    QVERIFY(s.warnings->isEmpty());
    const QByteArray expected =
        coreCalendar(code, qPrintable(crewName), from.isValid() ? from : proposedFrom,
                     to.isValid() ? to : proposedTo, includeOff);
    QCOMPARE(fileContents(path), expected);
    QVERIFY(expected.contains("SUMMARY:"));
}

void CalendarExportTest::cancellingWritesNothing() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    Session s = openSession();
    Form1& form = *s.window.form;
    chooseCrews(form, false, 83.2, 0, 0);
    s.dialog->answer = [](const CalendarExport&) { return std::nullopt; };
    form.exportShifts(ChooserTarget::Single);
    QCOMPARE(s.dialog->proposals.size(), 1);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
    QVERIFY(s.warnings->isEmpty());
    // A box without a crew asks nothing at all.
    form.exportShifts(ChooserTarget::Left);
    QCOMPARE(s.dialog->proposals.size(), 1);
}

void CalendarExportTest::anUnwritableFileIsReported() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("no such folder/export.ics"));
    Session s = openSession();
    Form1& form = *s.window.form;
    chooseCrews(form, false, 83.2, 0, 0);
    s.dialog->answer = [path](CalendarExport settled) {
        settled.fileName = path;
        return settled;
    };
    form.exportShifts(ChooserTarget::Single);
    QCOMPARE(s.warnings->size(), 1);
    QVERIFY2(s.warnings->front().contains(QDir::toNativeSeparators(path)),
             qPrintable(s.warnings->front()));
    QVERIFY(!QFile::exists(path));
    QVERIFY(form.isVisible());
}

void CalendarExportTest::anExistingFileIsReplacedWhole() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("export.ics"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(200000, 'x')); // longer than the new export
    }
    Session s = openSession();
    Form1& form = *s.window.form;
    chooseCrews(form, false, 83.2, 0, 0);
    s.dialog->answer = [path](CalendarExport settled) {
        settled.to = settled.from.addDays(6);
        settled.fileName = path;
        return settled;
    };
    form.exportShifts(ChooserTarget::Single);
    QCOMPARE(fileContents(path),
             coreCalendar(83.2, "Corvath 403", QDate(2007, 3, 1), QDate(2007, 3, 7), false));
}

void CalendarExportTest::dialogShowsAndSettlesTheExport() {
    const CalendarExport proposal{QStringLiteral("Corvath 403"), QDate(2007, 3, 1),
                                  QDate(2008, 2, 29), false,
                                  QStringLiteral("/home/user/Corvath 403 shifts.ics")};
    CalendarExportDialog dialog(proposal, Twips(1.5));
    QCOMPARE(dialog.result(), proposal);
    QVERIFY(dialog.acceptable());
    QCOMPARE(dialog.font().pixelSize(), Twips(1.5).fontPixels(8.25));
    auto* from = dialog.findChild<QDateEdit*>(QStringLiteral("From"));
    auto* to = dialog.findChild<QDateEdit*>(QStringLiteral("To"));
    auto* includeOff = dialog.findChild<QCheckBox*>(QStringLiteral("IncludeOff"));
    auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("File"));
    QVERIFY(from && to && includeOff && file);
    from->setDate(QDate(2007, 6, 1));
    to->setDate(QDate(2007, 6, 30));
    includeOff->setChecked(true);
    file->setText(QStringLiteral("  /tmp/june.ics "));
    const CalendarExport settled{QStringLiteral("Corvath 403"), QDate(2007, 6, 1),
                                 QDate(2007, 6, 30), true, QStringLiteral("/tmp/june.ics")};
    QCOMPARE(dialog.result(), settled);
    // The calendar rules end with the year 9999 and begin with the year 100.
    to->setDate(QDate(10000, 1, 1));
    QCOMPARE(to->date(), QDate(9999, 12, 31));
    from->setDate(QDate(99, 12, 31));
    QCOMPARE(from->date(), QDate(100, 1, 1));
    QCOMPARE(to->maximumDate(), QDate(9999, 12, 31));
    QCOMPARE(from->minimumDate(), QDate(100, 1, 1));
}

void CalendarExportTest::dialogRefusesAReversedSpanOrNoFile_data() {
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("acceptable");
    const QString file = QStringLiteral("/tmp/x.ics");
    QTest::newRow("one day") << QDate(2007, 3, 1) << QDate(2007, 3, 1) << file << true;
    QTest::newRow("reversed by a day") << QDate(2007, 3, 2) << QDate(2007, 3, 1) << file << false;
    QTest::newRow("no file") << QDate(2007, 3, 1) << QDate(2007, 3, 31) << QString() << false;
    QTest::newRow("blank file") << QDate(2007, 3, 1) << QDate(2007, 3, 31) << QStringLiteral("  ")
                                << false;
    QTest::newRow("the whole calendar") << QDate(100, 1, 1) << QDate(9999, 12, 31) << file << true;
}

void CalendarExportTest::dialogRefusesAReversedSpanOrNoFile() {
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, file);
    QFETCH(bool, acceptable);
    CalendarExportDialog dialog({QStringLiteral("Corvath 403"), from, to, false, file}, Twips());
    QCOMPARE(dialog.acceptable(), acceptable);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    QCOMPARE(buttons->button(QDialogButtonBox::Ok)->isEnabled(), acceptable);
    QCOMPARE(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("Export"));
}

QTEST_MAIN(CalendarExportTest)
#include "calendarexport_test.moc"
