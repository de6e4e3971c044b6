// SPDX-License-Identifier: GPL-3.0-or-later
// "Subscribe on your phone...": the crew's feed address for each crew box, and its QR code drawn
// sharp and read back by a real reader (zbarimg) at the window's factors 1 and 2, and under the
// toolkit's scale factor of the run's environment.

#include "subscribe/qrcodeview.h"
#include "subscribe/subscribedialog.h"
#include "windowtestsupport.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kelsing;
using namespace kelsing::WindowTests;

namespace {

const DaySerial kToday = dateOf(2026, 12, 9);
const QString kEntry = QStringLiteral("Subscribe on your phone...");
// The window tests' site host is a closed loopback port; the feeds lie beside its version page.
const QString kFeeds = QStringLiteral("webcal://127.0.0.1:9/kelsing_schedule/feeds/");

// The menu entry of a crew box, as a right click opens it.
QAction* subscribeEntry(Form1& form, const QString& box) {
    clickControl(form, box, Qt::RightButton);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) {
        return nullptr;
    }
    const QList<QAction*> actions = menu->actions();
    const auto found = std::find_if(actions.begin(), actions.end(),
                                    [](QAction* action) { return action->text() == kEntry; });
    return found == actions.end() ? nullptr : *found;
}

// What zbarimg reads in a picture; a null string when there is no zbarimg.
QString decoded(const QImage& picture) {
    const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("code.png"));
    if (zbarimg.isEmpty() || !picture.save(file)) {
        return {};
    }
    QProcess reader;
    reader.start(zbarimg, {QStringLiteral("--raw"), QStringLiteral("-q"), file});
    reader.waitForFinished(60000);
    return QString::fromUtf8(reader.readAllStandardOutput()).chopped(1);
}

} // namespace

class SubscribeTest final : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void codeReadsBackAsTheShownAddress_data();
    void codeReadsBackAsTheShownAddress();
    void noCrewNoEntry();
    void copyPutsTheAddressOnTheClipboard();
};

void SubscribeTest::cleanup() {
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
}

void SubscribeTest::codeReadsBackAsTheShownAddress_data() {
    QTest::addColumn<double>("factor");
    QTest::addColumn<bool>("sideBySide");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("address");
    for (const double factor : {1.0, 2.0}) {
        const QByteArray at = " at " + QByteArray::number(factor);
        QTest::newRow("single" + at) << factor << false << "Label5" << kFeeds + "83.2.ics";
        QTest::newRow("left" + at) << factor << true << "Label8" << kFeeds + "12.ics";
        QTest::newRow("right" + at) << factor << true << "Label9" << kFeeds + "71.5.ics";
    }
}

void SubscribeTest::codeReadsBackAsTheShownAddress() {
    QFETCH(double, factor);
    QFETCH(bool, sideBySide);
    QFETCH(QString, box);
    QFETCH(QString, address);
    Window w = openWindow(kToday, {}, {.size = QSize(qRound(465 * factor), qRound(400 * factor))});
    Form1& form = *w.form;
    QCOMPARE(form.twips().scale(), factor);
    form.setCrew(ChooserTarget::Single, CrewCode(83.2), QStringLiteral("Corvath\n403"));
    if (sideBySide) {
        clickControl(form, QStringLiteral("Command5"));
        form.setCrew(ChooserTarget::Left, CrewCode(12), QStringLiteral("Brenmoor\nC Crew"));
        form.setCrew(ChooserTarget::Right, CrewCode(71.5), QStringLiteral("Halvex\nE-A"));
    }
    QAction* entry = subscribeEntry(form, box);
    QVERIFY(entry);
    QVERIFY(entry->isEnabled());
    entry->trigger();
    auto* dialog = form.findChild<SubscribeDialog*>();
    QVERIFY(dialog);
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QCOMPARE(control<QLineEdit>(*dialog, QStringLiteral("FeedAddress"))->text(), address);

    auto* view = control<QrCodeView>(*dialog, QStringLiteral("QrCode"));
    const QImage code = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Whole device pixels a module, 4 at the designed size, and nothing smeared into grey.
    QCOMPARE(view->moduleDevicePixels(), qRound(4 * factor * code.devicePixelRatio()));
    for (int y = 0; y < code.height(); ++y) {
        for (int x = 0; x < code.width(); ++x) {
            const QRgb pixel = code.pixel(x, y);
            if (pixel != qRgb(0, 0, 0) && pixel != qRgb(255, 255, 255)) {
                QFAIL(qPrintable(QStringLiteral("grey at %1,%2").arg(x).arg(y)));
            }
        }
    }
    const QString read = decoded(code);
    if (read.isNull()) {
        QSKIP("zbarimg (zbar-tools) is not installed");
    }
    QCOMPARE(read, address);
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click();
    QTRY_VERIFY(!form.findChild<SubscribeDialog*>());
}

void SubscribeTest::noCrewNoEntry() {
    Window w = openWindow(kToday);
    QAction* entry = subscribeEntry(*w.form, QStringLiteral("Label5"));
    QVERIFY(entry);
    QVERIFY(!entry->isEnabled());
    entry->trigger();
    QVERIFY(!w.form->findChild<SubscribeDialog*>());
}

void SubscribeTest::copyPutsTheAddressOnTheClipboard() {
    Window w = openWindow(kToday);
    w.form->setCrew(ChooserTarget::Single, CrewCode(84.9), QStringLiteral("Corvath\nAll 506-509"));
    QAction* entry = subscribeEntry(*w.form, QStringLiteral("Label5"));
    QVERIFY(entry);
    entry->trigger();
    auto* dialog = w.form->findChild<SubscribeDialog*>();
    QVERIFY(dialog);
    QApplication::clipboard()->clear();
    control<QPushButton>(*dialog, QStringLiteral("CopyAddress"))->click();
    QCOMPARE(QApplication::clipboard()->text(), kFeeds + QStringLiteral("84.9.ics"));
    delete dialog;
}

QTEST_MAIN(SubscribeTest)
#include "subscribe_test.moc"
