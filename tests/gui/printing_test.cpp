// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/dayserial.h"
#include "mainwindow/form1.h"
#include "pdfreading.h"
#include "platform/label.h"
#include "windowtestsupport.h"

#include <algorithm>
#include <memory>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace kelsing;
using namespace kelsing::PdfReading;

namespace {

const char* const kLeftOffThePage[] = {"Image1",   "Image2",   "Command1", "Command2",
                                       "Command3", "Command4", "Command5"};

// What the printing saw of the window when it asked for a file name, and what it told the user.
struct Capture {
    QStringList suggestedNames;
    QStringList visibleControls;
    QImage window;
    QStringList warnings;
};

struct Window : WindowTests::Window {
    std::shared_ptr<Capture> capture = std::make_shared<Capture>();
    // What the file dialog answers.
    std::shared_ptr<QString> fileName = std::make_shared<QString>();
};

// A window on a machine whose default printer is `printer` (none when empty), whose file dialog
// answers `fileName`; it is left where it opens and not waited for.
Window openWindow(const QString& fileName, const QString& printer = QString()) {
    Window w;
    *w.fileName = fileName;
    Form1Services services;
    services.defaultPrinter = [printer] { return printer; };
    services.pdfFileName = [capture = w.capture, file = w.fileName](QWidget* parent,
                                                                    const QString& suggestedName) {
        capture->suggestedNames.append(suggestedName);
        for (const char* name : kLeftOffThePage) {
            if (parent->findChild<QWidget*>(QString::fromLatin1(name))->isVisible()) {
                capture->visibleControls.append(QString::fromLatin1(name));
            }
        }
        // The page leaves the buttons and images out; so does the picture it is compared with.
        QList<QWidget*> controls;
        for (const char* name : kLeftOffThePage) {
            controls.append(parent->findChild<QWidget*>(QString::fromLatin1(name)));
            controls.constLast()->hide();
        }
        capture->window = parent->grab().toImage();
        for (QWidget* control : controls) {
            control->show();
        }
        return *file;
    };
    services.warn = [capture = w.capture](QWidget*, const QString& message) {
        capture->warnings.append(message);
    };
    static_cast<WindowTests::Window&>(w) =
        WindowTests::openWindow(WindowTests::dateOf(2007, 3, 15), services,
                                {.at = std::nullopt, .wait = WindowTests::Wait::Nothing});
    return w;
}

// Shows Corvath 403 in the single view, or beside Halvex P-6 in the side-by-side view.
void chooseCrews(Form1& form, bool sideBySide) {
    if (sideBySide) {
        WindowTests::click(form, QStringLiteral("Command5"));
        form.setCrew(ChooserTarget::Left, CrewCode(83.2), QStringLiteral("Corvath\n403"));
        form.setCrew(ChooserTarget::Right, CrewCode(74), QStringLiteral("Halvex\nP-6"));
        form.fillFor(ChooserTarget::Left);
        form.fillFor(ChooserTarget::Right);
    } else {
        form.setCrew(ChooserTarget::Single, CrewCode(83.2), QStringLiteral("Corvath\n403"));
        form.fillFor(ChooserTarget::Single);
    }
}

QStringList visibleControls(Form1& form) {
    QStringList visible;
    for (const char* name : kLeftOffThePage) {
        if (form.findChild<QWidget*>(QString::fromLatin1(name))->isVisible()) {
            visible.append(QString::fromLatin1(name));
        }
    }
    return visible;
}

QStringList allControls() {
    QStringList names;
    for (const char* name : kLeftOffThePage) {
        names.append(QString::fromLatin1(name));
    }
    return names;
}

} // namespace

class PrintingTest final : public QObject {
    Q_OBJECT

private slots:
    void printsTheWindowAsTextAndLines_data();
    void printsTheWindowAsTextAndLines();
    void printsTheSamePageAtAnyWindowSize_data();
    void printsTheSamePageAtAnyWindowSize();
    void printsNoKeyboardFocus_data();
    void printsNoKeyboardFocus();
    void printedLinesAreOneWidth();
    void suggestedNameFollowsTheShownMonth_data();
    void suggestedNameFollowsTheShownMonth();
    void decliningTheFileDialogPrintsNothing();
    void failedSaveSaysWhatFailed_data();
    void failedSaveSaysWhatFailed();
    void aPrinterWithoutItsPrintSystemIsTold();
};

