// SPDX-License-Identifier: GPL-3.0-or-later
// The web site opened from the update notice and the about window's link, and what the user is
// told when no browser opens it.

#include "about/frmabout.h"
#include "mainwindow/form1.h"
#include "platform/label.h"
#include "windowtestsupport.h"

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace kelsing;

namespace {

const QString kSite = QStringLiteral("http://127.0.0.1:9/kelsing_schedule/");

// Clicks the notice, which shows a newer version, or the about window's link; the window the
// click was in.
QWidget* clickSite(Form1& form, bool aboutWindow) {
    if (aboutWindow) {
        form.Image1_Click();
        frmAbout* about = WindowTests::openAboutWindows().value(0);
        if (!about) {
            qFatal("no about window");
        }
        WindowTests::click(*about, QStringLiteral("Label1"));
        return about;
    }
    WindowTests::notice(form).setText(QStringLiteral("A Newer Version of this program is "
                                                     "available."));
    WindowTests::click(form, QStringLiteral("Label2_38"));
    return &form;
}

// The message that no browser opened the site, over `window`; null when there is none.
QMessageBox* message(QWidget* window) {
    return window->findChild<QMessageBox*>(QStringLiteral("AddressNotOpened"));
}

// The message is short, shows the address, lets it be selected and leaves the window alone.
void checkMessage(QMessageBox* box) {
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QVERIFY2(box->text().endsWith(QLatin1Char('\n') + kSite), qPrintable(box->text()));
    QVERIFY(box->text().size() < 120);
    const auto* text = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(text);
    QVERIFY(text->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    QCOMPARE(box->windowModality(), Qt::WindowModal);
}

// The environment of a desktop without a desktop environment of its own, where xdg-open
// opens web addresses with $BROWSER; put back as it was when the guard goes.
auto genericDesktop(const QByteArray& browser, const QByteArray& path) {
    const QList<QByteArray> names = {"XDG_CURRENT_DESKTOP", "BROWSER", "DISPLAY", "WAYLAND_DISPLAY",
                                     "PATH"};
    QList<std::optional<QByteArray>> before;
    for (const QByteArray& name : names) {
        before.append(qEnvironmentVariableIsSet(name.constData())
                          ? std::optional(qgetenv(name.constData()))
                          : std::nullopt);
    }
    qputenv("XDG_CURRENT_DESKTOP", "X-Generic");
    qputenv("BROWSER", browser);
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("PATH", path);
    return qScopeGuard([names, before] {
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (before[i]) {
                qputenv(names[i].constData(), *before[i]);
            } else {
                qunsetenv(names[i].constData());
            }
        }
    });
}

} // namespace

class ShellOpenTest final : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void aBrowserThatDoesNotOpenIsTold_data();
    void aBrowserThatDoesNotOpenIsTold();
    void xdgOpenSaysWhetherItOpened_data();
    void xdgOpenSaysWhetherItOpened();
};

void ShellOpenTest::cleanup() {
    WindowTests::deleteChoosersAndAboutWindows();
}

void ShellOpenTest::aBrowserThatDoesNotOpenIsTold_data() {
    QTest::addColumn<bool>("aboutWindow");
    QTest::addColumn<bool>("opens");
    QTest::newRow("notice, browser opens") << false << true;
    QTest::newRow("notice, no browser") << false << false;
    QTest::newRow("about window, browser opens") << true << true;
    QTest::newRow("about window, no browser") << true << false;
}

void ShellOpenTest::aBrowserThatDoesNotOpenIsTold() {
    QFETCH(bool, aboutWindow);
    QFETCH(bool, opens);
    QList<QUrl> asked;
    Form1Services services;
    services.openUrl = [&asked, opens](const QUrl& url) {
        asked.append(url);
        return opens;
    };
    auto w = WindowTests::openWindow(WindowTests::dateOf(2007, 3, 15), services);
    const QString title = WindowTests::title(*w.form);

    QWidget* window = clickSite(*w.form, aboutWindow);

    QCOMPARE(asked, QList<QUrl>{QUrl(kSite)});
    if (opens) {
        QCOMPARE(message(window), nullptr);
    } else {
        checkMessage(message(window));
    }
    // Nothing else changes.
    QCOMPARE(WindowTests::title(*w.form), title);
    QCOMPARE(WindowTests::openAboutWindows().size(), aboutWindow ? 1 : 0);
}

void ShellOpenTest::xdgOpenSaysWhetherItOpened_data() {
    QTest::addColumn<QString>("browser"); // in a fresh folder: a script that opens, or nothing
    QTest::addColumn<bool>("withXdgOpen");
    QTest::addColumn<bool>("opens");
    QTest::newRow("a browser opens") << QStringLiteral("browser") << true << true;
    QTest::newRow("no browser") << QStringLiteral("no-browser-here") << true << false;
    QTest::newRow("no xdg-open") << QStringLiteral("browser") << false << false;
}

void ShellOpenTest::xdgOpenSaysWhetherItOpened() {
    QFETCH(QString, browser);
    QFETCH(bool, withXdgOpen);
    QFETCH(bool, opens);
    if (withXdgOpen && !QFile::exists(QStringLiteral("/usr/bin/xdg-open"))) {
        QSKIP("xdg-open is not installed (xdg-utils)");
    }
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    // The browser writes down the address it was given.
    QFile script(folder.filePath(QStringLiteral("browser")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s' \"$1\" > \"$0.opened\"\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
    const auto restore = genericDesktop(folder.filePath(browser).toUtf8(),
                                        withXdgOpen ? qgetenv("PATH") : folder.path().toUtf8());
    // The window opens addresses with the desktop's own shell.
    Form1Services services;
    services.siteHost = QUrl(QStringLiteral("http://127.0.0.1:9"));
    services.updateCheck = false;
    Form1 form(services);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    clickSite(form, false);

    if (opens) {
        QFile opened(script.fileName() + QStringLiteral(".opened"));
        QTRY_VERIFY_WITH_TIMEOUT(opened.exists(), 20000);
        QVERIFY(opened.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(opened.readAll()), kSite);
        // xdg-open ends right after its browser, and says nothing more.
        QTest::qWait(2000);
        QCOMPARE(message(&form), nullptr);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(message(&form), 20000);
        checkMessage(message(&form));
    }
}

QTEST_MAIN(ShellOpenTest)
#include "shellopen_test.moc"
