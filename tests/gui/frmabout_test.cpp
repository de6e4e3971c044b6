// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/frmabout.h"
#include "base/version.h"
#include "calendar/dayserial.h"
#include "mainwindow/form1.h"
#include "platform/label.h"
#include "windowtestsupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPushButton>
#include <QTest>

using namespace kelsing;

namespace {

const QUrl kHost(QStringLiteral("http://127.0.0.1:9"));
const QUrl kSite(QStringLiteral("http://127.0.0.1:9/kelsing_schedule/"));

using WindowTests::aboutWindows;
using WindowTests::control;
using WindowTests::textOf;

// A window left where it opens and not waited for, whose version check and about window name
// the built-in site host or, by default, kHost.
WindowTests::Window openWindow(bool builtInHost = false) {
    Form1Services services;
    if (!builtInHost) {
        services.siteHost = kHost;
    }
    return WindowTests::openWindow(
        WindowTests::dateOf(2007, 3, 15), services,
        {.at = std::nullopt, .wait = WindowTests::Wait::Nothing, .ownSiteHost = true});
}

frmAbout* openAbout(Form1& form) {
    QTest::mouseClick(form.findChild<QWidget*>(QStringLiteral("Image1")), Qt::LeftButton);
    const auto windows = aboutWindows();
    return windows.size() == 1 ? windows.first() : nullptr;
}

void closeAllAbout() {
    for (frmAbout* about : aboutWindows()) {
        delete about;
    }
}

} // namespace

class FrmAboutTest final : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void textsAsDesigned_data();
    void textsAsDesigned();
    void controlsStandAtTheirPlaces_data();
    void controlsStandAtTheirPlaces();
    void textsFitTheirBoxes_data();
    void textsFitTheirBoxes();
    void builtInSiteShownWithoutScheme();
    void fontsAndColours();
    void showsTheProgramIconAndTheEtchedRule();
    void linkOpensTheSite();
    void oneWindowAtATimeWithoutOwner();
    void okClosesAndTheNextOpeningLoadsAfresh();
    void closingTheMainWindowClosesIt();
    void destroyingTheMainWindowTakesItAlong();
};

void FrmAboutTest::cleanup() {
    closeAllAbout();
}

void FrmAboutTest::textsAsDesigned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("title") << QStringLiteral("lblTitle")
                           << QStringLiteral("Kelsing Shift Workers Schedule");
    QTest::newRow("version") << QStringLiteral("lblVersion") << QStringLiteral("Version 2.3.0");
    QTest::newRow("description")
        << QStringLiteral("lblDescription")
        << QStringLiteral("This is a simple program to show the work schedules of the various "
                          "Kelsing area plant sites.  If you would like to send a comment to the "
                          "author or have your plants schedule added, please send an email to "
                          "schedule@kelsing.example or visit the website at");
    QTest::newRow("link") << QStringLiteral("Label1")
                          << QStringLiteral(" 127.0.0.1:9/kelsing_schedule/");
    QTest::newRow("disclaimer")
        << QStringLiteral("lblDisclaimer")
        << QStringLiteral("Warning: ...                                                         "
                          "     This program is as accurate as the information that was "
                          "available at the time of creation.  Author assumes no "
                          "responsibility for any errors or ommissions.");
    QTest::newRow("button") << QStringLiteral("cmdOK") << QStringLiteral("OK");
}

void FrmAboutTest::textsAsDesigned() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    auto w = openWindow();
    frmAbout* about = openAbout(*w.form);
    QVERIFY(about);
    QCOMPARE(about->windowTitle(), QStringLiteral("About Kelsing Shift Workers Schedule"));
    QCOMPARE(textOf(*about, name), text);
}

void FrmAboutTest::controlsStandAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("Picture1") << QStringLiteral("Picture1") << QRect(120, 240, 780, 780);
    QTest::newRow("lblTitle") << QStringLiteral("lblTitle") << QRect(1050, 240, 3885, 480);
    QTest::newRow("lblVersion") << QStringLiteral("lblVersion") << QRect(1050, 780, 3885, 225);
    QTest::newRow("lblDescription")
        << QStringLiteral("lblDescription") << QRect(1050, 1125, 3885, 1050);
    QTest::newRow("Label1") << QStringLiteral("Label1") << QRect(1080, 2160, 3855, 255);
    QTest::newRow("lblDisclaimer")
        << QStringLiteral("lblDisclaimer") << QRect(255, 2625, 3870, 825);
    QTest::newRow("cmdOK") << QStringLiteral("cmdOK") << QRect(4245, 2760, 1260, 588);
}

