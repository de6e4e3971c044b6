// SPDX-License-Identifier: GPL-3.0-or-later
#include "loopbackserver.h"

#include <QHostAddress>
#include <QSslConfiguration>
#include <QSslServer>
#include <QTcpSocket>
#include <QTimer>

namespace kelsing::test {

namespace {

// Body bytes an endless answer keeps queued, and how often it tops them up.
constexpr qint64 kEndlessQueue = 64 * 1024;
constexpr int kEndlessIntervalMs = 1;

QByteArray reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

} // namespace

Answer Answer::page(const QByteArray& body) {
    Answer a;
    a.body = body;
    return a;
}

Answer Answer::titled(const QByteArray& title) {
    return page("<html><head><title>" + title + "</title></head><body>Kelsing</body></html>");
}

Answer Answer::redirect(const QByteArray& location, int status) {
    Answer a;
    a.status = status;
    a.headers.append({"Location", location});
    return a;
}

LoopbackServer::LoopbackServer(QObject* parent)
    : QObject(parent)
    , m_scheme(QStringLiteral("http"))
    , m_server(std::make_unique<QTcpServer>()) {
    listen();
}

LoopbackServer::LoopbackServer(const QSslConfiguration& tls, QObject* parent)
    : QObject(parent)
    , m_scheme(QStringLiteral("https")) {
    auto server = std::make_unique<QSslServer>();
    server->setSslConfiguration(tls);
    m_server = std::move(server);
    listen();
}

LoopbackServer::~LoopbackServer() = default;

void LoopbackServer::listen() {
    if (!m_server->listen(QHostAddress::LocalHost, 0)) {
        qFatal("the loopback server cannot listen");
    }
    // A TLS connection is pending only once its handshake is done.
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, &LoopbackServer::accept);
}

QUrl LoopbackServer::host(const QString& name) const {
    QUrl url;
    url.setScheme(m_scheme);
    url.setHost(name);
    url.setPort(m_server->serverPort());
    return url;
}

void LoopbackServer::serve(const QByteArray& path, const Answer& answer) {
    m_answers.insert(path, answer);
}

int LoopbackServer::openConnections() const {
    int open = 0;
    for (const QTcpSocket* socket : m_server->findChildren<QTcpSocket*>()) {
        open += socket->state() == QAbstractSocket::ConnectedState ? 1 : 0;
    }
    return open;
}

void LoopbackServer::accept() {
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        ++m_connections;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
    }
}

void LoopbackServer::readRequest(QTcpSocket* socket) {
    QByteArray& request = m_pending[socket];
    request += socket->readAll();
    const qsizetype end = request.indexOf("\r\n\r\n");
    if (end < 0) {
        return;
    }
    const QList<QByteArray> lines = request.left(end).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    QByteArray path = requestLine.value(1);
    for (const QByteArray& line : lines) {
        if (line.toLower().startsWith("host:")) {
            m_hosts.append(QString::fromLatin1(line.mid(5).trimmed()));
        }
    }
    request = request.mid(end + 4);
    // As a proxy: a tunnel to the loopback port named, or a page asked for by its whole address.
    if (requestLine.value(0) == "CONNECT") {
        m_requests.append(QStringLiteral("CONNECT"));
        m_pending.remove(socket);
        tunnel(socket, path.mid(path.lastIndexOf(':') + 1).toUShort());
        return;
    }
    if (path.startsWith("http://")) {
        path = QUrl::fromEncoded(path).path(QUrl::FullyEncoded).toLatin1();
    }
    m_requests.append(QString::fromLatin1(path));
    Answer notFound;
    notFound.status = 404;
    notFound.body = "<html><head><title>Not Found</title></head></html>";
    answer(socket, m_answers.value(path, notFound));
}

