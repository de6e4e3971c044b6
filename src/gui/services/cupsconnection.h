// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

#include <QtGlobal>

typedef struct _http_s http_t;

namespace kelsing {

/// A connection to the desktop's print system, the CUPS server that its settings or
/// `CUPS_SERVER` name, whose every wait ends at one deadline. Usable on any one thread.
class CupsConnection final {
public:
    using Clock = std::chrono::steady_clock;

    /// Connects, waiting until `deadline` at the most.
    explicit CupsConnection(Clock::time_point deadline);
    ~CupsConnection();
    Q_DISABLE_COPY_MOVE(CupsConnection)

    /// The connection; null when no print system answered.
    http_t* http() const { return m_http; }

    /// Whether a wait reached the deadline, which ends every request that was waiting.
    bool timedOut() const { return m_timedOut; }

private:
    static int keepWaiting(http_t* http, void* connection);

    http_t* m_http = nullptr;
    Clock::time_point m_deadline;
    bool m_timedOut = false;
};

} // namespace kelsing
