// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/printjob.h"

#include "services/cupsqueue.h"

#include <mutex>
#include <thread>

#include <QMetaObject>

namespace kelsing {

namespace {

// The job's own thread ends by the limit too; this is the time its last request may take to
// give up after the limit has passed.
constexpr std::chrono::milliseconds kGrace(500);

} // namespace

// Shared by the job and its thread, which may outlive it.
struct PrintJob::Answer {
    std::mutex mutex;
    PrintJob* receiver = nullptr;
};

PrintJob::PrintJob(const QString& queue, const QString& title, const QByteArray& pdf,
                   std::chrono::milliseconds limit, QObject* parent)
    : QObject(parent)
    , m_answer(std::make_shared<Answer>()) {
    m_answer->receiver = this;
    const auto deadline = CupsConnection::Clock::now() + limit;
    std::thread([answer = m_answer, queue, title, pdf, deadline] {
        const PrintReport report = sendPdf(queue, title, pdf, deadline);
        // Under the lock the receiver cannot be deleted; a queued call to an object deleted
        // before it arrives is dropped by Qt.
        const std::lock_guard lock(answer->mutex);
        if (PrintJob* receiver = answer->receiver) {
            QMetaObject::invokeMethod(
                receiver, [receiver, report] { receiver->report(report); }, Qt::QueuedConnection);
        }
    }).detach();
    // Should the print system's library overrun the deadline, the window is told anyway.
    m_limit.setSingleShot(true);
    m_limit.setInterval(limit + kGrace);
    connect(&m_limit, &QTimer::timeout, this, [this] {
        report({PrintReport::Outcome::NoAnswer, QString()});
    });
    m_limit.start();
}

PrintJob::~PrintJob() {
    const std::lock_guard lock(m_answer->mutex);
    m_answer->receiver = nullptr;
}

void PrintJob::report(const PrintReport& report) {
    if (m_reported) {
        return;
    }
    m_reported = true;
    m_limit.stop();
    emit finished(report);
}

} // namespace kelsing
