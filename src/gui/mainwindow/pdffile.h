// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainwindow/outputfile.h"

#include <memory>

#include <QString>

class QPainter;
class QPdfWriter;

namespace kelsing {

/// A one-page PDF file that takes its name only once it is complete: when any of it fails, no
/// part of it is left and a file that had the name before keeps it unchanged. A device or a pipe
/// named as the file is written into directly, never replaced.
class PdfFile final {
public:
    PdfFile(const QString& path, const QString& title);
    ~PdfFile();
    PdfFile(const PdfFile&) = delete;
    PdfFile& operator=(const PdfFile&) = delete;

    /// Opens the file and starts `painter` on its page, which has no margin and is `pageWidth()`
    /// device pixels wide; false when the file or the page cannot be started.
    bool begin(QPainter& painter);

    /// Ends `painter` and puts the complete file in place; false when any of it failed.
    bool finish(QPainter& painter);

    int pageWidth() const;

    /// What failed, in the words of the system where it has them.
    QString errorString() const { return m_error; }

private:
    QString m_path;
    QString m_title;
    std::unique_ptr<OutputFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QString m_error;
};

} // namespace kelsing
