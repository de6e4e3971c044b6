// SPDX-License-Identifier: GPL-3.0-or-later
#include "crews/form2.h"
#include "mainwindow/calendarexportdialog.h"
#include "mainwindow/calendarfile.h"
#include "mainwindow/datefield.h"
#include "platform/label.h"
#include "windowtestsupport.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kelsing;
using namespace kelsing::WindowTests;

namespace {

const DaySerial kToday = dateOf(2007, 3, 15);
const QDateTime kNow(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC);
const QString kEntry = QStringLiteral("Export shifts to calendar file...");

// What the export dialog was shown, how the stand-in user settles it (nothing: cancels), what
// the writing of the settled export gave, and what the window told the user.
struct Dialog {
    QList<CalendarExport> proposals;
    QList<double> scales;
    std::function<std::optional<CalendarExport>(CalendarExport)> answer =
        [](CalendarExport proposal) { return proposal; };
    QList<ExportOutcome> outcomes;
    QStringList informed;
};

struct Session {
    std::shared_ptr<Dialog> dialog = std::make_shared<Dialog>();
    Window window;
};

Session openSession(Form1Services services = {}) {
    Session s;
    if (!services.calendarExport) {
        services.calendarExport =
            [dialog = s.dialog](QWidget* parent, const CalendarExport& proposal, const Twips& twips,
                                const CalendarExportWriter& write) {
                dialog->proposals.append(proposal);
                dialog->scales.append(twips.scale());
                const auto settled = dialog->answer(proposal);
                if (!settled) {
                    return settled;
                }
                dialog->outcomes.append(write(parent, *settled));
                return dialog->outcomes.back().kind == ExportOutcome::Kind::Written ? settled
                                                                                    : std::nullopt;
            };
    }
    services.now = [] { return kNow; };
    services.inform = [dialog = s.dialog](QWidget*, const QString& message) {
        dialog->informed.append(message);
    };
    s.window = openWindow(kToday, services);
    return s;
}

// Answers the windows that open while a test step runs, as a user would: a file dialog with
// `file` (or what it offers), a question with `answer`, a progress dialog with its Cancel button
// once it shows.
struct StandInUser {
    QString file;
    QMessageBox::StandardButton answer = QMessageBox::No;
    QString fileDialogFolder; // where the file dialog opened
    bool fileDialogAccepted = false;
    int questions = 0;
    int cancels = 0;
    QTimer timer;

    StandInUser() {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] { act(); });
        timer.start();
    }

    void act() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++questions;
            box->button(answer)->click();
        } else if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            if (fileDialogFolder.isEmpty()) {
                fileDialogFolder = files->directory().absolutePath();
            }
            if (fileDialogAccepted) {
                // Still open after its answer: it asked something more.
                files->reject();
            } else if (!file.isEmpty() && files->selectedFiles().value(0) != file) {
                // Typed into its name box, as a user would, again until it holds: the folder,
                // read in the background, may put back the name the dialog opened with.
                files->setDirectory(QFileInfo(file).absolutePath());
                files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                    ->setText(QFileInfo(file).fileName());
            } else {
                // The file dialog's own accept, with its checks; from the event loop, so that a
                // question it asks is answered too.
                fileDialogAccepted = true;
                QTimer::singleShot(0, files, [files] { static_cast<QDialog*>(files)->accept(); });
            }
        }
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* progress = qobject_cast<QProgressDialog*>(window);
                progress && progress->isVisible()) {
                ++cancels;
                progress->findChild<QPushButton*>()->click();
            }
        }
    }
};

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

void writeFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(contents), contents.size());
}

