#include "calendar/dayserial.h"
#include "mainwindow/form1.h"
#include "platform/label.h"
#include "windowtestsupport.h"

#include <memory>

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>
#include <QtEndian>

using namespace kelsing;

namespace {

const char* const kHiddenWhilePrinting[] = {"Image1",   "Image2",   "Command1", "Command2",
                                            "Command3", "Command4", "Command5"};

// What the printing saw of the window when it asked for a file name.
struct Capture {
    QStringList suggestedNames;
    QStringList visibleControls;
    QImage window;
};

struct Window : WindowTests::Window {
    std::shared_ptr<Capture> capture = std::make_shared<Capture>();
};

// A window on a machine without a default printer, whose file dialog answers `fileName`; it is
// left where it opens and not waited for.
Window openWindow(const QString& fileName) {
    Window w;
    Form1Services services;
    services.defaultPrinter = [] { return QPrinterInfo(); };
    services.pdfFileName = [capture = w.capture, fileName](QWidget* parent,
                                                           const QString& suggestedName) {
        capture->suggestedNames.append(suggestedName);
        for (const char* name : kHiddenWhilePrinting) {
            if (parent->findChild<QWidget*>(QString::fromLatin1(name))->isVisible()) {
                capture->visibleControls.append(QString::fromLatin1(name));
            }
        }
        capture->window = parent->grab().toImage();
        return fileName;
    };
    static_cast<WindowTests::Window&>(w) =
        WindowTests::openWindow(WindowTests::dayOf(2007, 3, 15), services,
                                {.at = std::nullopt, .wait = WindowTests::Wait::Nothing});
    return w;
}

QStringList visibleControls(Form1& form) {
    QStringList visible;
    for (const char* name : kHiddenWhilePrinting) {
        if (form.findChild<QWidget*>(QString::fromLatin1(name))->isVisible()) {
            visible.append(QString::fromLatin1(name));
        }
    }
    return visible;
}

QStringList allControls() {
    QStringList names;
    for (const char* name : kHiddenWhilePrinting) {
        names.append(QString::fromLatin1(name));
    }
    return names;
}

// The little of a PDF file that the test reads: its pages, the first page's media box, the one
// picture painted on it and where it lands.
struct PdfContents {
    int pages = 0;
    QRectF mediaBox;
    QImage picture;
    QRectF pictureRect; // in points, y upwards as in the file
};

QByteArray objectBody(const QByteArray& pdf, int number) {
    const QRegularExpression start(QStringLiteral("(?:^|\\n)%1 0 obj\\n").arg(number));
    const auto match = start.match(QString::fromLatin1(pdf));
    if (!match.hasMatch()) {
        return {};
    }
    const qsizetype from = match.capturedEnd();
    return pdf.mid(from, pdf.indexOf("endobj", from) - from);
}

int reference(const QByteArray& dictionary, const char* key) {
    const QRegularExpression ref(QStringLiteral("/%1 (\\d+) 0 R").arg(QLatin1String(key)));
    const auto match = ref.match(QString::fromLatin1(dictionary));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

int integer(const QByteArray& dictionary, const char* key) {
    const QRegularExpression value(QStringLiteral("/%1 (\\d+)\\b(?! 0 R)").arg(QLatin1String(key)));
    const auto match = value.match(QString::fromLatin1(dictionary));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The stream of an object, inflated; its length may be written directly or in another object.
QByteArray streamOf(const QByteArray& pdf, const QByteArray& object, int expectedSize) {
    int length = integer(object, "Length");
    if (const int lengthObject = reference(object, "Length"); lengthObject >= 0) {
        length = objectBody(pdf, lengthObject).trimmed().toInt();
    }
    const qsizetype at = object.indexOf("stream\n");
    if (at < 0 || length < 0 || !object.contains("/FlateDecode")) {
        return {};
    }
    QByteArray zipped(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(expectedSize), zipped.data());
    zipped += object.mid(at + 7, length);
    return qUncompress(zipped);
}

PdfContents readPdf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray pdf = file.readAll();
    PdfContents contents;
    if (!pdf.startsWith("%PDF-")) {
        return contents;
    }
    const QString text = QString::fromLatin1(pdf);
    contents.pages =
        static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type /Page\\b(?!s)"))));

    const auto box = QRegularExpression(
                         QStringLiteral("/MediaBox \\[([\\d.]+) ([\\d.]+) ([\\d.]+) ([\\d.]+)\\]"))
                         .match(text);
    if (box.hasMatch()) {
        contents.mediaBox = QRectF(QPointF(box.captured(1).toDouble(), box.captured(2).toDouble()),
                                   QPointF(box.captured(3).toDouble(), box.captured(4).toDouble()));
    }

    // The picture: an RGB image of 8 bits per component.
    const auto image =
        QRegularExpression(
            QStringLiteral("\\n(\\d+) 0 obj\\n<<\\n/Type /XObject\\n/Subtype /Image"))
            .match(text);
    if (image.hasMatch()) {
        const QByteArray object = objectBody(pdf, image.captured(1).toInt());
        const int width = integer(object, "Width");
        const int height = integer(object, "Height");
        if (object.contains("/ColorSpace /DeviceRGB") && integer(object, "BitsPerComponent") == 8 &&
            width > 0 && height > 0) {
            const QByteArray pixels = streamOf(pdf, object, width * height * 3);
            if (pixels.size() == qsizetype{width} * height * 3) {
                contents.picture = QImage(reinterpret_cast<const uchar*>(pixels.constData()), width,
                                          height, width * 3, QImage::Format_RGB888)
                                       .copy();
            }
        }
    }

    // Where the picture lands: the transformations in force at the page's one "Do".
    const auto page =
        QRegularExpression(QStringLiteral("/Type /Page\\n/Parent \\d+ 0 R\\n/Contents (\\d+) 0 R"))
            .match(text);
    if (page.hasMatch()) {
        const QByteArray drawing =
            streamOf(pdf, objectBody(pdf, page.captured(1).toInt()), 1 << 20);
        QList<QTransform> saved;
        QTransform current;
        QList<double> operands;
        for (const QByteArray& token : drawing.simplified().split(' ')) {
            bool number = false;
            const double value = token.toDouble(&number);
            if (number) {
                operands.append(value);
                continue;
            }
            if (token == "q") {
                saved.append(current);
            } else if (token == "Q" && !saved.isEmpty()) {
                current = saved.takeLast();
            } else if (token == "cm" && operands.size() >= 6) {
                const auto m = operands.mid(operands.size() - 6);
                current = QTransform(m[0], m[1], m[2], m[3], m[4], m[5]) * current;
            } else if (token == "Do") {
                contents.pictureRect = current.mapRect(QRectF(0, 0, 1, 1));
            }
            operands.clear();
        }
    }
    return contents;
}

} // namespace

class PrintingTest final : public QObject {
    Q_OBJECT

private slots:
    void printsTheWindowOnOnePdfPage_data();
    void printsTheWindowOnOnePdfPage();
    void suggestedNameFollowsTheShownMonth_data();
    void suggestedNameFollowsTheShownMonth();
    void decliningTheFileDialogPrintsNothing();
    void printerErrorLeavesTheWindowWhole();
    void sideBySideViewPrintsWithoutItsSwitch();
};

void PrintingTest::printsTheWindowOnOnePdfPage_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("designed size") << QSize(465, 400);
    QTest::newRow("scaled by 1.5") << QSize(698, 600);
    QTest::newRow("wider than its proportions") << QSize(900, 420);
    QTest::newRow("taller than its proportions") << QSize(480, 700);
}

