// SPDX-License-Identifier: GPL-3.0-or-later
// The version check against an update host that does its worst: it trickles, never stops, hangs
// up mid-header, sends garbage or a giant title, lies about the length, redirects from https to
// http or to another host, sends header lines without end, through a proxy or not. Whatever it
// does, the window keeps answering at once, a notice shows only for a page that really names a
// newer version, and the check ends within its time limit. Against the worst hosts an hour's worth
// of repeated checks leaves memory flat, and closing the window during a fetch ends the process at
// once.

#include "calendar/dayserial.h"
#include "loopbackserver.h"
#include "mainwindow/form1.h"
#include "platform/label.h"
#include "platform/localeservices.h"
#include "services/versioncheck.h"
#include "windowtestsupport.h"

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <memory>
#include <random>
#include <tuple>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkProxy>
#include <QProcess>
#include <QScopeGuard>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kelsing;
using namespace kelsing::WindowTests;
using kelsing::test::Answer;
using kelsing::test::LoopbackServer;

namespace {

// Which of the two servers answers a path; where the version page is asked for, also: the plain
// server as the proxy to a host that only a proxy reaches, by http or by a tunnel to https.
enum class Server { Plain, Tls, Proxy, TlsProxy };

// What a row also puts the check through.
enum Ordeal {
    Repeated = 1, // an hour's worth of checks, each rerun of the start-up routine starting one
    Closed = 2,   // the window closed during a fetch, in a process of its own
};

struct Route {
    Server server;
    QByteArray path;
    Answer answer;
};
using Routes = QList<Route>;

// The certificate of the TLS server: one the test process trusts, or one it does not.
enum class Trust { Trusted, Untrusted };

// Every limit below bounds a hang, never a speed: at least ten times what it takes on a busy
// machine under the sanitizers. The window's speed is measured in bench/.
//
// The longest a month step may take while a fetch is under way: a few milliseconds, up to 60 ms
// sanitized on a busy machine; a step that waited for the fetch would take seconds.
constexpr qint64 kStepLimitMs = 1000;
// How long a check that must end by its time limit may take at least and at most: it never ends
// early, and one that outlived its limit would run on for a minute or for ever.
constexpr int kSlowAtLeastMs = VersionCheck::kTimeLimitMs - 500;
constexpr int kSlowAtMostMs = 2 * VersionCheck::kTimeLimitMs;
// How long a check that fails on what it reads may take at most: 3 to 30 ms, up to 700 ms
// sanitized; well before the time limit, which a check waiting for it would reach.
constexpr int kFastAtMostMs = VersionCheck::kTimeLimitMs - 2000;
// The repeated checks: a short time limit for each, and as many as an hour at the real limit.
constexpr int kRepeatLimitMs = 5;
// A loaded machine may be late to end one (by 10 ms, up to 450 ms sanitized); a check that a
// later one prolonged would run on for as long as the steps go on.
constexpr int kRepeatSlackMs = 5000;
// The hour's worth of checks takes seconds, up to 15 s sanitized.
constexpr qint64 kRepeatsAtMostMs = 600000;
constexpr int kRepeatChecks = 3600 * 1000 / VersionCheck::kTimeLimitMs;
constexpr int kWarmUpChecks = 20;
constexpr qint64 kMemoryGrowthLimit = 2 * 1024 * 1024;
// AddressSanitizer allocates past the C library's allocator, which then has nothing to tell; the
// plain build checks growth.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kHeapTellsGrowth = false;
#else
constexpr bool kHeapTellsGrowth = true;
#endif
// From the close of the window to the end of its process: 0 to 10 ms, up to 120 ms sanitized; a
// fetch that held up the exit did so for 5 seconds.
constexpr qint64 kExitLimitMs = 2000;

const QString kProxiedHost = QStringLiteral("kelsing-update.invalid");
// Set for the child process of exitAfterClosing: the host and the proxy's port.
const char* const kChild = "KELSING_TEST_CLOSE_DURING_FETCH";

const QString kLongStart = QStringLiteral("A Newer Version of this program is available.\nIf you "
                                          "would like to go to the Website to Download the new "
                                          "Version (");
const QString kLongEnd = QStringLiteral(") Click Here");

const DaySerial kToday = dateOf(2007, 3, 15);

// Bytes that look like nothing, the same in every run.
QByteArray garbage(int size, unsigned seed) {
    std::mt19937 rng(seed);
    QByteArray bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(rng() & 0xFF);
    }
    return bytes;
}

