// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/dayserial.h"
#include "loopbackserver.h"
#include "mainwindow/form1.h"
#include "platform/label.h"
#include "services/versioncheck.h"
#include "sheet/sheetlayout.h"
#include "windowtestsupport.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace kelsing;
using kelsing::test::Answer;
using kelsing::test::LoopbackServer;

namespace {

struct Route {
    QByteArray path;
    Answer answer;
};
using Routes = QList<Route>;

const QString kLongStart = QStringLiteral("A Newer Version of this program is available.\nIf you "
                                          "would like to go to the Website to Download the new "
                                          "Version (");
const QString kLongEnd = QStringLiteral(") Click Here");
const QString kShort = QStringLiteral("\nNewer Version Available");
const QString kToolTip =
    QStringLiteral("A Newer Version of this program is available. Click Here to go to Website.");
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

using WindowTests::check;
using WindowTests::click;
using WindowTests::notice;
using WindowTests::timer1;

// A window whose version check asks `host`, left where it opens and not waited for, so that the
// check is under way when the test begins.
WindowTests::Window openWindow(const QUrl& host) {
    Form1Services services;
    services.siteHost = host;
    return WindowTests::openWindow(
        WindowTests::dateOf(2007, 3, 15), services,
        {.at = std::nullopt, .wait = WindowTests::Wait::Nothing, .ownSiteHost = true});
}

QString longMessage(const QString& title) {
    return kLongStart + title + kLongEnd;
}

QByteArray padded(const QByteArray& page, qsizetype size) {
    return page + QByteArray(size - page.size(), ' ');
}

} // namespace

Q_DECLARE_METATYPE(Route)

class UpdateNoticeTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void pageDecidesTheNotice_data();
    void pageDecidesTheNotice();
    void timerShortensTheNoticeOnce();
    void laterRunsBringTheLongMessageBackInBlue();
    void laterFailedCheckLeavesTheNotice();
    void slowServerEndsWithinTheTimeLimit_data();
    void slowServerEndsWithinTheTimeLimit();
    void closingTheWindowMidFetchEndsIt();
    void destroyingTheWindowMidFetchIsClean();
    void noticeClickOpensTheSite_data();
    void noticeClickOpensTheSite();
    void clickOnAnEmptyNoticeDoesNothing();
    void dayCellClicksNeverOpenTheSite();
    void withoutTheCheckNothingIsFetched();
    void lateStartChecksAfterTheFirstFrameAndLooksTheSame();
};

void UpdateNoticeTest::initTestCase() {
    // The loopback server must be reached directly, whatever proxy the machine has.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void UpdateNoticeTest::cleanup() {
    QLocale::setDefault(QLocale::c());
}

