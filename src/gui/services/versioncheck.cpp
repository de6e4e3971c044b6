// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/versioncheck.h"

#include "base/version.h"
#include "platform/coretext.h"
#include "services/hostlookup.h"
#include "update/versionpage.h"

#include <QLocale>
#include <QMetaObject>
#include <QTcpSocket>
#include <QTimer>

#if QT_CONFIG(ssl)
#include <QSslSocket>
#endif

namespace kelsing {

namespace {

// How much is read from the connection at a time, and how much Qt may hold of it unread.
constexpr qint64 kReadChunk = 4096;
constexpr qint64 kSocketBuffer = 16 * 1024;

HttpLimits limits() {
    return {static_cast<std::size_t>(VersionCheck::kHeadLimit),
            static_cast<std::size_t>(VersionCheck::kHeaderLineLimit),
            static_cast<std::size_t>(VersionCheck::kBodyLimit)};
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool isHttpProxy(const QNetworkProxy& proxy) {
    return proxy.type() == QNetworkProxy::HttpProxy ||
           proxy.type() == QNetworkProxy::HttpCachingProxy;
}

// The proxy that the application or the user's settings (http_proxy and the like) name for
// `url`, or none.
QNetworkProxy proxyFor(const QUrl& url) {
    const bool https = url.scheme() == QLatin1String("https");
    for (const QNetworkProxy& proxy :
         QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(url))) {
        switch (proxy.type()) {
        case QNetworkProxy::NoProxy:
        case QNetworkProxy::HttpProxy:
        case QNetworkProxy::Socks5Proxy:
            return proxy;
        case QNetworkProxy::HttpCachingProxy:
            // A caching proxy opens no tunnels.
            if (!https) {
                return proxy;
            }
            break;
        case QNetworkProxy::DefaultProxy:
        case QNetworkProxy::FtpCachingProxy:
            break;
        }
    }
    return QNetworkProxy(QNetworkProxy::NoProxy);
}

// Host and port of `url` as a request names them; `withPort` adds the scheme's default port.
QByteArray authority(const QUrl& url, bool withPort) {
    QUrl named = url.adjusted(QUrl::RemoveUserInfo);
    if (withPort && named.port() < 0) {
        named.setPort(url.scheme() == QLatin1String("https") ? 443 : 80);
    }
    return named.authority(QUrl::FullyEncoded).toLatin1();
}

} // namespace

VersionCheck::VersionCheck(const QUrl& page, QObject* parent)
    : QObject(parent)
    , m_page(page)
    , m_deadline(new QTimer(this)) {
    setObjectName(QStringLiteral("VersionCheck"));
    m_deadline->setSingleShot(true);
    // The limit covers the whole fetch from its start, redirects included, so a server that
    // trickles its answer cannot stretch it the way an idle-time limit could.
    connect(m_deadline, &QTimer::timeout, this, [this] { end(); });
}

VersionCheck::~VersionCheck() {
    cancel();
}

void VersionCheck::start() {
    if (m_running) {
        return;
    }
    m_running = true;
    m_redirects = 0;
    m_deadline->start(m_timeLimitMs);
    request(m_page);
}

void VersionCheck::cancel() {
    if (!m_running) {
        return;
    }
    m_deadline->stop();
    closeConnection();
    m_running = false;
}

void VersionCheck::request(const QUrl& url) {
    closeConnection();
    const bool https = url.scheme() == QLatin1String("https");
    if ((!https && url.scheme() != QLatin1String("http")) || url.host().isEmpty()) {
        end();
        return;
    }
    m_url = url;
    m_proxy = proxyFor(url);
    const bool viaHttpProxy = isHttpProxy(m_proxy);
    m_tunnelling = https && viaHttpProxy;
    m_reader = HttpResponseReader(limits(), !m_tunnelling);
#if QT_CONFIG(ssl)
    // An http page leaves the TLS library unloaded, which would otherwise take a fifth of the
    // program's start-up.
    if (https) {
        auto* tls = new QSslSocket(this);
        connect(tls, &QSslSocket::encrypted, this, &VersionCheck::sendRequest);
        m_socket = tls;
    } else {
        m_socket = new QTcpSocket(this);
    }
#else
    if (https) {
        end();
        return;
    }
    m_socket = new QTcpSocket(this);
#endif
    m_socket->setReadBufferSize(kSocketBuffer);
    // An HTTP proxy is spoken to here; a SOCKS proxy is left to the socket.
    m_socket->setProxy(m_proxy.type() == QNetworkProxy::Socks5Proxy
                           ? m_proxy
                           : QNetworkProxy(QNetworkProxy::NoProxy));
    connect(m_socket, &QTcpSocket::connected, this, &VersionCheck::connected);
    connect(m_socket, &QTcpSocket::readyRead, this, &VersionCheck::readResponse);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &VersionCheck::connectionFailed);
    connect(m_socket, &QTcpSocket::disconnected, this, &VersionCheck::connectionEnded);

    const QString host = viaHttpProxy ? m_proxy.hostName() : url.host(QUrl::FullyEncoded);
    m_port = viaHttpProxy ? m_proxy.port() : static_cast<quint16>(url.port(https ? 443 : 80));
    if (m_proxy.type() == QNetworkProxy::Socks5Proxy) {
        // The proxy looks the name up.
        m_socket->connectToHost(host, m_port);
        return;
    }
    if (QHostAddress literal; literal.setAddress(host)) {
        connectTo({literal});
        return;
    }
    m_lookup = new HostLookup(host, this);
    connect(m_lookup, &HostLookup::found, this, &VersionCheck::connectTo);
}

