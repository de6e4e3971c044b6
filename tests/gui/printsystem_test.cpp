// SPDX-License-Identifier: GPL-3.0-or-later
// The window printing on a real print system: a CUPS server of the test's own with a cups-pdf
// queue, which prints into a folder where poppler reads what arrived.

#include "mainwindow/form1.h"
#include "mainwindow/lateservices.h"
#include "pdfreading.h"
#include "privateprintsystem.h"
#include "windowtestsupport.h"

#include <cstdio>
#include <optional>

#include <QApplication>
#include <QDir>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace kelsing;
using namespace kelsing::PdfReading;

namespace {

const char* const kLeftOffThePage[] = {"Image1",   "Image2",   "Command1", "Command2",
                                       "Command3", "Command4", "Command5"};

// A print takes a second or two; these only bound a hang.
constexpr int kPrintLimitMs = 120000;

struct Window : WindowTests::Window {
    std::shared_ptr<QStringList> warnings = std::make_shared<QStringList>();
    std::shared_ptr<QStringList> offered = std::make_shared<QStringList>();
};

// A window with the system's printers, or with `printer` when given; a PDF offer saves as
// `pdfFile`.
Window openWindow(std::function<QString()> printer = {}, const QString& pdfFile = QString()) {
    Window w;
    Form1Services services;
    services.defaultPrinter = std::move(printer);
    services.warn = [warnings = w.warnings](QWidget*, const QString& message) {
        warnings->append(message);
    };
    services.pdfFileName = [offered = w.offered, pdfFile](QWidget*, const QString& name) {
        offered->append(name);
        return pdfFile;
    };
    static_cast<WindowTests::Window&>(w) =
        WindowTests::openWindow(WindowTests::dateOf(2007, 3, 15), services);
    w.form->setCrew(ChooserTarget::Single, CrewCode(83.2), QStringLiteral("Corvath\n403"));
    w.form->fillFor(ChooserTarget::Single);
    return w;
}

void pressCtrlP(Form1& form) {
    QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
}

// Where the words of a printed page do not read as those of the saved one; empty when they do.
// cups-pdf takes the page through PostScript, and ghostscript gives the fonts that arrive codes
// of its own, in the order of their first use, without Unicode names: so the printed page's text
// is read through the saved page's, word by word, and each code must stand for one and the same
// character throughout. The code 0, which pdftotext drops, is one character a word may lack.
QString readThrough(const QStringList& printed, const QStringList& saved) {
    if (printed.size() != saved.size()) {
        return QStringLiteral("%1 words printed, %2 saved").arg(printed.size()).arg(saved.size());
    }
    QHash<QChar, QChar> meaning;
    std::optional<QChar> dropped;
    // Whether `word` reads as `original` without its character at `skip` (-1: none).
    const auto reads = [&meaning](const QString& word, const QString& original, qsizetype skip) {
        QHash<QChar, QChar> more = meaning;
        for (qsizetype i = 0, j = 0; i < word.size(); ++i, ++j) {
            j += j == skip ? 1 : 0;
            if (more.value(word[i], original[j]) != original[j]) {
                return false;
            }
            more.insert(word[i], original[j]);
        }
        meaning = more;
        return true;
    };
    for (qsizetype w = 0; w < printed.size(); ++w) {
        const QString& word = printed[w];
        const QString& original = saved[w];
        bool fits = word.size() == original.size() && reads(word, original, -1);
        for (qsizetype skip = 0;
             !fits && word.size() + 1 == original.size() && skip < original.size(); ++skip) {
            if (dropped.value_or(original[skip]) == original[skip] && reads(word, original, skip)) {
                dropped = original[skip];
                fits = true;
            }
        }
        if (!fits) {
            return QStringLiteral("'%1' printed for '%2'").arg(word, original);
        }
    }
    return QString();
}

QStringList visibleControls(Form1& form) {
    QStringList visible;
    for (const char* name : kLeftOffThePage) {
        if (WindowTests::control(form, QString::fromLatin1(name))->isVisible()) {
            visible.append(QString::fromLatin1(name));
        }
    }
    return visible;
}

// The window is as it was: the same sheet and crew, every control on the screen.
void checkUnchanged(Form1& form, const SheetModel& before) {
    QCOMPARE(WindowTests::sheetDifference(form.sheet(), before), QString());
    QCOMPARE(form.crewBoxText(ChooserTarget::Single), QStringLiteral("Corvath\n403"));
    QCOMPARE(visibleControls(form).size(), int(std::size(kLeftOffThePage)));
}

} // namespace

