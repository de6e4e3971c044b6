// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into every window test: a request that a test has not pointed at a loopback server of its
// own (the built-in .example host of the version check, say) goes to a proxy on a closed loopback
// port and fails at once, so no test looks up a name or leaves the machine. Tests that serve the
// version page themselves turn the proxy off.

#include <QCoreApplication>
#include <QNetworkProxy>

namespace {

// The discard port, on which nothing listens.
constexpr quint16 kClosedPort = 9;

void routeRequestsNowhere() {
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), kClosedPort));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(routeRequestsNowhere)
