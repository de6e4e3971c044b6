// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainwindow/pdfpage.h"

#include <QString>

namespace kelsing {

/// A one-page PDF file that takes its name only once it is complete: when any of it fails, no
/// part of it is left and a file that had the name before keeps it unchanged. A device or a pipe
/// named as the file is written into directly, never replaced.
class PdfFile final {
public:
    PdfFile(const QString& path, const QString& title);

    /// Writes the page that `paint` draws on the paper of `setup` (see writePdfPage) and puts
    /// the complete file in place; false when any of it failed.
    bool write(const PagePainter& paint, const PageSetup& setup = {});

    /// What failed, in the words of the system where it has them.
    QString errorString() const { return m_error; }

private:
    QString m_path;
    QString m_title;
    QString m_error;
};

} // namespace kelsing
