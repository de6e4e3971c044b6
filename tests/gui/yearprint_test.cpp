// SPDX-License-Identifier: GPL-3.0-or-later
// The printed year and the window's mark of the days two crews are off together.

#include "mainwindow/form1.h"
#include "owndays/owndaystore.h"
#include "pdfreading.h"
#include "rotation/rotationengine.h"
#include "testsupport.h"
#include "windowtestsupport.h"

#include <memory>

#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace kelsing;
using namespace kelsing::PdfReading;

namespace {

const DaySerial kToday = test::dateOf(2007, 3, 15);

struct Printed {
    WindowTests::Window window;
    std::shared_ptr<QStringList> names = std::make_shared<QStringList>();
    std::shared_ptr<QStringList> warnings = std::make_shared<QStringList>();
};

// A window without a printer whose PDF offer saves to `path`, keeping own days in `ownDays`
// when one is named.
Printed openWindow(const QString& path, const std::filesystem::path& ownDays = {}) {
    Printed p;
    Form1Services services;
    services.ownDaysFile = ownDays;
    services.defaultPrinter = [] { return QString(); };
    services.pdfFileName = [names = p.names, path](QWidget*, const QString& suggested) {
        names->append(suggested);
        return path;
    };
    services.warn = [warnings = p.warnings](QWidget*, const QString& message) {
        warnings->append(message);
    };
    p.window = WindowTests::openWindow(kToday, services, {.wait = WindowTests::Wait::Exposed});
    return p;
}

void showSideBySide(Form1& form, double left, const QString& leftBox, double right,
                    const QString& rightBox) {
    WindowTests::click(form, QStringLiteral("Command5"));
    if (left != 0) {
        form.setCrew(ChooserTarget::Left, CrewCode(left), leftBox);
        form.fillFor(ChooserTarget::Left);
    }
    if (right != 0) {
        form.setCrew(ChooserTarget::Right, CrewCode(right), rightBox);
        form.fillFor(ChooserTarget::Right);
    }
}

QAction* entry(Form1& form, ChooserTarget target, const QString& name,
               std::unique_ptr<QMenu>& menu) {
    menu.reset(form.crewBoxMenu(target));
    return menu->findChild<QAction*>(name);
}

QString toolOutput(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(KELSING_SHIFTS_EXE), arguments);
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0) {
        qFatal("kelsing-shifts %s failed", qPrintable(arguments.join(QLatin1Char(' '))));
    }
    return QString::fromUtf8(tool.readAllStandardOutput());
}

bool off(double crew, DaySerial date) {
    const CrewCode code(crew);
    return labelText(ASS(static_cast<float>(date), code.decode().code, code.decode().subCode)) ==
           "Off";
}

// Each word of a PDF with its box in points (pdftotext -bbox).
struct Word {
    QString text;
    QRectF box;
};

QList<Word> wordsOf(const QString& path) {
    const QString html = QString::fromUtf8(
        poppler(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")}));
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<Word> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        const QPointF from(match.captured(1).toDouble(), match.captured(2).toDouble());
        const QPointF to(match.captured(3).toDouble(), match.captured(4).toDouble());
        words.append({match.captured(5), QRectF(from, to)});
    }
    return words;
}

} // namespace

class YearPrintTest final : public QObject {
    Q_OBJECT

private slots:
    void theYearOnOneLandscapePage_data();
    void theYearOnOneLandscapePage();
    void labelsReadInBlackAndWhite();
    void aSideWithoutACrewIsBlankAndSaid();
    void theMenuOffersWhatTheViewHas();
    void markingHidesNoTextAndMarksOnlyBothOff();
    void ownDaysAsOnTheSheet_data();
    void ownDaysAsOnTheSheet();
};

void YearPrintTest::theYearOnOneLandscapePage_data() {
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("title");
    QTest::newRow("one crew, 2007") << false << 2007 << QStringLiteral("Corvath 403 \u2013 2007");
    QTest::newRow("two crews, leap year 2008")
        << true << 2008 << QStringLiteral("Halvex P-6 | Halvex BB \u2013 2008");
}

