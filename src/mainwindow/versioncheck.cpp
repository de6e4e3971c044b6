#include "mainwindow/versioncheck.h"

#include "base/version.h"
#include "mainwindow/versionpage.h"

#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#if QT_CONFIG(ssl)
#include <QSslConfiguration>
#include <QSslSocket>
#endif

namespace kelsing {

VersionCheck::VersionCheck(const QUrl& page, QObject* parent)
    : QObject(parent)
    , m_page(page)
    , m_network(new QNetworkAccessManager(this))
    , m_deadline(new QTimer(this)) {
    setObjectName(QStringLiteral("VersionCheck"));
    m_deadline->setSingleShot(true);
    m_deadline->setInterval(kTimeLimitMs);
    // The limit covers the whole fetch, redirects included, so a server that trickles its
    // answer cannot stretch it the way an idle-time limit could.
    connect(m_deadline, &QTimer::timeout, this, [this] {
        if (m_reply) {
            m_reply->abort();
        }
    });
}

VersionCheck::~VersionCheck() {
    cancel();
}

void VersionCheck::start() {
    if (m_reply) {
        return;
    }
    QNetworkRequest request(m_page);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kRedirectLimit);
    request.setTransferTimeout(kTimeLimitMs);
#if QT_CONFIG(ssl)
    // Qt's clients verify the server's certificate unless told otherwise, a redirect to https
    // included; an https page says so outright. An http page leaves the TLS library unloaded,
    // which would otherwise take a fifth of the program's start-up.
    if (m_page.scheme() == QLatin1String("https")) {
        QSslConfiguration tls = request.sslConfiguration();
        tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
        request.setSslConfiguration(tls);
    }
#endif
    m_body.clear();
    m_tooLong = false;
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &VersionCheck::checkLength);
    connect(m_reply, &QIODevice::readyRead, this, &VersionCheck::readBody);
    connect(m_reply, &QNetworkReply::finished, this, &VersionCheck::fetchEnded);
    m_deadline->start();
}

void VersionCheck::cancel() {
    if (!m_reply) {
        return;
    }
    m_deadline->stop();
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    // Deleting the reply ends its transfer and drops whatever it still had to report.
    reply->disconnect(this);
    delete reply;
}

void VersionCheck::checkLength() {
    // A page announced as too long is refused before any of it is read.
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > kBodyLimit) {
        m_tooLong = true;
        m_reply->abort();
    }
}

bool VersionCheck::takeBody(QNetworkReply* reply) {
    // Reads one byte past the cap at most, enough to know that the page is too long.
    m_body += reply->read(kBodyLimit + 1 - m_body.size());
    return m_body.size() <= kBodyLimit;
}

void VersionCheck::readBody() {
    if (!takeBody(m_reply)) {
        m_tooLong = true;
        m_reply->abort();
    }
}

void VersionCheck::fetchEnded() {
    m_deadline->stop();
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->deleteLater();
    const bool answered = !m_tooLong && reply->error() == QNetworkReply::NoError && takeBody(reply);
    const std::string page = answered ? QString::fromUtf8(m_body).toStdString() : std::string();
    m_body.clear();

    const std::string separator = QLocale().decimalPoint().toStdString();
    const VersionNumbers own{kVersionMajor, kVersionMinor, kVersionRevision};
    if (const auto title = NewerVersionTitle(page, own, separator)) {
        emit newerVersion(QString::fromStdString(*title));
    }
    emit finished();
}

} // namespace kelsing