QByteArray LoopbackServer::head(const Answer& answer) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' +
                      reason(answer.status) + "\r\nContent-Type: text/html\r\n";
    if (answer.claimedLength) {
        head += "Content-Length: " + QByteArray::number(*answer.claimedLength) + "\r\n";
    } else if (answer.sendLength) {
        head += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    }
    for (const auto& [name, value] : answer.headers) {
        head += name + ": " + value + "\r\n";
    }
    return head + "Connection: close\r\n\r\n";
}

void LoopbackServer::answer(QTcpSocket* socket, const Answer& answer) {
    if (answer.kind == Answer::Kind::Silent) {
        return;
    }
    if (answer.kind == Answer::Kind::Raw) {
        socket->write(answer.body);
        socket->disconnectFromHost();
        return;
    }
    const QByteArray head = LoopbackServer::head(answer);
    if (answer.kind == Answer::Kind::CutInHeaders) {
        socket->write(head.left(head.size() / 2));
        socket->disconnectFromHost();
        return;
    }
    if (answer.kind == Answer::Kind::EndlessHeaders ||
        answer.kind == Answer::Kind::TrickleHeaders) {
        endlessHeaders(socket, answer);
        return;
    }
    socket->write(head);
    switch (answer.kind) {
    case Answer::Kind::Complete:
        socket->write(answer.body);
        if (!answer.keepOpen) {
            socket->disconnectFromHost();
        }
        break;
    case Answer::Kind::HeadersThenStall:
    case Answer::Kind::Silent:
    case Answer::Kind::CutInHeaders:
    case Answer::Kind::Raw:
    case Answer::Kind::EndlessHeaders:
    case Answer::Kind::TrickleHeaders:
        break;
    case Answer::Kind::Trickle: {
        auto* drip = new QTimer(socket);
        drip->setInterval(answer.trickleIntervalMs);
        connect(drip, &QTimer::timeout, socket, [socket, body = answer.body, sent = 0]() mutable {
            if (sent < body.size()) {
                socket->write(body.mid(sent++, 1));
            }
        });
        drip->start();
        break;
    }
    case Answer::Kind::Endless: {
        // The body again and again, kept queued until the client hangs up.
        auto* pump = new QTimer(socket);
        pump->setInterval(kEndlessIntervalMs);
        connect(pump, &QTimer::timeout, socket, [socket, body = answer.body] {
            while (!body.isEmpty() && socket->state() == QAbstractSocket::ConnectedState &&
                   socket->bytesToWrite() < kEndlessQueue) {
                socket->write(body);
            }
        });
        pump->start();
        break;
    }
    }
}

void LoopbackServer::tunnel(QTcpSocket* client, quint16 port) {
    client->disconnect(this);
    auto* far = new QTcpSocket(client);
    connect(far, &QTcpSocket::connected, client,
            [client] { client->write("HTTP/1.1 200 Connection Established\r\n\r\n"); });
    connect(far, &QTcpSocket::readyRead, client, [client, far] { client->write(far->readAll()); });
    connect(client, &QTcpSocket::readyRead, far, [client, far] { far->write(client->readAll()); });
    connect(far, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
    connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    far->connectToHost(QHostAddress::LocalHost, port);
}

void LoopbackServer::endlessHeaders(QTcpSocket* socket, const Answer& answer) {
    socket->write("HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reason(answer.status) +
                  "\r\n");
    const bool flood = answer.kind == Answer::Kind::EndlessHeaders;
    auto* pump = new QTimer(socket);
    pump->setInterval(flood ? kEndlessIntervalMs : answer.trickleIntervalMs);
    connect(pump, &QTimer::timeout, socket, [socket, flood, line = 0]() mutable {
        if (socket->state() != QAbstractSocket::ConnectedState) {
            return;
        }
        do {
            socket->write("X-Line-" + QByteArray::number(++line) + ": " + QByteArray(40, 'x') +
                          "\r\n");
        } while (flood && socket->state() == QAbstractSocket::ConnectedState &&
                 socket->bytesToWrite() < kEndlessQueue);
    });
    pump->start();
}

} // namespace kelsing::test