QByteArray page(const QByteArray& title) {
    return Answer::titled(title).body;
}

Answer withLength(Answer answer, qint64 claimed, bool keepOpen = false) {
    answer.claimedLength = claimed;
    answer.keepOpen = keepOpen;
    return answer;
}

Answer ofKind(Answer answer, Answer::Kind kind, bool sendLength = true) {
    answer.kind = kind;
    answer.sendLength = sendLength;
    return answer;
}

// The newer page with `lines` header lines and a head of `bytes` bytes as the server sends it.
Answer withHead(int lines, qsizetype bytes) {
    Answer answer = Answer::titled("2.4.0");
    // Less the status line and the blank line.
    for (int n = static_cast<int>(LoopbackServer::head(answer).count('\n')) - 2; n < lines; ++n) {
        answer.headers.append({"X-Pad-" + QByteArray::number(n), ""});
    }
    answer.headers.last().second = QByteArray(bytes - LoopbackServer::head(answer).size(), 'p');
    return answer;
}

// The bytes the process holds from the allocator. Resident memory would also count freed memory
// that the allocator keeps for reuse, which on a fresh machine rose by 250 MB over these checks.
qint64 heapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<qint64>(info.uordblks + info.hblkhd);
}

// The child process of exitAfterClosing: a window that asks `host`, through the loopback proxy
// `proxyPort` if any, closed during a fetch that a step without a crew has just started.
int closeDuringFetch(const QUrl& host, int proxyPort) {
    if (proxyPort > 0) {
        QNetworkProxy::setApplicationProxy(
            QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), proxyPort));
    }
    Form1Services services;
    services.siteHost = host;
    auto w = openWindow(kToday, services, {.at = {}, .wait = Wait::Nothing, .ownSiteHost = true});
    QTest::qWait(300);
    click(*w.form, QStringLiteral("Command3"));
    std::puts(check(*w.form).isRunning() ? "closing" : "not fetching");
    std::fflush(stdout);
    w.form->close();
    return 0;
}

// Milliseconds from the close of a window during a fetch from `host` to the end of its process,
// run from this test's own program; -1 when the child failed.
qint64 exitAfterClosing(const QUrl& host, int proxyPort) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChild),
                       host.toString() + ' ' + QString::number(proxyPort));
    // The parent checks for leaks; the child's exit is timed.
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       environment.value(QStringLiteral("ASAN_OPTIONS")) +
                           QStringLiteral(":detect_leaks=0"));
    child.setProcessEnvironment(environment);
    QElapsedTimer clock;
    qint64 closedAt = -1;
    qint64 exitedAt = -1;
    QObject::connect(&child, &QProcess::readyReadStandardOutput, [&] {
        if (closedAt < 0 && child.readAllStandardOutput().contains("closing")) {
            closedAt = clock.elapsed();
        }
    });
    QObject::connect(&child, &QProcess::finished, [&] { exitedAt = clock.elapsed(); });
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), {});
    // The servers keep answering in this process meanwhile.
    // Bounds a hang: the child opens its window and closes it in a second or two.
    const bool exited = QTest::qWaitFor([&] { return exitedAt >= 0; }, 60000);
    return exited && closedAt >= 0 && child.exitCode() == 0 ? exitedAt - closedAt : -1;
}

// A self-signed certificate for the loopback host under both its names, made by openssl.
bool makeCertificate(const QString& folder, const QString& name, QSslCertificate& certificate,
                     QSslKey& key) {
    const QString certificateFile = QDir(folder).filePath(name + QStringLiteral(".crt"));
    const QString keyFile = QDir(folder).filePath(name + QStringLiteral(".key"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                   QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost,DNS:") + kProxiedHost,
                   QStringLiteral("-keyout"), keyFile, QStringLiteral("-out"), certificateFile});
    if (!openssl.waitForFinished(30000) || openssl.exitStatus() != QProcess::NormalExit ||
        openssl.exitCode() != 0) {
        qWarning("openssl: %s", openssl.readAllStandardError().constData());
        return false;
    }
    QFile certificateText(certificateFile);
    QFile keyText(keyFile);
    if (!certificateText.open(QIODevice::ReadOnly) || !keyText.open(QIODevice::ReadOnly)) {
        return false;
    }
    certificate = QSslCertificate(&certificateText, QSsl::Pem);
    key = QSslKey(&keyText, QSsl::Ec, QSsl::Pem);
    return !certificate.isNull() && !key.isNull();
}

} // namespace

