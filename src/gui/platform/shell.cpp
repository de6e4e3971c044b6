// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell.h"

#include <QDesktopServices>

namespace kelsing {

Shell::Shell(Opener open) {
    if (open) {
        m_open = [open = std::move(open)](const QUrl& url) {
            open(url);
            return true;
        };
    } else {
        m_open = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
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
    // Only web addresses are handed over: the shell must never be asked to run a local file.
    const QUrl url(file, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        return false;
    }
    return m_open(url);
}

} // namespace kelsing
