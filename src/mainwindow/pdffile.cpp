#include "mainwindow/pdffile.h"

#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace kelsing {

PdfFile::PdfFile(const QString& path, const QString& title)
    : m_path(path)
    , m_title(title) {
}

// An unfinished file is discarded with its temporary copy.
PdfFile::~PdfFile() = default;

bool PdfFile::begin(QPainter& painter) {
    const QFileInfo target(m_path);
    // Renaming a finished copy over a device would replace the device itself.
    if (target.exists() && !target.isFile() && !target.isDir()) {
        m_file = std::make_unique<QFile>(m_path);
    } else {
        m_file = std::make_unique<QSaveFile>(m_path);
    }
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_error = m_file->errorString();
        return false;
    }
    m_writer = std::make_unique<QPdfWriter>(m_file.get());
    m_writer->setTitle(m_title);
    m_writer->setCreator(m_title);
    const QPageSize paper(QLocale().measurementSystem() == QLocale::ImperialUSSystem
                              ? QPageSize::Letter
                              : QPageSize::A4);
    m_writer->setPageLayout(QPageLayout(paper, QPageLayout::Portrait, QMarginsF()));
    if (!painter.begin(m_writer.get())) {
        m_error = QStringLiteral("the page could not be started");
        return false;
    }
    return true;
}

bool PdfFile::finish(QPainter& painter) {
    const bool ended = painter.end();
    bool written = false;
    if (auto* copy = qobject_cast<QSaveFile*>(m_file.get())) {
        if (!ended) {
            copy->cancelWriting();
        }
        written = copy->commit();
    } else {
        // A device such as a full disk reports its failure when the last bytes go out.
        written = m_file->flush() && m_file->error() == QFileDevice::NoError;
    }
    if (!ended) {
        m_error = QStringLiteral("the page could not be finished");
    } else if (!written) {
        m_error = m_file->errorString();
    }
    if (m_file->isOpen()) {
        m_file->close();
    }
    return ended && written;
}

int PdfFile::pageWidth() const {
    return m_writer ? m_writer->width() : 0;
}

} // namespace kelsing