Q_DECLARE_METATYPE(Route)

class HostileUpdateHostTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void hostileHost_data();
    void hostileHost();

private:
    QTemporaryDir m_folder;
    QSslConfiguration m_trusted;
    QSslConfiguration m_untrusted;
};

void HostileUpdateHostTest::initTestCase() {
    // The loopback servers must be reached directly, whatever proxy the machine has.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    QVERIFY(m_folder.isValid());
    QSslCertificate trusted;
    QSslKey trustedKey;
    QSslCertificate untrusted;
    QSslKey untrustedKey;
    QVERIFY2(makeCertificate(m_folder.path(), QStringLiteral("trusted"), trusted, trustedKey),
             "openssl could not make a certificate");
    QVERIFY(makeCertificate(m_folder.path(), QStringLiteral("untrusted"), untrusted, untrustedKey));
    for (auto [tls, certificate, key] : {std::tuple{&m_trusted, trusted, trustedKey},
                                         std::tuple{&m_untrusted, untrusted, untrustedKey}}) {
        *tls = QSslConfiguration::defaultConfiguration();
        tls->setLocalCertificate(certificate);
        tls->setPrivateKey(key);
        tls->setPeerVerifyMode(QSslSocket::VerifyNone);
    }
    // Only this process trusts the first certificate, as if it came from a real authority.
    QSslConfiguration clients = QSslConfiguration::defaultConfiguration();
    clients.addCaCertificate(trusted);
    QSslConfiguration::setDefaultConfiguration(clients);
}