void YearPrintTest::theYearOnOneLandscapePage() {
    QFETCH(bool, sideBySide);
    QFETCH(int, year);
    QFETCH(QString, title);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("year.pdf"));
    Printed p = openWindow(path);
    Form1& form = *p.window.form;
    if (sideBySide) {
        showSideBySide(form, 74, QStringLiteral("Halvex\nP-6"), 70.1, QStringLiteral("Halvex\nBB"));
    } else {
        form.setCrew(ChooserTarget::Single, CrewCode(83.2), QStringLiteral("Corvath\n403"));
        form.fillFor(ChooserTarget::Single);
    }
    WindowTests::click(form, QStringLiteral("Command4")); // 2008
    if (year == 2007) {
        WindowTests::click(form, QStringLiteral("Command1"));
    }
    const SheetModel before = form.sheet();
    form.printYear(sideBySide ? ChooserTarget::Right : ChooserTarget::Single);

    QCOMPARE(*p.warnings, QStringList());
    QCOMPARE(*p.names, QStringList{QStringLiteral("Kelsing schedule %1.pdf").arg(year)});
    QCOMPARE(form.sheet(), before);
    const QString info = QString::fromUtf8(poppler(QStringLiteral("pdfinfo"), {path}));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
    // A4 across (C.UTF-8 is not a US locale): 842 x 595 points.
    QVERIFY2(
        info.contains(QRegularExpression(QStringLiteral("Page size:\\s+842 x 595 pts \\(A4\\)"))),
        qPrintable(info));
    QCOMPARE(imageSizes(path), QList<QSize>());

    const QStringList words = readPdf(path).words;
    const QString text = words.join(QLatin1Char(' '));
    QVERIFY2(text.startsWith(title), qPrintable(text.left(80)));
    for (int month = 1; month <= 12; ++month) {
        const QString name = QLocale::c().standaloneMonthName(month);
        QVERIFY2(words.contains(name), qPrintable(name));
    }
    // Every day's number: n stands at least once for each month that has a day n.
    for (int day = 1; day <= 31; ++day) {
        int months = 0;
        for (int month = 1; month <= 12; ++month) {
            months += day <= test::monthLength(year, month) ? 1 : 0;
        }
        QVERIFY2(words.count(QString::number(day)) >= months, qPrintable(QString::number(day)));
    }
    const QStringList holidays = toolOutput({QStringLiteral("holidays"), QString::number(year)})
                                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(holidays.size(), 14);
    for (const QString& line : holidays) {
        const QDate date = QDate::fromString(line.section(QLatin1Char('\t'), 0, 0), Qt::ISODate);
        const QString listed =
            QString::number(date.day()) + QLatin1Char(' ') + line.section(QLatin1Char('\t'), 1);
        QVERIFY2(text.contains(listed), qPrintable(listed));
    }
}

void YearPrintTest::labelsReadInBlackAndWhite() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("year.pdf"));
    Printed p = openWindow(path);
    // Six short labels of the side-by-side table, days off together among them.
    showSideBySide(*p.window.form, 74, QStringLiteral("Halvex\nP-6"), 70.1,
                   QStringLiteral("Halvex\nBB"));
    p.window.form->printYear(ChooserTarget::Left);

    const QImage grey = QImage::fromData(poppler(QStringLiteral("pdftoppm"),
                                                 {QStringLiteral("-r"), QStringLiteral("200"),
                                                  QStringLiteral("-gray"), QStringLiteral("-png"),
                                                  QStringLiteral("-singlefile"), path}))
                            .convertToFormat(QImage::Format_Grayscale8);
    QVERIFY(!grey.isNull());
    const double scale = 200.0 / 72.0;
    QMap<QString, int> seen;
    for (const Word& word : wordsOf(path)) {
        if (!QStringList{"Days", "Nights", "Off", "D(8)", "D(12)", "Aftnn"}.contains(word.text)) {
            continue;
        }
        // Dark ink on a light ground inside the word's box, shaded days included.
        const QRect box = QRectF(word.box.topLeft() * scale, word.box.bottomRight() * scale)
                              .toAlignedRect()
                              .intersected(grey.rect());
        int darkest = 255;
        int lightest = 0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                const int level = qGray(grey.pixel(x, y));
                darkest = std::min(darkest, level);
                lightest = std::max(lightest, level);
            }
        }
        QVERIFY2(
            darkest < 130 && lightest > 190,
            qPrintable(QStringLiteral("%1: %2..%3").arg(word.text).arg(darkest).arg(lightest)));
        ++seen[word.text];
    }
    QCOMPARE(seen.size(), 6);
}

