// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainwindow/lateservices.h"
#include "services/cupsconnection.h"

#include <QByteArray>
#include <QPageSize>
#include <QString>

namespace kelsing {

/// The print system's default queue for this user (their own choice, or the system's); empty
/// when it has none or does not answer by `deadline`.
QString defaultQueue(CupsConnection::Clock::time_point deadline);

/// The paper that `queue` prints on unless told otherwise: the user's choice for it, else the
/// printer's default; not valid when neither is known by `deadline`.
QPageSize queuePaper(const QString& queue, CupsConnection::Clock::time_point deadline);

/// Sends `pdf`, a document called `title`, to `queue` as one job, then asks once how the job
/// and its printer stand; every step ends by `deadline`. Runs on any thread.
PrintReport sendPdf(const QString& queue, const QString& title, const QByteArray& pdf,
                    CupsConnection::Clock::time_point deadline);

} // namespace kelsing