void FrmAboutTest::controlsStandAtTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    auto w = openWindow();
    frmAbout* about = openAbout(*w.form);
    QVERIFY(about);
    const Twips& scale = w.form->twips();
    QCOMPARE(about->size(), scale.size(5730, 3555));
    QCOMPARE(control<QWidget>(*about, name)->geometry(),
             scale.rect(twips.x(), twips.y(), twips.width(), twips.height()));
}

void FrmAboutTest::textsFitTheirBoxes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("builtInHost");
    const int left = Qt::AlignLeft | Qt::AlignTop;
    const int centre = Qt::AlignHCenter | Qt::AlignTop;
    QTest::newRow("lblTitle") << QStringLiteral("lblTitle") << left << false;
    QTest::newRow("lblVersion") << QStringLiteral("lblVersion") << left << false;
    QTest::newRow("lblDescription") << QStringLiteral("lblDescription") << left << false;
    QTest::newRow("Label1") << QStringLiteral("Label1") << centre << false;
    QTest::newRow("Label1, built-in host") << QStringLiteral("Label1") << centre << true;
    QTest::newRow("lblDisclaimer") << QStringLiteral("lblDisclaimer") << left << false;
}

void FrmAboutTest::textsFitTheirBoxes() {
    QFETCH(QString, name);
    QFETCH(int, alignment);
    QFETCH(bool, builtInHost);
    auto w = openWindow(builtInHost);
    frmAbout* about = openAbout(*w.form);
    QVERIFY(about);
    auto* label = control<Label>(*about, name);
    const QRect needed =
        QFontMetrics(label->font())
            .boundingRect(label->rect(), alignment | Qt::TextWordWrap, label->text());
    QVERIFY2(needed.height() <= label->height(),
             qPrintable(QStringLiteral("%1 > %2").arg(needed.height()).arg(label->height())));
    QVERIFY2(needed.width() <= label->width(),
             qPrintable(QStringLiteral("%1 > %2").arg(needed.width()).arg(label->width())));
    // Never smaller than legible, never larger than designed (8.25 pt).
    QVERIFY(label->font().pixelSize() >= 8);
    QVERIFY(label->font().pixelSize() <= w.form->twips().fontPixels(8.25));
}

void FrmAboutTest::builtInSiteShownWithoutScheme() {
    auto w = openWindow(true);
    frmAbout* about = openAbout(*w.form);
    QVERIFY(about);
    const QUrl host(QString::fromUtf8(kSiteHost.data(), static_cast<qsizetype>(kSiteHost.size())));
    QVERIFY(host.isValid());
    QCOMPARE(textOf(*about, QStringLiteral("Label1")),
             QLatin1Char(' ') + host.authority() + QStringLiteral("/kelsing_schedule/"));
    QTest::mouseClick(control<Label>(*about, QStringLiteral("Label1")), Qt::LeftButton);
    QCOMPARE(*w.opened, QList<QUrl>{host.resolved(QUrl(QStringLiteral("/kelsing_schedule/")))});
}

void FrmAboutTest::fontsAndColours() {
    auto w = openWindow();
    frmAbout* about = openAbout(*w.form);
    QVERIFY(about);
    auto* title = control<Label>(*about, QStringLiteral("lblTitle"));
    QVERIFY(title->font().bold());
    QCOMPARE(title->textColor(), QColor(Qt::black));
    auto* link = control<Label>(*about, QStringLiteral("Label1"));
    QVERIFY(link->font().bold());
    QVERIFY(link->font().underline());
    QCOMPARE(link->textColor(), QColor(0, 0, 192));
    for (const char* name : {"lblVersion", "lblDescription", "lblDisclaimer"}) {
        auto* label = control<Label>(*about, QString::fromLatin1(name));
        QVERIFY2(!label->font().bold(), name);
        QVERIFY2(!label->font().underline(), name);
        QCOMPARE(label->textColor(), QColor(Qt::black));
    }
}