// The calendar that kelsing-shifts writes for the same crew and span, stamped at kNow.
QByteArray toolCalendar(double code, QDate from, QDate to, bool includeOff) {
    QStringList arguments{QStringLiteral("ics"),      QStringLiteral("--crew"),
                          QString::number(code),      QStringLiteral("--from"),
                          from.toString(Qt::ISODate), QStringLiteral("--to"),
                          to.toString(Qt::ISODate)};
    if (includeOff) {
        arguments << QStringLiteral("--include-off");
    }
    QProcess tool;
    tool.start(QStringLiteral(KELSING_SHIFTS_EXE), arguments);
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0) {
        return "kelsing-shifts failed: " + tool.readAllStandardError();
    }
    static const QRegularExpression stamp(QStringLiteral("DTSTAMP:[0-9TZ]+"));
    return QString::fromUtf8(tool.readAllStandardOutput())
        .replace(stamp, QStringLiteral("DTSTAMP:20240506T070809Z"))
        .toUtf8();
}

ExportOutcome writeCorvath403(QWidget* parent, const CalendarExport& settled) {
    return writeCalendarFile(parent, CrewCode(83.2), settled, "20240506T070809Z");
}

} // namespace

class CalendarExportTest final : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void menuServesTheBoxUnderTheClick_data();
    void menuServesTheBoxUnderTheClick();
    void fileIsTheToolsCalendar_data();
    void fileIsTheToolsCalendar();
    void cancellingWritesNothing();
    void anExistingFileIsReplacedWhole();
    void savesStartInTheDocumentsFolderOrHome_data();
    void savesStartInTheDocumentsFolderOrHome();
    void dialogShowsAndSettlesTheExport();
    void pickerShowsWeeksAsTheSheetDoes();
    void dialogRefusesAReversedSpanOrNoFile_data();
    void dialogRefusesAReversedSpanOrNoFile();
    void typedDatesGiveTheirDay_data();
    void typedDatesGiveTheirDay();
    void exportThroughTheDialog_data();
    void exportThroughTheDialog();
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
    QVERIFY(!menu->actions().isEmpty());
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
    QCOMPARE(s.dialog->proposals.front().calendarName, crew + QStringLiteral(" shifts"));
    QCOMPARE(QFileInfo(s.dialog->proposals.front().fileName).fileName(),
             crew + QStringLiteral(" shifts.ics"));
}

void CalendarExportTest::fileIsTheToolsCalendar_data() {
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<QString>("box");
    QTest::addColumn<double>("code");
    QTest::addColumn<QString>(
        "steps"); // keys pressed before the export: > next month, >> next year
    QTest::addColumn<QDate>("proposedFrom");
    QTest::addColumn<QDate>("proposedTo");
    QTest::addColumn<QDate>("from"); // the span the user settles on; invalid: as proposed
    QTest::addColumn<QDate>("to");
    QTest::addColumn<bool>("includeOff");
    const QDate asProposed;
    QTest::newRow("single crew, a year from the shown month")
        << false << "Label5" << 83.2 << "" << QDate(2007, 3, 1) << QDate(2008, 2, 29) << asProposed
        << asProposed << false;
    QTest::newRow("from December, into the next year")
        << false << "Label5" << 83.2 << "> > > > > > > > >" << QDate(2007, 12, 1)
        << QDate(2008, 11, 30) << asProposed << asProposed << false;
    QTest::newRow("a span of the user's, days off too")
        << false << "Label5" << 83.2 << "" << QDate(2007, 3, 1) << QDate(2008, 2, 29)
        << QDate(2007, 3, 10) << QDate(2007, 3, 20) << true;
    QTest::newRow("one day") << false << "Label5" << 83.2 << ">>" << QDate(2008, 3, 1)
                             << QDate(2009, 2, 28) << QDate(2008, 2, 29) << QDate(2008, 2, 29)
                             << true;
    // The crew box says "All 506-9 Crews"; the calendar is named as the tool names it.
    QTest::newRow("all crews of a group")
        << false << "Label5" << 84.9 << "" << QDate(2007, 3, 1) << QDate(2008, 2, 29)
        << QDate(2007, 3, 1) << QDate(2007, 3, 31) << false;
    QTest::newRow("left crew") << true << "Label8" << 12.0 << ">" << QDate(2007, 4, 1)
                               << QDate(2008, 3, 31) << asProposed << asProposed << false;
    QTest::newRow("right crew, days off too")
        << true << "Label9" << 71.5 << "" << QDate(2007, 3, 1) << QDate(2008, 2, 29) << asProposed
        << asProposed << true;
}

