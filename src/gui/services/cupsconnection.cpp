// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/cupsconnection.h"

#include <algorithm>
#include <cups/cups.h>

namespace kelsing {

namespace {

// How often a wait asks whether the deadline has passed.
constexpr double kWaitSlice = 0.25;

} // namespace

CupsConnection::CupsConnection(Clock::time_point deadline)
    : m_deadline(deadline) {
    using std::chrono::milliseconds;
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
    if (left <= milliseconds(0)) {
        m_timedOut = true;
        return;
    }
    m_http =
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                     static_cast<int>(std::min<milliseconds::rep>(left.count(), 60000)), nullptr);
    if (m_http) {
        httpSetTimeout(m_http, kWaitSlice, &CupsConnection::keepWaiting, this);
    }
}

CupsConnection::~CupsConnection() {
    if (m_http) {
        httpClose(m_http);
    }
}

int CupsConnection::keepWaiting(http_t*, void* connection) {
    auto* self = static_cast<CupsConnection*>(connection);
    if (Clock::now() < self->m_deadline) {
        return 1;
    }
    self->m_timedOut = true;
    return 0;
}

} // namespace kelsing