void UpdateNoticeTest::pageDecidesTheNotice_data() {
    QTest::addColumn<Routes>("routes");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("title"); // quoted in the notice; empty when nothing is shown
    const QByteArray page = LoopbackServer::kVersionPage;
    const auto one = [&page](const Answer& answer) { return Routes{{page, answer}}; };
    const auto row = [](const char* name, const Routes& routes, const char* title,
                        const char* locale = "C") {
        QTest::newRow(name) << routes << QString::fromLatin1(locale) << QString::fromLatin1(title);
    };
    row("revision newer", one(Answer::titled("2.3.1")), "2.3.1");
    row("minor newer", one(Answer::titled("2.4.0")), "2.4.0");
    row("major newer", one(Answer::titled("3.0.0")), "3.0.0");
    row("minor 10 is a number", one(Answer::titled("2.10.0")), "2.10.0");
    row("same", one(Answer::titled("2.3.0")), "");
    row("older major", one(Answer::titled("1.9.9")), "");
    row("older minor", one(Answer::titled("2.2.9")), "");
    row("blanks quoted", one(Answer::titled(" 2.4.0 ")), " 2.4.0 ");
    row("no title tag, read from the 7th", one(Answer::page("ABCDEF2.4.0</title>")), "2.4.0");
    row("no title tag", one(Answer::page("<html><h1>2.4.0</h1></html>")), "");
    row("no end tag", one(Answer::page("<html><title>2.4.0")), "");
    row("title over 12 characters", one(Answer::titled("00002.0004.01")), "");
    row("title of 12 characters", one(Answer::titled("0002.0004.01")), "0002.0004.01");
    row("one dot", one(Answer::titled("2.4")), "");
    row("not a number", one(Answer::titled("2.x.0")), "");
    row("markup", one(Answer::titled("<b>9.9.9")), "");
    row("markup after", one(Answer::titled("9.9.9<br>")), "");
    row("decimal comma in German", one(Answer::titled("2.3,5.0")), "2.3,5.0", "de_DE");
    row("decimal comma in C", one(Answer::titled("2.3,5.0")), "");
    row("empty page", one(Answer::page("")), "");

    Answer notFound = Answer::titled("2.4.0");
    notFound.status = 404;
    row("404 with a newer title", one(notFound), "");
    Answer serverError = Answer::titled("2.4.0");
    serverError.status = 500;
    row("500 with a newer title", one(serverError), "");

    const QByteArray newer = Answer::titled("2.4.0").body;
    const qsizetype cap = VersionCheck::kBodyLimit;
    row("body at the cap", one(Answer::page(padded(newer, cap))), "2.4.0");
    Answer atCapUnannounced = Answer::page(padded(newer, cap));
    atCapUnannounced.sendLength = false;
    row("body at the cap, no length", one(atCapUnannounced), "2.4.0");
    row("body over the cap", one(Answer::page(padded(newer, cap + 1))), "");
    Answer overCapUnannounced = Answer::page(padded(newer, cap + 1));
    overCapUnannounced.sendLength = false;
    row("body over the cap, no length", one(overCapUnannounced), "");
    Answer farOverCap = Answer::page(padded(newer, 4 * cap));
    farOverCap.sendLength = false;
    row("body far over the cap, no length", one(farOverCap), "");

    row("redirect",
        {{page, Answer::redirect("/moved/ver.htm")}, {"/moved/ver.htm", Answer::titled("2.4.0")}},
        "2.4.0");
    row("permanent redirect",
        {{page, Answer::redirect("/moved/ver.htm", 301)},
         {"/moved/ver.htm", Answer::titled("2.4.0")}},
        "2.4.0");
    const auto chain = [&page](int redirects) {
        Routes routes;
        QByteArray from = page;
        for (int n = 1; n <= redirects; ++n) {
            const QByteArray to = "/hop" + QByteArray::number(n);
            routes.append({from, Answer::redirect(to)});
            from = to;
        }
        routes.append({from, Answer::titled("2.4.0")});
        return routes;
    };
    row("five redirects", chain(5), "2.4.0");
    row("six redirects", chain(6), "");
    row("redirect loop", one(Answer::redirect(page)), "");
    row("redirect to a missing page", one(Answer::redirect("/gone")), "");
}

void UpdateNoticeTest::pageDecidesTheNotice() {
    QFETCH(Routes, routes);
    QFETCH(QString, locale);
    QFETCH(QString, title);
    QLocale::setDefault(QLocale(locale));
    LoopbackServer server;
    for (const Route& route : routes) {
        server.serve(route.path, route.answer);
    }
    auto w = openWindow(server.host());
    Form1& form = *w.form;
    // Bounds a hang: the check ends by its own time limit.
    QTRY_VERIFY_WITH_TIMEOUT(!check(form).isRunning(), 2 * VersionCheck::kTimeLimitMs);
    QVERIFY(!server.requests().isEmpty());
    QCOMPARE(server.requests().first(), QString::fromLatin1(LoopbackServer::kVersionPage));

    if (title.isEmpty()) {
        QCOMPARE(notice(form).text(), QString());
        QCOMPARE(notice(form).toolTip(), QString());
        QVERIFY(!timer1(form).isActive());
    } else {
        QCOMPARE(notice(form).text(), longMessage(title));
        QCOMPARE(notice(form).toolTip(), kToolTip);
        QVERIFY(timer1(form).isActive());
        QCOMPARE(timer1(form).interval(), 30000);
    }
    QCOMPARE(notice(form).textColor(), kRed);
}