void YearPrintTest::aSideWithoutACrewIsBlankAndSaid() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("year.pdf"));
    Printed p = openWindow(path);
    showSideBySide(*p.window.form, 0, QString(), 83.2, QStringLiteral("Corvath\n403"));
    p.window.form->printYear(ChooserTarget::Left);
    const QStringList words = readPdf(path).words;
    const QString text = words.join(QLatin1Char(' '));
    QVERIFY2(text.startsWith(QStringLiteral("no crew on the left | Corvath 403 \u2013 2007")),
             qPrintable(text.left(80)));
    // One shift a day, the right crew's: as many labels as days in the year.
    int labels = 0;
    for (const QString& word : words) {
        labels += QStringList{"Days", "Nights", "Off"}.contains(word) ? 1 : 0;
    }
    QCOMPARE(labels, 365 + 3); // and the legend's three
    QVERIFY(!text.contains(QStringLiteral("both crews off")));
}

void YearPrintTest::theMenuOffersWhatTheViewHas() {
    Printed p = openWindow(QString());
    Form1& form = *p.window.form;
    std::unique_ptr<QMenu> menu;
    QVERIFY(!entry(form, ChooserTarget::Single, QStringLiteral("PrintYear"), menu)->isEnabled());
    QCOMPARE(entry(form, ChooserTarget::Single, QStringLiteral("MarkDaysOffTogether"), menu),
             nullptr);
    QCOMPARE(entry(form, ChooserTarget::Single, QStringLiteral("PrintYear"), menu)->text(),
             QStringLiteral("Print year..."));
    showSideBySide(form, 0, QString(), 12, QStringLiteral("Brenmoor\nC Crew"));
    for (const ChooserTarget target : {ChooserTarget::Left, ChooserTarget::Right}) {
        QVERIFY(entry(form, target, QStringLiteral("PrintYear"), menu)->isEnabled());
        QAction* mark = entry(form, target, QStringLiteral("MarkDaysOffTogether"), menu);
        QCOMPARE(mark->text(), QStringLiteral("Mark days off together"));
        QVERIFY(mark->isCheckable());
        QVERIFY(!mark->isChecked());
    }
}

void YearPrintTest::markingHidesNoTextAndMarksOnlyBothOff() {
    Printed p = openWindow(QString());
    Form1& form = *p.window.form;
    showSideBySide(form, 74, QStringLiteral("Halvex\nP-6"), 70.1, QStringLiteral("Halvex\nBB"));
    const SheetModel unmarked = form.sheet();
    QCOMPARE(unmarked, monthSheet({3, 2007}, {true, {}, CrewCode(74), CrewCode(70.1)}, kToday));
    const QImage before = form.grab().toImage().convertToFormat(QImage::Format_RGB32);

    std::unique_ptr<QMenu> menu;
    entry(form, ChooserTarget::Right, QStringLiteral("MarkDaysOffTogether"), menu)->trigger();
    QVERIFY(form.marksDaysOffTogether());
    QVERIFY(
        entry(form, ChooserTarget::Left, QStringLiteral("MarkDaysOffTogether"), menu)->isChecked());
    const QImage after = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int marked = 0;
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        const DayCell& cell = form.sheet().cells[static_cast<std::size_t>(c)];
        DayCell plain = cell;
        plain.offTogether = false;
        QCOMPARE(plain, unmarked.cells[static_cast<std::size_t>(c)]);
        if (cell.dayNumber.empty()) {
            QVERIFY(!cell.offTogether);
            continue;
        }
        const DaySerial date = test::dateOf(2007, 3, std::stoul(cell.dayNumber));
        QCOMPARE(cell.offTogether, off(74, date) && off(70.1, date));
        marked += cell.offTogether ? 1 : 0;
    }
    QVERIFY(marked >= 3);
    // Every dark pixel of the texts and lines is as dark with the mark.
    int changed = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            const QRgb was = before.pixel(x, y);
            const QRgb is = after.pixel(x, y);
            if (qGray(was) < 100) {
                QVERIFY2(qGray(is) < 110, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
            changed += was != is ? 1 : 0;
        }
    }
    QVERIFY(changed > 0);

    // Turned off, the view is exactly as before; the single view is never marked.
    entry(form, ChooserTarget::Left, QStringLiteral("MarkDaysOffTogether"), menu)->trigger();
    QCOMPARE(form.sheet(), unmarked);
    QCOMPARE(form.grab().toImage().convertToFormat(QImage::Format_RGB32), before);
    form.setMarkDaysOffTogether(true);
    WindowTests::click(form, QStringLiteral("Command5"));
    for (const DayCell& cell : form.sheet().cells) {
        QVERIFY(!cell.offTogether);
    }
}