class PrintSystemTest final : public QObject {
    Q_OBJECT

public:
    explicit PrintSystemTest(PrivatePrintSystem& cups)
        : m_cups(cups) {}

private slots:
    void init();
    void printsTheSheetAsTextAndLines();
    void aQueueThatCannotPrintIsTold_data();
    void aQueueThatCannotPrintIsTold();
    void aPrintSystemThatGoesAwayIsTold();
    void aPrintSystemThatDoesNotAnswerIsTold();
    void theYearOnThePrintersPaper_data();
    void theYearOnThePrintersPaper();

private:
    QStringList printed() const;

    PrivatePrintSystem& m_cups;
};

QStringList PrintSystemTest::printed() const {
    return QDir(m_cups.outputFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
}

void PrintSystemTest::init() {
    QString error;
    QVERIFY2(m_cups.start(&error), qPrintable(error));
    m_cups.run(QStringLiteral("cancel"), {QStringLiteral("-a")});
    m_cups.run(QStringLiteral("cupsaccept"), {QStringLiteral("PDF")});
    m_cups.run(QStringLiteral("cupsenable"), {QStringLiteral("PDF")});
    for (const QString& file : printed()) {
        QVERIFY(QFile::remove(QDir(m_cups.outputFolder()).filePath(file)));
    }
}

void PrintSystemTest::printsTheSheetAsTextAndLines() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString saved = folder.filePath(QStringLiteral("saved.pdf"));
    auto withPrinter = std::make_shared<bool>(true);
    auto w = openWindow(
        [withPrinter] { return *withPrinter ? lateServices()->defaultPrinterName() : QString(); },
        saved);
    Form1& form = *w.form;
    const SheetModel before = form.sheet();
    // The page that the PDF offer saves without a printer, to compare with.
    *withPrinter = false;
    form.Image2_Click();
    QCOMPARE(w.offered->size(), 1);
    *withPrinter = true;

    pressCtrlP(form);

    QTRY_VERIFY_WITH_TIMEOUT(
        printed().size() == 1 &&
            m_cups.run(QStringLiteral("lpstat"), {QStringLiteral("-o")}).isEmpty(),
        kPrintLimitMs);
    QCOMPARE(*w.warnings, QStringList());
    QCOMPARE(w.offered->size(), 1);
    checkUnchanged(form, before);

    const QString arrived = QDir(m_cups.outputFolder()).filePath(printed().constFirst());
    const PdfPage page = readPdf(arrived);
    const PdfPage offered = readPdf(saved);
    QCOMPARE(page.pages, 1);
    // The texts arrive as text, the very texts of the saved page in the same order: the title,
    // the captions, the crew box, every shift, and no button's caption.
    QCOMPARE(readThrough(page.words, offered.words), QString());
    const QString words = offered.words.join(QLatin1Char(' '));
    for (const char* text : {"March 2007", "11 DST Starts", "Corvath 403", "Nights"}) {
        QVERIFY2(words.contains(QLatin1String(text)), text);
    }
    for (const char* caption : {"<<", ">>", "X"}) {
        QVERIFY2(!offered.words.contains(QLatin1String(caption)), caption);
    }
    // No picture of the page: whatever pictures there are, none is a tenth of it.
    const QSize pageSize = page.picture.size();
    for (const QSize& image : imageSizes(arrived)) {
        QVERIFY2(qint64(image.width()) * image.height() * 10 <
                     qint64(pageSize.width()) * pageSize.height(),
                 qPrintable(QStringLiteral("%1 x %2").arg(image.width()).arg(image.height())));
    }

    // The same page as the PDF offer saves.
    QCOMPARE(offered.picture.size(), pageSize);
    const int height = printedHeight(offered.picture);
    const int difference = layoutDifference(page.picture.copy(0, 0, pageSize.width(), height),
                                            offered.picture.copy(0, 0, pageSize.width(), height));
    QVERIFY2(difference < 60, qPrintable(QString::number(difference)));
}

void PrintSystemTest::aQueueThatCannotPrintIsTold_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("waits");
    QTest::newRow("rejecting jobs")
        << QStringLiteral("cupsreject")
        << QStringLiteral("The printer PDF is not taking jobs now. The sheet was not printed.")
        << false;
    QTest::newRow("stopped") << QStringLiteral("cupsdisable")
                             << QStringLiteral("The printer PDF is stopped or reports a problem. "
                                               "The sheet waits in its queue")
                             << true;
}