void UpdateNoticeTest::timerShortensTheNoticeOnce() {
    LoopbackServer server;
    server.serve(LoopbackServer::kVersionPage, Answer::titled("2.3.1"));
    auto w = openWindow(server.host());
    Form1& form = *w.form;
    QTRY_VERIFY(timer1(form).isActive());
    QSignalSpy ticks(&timer1(form), &QTimer::timeout);
    // Thirty seconds pass in a moment.
    timer1(form).setInterval(1);
    QTRY_VERIFY(!timer1(form).isActive());
    QTest::qWait(50);
    QCOMPARE(ticks.count(), 1);
    QCOMPARE(notice(form).text(), kShort);
    QCOMPARE(notice(form).textColor(), kBlue);
    QCOMPARE(notice(form).toolTip(), kToolTip);
}

void UpdateNoticeTest::laterRunsBringTheLongMessageBackInBlue() {
    LoopbackServer server;
    server.serve(LoopbackServer::kVersionPage, Answer::titled("2.4.0"));
    auto w = openWindow(server.host());
    Form1& form = *w.form;
    QTRY_VERIFY(timer1(form).isActive());
    form.Timer1_Timer();
    QCOMPARE(notice(form).text(), kShort);
    QVERIFY(!timer1(form).isActive());

    server.serve(LoopbackServer::kVersionPage, Answer::titled("2.5.0"));
    click(form, "Command3"); // no crew chosen: the step reruns the start-up routine
    QTRY_VERIFY(!check(form).isRunning());
    QCOMPARE(server.requests().size(), 2);
    QCOMPARE(notice(form).text(), longMessage(QStringLiteral("2.5.0")));
    QCOMPARE(notice(form).textColor(), kBlue);
    QVERIFY(timer1(form).isActive());
    form.Timer1_Timer();
    QCOMPARE(notice(form).text(), kShort);

    // With a crew chosen a step only refills the sheet and fetches nothing.
    form.setCrew(ChooserTarget::Single, CrewCode(10), QStringLiteral("Brenmoor\nA Crew"));
    click(form, "Command3");
    QTest::qWait(100);
    QCOMPARE(server.requests().size(), 2);
}

void UpdateNoticeTest::laterFailedCheckLeavesTheNotice() {
    LoopbackServer server;
    server.serve(LoopbackServer::kVersionPage, Answer::titled("2.4.0"));
    auto w = openWindow(server.host());
    Form1& form = *w.form;
    QTRY_VERIFY(timer1(form).isActive());
    form.Timer1_Timer();

    for (const Answer& later : {Answer::titled("2.3.0"), Answer::titled("2.4"), Answer::page("")}) {
        server.serve(LoopbackServer::kVersionPage, later);
        click(form, "Command2");
        QTRY_VERIFY(!check(form).isRunning());
        QCOMPARE(notice(form).text(), kShort);
        QCOMPARE(notice(form).textColor(), kBlue);
        QCOMPARE(notice(form).toolTip(), kToolTip);
        QVERIFY(!timer1(form).isActive());
    }
    QCOMPARE(server.requests().size(), 4);
}

void UpdateNoticeTest::slowServerEndsWithinTheTimeLimit_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("accepts and never answers") << static_cast<int>(Answer::Kind::Silent);
    QTest::newRow("headers, then nothing") << static_cast<int>(Answer::Kind::HeadersThenStall);
    // Two bytes a second would take far longer than the limit for the whole page.
    QTest::newRow("trickles the page") << static_cast<int>(Answer::Kind::Trickle);
}

