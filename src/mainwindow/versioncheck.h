#pragma once

#include <QByteArray>
#include <QObject>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace kelsing {

/// Fetches the version page in the background and reports a newer published version. The fetch
/// is bounded: one at a time, a time limit for the whole transfer, a cap on the page's size, a
/// few redirects and never from https to http, TLS peers verified. Every failure is silent.
class VersionCheck final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VersionCheck)

public:
    static constexpr int kTimeLimitMs = 10000;
    static constexpr qint64 kBodyLimit = 64 * 1024;
    static constexpr int kRedirectLimit = 5;

    /// A check of the version page at `page`.
    explicit VersionCheck(const QUrl& page, QObject* parent = nullptr);
    ~VersionCheck() override;

    /// Starts a fetch and returns at once; does nothing while a fetch is under way.
    void start();

    /// Abandons the fetch under way, if any, without an answer.
    void cancel();

    /// Whether a fetch is under way.
    bool isRunning() const { return m_reply != nullptr; }

signals:
    /// The page names a version newer than the program's own; `title` is its title text as
    /// written there.
    void newerVersion(const QString& title);

    /// The fetch under way has ended, whatever its outcome.
    void finished();

private:
    void checkLength();
    bool takeBody(QNetworkReply* reply);
    void readBody();
    void fetchEnded();

    QUrl m_page;
    QNetworkAccessManager* m_network = nullptr;
    QTimer* m_deadline = nullptr;
    QNetworkReply* m_reply = nullptr;
    QByteArray m_body;
    bool m_tooLong = false;
};

} // namespace kelsing
