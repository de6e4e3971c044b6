// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainwindow/lateservices.h"

#include <chrono>
#include <memory>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

namespace kelsing {

/// A PDF document sent to a print queue on a thread of its own that nothing ever waits for, so
/// that a print system that is slow or hangs holds up neither the window nor the program's
/// exit. Deleting the job drops its report; the document may still reach the queue.
class PrintJob final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrintJob)

public:
    /// Starts sending `pdf`, called `title`, to `queue`, with `limit` for all of it.
    PrintJob(const QString& queue, const QString& title, const QByteArray& pdf,
             std::chrono::milliseconds limit, QObject* parent = nullptr);
    ~PrintJob() override;

signals:
    /// How the job fared, once, on this object's thread; by the limit at the latest.
    void finished(const kelsing::PrintReport& report);

private:
    struct Answer;
    void report(const PrintReport& report);

    std::shared_ptr<Answer> m_answer;
    QTimer m_limit;
    bool m_reported = false;
};

} // namespace kelsing