void HostileUpdateHostTest::hostileHost_data() {
    QTest::addColumn<Routes>("routes");
    QTest::addColumn<int>("start");       // Server: where the version page is asked for
    QTest::addColumn<int>("trust");       // Trust: the TLS server's certificate
    QTest::addColumn<QString>("title");   // quoted in the notice; empty when nothing shows
    QTest::addColumn<int>("atLeastMs");   // the check ends after ...
    QTest::addColumn<int>("atMostMs");    // ... and before
    QTest::addColumn<int>("plainVisits"); // requests to the plain server in the first check, or -1
    QTest::addColumn<QString>("redirectedTo"); // the plain server's name in the second request
    QTest::addColumn<int>("ordeals");          // Ordeal flags

    const QByteArray ver = LoopbackServer::kVersionPage;
    const auto plain = [&ver](const Answer& answer) {
        return Routes{{Server::Plain, ver, answer}};
    };
    const auto row = [](const char* name, const Routes& routes, const char* title, int atMost,
                        int atLeast = 0, Server start = Server::Plain, Trust trust = Trust::Trusted,
                        int plainVisits = -1, const char* redirectedTo = "", int ordeals = 0) {
        QTest::newRow(name) << routes << static_cast<int>(start) << static_cast<int>(trust)
                            << QString::fromLatin1(title) << atLeast << atMost << plainVisits
                            << QString::fromLatin1(redirectedTo) << ordeals;
    };
    const Answer newer = Answer::titled("2.4.0");

    // Slow answers: only the time limit ends them.
    Answer byteASecond = ofKind(newer, Answer::Kind::Trickle);
    byteASecond.trickleIntervalMs = 1000;
    row("one byte a second", plain(byteASecond), "", kSlowAtMostMs, kSlowAtLeastMs);
    row("longer length than the body, then silence",
        plain(withLength(newer, newer.body.size() + 100, true)), "", kSlowAtMostMs, kSlowAtLeastMs);
    Answer headerASecond = ofKind(newer, Answer::Kind::TrickleHeaders);
    headerASecond.trickleIntervalMs = 1000;
    row("a header line a second", plain(headerASecond), "", kSlowAtMostMs, kSlowAtLeastMs,
        Server::Plain, Trust::Trusted, -1, "", Repeated | Closed);

    // Too much: the cap ends them as soon as it is passed.
    row("endless body", plain(ofKind(newer, Answer::Kind::Endless, false)), "", kFastAtMostMs);
    const Answer headerFlood = ofKind(newer, Answer::Kind::EndlessHeaders);
    row("endless header lines", plain(headerFlood), "", kFastAtMostMs, 0, Server::Plain,
        Trust::Trusted, -1, "", Repeated | Closed);
    row("endless header lines through a proxy", plain(headerFlood), "", kFastAtMostMs, 0,
        Server::Proxy, Trust::Trusted, -1, "", Repeated | Closed);
    row("100 header lines", plain(withHead(100, 4000)), "2.4.0", kFastAtMostMs);
    row("101 header lines", plain(withHead(101, 4000)), "", kFastAtMostMs);
    row("16 KiB head", plain(withHead(10, 16 * 1024)), "2.4.0", kFastAtMostMs);
    row("16 KiB head and a byte", plain(withHead(10, 16 * 1024 + 1)), "", kFastAtMostMs);
    row("endless body announced as 10 MB",
        plain(withLength(ofKind(newer, Answer::Kind::Endless), 10'000'000)), "", kFastAtMostMs);
    const QByteArray giantTitle = QByteArray(100 * 1024, '9') + ".9.9";
    row("100 KB title", plain(Answer::titled(giantTitle)), "", kFastAtMostMs);
    row("100 KB title, no length",
        plain(ofKind(Answer::titled(giantTitle), Answer::Kind::Complete, false)), "",
        kFastAtMostMs);
    row("100 KB title after a newer one", plain(Answer::page(page("2.4.0") + page(giantTitle))), "",
        kFastAtMostMs);

    // Broken answers.
    row("closes mid-header", plain(ofKind(newer, Answer::Kind::CutInHeaders)), "", kFastAtMostMs);
    row("garbage instead of an answer",
        plain(ofKind(Answer::page(garbage(4096, 1)), Answer::Kind::Raw)), "", kFastAtMostMs);
    row("garbage body", plain(Answer::page(garbage(4096, 2))), "", kFastAtMostMs);
    row("garbage body, no length",
        plain(ofKind(Answer::page(garbage(40000, 3)), Answer::Kind::Complete, false)), "",
        kFastAtMostMs);
    // Garbage around a real title does not hide it.
    row("garbage around a newer title",
        plain(Answer::page(garbage(3000, 4) + page("2.4.0") + garbage(3000, 5))), "2.4.0",
        kFastAtMostMs);
    row("garbage around the same version",
        plain(Answer::page(garbage(3000, 4) + page("2.3.0") + garbage(3000, 5))), "",
        kFastAtMostMs);

    // Lying lengths: the page is what its length says, or nothing.
    row("shorter length cutting the title", plain(withLength(newer, 25)), "", kFastAtMostMs);
    row("shorter length keeping the title",
        plain(withLength(Answer::page("<title>2.4.0</title>" + garbage(500, 6)), 20)), "2.4.0",
        kFastAtMostMs);
    row("longer length than the body, then close",
        plain(withLength(newer, newer.body.size() + 100)), "", kFastAtMostMs);
    row("length over the cap", plain(withLength(newer, VersionCheck::kBodyLimit + 1)), "",
        kFastAtMostMs);

    // TLS and redirects.
    row("https page", {{Server::Tls, ver, newer}}, "2.4.0", kFastAtMostMs, 0, Server::Tls);
    row("page through a proxy", plain(newer), "2.4.0", kFastAtMostMs, 0, Server::Proxy);
    row("https page through a proxy's tunnel", {{Server::Tls, ver, newer}}, "2.4.0", kFastAtMostMs,
        0, Server::TlsProxy);
    row("https with an untrusted certificate", {{Server::Tls, ver, newer}}, "", kFastAtMostMs, 0,
        Server::Tls, Trust::Untrusted);
    row("https to https redirect",
        {{Server::Tls, ver, Answer::redirect("{https}/moved/ver.htm")},
         {Server::Tls, "/moved/ver.htm", newer}},
        "2.4.0", kFastAtMostMs, 0, Server::Tls);
    row("https to http redirect",
        {{Server::Tls, ver, Answer::redirect("{http}" + ver)}, {Server::Plain, ver, newer}}, "",
        kFastAtMostMs, 0, Server::Tls, Trust::Trusted, 0);
    row("https to http redirect, permanent",
        {{Server::Tls, ver, Answer::redirect("{http}" + ver, 301)}, {Server::Plain, ver, newer}},
        "", kFastAtMostMs, 0, Server::Tls, Trust::Trusted, 0);
    row("http to https redirect",
        {{Server::Plain, ver, Answer::redirect("{https}" + ver)}, {Server::Tls, ver, newer}},
        "2.4.0", kFastAtMostMs);
    // Another host may answer for the site; its page counts, and its address is never opened.
    row("redirect to another host",
        {{Server::Plain, ver, Answer::redirect("{localhost}/moved/ver.htm")},
         {Server::Plain, "/moved/ver.htm", newer}},
        "2.4.0", kFastAtMostMs, 0, Server::Plain, Trust::Trusted, 2, "localhost");
    row("redirect to another host with an older version",
        {{Server::Plain, ver, Answer::redirect("{localhost}/moved/ver.htm")},
         {Server::Plain, "/moved/ver.htm", Answer::titled("2.2.0")}},
        "", kFastAtMostMs, 0, Server::Plain, Trust::Trusted, 2, "localhost");
    row("redirect to a host that is not there",
        plain(Answer::redirect("http://127.0.0.1:9/kelsing_schedule/ver.htm")), "", kFastAtMostMs);
}

