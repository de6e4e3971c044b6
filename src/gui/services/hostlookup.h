// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

namespace kelsing {

/// Looks up the addresses of a host name on a thread of its own that nothing ever waits for, so
/// that a resolver that hangs holds up neither a fetch's time limit nor the program's exit.
/// Deleting the lookup drops its answer.
class HostLookup final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HostLookup)

public:
    /// Starts looking up `host`; the answer arrives as `found` on this object's thread.
    explicit HostLookup(const QString& host, QObject* parent = nullptr);
    ~HostLookup() override;

signals:
    /// The host's addresses in the resolver's order; none when the name is not found.
    void found(const QList<QHostAddress>& addresses);

private:
    struct Answer;
    std::shared_ptr<Answer> m_answer;
};

} // namespace kelsing