void PrintingTest::printsTheWindowAsTextAndLines_data() {
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<QStringList>("crewBoxes");
    QTest::newRow("single view") << false << QStringList{QStringLiteral("Corvath 403")};
    QTest::newRow("side by side") << true
                                  << QStringList{QStringLiteral("Corvath 403"),
                                                 QStringLiteral("Halvex P-6")};
}

void PrintingTest::printsTheWindowAsTextAndLines() {
    QFETCH(bool, sideBySide);
    QFETCH(QStringList, crewBoxes);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
    auto w = openWindow(path);
    Form1& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    chooseCrews(form, sideBySide);
    QGuiApplication::clipboard()->setText(QStringLiteral("what the user copied"));

    QTest::mouseClick(form.findChild<QWidget*>(QStringLiteral("Image2")), Qt::LeftButton);

    // The buttons and images stay on the screen while the file dialog is open.
    QCOMPARE(w.capture->visibleControls, allControls());
    QCOMPARE(visibleControls(form), allControls());
    QCOMPARE(form.sideBySideShowing(), sideBySide);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("what the user copied"));
    QCOMPARE(w.capture->warnings, QStringList());

    const PdfPage pdf = readPdf(path);
    QCOMPARE(pdf.pages, 1);
    // The texts are text: the title, 11 March 2007's caption (the second Sunday of March, when
    // North American clocks went forward that year) and the crew boxes.
    const QString words = pdf.words.join(QLatin1Char(' '));
    for (const QString& text :
         crewBoxes + QStringList{QStringLiteral("March 2007"), QStringLiteral("11 DST Starts")}) {
        QVERIFY2(words.contains(text), qPrintable(text));
    }
    // Every shift of the sheet is on the page as often as the sheet shows it, and no caption of
    // a hidden button is.
    QMap<QString, int> shifts;
    for (const DayCell& cell : form.sheet().cells) {
        for (const std::string& line : {cell.shift, cell.leftShift, cell.rightShift}) {
            for (const QString& word :
                 QString::fromStdString(line).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                ++shifts[word];
            }
        }
    }
    QVERIFY(shifts.size() >= 3);
    for (auto shift = shifts.cbegin(); shift != shifts.cend(); ++shift) {
        QVERIFY2(pdf.words.count(shift.key()) == shift.value(), qPrintable(shift.key()));
    }
    for (const char* caption : {"<<", "<", ">", ">>", "X", "|"}) {
        QVERIFY2(!pdf.words.contains(QLatin1String(caption)), caption);
    }

    // As wide as the page from its top left corner, in the window's proportions...
    const QImage& page = pdf.picture;
    const int height = printedHeight(page);
    QVERIFY2(qAbs(height - page.width() * 400.0 / 465.0) <= 1.0,
             qPrintable(QString::number(height)));
    QVERIFY(page.pixel(0, height - 1) != qRgb(255, 255, 255));
    QVERIFY(page.pixel(page.width() - 1, height - 1) != qRgb(255, 255, 255));
    // ...with everything where the window shows it. A picture shifted by one window pixel
    // differs by about 70; the same layout, by about 40.
    const int difference =
        layoutDifference(page.copy(0, 0, page.width(), height), w.capture->window);
    QVERIFY2(difference < 60, qPrintable(QString::number(difference)));
}

void PrintingTest::printsTheSamePageAtAnyWindowSize_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("scaled by 1.5") << QSize(698, 600);
    QTest::newRow("scaled by 3") << QSize(1395, 1200);
    QTest::newRow("wider than its proportions") << QSize(900, 420);
    QTest::newRow("taller than its proportions") << QSize(480, 700);
}