void HostileUpdateHostTest::hostileHost() {
    QFETCH(Routes, routes);
    QFETCH(int, start);
    QFETCH(int, trust);
    QFETCH(QString, title);
    QFETCH(int, atLeastMs);
    QFETCH(int, atMostMs);
    QFETCH(int, plainVisits);
    QFETCH(QString, redirectedTo);
    QFETCH(int, ordeals);

    LoopbackServer plainServer;
    LoopbackServer tlsServer(static_cast<Trust>(trust) == Trust::Trusted ? m_trusted : m_untrusted);
    const auto expand = [&](QByteArray text) {
        return text.replace("{http}", plainServer.host().toEncoded())
            .replace("{https}", tlsServer.host().toEncoded())
            .replace("{localhost}", plainServer.host(QStringLiteral("localhost")).toEncoded());
    };
    for (Route route : routes) {
        for (auto& [name, value] : route.answer.headers) {
            value = expand(value);
        }
        (route.server == Server::Plain ? plainServer : tlsServer).serve(route.path, route.answer);
    }
    const auto server = static_cast<Server>(start);
    QUrl host =
        server == Server::Plain || server == Server::Proxy ? plainServer.host() : tlsServer.host();
    const bool proxied = server == Server::Proxy || server == Server::TlsProxy;
    const int proxyPort = proxied ? plainServer.host().port() : 0;
    if (proxied) {
        host.setHost(kProxiedHost);
        QNetworkProxy::setApplicationProxy(
            QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), proxyPort));
    }
    const auto directAgain =
        qScopeGuard([] { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); });
    Form1Services services;
    services.siteHost = host;

    QElapsedTimer clock;
    clock.start();
    auto w = openWindow(kToday, services,
                        {.at = std::nullopt, .wait = Wait::Nothing, .ownSiteHost = true});
    std::unique_ptr<Form1>& form = w.form;
    const std::shared_ptr<QList<QUrl>>& opened = w.opened;
    qint64 endedAt = -1;
    QStringList plainRequests; // those of the first check
    connect(&check(*form), &VersionCheck::finished, form.get(), [&] {
        if (endedAt < 0) {
            endedAt = clock.elapsed();
            plainRequests = plainServer.requests();
        }
    });

    // Month steps while the fetch is under way: the first reruns the start-up routine, which
    // must not wait for the fetch; the later ones, with a crew chosen, only refill the sheet.
    MonthYear shown{3, 2007};
    qint64 slowestStep = 0;
    const auto stepOnce = [&] {
        QElapsedTimer step;
        step.start();
        clickControl(*form, QStringLiteral("Command3"));
        slowestStep = std::max(slowestStep, step.elapsed());
        shown = shown.month == 12 ? MonthYear{1, static_cast<Int16>(shown.year + 1)}
                                  : MonthYear{static_cast<Int16>(shown.month + 1), shown.year};
        return static_cast<Label*>(control(*form, QStringLiteral("Label3")))->text() ==
               LocaleServices::formatMonthTitle(shown);
    };
    QTRY_VERIFY_WITH_TIMEOUT(
        plainServer.connections() + tlsServer.connections() > 0 || endedAt >= 0, 5000);
    QVERIFY(stepOnce());
    form->setCrew(ChooserTarget::Single, CrewCode(10), QStringLiteral("Brenmoor\nA Crew"));
    while (endedAt < 0 && clock.elapsed() < kSlowAtMostMs + 3000) {
        QVERIFY(stepOnce());
        QTest::qWait(200);
    }
    QVERIFY2(slowestStep < kStepLimitMs, qPrintable(QString::number(slowestStep)));
    QVERIFY2(endedAt >= atLeastMs && endedAt <= atMostMs, qPrintable(QString::number(endedAt)));
    // A second fetch, started by the first step when the first had ended already, ends too.
    QTRY_VERIFY_WITH_TIMEOUT(!check(*form).isRunning(), kSlowAtMostMs);

    if (title.isEmpty()) {
        QCOMPARE(notice(*form).text(), QString());
        QVERIFY(!timer1(*form).isActive());
    } else {
        QCOMPARE(notice(*form).text(), kLongStart + title + kLongEnd);
        QVERIFY(timer1(*form).isActive());
        // Whoever answered, the notice opens the site on the configured host.
        QTest::mouseClick(&notice(*form), Qt::LeftButton);
        QUrl site = host;
        site.setPath(QStringLiteral("/kelsing_schedule/"));
        QCOMPARE(*opened, QList<QUrl>{site});
    }
    if (plainVisits >= 0) {
        QCOMPARE(plainRequests.size(), plainVisits);
    }
    if (!redirectedTo.isEmpty()) {
        QCOMPARE(plainServer.requestedHosts().value(1), plainServer.host(redirectedTo).authority());
    }

    if (ordeals & Repeated) {
        // With no crew every step starts a check unless one is under way. None may outlive its
        // limit or leave its connection open, and memory may not grow.
        form->setCrew(ChooserTarget::Single, CrewCode(0), QString());
        VersionCheck& versionCheck = check(*form);
        versionCheck.setTimeLimit(kRepeatLimitMs);
        QElapsedTimer fetch;
        int checks = 0;
        qint64 longest = 0;
        connect(&versionCheck, &VersionCheck::finished, form.get(), [&] {
            ++checks;
            longest = std::max(longest, fetch.elapsed());
        });
        qint64 before = -1;
        int mostOpen = 0;
        while (checks < kWarmUpChecks + kRepeatChecks && clock.elapsed() < kRepeatsAtMostMs) {
            if (checks >= kWarmUpChecks && before < 0) {
                before = heapBytes();
            }
            if (!versionCheck.isRunning()) {
                fetch.start();
            }
            QVERIFY(stepOnce());
            mostOpen = std::max(mostOpen, plainServer.openConnections());
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        QCOMPARE(checks, kWarmUpChecks + kRepeatChecks);
        const qint64 growth = heapBytes() - before;
        QVERIFY2(!kHeapTellsGrowth || growth < kMemoryGrowthLimit,
                 qPrintable(QString::number(growth)));
        QVERIFY2(longest <= kRepeatLimitMs + kRepeatSlackMs, qPrintable(QString::number(longest)));
        // The server may not have seen the last connection close when the next one opens.
        QVERIFY2(mostOpen <= 2, qPrintable(QString::number(mostOpen)));
        QTRY_COMPARE(plainServer.openConnections(), 0);
        QCOMPARE(notice(*form).text(), QString());
    }
    if (ordeals & Closed) {
        const qint64 exit = exitAfterClosing(host, proxyPort);
        QVERIFY2(exit >= 0 && exit < kExitLimitMs, qPrintable(QString::number(exit)));
    }
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (const QStringList child = qEnvironmentVariable(kChild).split(' '); child.size() == 2) {
        return closeDuringFetch(QUrl(child[0]), child[1].toInt());
    }
    HostileUpdateHostTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "hostileupdatehost_test.moc"