void VersionCheck::connectTo(const QList<QHostAddress>& addresses) {
    if (m_lookup) {
        // It is reporting right now.
        m_lookup->deleteLater();
        m_lookup = nullptr;
    }
    m_addresses = addresses;
    connectNext();
}

void VersionCheck::connectNext() {
    if (m_addresses.isEmpty()) {
        end();
        return;
    }
    m_socket->connectToHost(m_addresses.takeFirst(), m_port);
}

void VersionCheck::connected() {
    m_connected = true;
    if (m_tunnelling) {
        const QByteArray target = authority(m_url, true);
        m_socket->write("CONNECT " + target + " HTTP/1.1\r\nHost: " + target + "\r\n" +
                        proxyAuthorization() + "\r\n");
        return;
    }
    if (m_url.scheme() == QLatin1String("https")) {
        startEncryption();
        return;
    }
    sendRequest();
}

void VersionCheck::startEncryption() {
#if QT_CONFIG(ssl)
    auto* tls = static_cast<QSslSocket*>(m_socket);
    // The peer is the page's host, however the connection reached it; Qt verifies its
    // certificate against that name.
    tls->setPeerVerifyName(m_url.host(QUrl::FullyEncoded));
    tls->setPeerVerifyMode(QSslSocket::VerifyPeer);
    tls->startClientEncryption();
#endif
}

QByteArray VersionCheck::proxyAuthorization() const {
    if (!isHttpProxy(m_proxy) || m_proxy.user().isEmpty()) {
        return {};
    }
    const QString credentials = m_proxy.user() + QLatin1Char(':') + m_proxy.password();
    return "Proxy-Authorization: Basic " + credentials.toUtf8().toBase64() + "\r\n";
}

void VersionCheck::sendRequest() {
    // Through an HTTP proxy without a tunnel the request names the whole address, and carries
    // the proxy's credentials; they never go into a tunnel.
    const bool toProxy =
        isHttpProxy(m_proxy) && !m_tunnelling && m_url.scheme() == QLatin1String("http");
    QByteArray target =
        toProxy
            ? m_url.adjusted(QUrl::RemoveUserInfo | QUrl::RemoveFragment).toEncoded()
            : m_url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (!toProxy && !target.startsWith('/')) {
        target.prepend('/');
    }
    const QByteArray userAgent =
        "Kelsing-Shift-Workers-Schedule/" +
        QByteArray(kVersionText.data(), static_cast<qsizetype>(kVersionText.size()));
    m_socket->write("GET " + target + " HTTP/1.1\r\nHost: " + authority(m_url, false) +
                    "\r\nUser-Agent: " + userAgent +
                    "\r\nAccept: text/html\r\nConnection: close\r\n" +
                    (toProxy ? proxyAuthorization() : QByteArray()) + "\r\n");
}

bool VersionCheck::readResponse() {
    QTcpSocket* const socket = m_socket;
    while (socket && socket == m_socket && socket->bytesAvailable() > 0) {
        const QByteArray bytes = socket->read(kReadChunk);
        m_reader.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        if (!responseRead()) {
            return false;
        }
    }
    return socket && socket == m_socket;
}

bool VersionCheck::responseRead() {
    const HttpResponseReader::State state = m_reader.state();
    if (state == HttpResponseReader::State::Failed) {
        end();
        return false;
    }
    if (state == HttpResponseReader::State::Head) {
        return true;
    }
    const int status = m_reader.status();
    if (m_tunnelling) {
        if (status / 100 != 2) {
            end();
            return false;
        }
        m_tunnelling = false;
        m_reader = HttpResponseReader(limits());
        startEncryption();
        return false;
    }
    if (isRedirect(status)) {
        // The redirect's body is not waited for.
        const auto location = m_reader.header("Location");
        const QUrl next = location ? m_url.resolved(QUrl(fromCore(*location))) : QUrl();
        const bool lessSafe =
            m_url.scheme() == QLatin1String("https") && next.scheme() != QLatin1String("https");
        if (!next.isValid() || lessSafe || ++m_redirects > kRedirectLimit) {
            end();
        } else {
            request(next);
        }
        return false;
    }
    if (state != HttpResponseReader::State::Complete) {
        return true;
    }
    end(status / 100 == 2 ? m_reader.body() : std::string());
    return false;
}

void VersionCheck::connectionFailed(QAbstractSocket::SocketError error) {
    if (!m_connected) {
        // The socket takes the next address only once it has finished reporting this one.
        QMetaObject::invokeMethod(
            this,
            [this, socket = m_socket] {
                if (socket == m_socket) {
                    connectNext();
                }
            },
            Qt::QueuedConnection);
        return;
    }
    if (error == QAbstractSocket::RemoteHostClosedError) {
        connectionEnded();
        return;
    }
    end();
}

void VersionCheck::connectionEnded() {
    if (!m_connected || !readResponse()) {
        return;
    }
    m_reader.end();
    responseRead();
}

void VersionCheck::closeConnection() {
    delete m_lookup;
    m_lookup = nullptr;
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        // It may be reporting right now.
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    m_connected = false;
    m_addresses.clear();
}

void VersionCheck::end(const std::string& page) {
    m_deadline->stop();
    closeConnection();
    m_running = false;
    const std::string text = fromCore(page).toStdString();
    const std::string separator = QLocale().decimalPoint().toStdString();
    const VersionNumbers own{kVersionMajor, kVersionMinor, kVersionRevision};
    if (const auto title = NewerVersionTitle(text, own, separator)) {
        emit newerVersion(fromCore(*title));
    }
    emit finished();
}

} // namespace kelsing