void FrmAboutTest::showsTheProgramIconAndTheEtchedRule() {
    auto w = openWindow();
    frmAbout* about = openAbout(*w.form);
    QVERIFY(about);
    const QImage image = about->grab().toImage();
    const Twips& scale = w.form->twips();

    // The icon fills the 48 x 48 pixels at the top left of its box and leaves the rest.
    const QRect box = scale.rect(120, 240, 780, 780);
    const QColor background = image.pixelColor(box.right(), box.bottom());
    int drawn = 0;
    for (int y = box.top(); y < box.top() + 48; ++y) {
        for (int x = box.left(); x < box.left() + 48; ++x) {
            drawn += image.pixelColor(x, y) != background ? 1 : 0;
        }
    }
    QVERIFY2(drawn > 48 * 48 / 2, qPrintable(QString::number(drawn)));
    QCOMPARE(image.pixelColor(box.left() + 50, box.top() + 24), background);

    // A grey line with a white one below it, across the window under the link.
    const int middle = about->width() / 2;
    QCOMPARE(image.pixelColor(middle, scale.px(2445)), QColor(128, 128, 128));
    QCOMPARE(image.pixelColor(middle, scale.px(2460)), QColor(Qt::white));
    QCOMPARE(image.pixelColor(scale.px(90), scale.px(2445)), QColor(128, 128, 128));
    QCOMPARE(image.pixelColor(scale.px(5654), scale.px(2460)), QColor(Qt::white));
}

void FrmAboutTest::linkOpensTheSite() {
    auto w = openWindow();
    frmAbout* about = openAbout(*w.form);
    QVERIFY(about);
    QTest::mouseClick(control<Label>(*about, QStringLiteral("Label1")), Qt::LeftButton);
    QCOMPARE(*w.opened, QList<QUrl>{kSite});
    // The rest of the window opens nothing.
    QTest::mouseClick(control<Label>(*about, QStringLiteral("lblDescription")), Qt::LeftButton);
    QTest::mouseClick(control<Label>(*about, QStringLiteral("lblTitle")), Qt::LeftButton);
    QCOMPARE(w.opened->size(), 1);
}

void FrmAboutTest::oneWindowAtATimeWithoutOwner() {
    auto w = openWindow();
    Form1& form = *w.form;
    frmAbout* first = openAbout(form);
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->parentWidget(), nullptr);
    QVERIFY(!first->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);

    QCOMPARE(openAbout(form), first);
    form.Image1_Click();
    QCOMPARE(aboutWindows(), QList<frmAbout*>{first});
    QVERIFY(first->isVisible());

    // The main window stays usable meanwhile.
    QTest::mouseClick(form.findChild<QWidget*>(QStringLiteral("Command3")), Qt::LeftButton);
    QCOMPARE(control<Label>(form, QStringLiteral("Label3"))->text(), QStringLiteral("April 2007"));
    QVERIFY(first->isVisible());
}

void FrmAboutTest::okClosesAndTheNextOpeningLoadsAfresh() {
    auto w = openWindow();
    Form1& form = *w.form;
    QPointer<frmAbout> first = openAbout(form);
    QVERIFY(first);
    QTest::mouseClick(control<QPushButton>(*first, QStringLiteral("cmdOK")), Qt::LeftButton);
    QTRY_VERIFY(first.isNull());
    QCOMPARE(aboutWindows(), QList<frmAbout*>());

    frmAbout* second = openAbout(form);
    QVERIFY(second);
    QVERIFY(second->isVisible());
    QCOMPARE(second->windowTitle(), QStringLiteral("About Kelsing Shift Workers Schedule"));
    QCOMPARE(textOf(*second, QStringLiteral("lblVersion")), QStringLiteral("Version 2.3.0"));

    // Closing it by its frame unloads it just the same.
    QPointer<frmAbout> closed = second;
    QVERIFY(second->close());
    QTRY_VERIFY(closed.isNull());
}

void FrmAboutTest::closingTheMainWindowClosesIt() {
    auto w = openWindow();
    QPointer<frmAbout> about = openAbout(*w.form);
    QVERIFY(about);
    QVERIFY(w.form->close());
    QTRY_VERIFY(about.isNull());
}

void FrmAboutTest::destroyingTheMainWindowTakesItAlong() {
    auto w = openWindow();
    QPointer<frmAbout> about = openAbout(*w.form);
    QVERIFY(about);
    w.form.reset();
    QVERIFY(about.isNull());
}

QTEST_MAIN(FrmAboutTest)
#include "frmabout_test.moc"