void CalendarExportTest::fileIsTheToolsCalendar() {
    QFETCH(bool, sideBySide);
    QFETCH(QString, box);
    QFETCH(double, code);
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
    QCOMPARE(proposal.from, proposedFrom);
    QCOMPARE(proposal.to, proposedTo);
    QVERIFY(!proposal.includeOff);
    QCOMPARE(s.dialog->scales, QList<double>{1.0});
    const QByteArray expected = toolCalendar(code, from.isValid() ? from : proposedFrom,
                                             to.isValid() ? to : proposedTo, includeOff);
    QCOMPARE(fileContents(path), expected);
    QVERIFY(expected.contains("SUMMARY:"));
    // The proposed file is named after the calendar, and the calendar as the tool names it.
    QVERIFY2(expected.contains("\r\nX-WR-CALNAME:" + proposal.calendarName.toUtf8() + "\r\n"),
             qPrintable(proposal.calendarName));
    QCOMPARE(QFileInfo(proposal.fileName).fileName(), proposal.calendarName + ".ics");
    QCOMPARE(s.dialog->informed.size(), 1);
    QVERIFY2(s.dialog->informed.front().contains(path), qPrintable(s.dialog->informed.front()));
}

void CalendarExportTest::cancellingWritesNothing() {
    Session s = openSession();
    Form1& form = *s.window.form;
    chooseCrews(form, false, 83.2, 0, 0);
    s.dialog->answer = [](const CalendarExport&) { return std::nullopt; };
    form.exportShifts(ChooserTarget::Single);
    QCOMPARE(s.dialog->proposals.size(), 1);
    QVERIFY(s.dialog->outcomes.isEmpty());
    QVERIFY(s.dialog->informed.isEmpty());
    // A box without a crew asks nothing at all.
    form.exportShifts(ChooserTarget::Left);
    QCOMPARE(s.dialog->proposals.size(), 1);
}

void CalendarExportTest::anExistingFileIsReplacedWhole() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("export.ics"));
    writeFile(path, QByteArray(200000, 'x')); // longer than the new export
    Session s = openSession();
    Form1& form = *s.window.form;
    chooseCrews(form, false, 83.2, 0, 0);
    s.dialog->answer = [path](CalendarExport settled) {
        settled.to = settled.from.addDays(6);
        settled.fileName = path;
        return settled;
    };
    form.exportShifts(ChooserTarget::Single);
    QCOMPARE(fileContents(path), toolCalendar(83.2, QDate(2007, 3, 1), QDate(2007, 3, 7), false));
}

void CalendarExportTest::savesStartInTheDocumentsFolderOrHome_data() {
    QTest::addColumn<bool>("documents"); // whether the home folder has a documents folder
    QTest::newRow("documents folder") << true;
    QTest::newRow("no documents folder") << false;
}

void CalendarExportTest::savesStartInTheDocumentsFolderOrHome() {
    QFETCH(bool, documents);
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QByteArray saved[] = {qgetenv("HOME"), qgetenv("XDG_CONFIG_HOME")};
    const auto restore = qScopeGuard([&saved] {
        qputenv("HOME", saved[0]);
        qputenv("XDG_CONFIG_HOME", saved[1]);
    });
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    QVERIFY(!documents || QDir(home.path()).mkdir(QStringLiteral("Documents")));
    const QString expected = documents ? home.filePath(QStringLiteral("Documents")) : home.path();
    Form1Services services;
    services.defaultPrinter = [] { return QString(); };
    Session s = openSession(services);
    Form1& form = *s.window.form;
    chooseCrews(form, false, 83.2, 0, 0);
    StandInUser user;
    form.exportShifts(ChooserTarget::Single);
    QCOMPARE(s.dialog->outcomes.front().kind, ExportOutcome::Kind::Written);
    QVERIFY(QFile::exists(expected + QStringLiteral("/Corvath 403 shifts.ics")));
    // The PDF offered without a printer starts in the same folder.
    form.Image2_Click();
    QCOMPARE(user.fileDialogFolder, expected);
    QVERIFY(QFile::exists(expected + QStringLiteral("/Kelsing schedule March 2007.pdf")));
}