void PrintingTest::printsTheSamePageAtAnyWindowSize() {
    QFETCH(QSize, size);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    auto w = openWindow(folder.filePath(QStringLiteral("designed.pdf")));
    Form1& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    chooseCrews(form, false);
    form.Image2_Click();
    form.resize(size);
    QTRY_COMPARE(form.size(), size);
    const QImage shown = form.grab().toImage();
    *w.fileName = folder.filePath(QStringLiteral("resized.pdf"));
    form.Image2_Click();

    QCOMPARE(readPdf(*w.fileName).picture,
             readPdf(folder.filePath(QStringLiteral("designed.pdf"))).picture);
    // The window is back at its own scale.
    QCOMPARE(form.grab().toImage(), shown);
}

void PrintingTest::printsNoKeyboardFocus_data() {
    QTest::addColumn<QString>("focused");
    QTest::newRow("sheet") << "SheetView";
    QTest::newRow("crew box") << "Label5";
}

void PrintingTest::printsNoKeyboardFocus() {
    QFETCH(QString, focused);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    auto w = openWindow(folder.filePath(QStringLiteral("mouse.pdf")));
    Form1& form = *w.form;
    QVERIFY(QTest::qWaitForWindowActive(&form));
    chooseCrews(form, false);
    form.Image2_Click();
    while (WindowTests::focusedControl() != focused) {
        WindowTests::pressKey(form, Qt::Key_Tab);
    }
    const QImage framed = form.grab().toImage();
    *w.fileName = folder.filePath(QStringLiteral("keys.pdf"));
    WindowTests::pressKey(form, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(readPdf(*w.fileName).picture,
             readPdf(folder.filePath(QStringLiteral("mouse.pdf"))).picture);
    // The window still shows the focus.
    QCOMPARE(form.grab().toImage(), framed);
}

void PrintingTest::printedLinesAreOneWidth() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
    auto w = openWindow(path);
    Form1& form = *w.form;
    form.resize(698, 600); // the page is the same at every window size
    form.Image2_Click();
    // One row and one column of the page at the PDF file's own 1200 dots an inch, so that a
    // line placed on whole dots is drawn on whole pixels.
    const double dots = 595.276 * 1200 / 72 / 465; // an A4 page's dots per designed pixel
    const auto dark = [&path](QRect dotsArea) {
        const QImage strip = QImage::fromData(poppler(
            QStringLiteral("pdftoppm"),
            {"-r", "1200", "-gray", "-aa", "no", "-aaVector", "no", "-x",
             QString::number(dotsArea.x()), "-y", QString::number(dotsArea.y()), "-W",
             QString::number(dotsArea.width()), "-H", QString::number(dotsArea.height()), path}));
        QList<int> widths;
        int run = 0;
        const int count = std::max(strip.width(), strip.height());
        for (int i = 0; i <= count; ++i) {
            const QPoint at = strip.width() > 1 ? QPoint(i, 0) : QPoint(0, i);
            if (i < count && qGray(strip.pixel(at)) < 80) {
                ++run;
            } else if (run > 0) {
                widths << run;
                run = 0;
            }
        }
        return widths;
    };
    // Across the second week's empty shift lines, and down the Saturday column to the notice.
    const QList<int> across = dark(QRect(0, static_cast<int>(152.5 * dots), 465 * dots, 1));
    const QList<int> down = dark(QRect(static_cast<int>(412 * dots), 0, 1, 360 * dots));
    QCOMPARE(across.size(), 8);
    QCOMPARE(down.size(), 8);
    QVERIFY(std::abs(across.front() - dots) <= 1);
    QCOMPARE(across + down, QList<int>(16, across.front()));
}

void PrintingTest::suggestedNameFollowsTheShownMonth_data() {
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("name");
    QTest::newRow("this month") << QStringList{}
                                << QStringLiteral("Kelsing schedule March 2007.pdf");
    QTest::newRow("next month") << QStringList{QStringLiteral("Command3")}
                                << QStringLiteral("Kelsing schedule April 2007.pdf");
    QTest::newRow("previous year") << QStringList{QStringLiteral("Command1")}
                                   << QStringLiteral("Kelsing schedule March 2006.pdf");
    QTest::newRow("into the next year") << QStringList(10, QStringLiteral("Command3"))
                                        << QStringLiteral("Kelsing schedule January 2008.pdf");
}

