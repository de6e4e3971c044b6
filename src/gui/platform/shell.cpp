// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell.h"

#include "platform/addressmessage.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

namespace kelsing {

namespace {

// A launcher that fails does so within this time; later it is a browser that ends.
constexpr qint64 kFailureWatchMs = 10000;

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
// xdg-open tells by its exit status whether it found a browser, which the toolkit does not wait
// for: it counts a started xdg-open as an opened address.
bool launchXdgOpen(const QString& xdgOpen, const QUrl& url, const std::function<void()>& failed) {
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             failed();
                             process->deleteLater();
                         }
                     });
    // Without a desktop of its own xdg-open runs the browser and waits for it, so it is never
    // stopped from here: the process object goes when the process ends, whenever that is.
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed, started](int code, QProcess::ExitStatus status) {
                         if ((status != QProcess::NormalExit || code != 0) &&
                             started->elapsed() < kFailureWatchMs) {
                             failed();
                         }
                         process->deleteLater();
                     });
    process->start(xdgOpen, {url.toString(QUrl::FullyEncoded)});
    return true;
}
#endif

bool openWithDesktop(const QUrl& url, const std::function<void()>& failed) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // In a sandbox the toolkit asks the desktop's portal instead.
    const bool sandboxed =
        QFileInfo::exists(QStringLiteral("/.flatpak-info")) || qEnvironmentVariableIsSet("SNAP");
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!sandboxed && !xdgOpen.isEmpty()) {
        return launchXdgOpen(xdgOpen, url, failed);
    }
#else
    Q_UNUSED(failed);
#endif
    return QDesktopServices::openUrl(url);
}

} // namespace

Shell::Shell(Opener open) {
    if (open) {
        m_open = [open = std::move(open)](const QUrl& url, const std::function<void()>&) {
            return open(url);
        };
    } else {
        m_open = &openWithDesktop;
    }
}

bool Shell::ShellOpen(const QString& file, const QString& verb, const QString& parameters,
                      const QString& directory, int show) const {
    Q_UNUSED(parameters);
    Q_UNUSED(directory);
    Q_UNUSED(show);
    if (verb.compare(QLatin1String("Open"), Qt::CaseInsensitive) != 0) {
        return false;
    }
    return open(file, [] {});
}

void Shell::openOrTell(QWidget* parent, const QString& file) const {
    const auto tell = [parent = QPointer<QWidget>(parent), file] {
        if (parent) {
            showAddressNotOpened(parent, file);
        }
    };
    if (!open(file, tell)) {
        tell();
    }
}

bool Shell::open(const QString& file, const std::function<void()>& failedLater) const {
    // Only web addresses are handed over: the shell must never be asked to run a local file.
    const QUrl url(file, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        return false;
    }
    return m_open(url, failedLater);
}

} // namespace kelsing
