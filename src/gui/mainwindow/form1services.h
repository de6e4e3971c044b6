// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/version.h"
#include "calendar/dayserial.h"
#include "mainwindow/calendarexport.h"
#include "platform/twips.h"

#include <filesystem>
#include <functional>
#include <optional>

#include <QDateTime>
#include <QPageSize>
#include <QString>
#include <QUrl>

class QWidget;

namespace kelsing {

/// What the main window takes from its surroundings; tests replace them.
struct Form1Services {
    /// Today's local date.
    std::function<DaySerial()> today;
    /// Scheme, host and port of the author's web site, which serves the version page and the
    /// site; empty for the built-in host.
    QUrl siteHost;
    /// Opens an address with the system shell (the user's browser for a web address); false
    /// when it could not.
    std::function<bool(const QUrl&)> openUrl;
    /// The name of the default printer; empty when the system has none.
    std::function<QString()> defaultPrinter;
    /// The paper that a printer says it prints on by default; not valid when it does not say.
    std::function<QPageSize(const QString& printer)> printerPaper;
    /// Asks the user where to save the sheet as a PDF file, offering `suggestedName`; an empty
    /// name when the user declines.
    std::function<QString(QWidget* parent, const QString& suggestedName)> pdfFileName;
    /// Asks the user for the span and the file of a calendar export, starting from `proposal`,
    /// in a dialog at the window's scale, and hands each export the user settles on to `write`
    /// until one is written; the export written, or nothing when the user gives up.
    std::function<std::optional<CalendarExport>(QWidget* parent, const CalendarExport& proposal,
                                                const Twips& twips,
                                                const CalendarExportWriter& write)>
        calendarExport;
    /// The current time, which stamps the events of an exported calendar.
    std::function<QDateTime()> now;
    /// Tells the user that something they asked for failed, such as a file not written.
    std::function<void(QWidget* parent, const QString& message)> warn;
    /// The scale of the designed size, which is the window's smallest: below 1 when the user
    /// asks for a smaller display than the toolkit can paint (DisplayScale).
    double smallestScale = 1.0;
    /// Whether the window asks the site for a newer version; without it nothing is fetched and
    /// no notice shows.
    bool updateCheck = kUpdateCheck;
    /// Whether the window puts off what its first frame does not need, so that it is on the
    /// screen sooner: its fonts and pictures until it is first exposed, the version check of the
    /// start and the desktop theme's symbols until its first frame is shown. The program sets it.
    bool lateStart = false;
    /// Tells the user that something they asked for is done, such as where a file went.
    std::function<void(QWidget* parent, const QString& message)> inform;
    /// The settings file that keeps the crews the window starts with, when the user asks for
    /// that; empty, the window keeps nothing and cannot be asked to. The program sets it.
    std::filesystem::path settingsFile;
    /// Writes one line on standard error, such as why the settings file is ignored.
    std::function<void(const QString& line)> reportProblem;
    /// The store of the user's own days (leave, sick days, swaps, extra shifts, notes); empty,
    /// the window keeps none. It is opened after the first frame and made at the first entry.
    /// The program sets it.
    std::filesystem::path ownDaysFile;
    /// Asks the user for the note of a day, showing `note`, in a dialog titled `title`; nothing
    /// when the user cancels.
    std::function<std::optional<QString>(QWidget* parent, const QString& title,
                                         const QString& note)>
        askNote;
};

/// `services` with the desktop's own service in place of every one left empty: the system
/// clock, the default printer, file dialogs and message boxes.
Form1Services withDefaultServices(Form1Services services);

} // namespace kelsing