void PrintingTest::suggestedNameFollowsTheShownMonth() {
    QFETCH(QStringList, buttons);
    QFETCH(QString, name);
    auto w = openWindow(QString());
    for (const QString& button : buttons) {
        QTest::mouseClick(w.form->findChild<QWidget*>(button), Qt::LeftButton);
    }
    w.form->Image2_Click();
    QCOMPARE(w.capture->suggestedNames, QStringList{name});
}

void PrintingTest::decliningTheFileDialogPrintsNothing() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    auto w = openWindow(QString());
    w.form->Image2_Click();
    QCOMPARE(w.capture->suggestedNames.size(), 1);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(visibleControls(*w.form), allControls());
}

void PrintingTest::failedSaveSaysWhatFailed_data() {
    QTest::addColumn<QString>("file"); // %1 is a fresh folder
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing folder") << QStringLiteral("%1/no such folder/sheet.pdf") << false
                                    << QStringLiteral("No such file or directory");
    QTest::newRow("read-only folder, a sheet saved before")
        << QStringLiteral("%1/sheet.pdf") << true << QStringLiteral("Permission denied");
    QTest::newRow("full disk") << QStringLiteral("/dev/full") << false
                               << QStringLiteral("No space left on device");
    QTest::newRow("a folder's name")
        << QStringLiteral("%1") << false << QStringLiteral("directory");
}

void PrintingTest::failedSaveSaysWhatFailed() {
    QFETCH(QString, file);
    QFETCH(bool, readOnly);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile before(folder.filePath(QStringLiteral("sheet.pdf")));
    QVERIFY(before.open(QIODevice::WriteOnly));
    before.write("the sheet saved before");
    before.close();
    const auto writable = QFile::permissions(folder.path());
    const auto restore = qScopeGuard([&] { QFile::setPermissions(folder.path(), writable); });
    if (readOnly) {
        QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
        if (QFileInfo(folder.path()).isWritable()) {
            QSKIP("this user writes into read-only folders");
        }
    }
    const QString path = file.contains(QLatin1Char('%')) ? file.arg(folder.path()) : file;
    auto w = openWindow(path);

    w.form->Image2_Click();

    QCOMPARE(w.capture->warnings.size(), 1);
    const QString& warning = w.capture->warnings.constFirst();
    QVERIFY2(
        warning.startsWith(QStringLiteral("The PDF file %1 could not be written: ").arg(path)) &&
            warning.contains(reason),
        qPrintable(warning));
    QCOMPARE(visibleControls(*w.form), allControls());
    // Nothing half written is left, and the sheet saved before is whole.
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("sheet.pdf")});
    QVERIFY(before.open(QIODevice::ReadOnly));
    QCOMPARE(before.readAll(), QByteArray("the sheet saved before"));
    before.close();
    // The window goes on working, and printing where it can write replaces the sheet.
    QFile::setPermissions(folder.path(), writable);
    *w.fileName = before.fileName();
    w.form->Image2_Click();
    QCOMPARE(w.capture->warnings.size(), 1);
    QCOMPARE(readPdf(before.fileName()).pages, 1);
}

void PrintingTest::aPrinterWithoutItsPrintSystemIsTold() {
    // The printer was there a moment ago, but nothing answers at the print system's socket now.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    qputenv("CUPS_SERVER", folder.filePath(QStringLiteral("cups.sock")).toUtf8());
    const auto restore = qScopeGuard([] { qunsetenv("CUPS_SERVER"); });
    auto w = openWindow(folder.filePath(QStringLiteral("sheet.pdf")), QStringLiteral("Office"));
    Form1& form = *w.form;
    chooseCrews(form, true);
    const SheetModel before = form.sheet();

    form.Image2_Click();

    QTRY_COMPARE(w.capture->warnings,
                 QStringList{QStringLiteral(
                     "The print system is not running. The sheet was not printed on Office.")});
    // No file is offered instead, and the window is as it was.
    QCOMPARE(w.capture->suggestedNames, QStringList());
    QCOMPARE(WindowTests::sheetDifference(form.sheet(), before), QString());
    QVERIFY(form.sideBySideShowing());
    QCOMPARE(visibleControls(form), allControls());
}

QTEST_MAIN(PrintingTest)
#include "printing_test.moc"