void CalendarExportTest::dialogShowsAndSettlesTheExport() {
    const CalendarExport proposal{QStringLiteral("Corvath 403 shifts"), QDate(2007, 3, 1),
                                  QDate(2008, 2, 29), false,
                                  QStringLiteral("/home/user/Corvath 403 shifts.ics")};
    CalendarExportDialog dialog(proposal, Twips(1.5), &writeCorvath403);
    QCOMPARE(dialog.result(), proposal);
    QVERIFY(dialog.acceptable());
    QCOMPARE(dialog.font().pixelSize(), Twips(1.5).fontPixels(8.25));
    auto* from = dialog.findChild<DateField*>(QStringLiteral("From"));
    auto* to = dialog.findChild<DateField*>(QStringLiteral("To"));
    auto* includeOff = dialog.findChild<QCheckBox*>(QStringLiteral("IncludeOff"));
    auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("File"));
    QVERIFY(from && to && includeOff && file);
    from->setDate(QDate(2007, 6, 1));
    to->setDate(QDate(2007, 6, 30));
    includeOff->setChecked(true);
    file->setText(QStringLiteral("  /tmp/june.ics "));
    const CalendarExport settled{QStringLiteral("Corvath 403 shifts"), QDate(2007, 6, 1),
                                 QDate(2007, 6, 30), true, QStringLiteral("/tmp/june.ics")};
    QCOMPARE(dialog.result(), settled);
    // A bare file name goes where the proposed file would have gone.
    file->setText(QStringLiteral("june.ics"));
    QCOMPARE(dialog.result().fileName, QStringLiteral("/home/user/june.ics"));
    // Calendars know their files by the suffix; a device is written as it is named.
    for (const auto& [typed, named] :
         {std::pair("shifts", "/home/user/shifts.ics"),
          std::pair("shifts.", "/home/user/shifts.ics"),
          std::pair("/tmp/shifts.cal", "/tmp/shifts.cal"), std::pair("/dev/null", "/dev/null")}) {
        file->setText(QString::fromLatin1(typed));
        QCOMPARE(dialog.result().fileName, QString::fromLatin1(named));
    }
    // The calendar rules end with the year 9999 and begin with the year 100.
    to->setDate(QDate(10000, 1, 1));
    QCOMPARE(to->date(), QDate(9999, 12, 31));
    from->setDate(QDate(99, 12, 31));
    QCOMPARE(from->date(), QDate(100, 1, 1));
}

