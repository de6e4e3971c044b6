// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/hostlookup.h"

#include <mutex>
#include <string>
#include <thread>

#include <QMetaObject>

#ifdef Q_OS_WIN
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <sys/socket.h>
#endif

namespace kelsing {

// Shared by the lookup and its thread, which may outlive it.
struct HostLookup::Answer {
    std::mutex mutex;
    HostLookup* receiver = nullptr;
};

namespace {

QList<QHostAddress> addressesOf(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG;
    addrinfo* found = nullptr;
    QList<QHostAddress> addresses;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) {
        return addresses;
    }
    for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
        const QHostAddress address(entry->ai_addr);
        if (!address.isNull() && !addresses.contains(address)) {
            addresses.append(address);
        }
    }
    freeaddrinfo(found);
    return addresses;
}

} // namespace

HostLookup::HostLookup(const QString& host, QObject* parent)
    : QObject(parent)
    , m_answer(std::make_shared<Answer>()) {
    m_answer->receiver = this;
    std::thread([answer = m_answer, host = host.toStdString()] {
        const QList<QHostAddress> addresses = addressesOf(host);
        // Under the lock the receiver cannot be deleted; a queued call to an object deleted
        // before it arrives is dropped by Qt.
        const std::lock_guard lock(answer->mutex);
        if (HostLookup* receiver = answer->receiver) {
            QMetaObject::invokeMethod(
                receiver, [receiver, addresses] { emit receiver->found(addresses); },
                Qt::QueuedConnection);
        }
    }).detach();
}

HostLookup::~HostLookup() {
    const std::lock_guard lock(m_answer->mutex);
    m_answer->receiver = nullptr;
}

} // namespace kelsing