void YearPrintTest::ownDaysAsOnTheSheet_data() {
    QTest::addColumn<QString>("kind"); // empty: a store without entries
    QTest::addColumn<QString>("shift");
    QTest::addColumn<QString>("word"); // what the day shows of the entry
    QTest::newRow("no entries") << QString() << QString() << QString();
    QTest::newRow("leave") << QStringLiteral("leave") << QString() << QStringLiteral("Leave");
    QTest::newRow("sick") << QStringLiteral("sick") << QString() << QStringLiteral("Sick");
    QTest::newRow("swap") << QStringLiteral("swap") << QStringLiteral("Training")
                          << QStringLiteral("Training");
    QTest::newRow("extra") << QStringLiteral("extra") << QStringLiteral("Nights")
                           << QStringLiteral("+Nights");
    QTest::newRow("note") << QStringLiteral("note") << QString() << QStringLiteral("Note");
}

// The single crew's year shows an entry's word on its day and keeps every rotation label; no
// entries give the page of a window that keeps none, and two crews side by side show none.
void YearPrintTest::ownDaysAsOnTheSheet() {
    QFETCH(QString, kind);
    QFETCH(QString, shift);
    QFETCH(QString, word);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const std::filesystem::path store =
        std::filesystem::path(folder.path().toStdString()) / "kelsing-schedule" / "days.sqlite";
    if (!kind.isEmpty()) {
        OwnDayStore::openForWriting(store).set({test::dateOf(2007, 3, 20),
                                                *parseKind(kind.toStdString()), shift.toStdString(),
                                                kind == QStringLiteral("note") ? "dentist" : ""});
    }
    const auto printed = [&folder](const std::filesystem::path& ownDays, bool sideBySide) {
        const QString path = folder.filePath(QStringLiteral("year.pdf"));
        QFile::remove(path);
        Printed p = openWindow(path, ownDays);
        Form1& form = *p.window.form;
        if (sideBySide) {
            showSideBySide(form, 83.2, QStringLiteral("Corvath\n403"), 74,
                           QStringLiteral("Halvex\nP-6"));
        } else {
            form.setCrew(ChooserTarget::Single, CrewCode(83.2), QStringLiteral("Corvath\n403"));
            form.fillFor(ChooserTarget::Single);
        }
        form.printYear(sideBySide ? ChooserTarget::Left : ChooserTarget::Single);
        return readPdf(path).words;
    };
    const QStringList without = printed({}, false);
    const QStringList with = printed(store, false);
    if (kind.isEmpty()) {
        QCOMPARE(with, without);
        return;
    }
    QCOMPARE(with.count(word), without.count(word) + 1);
    for (const char* label : {"Days", "Nights", "Off"}) {
        QCOMPARE(with.count(QLatin1String(label)), without.count(QLatin1String(label)));
    }
    QCOMPARE(printed(store, true), printed({}, true));
}

QTEST_MAIN(YearPrintTest)
#include "yearprint_test.moc"