void PrintSystemTest::aQueueThatCannotPrintIsTold() {
    QFETCH(QString, tool);
    QFETCH(QString, message);
    QFETCH(bool, waits);
    m_cups.run(tool, {QStringLiteral("PDF")});
    auto w = openWindow();
    Form1& form = *w.form;
    const SheetModel before = form.sheet();

    pressCtrlP(form);

    QTRY_COMPARE_WITH_TIMEOUT(w.warnings->size(), 1, kPrintLimitMs);
    QVERIFY2(w.warnings->constFirst().startsWith(message), qPrintable(w.warnings->constFirst()));
    checkUnchanged(form, before);
    QCOMPARE(printed(), QStringList());
    const QString queued = m_cups.run(QStringLiteral("lpstat"), {QStringLiteral("-o")});
    QCOMPARE(!queued.isEmpty(), waits);
}

void PrintSystemTest::aPrintSystemThatGoesAwayIsTold() {
    // The print system stops between the window's finding the printer and its sending the page.
    auto w = openWindow([this] {
        const QString printer = lateServices()->defaultPrinterName();
        m_cups.stop();
        return printer;
    });
    Form1& form = *w.form;
    const SheetModel before = form.sheet();

    pressCtrlP(form);

    QTRY_COMPARE_WITH_TIMEOUT(*w.warnings,
                              QStringList{QStringLiteral("The print system is not running. The "
                                                         "sheet was not printed on PDF.")},
                              kPrintLimitMs);
    checkUnchanged(form, before);
    QCOMPARE(*w.offered, QStringList());
}

void PrintSystemTest::aPrintSystemThatDoesNotAnswerIsTold() {
    // A server that takes the connection and never answers.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    qputenv("CUPS_SERVER", QStringLiteral("127.0.0.1:%1").arg(silent.serverPort()).toUtf8());
    const auto restore = qScopeGuard([this] { qputenv("CUPS_SERVER", m_cups.socket().toUtf8()); });
    auto w = openWindow([] { return QStringLiteral("PDF"); });
    Form1& form = *w.form;

    pressCtrlP(form);
    // The window answers meanwhile.
    WindowTests::click(form, QStringLiteral("Command3"));
    QCOMPARE(WindowTests::title(form), QStringLiteral("April 2007"));

    QTRY_COMPARE_WITH_TIMEOUT(w.warnings->size(), 1, kPrintLimitMs);
    QVERIFY2(w.warnings->constFirst().startsWith(QStringLiteral(
                 "The print system stopped answering. The sheet may not have been printed on PDF")),
             qPrintable(w.warnings->constFirst()));
}

void PrintSystemTest::theYearOnThePrintersPaper_data() {
    QTest::addColumn<QString>("media");
    QTest::addColumn<QString>("size");
    // The print system lays the landscape page across the paper, which stays upright.
    QTest::newRow("Letter") << QStringLiteral("na_letter_8.5x11in")
                            << QStringLiteral("612 x 792 pts (letter)");
    QTest::newRow("A4") << QStringLiteral("iso_a4_210x297mm")
                        << QStringLiteral("595 x 842 pts (A4)");
}

void PrintSystemTest::theYearOnThePrintersPaper() {
    QFETCH(QString, media);
    QFETCH(QString, size);
    m_cups.run(QStringLiteral("lpadmin"),
               {QStringLiteral("-p"), QStringLiteral("PDF"), QStringLiteral("-o"),
                QStringLiteral("media-default=") + media});
    auto w = openWindow([] { return lateServices()->defaultPrinterName(); });
    w.form->printYear(ChooserTarget::Single);

    QTRY_VERIFY_WITH_TIMEOUT(
        printed().size() == 1 &&
            m_cups.run(QStringLiteral("lpstat"), {QStringLiteral("-o")}).isEmpty(),
        kPrintLimitMs);
    QCOMPARE(*w.warnings, QStringList());
    QCOMPARE(w.offered->size(), 0);
    const QString arrived = QDir(m_cups.outputFolder()).filePath(printed().constFirst());
    const QString info = QString::fromUtf8(poppler(QStringLiteral("pdfinfo"), {arrived}));
    QVERIFY2(info.contains(size), qPrintable(info));
    // Text as text (the print system renames its glyphs): a day number and a shift a day.
    const PdfPage page = readPdf(arrived);
    QCOMPARE(page.pages, 1);
    QVERIFY2(page.words.size() > 2 * 365, qPrintable(QString::number(page.words.size())));
}

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QString why = PrivatePrintSystem::cannotStart();
    std::unique_ptr<PrivatePrintSystem> cups;
    if (why.isEmpty()) {
        cups = std::make_unique<PrivatePrintSystem>();
        cups->start(&why);
    }
    if (!why.isEmpty()) {
        std::printf("SKIP: no print system of the test's own: %s\n", qPrintable(why));
        return 77;
    }
    PrintSystemTest test(*cups);
    return QTest::qExec(&test, argc, argv);
}

#include "printsystem_test.moc"
