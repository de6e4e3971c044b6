// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

class QSslConfiguration;
class QTcpSocket;

namespace kelsing::test {

/// One canned answer of the loopback server.
struct Answer {
    /// How the server behaves on the connection.
    enum class Kind {
        Complete,         // the whole answer at once, then the connection closes
        Silent,           // accepts the request and never answers
        HeadersThenStall, // the status line and headers, then nothing more
        Trickle,          // one byte of the body every trickleIntervalMs
        Endless,          // the status line and headers, then the body over and over, never ending
        CutInHeaders,     // half of the status line and headers, then the connection closes
        Raw,              // the body alone, without status line or headers, then it closes
        EndlessHeaders,   // the status line, then header lines as fast as the client takes them
        TrickleHeaders,   // the status line, then one header line every trickleIntervalMs
    };

    int status = 200;
    QByteArray body;
    // Extra header lines, such as a redirect's Location.
    QList<QPair<QByteArray, QByteArray>> headers;
    // Without a length the body ends where the connection closes.
    bool sendLength = true;
    // A Content-Length that lies about the body's size.
    std::optional<qint64> claimedLength;
    // The connection stays open after a complete answer instead of closing.
    bool keepOpen = false;
    int trickleIntervalMs = 500;
    Kind kind = Kind::Complete;

    /// A 200 answer with `body`.
    static Answer page(const QByteArray& body);
    /// A page whose title is `title`.
    static Answer titled(const QByteArray& title);
    /// A redirect to `location`.
    static Answer redirect(const QByteArray& location, int status = 302);
};

/// A small HTTP/1.1 server on the loopback interface, serving canned answers by path; any other
/// path is answered 404. It also serves as an HTTP proxy that answers for any host and tunnels
/// CONNECT to the loopback port named.
class LoopbackServer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LoopbackServer)

public:
    static constexpr const char* kVersionPage = "/kelsing_schedule/ver.htm";

    /// A plain HTTP server.
    explicit LoopbackServer(QObject* parent = nullptr);

    /// An HTTPS server with the certificate and key of `tls`.
    explicit LoopbackServer(const QSslConfiguration& tls, QObject* parent = nullptr);

    ~LoopbackServer() override;

    /// Scheme, host and port of the server; `name` names the loopback host differently (such as
    /// "localhost").
    QUrl host(const QString& name = QStringLiteral("127.0.0.1")) const;

    /// Answers requests for `path` with `answer` from now on.
    void serve(const QByteArray& path, const Answer& answer);

    /// The paths requested so far, in order.
    QStringList requests() const { return m_requests; }

    /// The Host headers of those requests, in order.
    QStringList requestedHosts() const { return m_hosts; }

    /// The status line and the headers that answer a request with `answer`, blank line included.
    static QByteArray head(const Answer& answer);

    /// How many connections the server has accepted.
    int connections() const { return m_connections; }

    /// How many accepted connections the client has not closed yet.
    int openConnections() const;

private:
    void listen();
    void accept();
    void readRequest(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const Answer& answer);
    void endlessHeaders(QTcpSocket* socket, const Answer& answer);
    void tunnel(QTcpSocket* client, quint16 port);

    QHash<QByteArray, Answer> m_answers;
    QHash<QTcpSocket*, QByteArray> m_pending;
    QStringList m_requests;
    QStringList m_hosts;
    int m_connections = 0;
    QString m_scheme;
    // Last, so that it goes first: its sockets report their disconnection while closing.
    std::unique_ptr<QTcpServer> m_server;
};

} // namespace kelsing::test