void UpdateNoticeTest::slowServerEndsWithinTheTimeLimit() {
    QFETCH(int, kind);
    LoopbackServer server;
    Answer slow = Answer::titled("2.4.0");
    slow.kind = static_cast<Answer::Kind>(kind);
    server.serve(LoopbackServer::kVersionPage, slow);

    QElapsedTimer clock;
    clock.start();
    auto w = openWindow(server.host());
    Form1& form = *w.form;
    // Bounds on a hang, not speeds: the window opens and steps in milliseconds, and would take
    // the whole time limit if it waited for the fetch.
    QVERIFY(clock.elapsed() < VersionCheck::kTimeLimitMs / 2);
    QTRY_COMPARE(server.requests().size(), 1);

    // The window answers at once meanwhile, and the steps start no second fetch.
    for (const char* button : {"Command3", "Command3", "Command2", "Command1", "Command4"}) {
        QElapsedTimer step;
        step.start();
        click(form, button);
        QVERIFY2(step.elapsed() < VersionCheck::kTimeLimitMs / 10, button);
        QVERIFY(check(form).isRunning());
        QTest::qWait(300);
    }
    QCOMPARE(form.findChild<Label*>(QStringLiteral("Label3"))->text(),
             QStringLiteral("April 2007"));
    QCOMPARE(server.connections(), 1);
    QCOMPARE(server.requests().size(), 1);

    QTRY_VERIFY_WITH_TIMEOUT(!check(form).isRunning(), 3 * VersionCheck::kTimeLimitMs);
    const qint64 ended = clock.elapsed();
    QVERIFY2(ended >= VersionCheck::kTimeLimitMs - 500, qPrintable(QString::number(ended)));
    // Never early; a check that outlived its limit would run on for ever.
    QVERIFY2(ended <= 2 * VersionCheck::kTimeLimitMs, qPrintable(QString::number(ended)));
    QCOMPARE(notice(form).text(), QString());
    QVERIFY(!timer1(form).isActive());
    QTRY_COMPARE(server.openConnections(), 0);

    // The next start-up run fetches again.
    click(form, "Command3");
    QTRY_COMPARE(server.requests().size(), 2);
}

void UpdateNoticeTest::closingTheWindowMidFetchEndsIt() {
    LoopbackServer server;
    Answer silent = Answer::titled("2.4.0");
    silent.kind = Answer::Kind::Silent;
    server.serve(LoopbackServer::kVersionPage, silent);
    auto w = openWindow(server.host());
    Form1& form = *w.form;
    QTRY_COMPARE(server.requests().size(), 1);
    QSignalSpy newer(&check(form), &VersionCheck::newerVersion);
    QVERIFY(form.close());
    QVERIFY(!check(form).isRunning());
    QTRY_COMPARE(server.openConnections(), 0);
    QCOMPARE(newer.count(), 0);
    QCOMPARE(notice(form).text(), QString());
}

void UpdateNoticeTest::destroyingTheWindowMidFetchIsClean() {
    LoopbackServer server;
    Answer stall = Answer::titled("2.4.0");
    stall.kind = Answer::Kind::HeadersThenStall;
    server.serve(LoopbackServer::kVersionPage, stall);
    auto w = openWindow(server.host());
    QTRY_COMPARE(server.requests().size(), 1);
    w.form.reset();
    QTRY_COMPARE(server.openConnections(), 0);
    QTest::qWait(100); // pending deliveries to the destroyed window would crash here
    QCOMPARE(server.requests().size(), 1);
}

void UpdateNoticeTest::noticeClickOpensTheSite_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("plain page") << Answer::titled("2.4.0").body;
    // Nothing on the page becomes an address.
    QTest::newRow("page with links")
        << QByteArray("<html><head><title>2.4.0</title><base href=\"http://other.example/\">"
                      "<meta http-equiv=\"refresh\" content=\"0; url=http://other.example/\">"
                      "</head><body><a href=\"http://other.example/get\">get</a></body></html>");
}