void CalendarExportTest::pickerShowsWeeksAsTheSheetDoes() {
    CalendarExportDialog dialog({QStringLiteral("Corvath 403 shifts"), QDate(2007, 6, 1),
                                 QDate(2007, 6, 30), false, QStringLiteral("/tmp/x.ics")},
                                Twips(), &writeCorvath403);
    auto* calendar =
        dialog.findChild<DateField*>(QStringLiteral("From"))->findChild<QCalendarWidget*>();
    QVERIFY(calendar);
    auto* view = calendar->findChild<QTableView*>();
    QVERIFY(view);
    // The heads row as it is drawn: Sunday first, and the sheet's head colours.
    const QAbstractItemModel* model = view->model();
    const int first = model->columnCount() - 7;
    const QLocale locale;
    const auto head = [&](int k) { return model->index(0, first + k); };
    QCOMPARE(model->data(head(0)).toString(), locale.dayName(7, QLocale::ShortFormat));
    QCOMPARE(model->data(head(6)).toString(), locale.dayName(6, QLocale::ShortFormat));
    QCOMPARE(model->data(head(0), Qt::ForegroundRole).value<QColor>(), QColor(255, 128, 255));
    QCOMPARE(model->data(head(6), Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 255));
    QCOMPARE(model->data(head(3), Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
}

void CalendarExportTest::dialogRefusesAReversedSpanOrNoFile_data() {
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("acceptable");
    QTest::addColumn<QString>("problem"); // what the dialog says beside the days
    const QString file = QStringLiteral("/tmp/x.ics");
    const QString reversed = QStringLiteral("The last day is before the first day.");
    QTest::newRow("one day") << QDate(2007, 3, 1) << QDate(2007, 3, 1) << file << true << "";
    QTest::newRow("reversed by a day")
        << QDate(2007, 3, 2) << QDate(2007, 3, 1) << file << false << reversed;
    QTest::newRow("no file") << QDate(2007, 3, 1) << QDate(2007, 3, 31) << QString() << false << "";
    QTest::newRow("blank file") << QDate(2007, 3, 1) << QDate(2007, 3, 31) << QStringLiteral("  ")
                                << false << "";
    QTest::newRow("the whole calendar")
        << QDate(100, 1, 1) << QDate(9999, 12, 31) << file << true << "";
}

void CalendarExportTest::dialogRefusesAReversedSpanOrNoFile() {
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, file);
    QFETCH(bool, acceptable);
    QFETCH(QString, problem);
    CalendarExportDialog dialog({QStringLiteral("Corvath 403 shifts"), from, to, false, file},
                                Twips(), &writeCorvath403);
    QCOMPARE(dialog.acceptable(), acceptable);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    QCOMPARE(buttons->button(QDialogButtonBox::Ok)->isEnabled(), acceptable);
    QCOMPARE(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("Export"));
    auto* said = dialog.findChild<QLabel*>(QStringLiteral("SpanProblem"));
    QCOMPARE(said->isHidden() ? QString() : said->text(), problem);
}

void CalendarExportTest::typedDatesGiveTheirDay_data() {
    QTest::addColumn<QDate>("shown");
    QTest::addColumn<bool>("dayOnly"); // typed over the day number, or over the whole date
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("day"); // invalid: no day, and the dialog says so
    QTest::newRow("a day and a month")
        << QDate(2027, 11, 30) << false << "15 March 2027" << QDate(2027, 3, 15);
    QTest::newRow("a later day") << QDate(2026, 12, 1) << false << "3 January 2027"
                                 << QDate(2027, 1, 3);
    QTest::newRow("a day the shown month lacks")
        << QDate(2027, 11, 30) << false << "31 December 2026" << QDate(2026, 12, 31);
    QTest::newRow("the day number alone")
        << QDate(2027, 11, 30) << true << "15" << QDate(2027, 11, 15);
    QTest::newRow("a short month name")
        << QDate(2027, 11, 30) << false << "15 Mar 2027" << QDate(2027, 3, 15);
    QTest::newRow("year and month first")
        << QDate(2027, 11, 30) << false << "2027-03-15" << QDate(2027, 3, 15);
    QTest::newRow("the first day, its year short")
        << QDate(2027, 11, 30) << false << "1 January 100" << QDate(100, 1, 1);
    QTest::newRow("no such day") << QDate(2027, 11, 30) << false << "30 February 2027" << QDate();
    QTest::newRow("before the calendar")
        << QDate(2027, 11, 30) << false << "31 December 99" << QDate();
}

void CalendarExportTest::typedDatesGiveTheirDay() {
    QFETCH(QDate, shown);
    QFETCH(bool, dayOnly);
    QFETCH(QString, typed);
    QFETCH(QDate, day);
    CalendarExportDialog dialog(
        {QStringLiteral("Corvath 403 shifts"), shown, QDate(9999, 12, 31), false, "/tmp/x.ics"},
        Twips(), &writeCorvath403);
    QLineEdit* edit = dialog.findChild<DateField*>(QStringLiteral("From"))->lineEdit();
    if (dayOnly) {
        edit->setSelection(0, static_cast<int>(edit->text().indexOf(QLatin1Char(' '))));
    } else {
        edit->selectAll();
    }
    QTest::keyClicks(edit, typed);
    QCOMPARE(dialog.result().from, day);
    QCOMPARE(dialog.acceptable(), day.isValid());
    auto* said = dialog.findChild<QLabel*>(QStringLiteral("SpanProblem"));
    QCOMPARE(said->isHidden(), day.isValid());
}

void CalendarExportTest::exportThroughTheDialog_data() {
    QTest::addColumn<QString>("file");       // %1: a fresh folder
    QTest::addColumn<QByteArray>("before");  // what the file held; empty: there was none
    QTest::addColumn<bool>("browsed");       // the name chosen with Browse..., or typed
    QTest::addColumn<bool>("wholeCalendar"); // long enough to show its progress, then cancelled
    QTest::addColumn<bool>("replace");       // the answer to the question, if one is asked
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("said"); // what the dialog says when it stays open
    const QString mine = QStringLiteral("%1/mine.ics");
    const QByteArray old = "old calendar";
    QTest::newRow("typed, kept") << mine << old << false << false << false << 1 << false << "";
    QTest::newRow("typed, replaced") << mine << old << false << false << true << 1 << true << "";
    QTest::newRow("browsed, kept") << mine << old << true << false << false << 1 << false << "";
    QTest::newRow("browsed, replaced") << mine << old << true << false << true << 1 << true << "";
    QTest::newRow("a new file") << mine << QByteArray() << false << false << true << 0 << true
                                << "";
    QTest::newRow("missing folder") << "%1/no such folder/x.ics" << QByteArray() << false << false
                                    << true << 0 << false << "No such file or directory";
    QTest::newRow("a folder") << "%1" << QByteArray() << false << false << true << 0 << false
                              << "directory";
    QTest::newRow("full device") << "/dev/full" << QByteArray() << false << false << true << 0
                                 << false << "No space left on device";
    QTest::newRow("cancelled, new file")
        << mine << QByteArray() << false << true << true << 0 << false << "no file was written";
    QTest::newRow("cancelled, replacing")
        << mine << old << false << true << true << 1 << false << "mine.ics is unchanged";
}

void CalendarExportTest::exportThroughTheDialog() {
    QFETCH(QString, file);
    QFETCH(QByteArray, before);
    QFETCH(bool, browsed);
    QFETCH(bool, wholeCalendar);
    QFETCH(bool, replace);
    QFETCH(int, questions);
    QFETCH(bool, written);
    QFETCH(QString, said);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    StandInUser user;
    user.file = QString(file).replace(QStringLiteral("%1"), folder.path());
    user.answer = replace ? QMessageBox::Yes : QMessageBox::No;
    if (!before.isEmpty()) {
        writeFile(user.file, before);
    }
    const CalendarExport proposal{QStringLiteral("Corvath 403 shifts"),
                                  wholeCalendar ? QDate(100, 1, 1) : QDate(2007, 3, 1),
                                  wholeCalendar ? QDate(9999, 12, 31) : QDate(2007, 3, 31), true,
                                  folder.filePath(QStringLiteral("other.ics"))};
    CalendarExportDialog dialog(proposal, Twips(), &writeCorvath403);
    dialog.show();
    if (browsed) {
        dialog.findChild<QPushButton*>(QStringLiteral("Browse"))->click();
    } else {
        dialog.findChild<QLineEdit*>(QStringLiteral("File"))->setText(user.file);
    }
    const CalendarExport input = dialog.result();
    QCOMPARE(input.fileName, user.file);
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();

    QCOMPARE(user.questions, questions);
    QCOMPARE(user.cancels, wholeCalendar ? 1 : 0);
    QCOMPARE(dialog.written().has_value(), written);
    QCOMPARE(dialog.isVisible(), !written);
    QCOMPARE(dialog.result(), input);
    const QString status = dialog.findChild<QLabel*>(QStringLiteral("Status"))->text();
    QVERIFY2(status.contains(said), qPrintable(status));
    if (user.file.startsWith(folder.path())) {
        const QByteArray after = fileContents(user.file);
        QVERIFY(written ? after.startsWith("BEGIN:VCALENDAR") : after == before);
        // No part of a failed or cancelled file is left beside it.
        const QStringList left =
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QCOMPARE(left, after.isEmpty() ? QStringList() : QStringList{QStringLiteral("mine.ics")});
    }
}

QTEST_MAIN(CalendarExportTest)
#include "calendarexport_test.moc"
