// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainwindow/lateservices.h"
#include "update/httpresponsereader.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QNetworkProxy>
#include <QObject>
#include <QUrl>

class QTcpSocket;
class QTimer;

namespace kelsing {

class HostLookup;

/// Fetches the version page in the background and reports a newer published version. Every
/// part of the fetch is bounded: one fetch at a time, one time limit from its start to its end
/// (looking up, connecting, the status line, the headers, redirects and the body), caps on the
/// headers and on the page, a few redirects and never from https to http, TLS peers verified.
/// Past any bound the fetch is abandoned and its connection closed. Every failure is silent.
class VersionCheck final : public QObject, public UpdateChecker {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VersionCheck)

public:
    static constexpr int kTimeLimitMs = 10000;
    static constexpr qint64 kBodyLimit = 64 * 1024;
    static constexpr qint64 kHeadLimit = 16 * 1024;
    static constexpr int kHeaderLineLimit = 100;
    static constexpr int kRedirectLimit = 5;

    /// A check of the version page at `page`.
    explicit VersionCheck(const QUrl& page, QObject* parent = nullptr);
    ~VersionCheck() override;

    /// Starts a fetch and returns at once. While a fetch is under way it does nothing: that
    /// fetch keeps its own time limit, so repeated checks neither pile up nor prolong one.
    void start() override;

    /// Abandons the fetch under way, if any, without an answer, and closes its connection.
    void cancel() override;

    /// Whether a fetch is under way.
    bool isRunning() const { return m_running; }

    /// The time limit of the fetches started from now on, from start to end.
    void setTimeLimit(int milliseconds) { m_timeLimitMs = milliseconds; }

signals:
    /// The page names a version newer than the program's own; `title` is its title text as
    /// written there.
    void newerVersion(const QString& title);

    /// The fetch under way has ended, whatever its outcome.
    void finished();

private:
    void request(const QUrl& url);
    void connectTo(const QList<QHostAddress>& addresses);
    void connectNext();
    void connected();
    void startEncryption();
    QByteArray proxyAuthorization() const;
    void sendRequest();
    // Each returns whether the connection is still read.
    bool readResponse();
    bool responseRead();
    void connectionFailed(QAbstractSocket::SocketError error);
    void connectionEnded();
    void closeConnection();
    void end(const std::string& page = {});

    QUrl m_page;
    int m_timeLimitMs = kTimeLimitMs;
    QTimer* m_deadline = nullptr;
    bool m_running = false;
    int m_redirects = 0;

    // The request under way: its address, the proxy it goes through, and its connection.
    QUrl m_url;
    QNetworkProxy m_proxy;
    HostLookup* m_lookup = nullptr;
    QList<QHostAddress> m_addresses;
    quint16 m_port = 0;
    QTcpSocket* m_socket = nullptr;
    bool m_connected = false;
    // Through an HTTP proxy an https page is reached through a tunnel that CONNECT opens.
    bool m_tunnelling = false;
    HttpResponseReader m_reader;
};

} // namespace kelsing
