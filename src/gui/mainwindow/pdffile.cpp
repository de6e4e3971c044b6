// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/pdffile.h"

#include "mainwindow/outputfile.h"

#include <QFileDevice>

namespace kelsing {

PdfFile::PdfFile(const QString& path, const QString& title)
    : m_path(path)
    , m_title(title) {
}

bool PdfFile::write(const PagePainter& paint, const PageSetup& setup) {
    // An unfinished file is discarded with its temporary copy.
    OutputFile file(m_path);
    if (!file.open()) {
        m_error = file.errorString();
        return false;
    }
    if (!writePdfPage(file.device(), m_title, paint, setup)) {
        m_error = file.device().error() != QFileDevice::NoError
                      ? file.device().errorString()
                      : QStringLiteral("the page could not be written");
        file.discard();
        return false;
    }
    if (!file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}

} // namespace kelsing
