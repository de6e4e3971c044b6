// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/calendarfile.h"

#include "export/shiftcalendarwriter.h"
#include "mainwindow/outputfile.h"
#include "platform/localeservices.h"

#include <optional>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>

namespace kelsing {

namespace {

// The window handles its events at least this often while a calendar is written.
constexpr qint64 kSliceMilliseconds = 30;
// A calendar written faster than this shows no progress.
constexpr int kProgressAfterMilliseconds = 500;
constexpr int kProgressSteps = 1000;

} // namespace

ExportOutcome writeCalendarFile(QWidget* parent, CrewCode crew, const CalendarExport& settled,
                                const std::string& stamp, const OwnDays* ownDays) {
    const QString shownName = QDir::toNativeSeparators(settled.fileName);
    const auto failed = [&shownName](const QString& reason) {
        return ExportOutcome{
            ExportOutcome::Kind::Failed,
            QStringLiteral("The calendar file %1 could not be written: %2").arg(shownName, reason)};
    };
    const auto notWorkedOut = [](const std::exception& error) {
        return ExportOutcome{ExportOutcome::Kind::Failed,
                             QStringLiteral("The shifts could not be worked out: %1")
                                 .arg(QString::fromUtf8(error.what()))};
    };
    ShiftCalendarOptions options;
    options.includeOff = settled.includeOff;
    options.stamp = stamp;
    options.ownDays = ownDays;
    std::optional<ShiftCalendarWriter> writer;
    try {
        writer.emplace(crew, settled.calendarName.toStdString(),
                       LocaleServices::toDaySerial(settled.from),
                       LocaleServices::toDaySerial(settled.to), options);
    } catch (const std::exception& error) {
        return notWorkedOut(error);
    }
    const QFileInfo before(settled.fileName);
    // What a cancel leaves: a device has taken what was written so far, a file is as it was.
    const QString cancelled =
        !before.exists() ? QStringLiteral("The export was cancelled: no file was written.")
        : before.isFile()
            ? QStringLiteral("The export was cancelled: %1 is unchanged.").arg(shownName)
            : QStringLiteral("The export was cancelled.");
    OutputFile file(settled.fileName);
    if (!file.open()) {
        return failed(file.errorString());
    }

    QProgressDialog progress(QStringLiteral("Writing %1").arg(shownName), QStringLiteral("Cancel"),
                             0, kProgressSteps, parent);
    progress.setWindowTitle(parent ? parent->windowTitle() : QString());
    if (parent) {
        progress.setFont(parent->font());
    }
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressAfterMilliseconds);
    progress.setAutoClose(false);
    progress.setValue(0);
    QElapsedTimer slice;
    slice.start();
    std::string piece;
    try {
        while (writer->next(piece)) {
            if (!file.write(piece.data(), static_cast<qint64>(piece.size()))) {
                return failed(file.errorString());
            }
            piece.clear();
            if (slice.elapsed() < kSliceMilliseconds) {
                continue;
            }
            progress.setValue(static_cast<int>(writer->progress() * kProgressSteps));
            QApplication::processEvents();
            if (progress.wasCanceled()) {
                file.discard();
                return {ExportOutcome::Kind::Cancelled, cancelled};
            }
            slice.restart();
        }
    } catch (const std::exception& error) {
        return notWorkedOut(error);
    }
    if (!file.commit()) {
        return failed(file.errorString());
    }
    return {ExportOutcome::Kind::Written, {}};
}

} // namespace kelsing