void UpdateNoticeTest::noticeClickOpensTheSite() {
    QFETCH(QByteArray, body);
    LoopbackServer server;
    server.serve(LoopbackServer::kVersionPage, Answer::page(body));
    auto w = openWindow(server.host());
    Form1& form = *w.form;
    QTRY_VERIFY(!notice(form).text().isEmpty());
    QTest::mouseClick(&notice(form), Qt::LeftButton);
    QUrl site = server.host();
    site.setPath(QStringLiteral("/kelsing_schedule/"));
    QCOMPARE(*w.opened, QList<QUrl>{site});

    // The short notice opens the site as well.
    form.Timer1_Timer();
    QTest::mouseClick(&notice(form), Qt::LeftButton);
    QCOMPARE(w.opened->size(), 2);
    QCOMPARE(w.opened->last(), site);
}

void UpdateNoticeTest::clickOnAnEmptyNoticeDoesNothing() {
    LoopbackServer server;
    server.serve(LoopbackServer::kVersionPage, Answer::titled("2.3.0"));
    auto w = openWindow(server.host());
    Form1& form = *w.form;
    QTRY_VERIFY(!check(form).isRunning());
    QTest::mouseClick(&notice(form), Qt::LeftButton);
    form.Label2_Click(38);
    QVERIFY(w.opened->isEmpty());
}

void UpdateNoticeTest::dayCellClicksNeverOpenTheSite() {
    LoopbackServer server;
    server.serve(LoopbackServer::kVersionPage, Answer::titled("2.4.0"));
    auto w = openWindow(server.host());
    Form1& form = *w.form;
    QTRY_VERIFY(!notice(form).text().isEmpty());
    auto* view = form.findChild<QWidget*>(QStringLiteral("SheetView"));
    QVERIFY(view);
    for (int c = 0; c < 38; ++c) {
        const QPoint centre = form.twips().rect(SheetLayout::dayFrame(c)).center();
        QTest::mouseClick(view, Qt::LeftButton, {}, centre - view->pos());
        form.Label2_Click(c);
    }
    QVERIFY(w.opened->isEmpty());
}

void UpdateNoticeTest::withoutTheCheckNothingIsFetched() {
    LoopbackServer server;
    server.serve(LoopbackServer::kVersionPage, Answer::titled("2.4.0"));
    Form1Services services;
    services.siteHost = server.host();
    services.updateCheck = false;
    auto w = WindowTests::openWindow(
        WindowTests::dateOf(2007, 3, 15), services,
        {.at = std::nullopt, .wait = WindowTests::Wait::Nothing, .ownSiteHost = true});
    click(*w.form, "Command3"); // no crew chosen: the step reruns the start-up routine
    QTest::qWait(300);
    QVERIFY(!w.form->findChild<VersionCheck*>());
    QCOMPARE(server.connections(), 0);
    QCOMPARE(notice(*w.form).text(), QString());
    QVERIFY(!timer1(*w.form).isActive());
    QVERIFY(w.form->close());
}

void UpdateNoticeTest::lateStartChecksAfterTheFirstFrameAndLooksTheSame() {
    LoopbackServer server;
    server.serve(LoopbackServer::kVersionPage, Answer::titled("2.4.0"));
    Form1Services services;
    services.siteHost = server.host();
    services.lateStart = true;
    const DaySerial today = WindowTests::dateOf(2007, 3, 15);
    services.today = [today] { return today; };
    Form1 late(services);
    QTest::qWait(100);
    QVERIFY(!late.findChild<VersionCheck*>());
    QCOMPARE(server.connections(), 0);
    late.show();
    QTRY_COMPARE_WITH_TIMEOUT(notice(late).text(), longMessage(QStringLiteral("2.4.0")),
                              2 * VersionCheck::kTimeLimitMs);

    // Fonts and pictures given at the first exposure: the same window as one given them at once.
    services.lateStart = false;
    services.updateCheck = false;
    auto early = WindowTests::openWindow(today, services, {.wait = WindowTests::Wait::Exposed});
    notice(late).setText(QString());
    QCOMPARE(late.grab().toImage(), early.form->grab().toImage());
}

QTEST_MAIN(UpdateNoticeTest)
#include "updatenotice_test.moc"