void PrintingTest::printsTheWindowOnOnePdfPage() {
    QFETCH(QSize, size);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
    auto w = openWindow(path);
    Form1& form = *w.form;
    form.resize(size);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.size(), size);
    QGuiApplication::clipboard()->setText(QStringLiteral("what the user copied"));

    QTest::mouseClick(form.findChild<QWidget*>(QStringLiteral("Image2")), Qt::LeftButton);

    QCOMPARE(w.capture->suggestedNames,
             QStringList{QStringLiteral("Kelsing schedule March 2007.pdf")});
    QCOMPARE(w.capture->visibleControls, QStringList());
    QCOMPARE(visibleControls(form), allControls());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("what the user copied"));

    const PdfContents pdf = readPdf(path);
    QCOMPARE(pdf.pages, 1);
    QVERIFY(pdf.mediaBox.width() > 500);
    // The picture is the window as it was without its buttons and images, pixel for pixel.
    QVERIFY(!pdf.picture.isNull());
    QCOMPARE(pdf.picture.size(), form.size());
    QCOMPARE(pdf.picture, w.capture->window.convertToFormat(QImage::Format_RGB888));
    // It spans the page's width from the top left corner, in the window's proportions.
    QVERIFY2(qAbs(pdf.pictureRect.left() - pdf.mediaBox.left()) < 0.5,
             qPrintable(QString::number(pdf.pictureRect.left())));
    QVERIFY2(qAbs(pdf.pictureRect.right() - pdf.mediaBox.right()) < 0.5,
             qPrintable(QString::number(pdf.pictureRect.right())));
    QVERIFY2(qAbs(pdf.pictureRect.bottom() - pdf.mediaBox.bottom()) < 0.5,
             qPrintable(QString::number(pdf.pictureRect.bottom())));
    const double expectedHeight = pdf.mediaBox.width() / form.width() * form.height();
    QVERIFY2(qAbs(pdf.pictureRect.height() - expectedHeight) < 0.5,
             qPrintable(QString::number(pdf.pictureRect.height())));
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

void PrintingTest::printerErrorLeavesTheWindowWhole() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("no such folder/sheet.pdf"));
    auto w = openWindow(path);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".*")));
    w.form->Image2_Click();
    QVERIFY(!QFile::exists(path));
    QCOMPARE(visibleControls(*w.form), allControls());
    // The window goes on working, and printing again works once the folder is there.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("no such folder")));
    w.form->Image2_Click();
    QCOMPARE(readPdf(path).pages, 1);
}

void PrintingTest::sideBySideViewPrintsWithoutItsSwitch() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
    auto w = openWindow(path);
    Form1& form = *w.form;
    QTest::mouseClick(form.findChild<QWidget*>(QStringLiteral("Command5")), Qt::LeftButton);
    QVERIFY(form.sideBySideShowing());
    form.Image2_Click();
    QCOMPARE(w.capture->visibleControls, QStringList());
    QCOMPARE(visibleControls(form), allControls());
    QVERIFY(form.sideBySideShowing());
    const PdfContents pdf = readPdf(path);
    QCOMPARE(pdf.pages, 1);
    QCOMPARE(pdf.picture, w.capture->window.convertToFormat(QImage::Format_RGB888));
}

QTEST_MAIN(PrintingTest)
#include "printing_test.moc"
