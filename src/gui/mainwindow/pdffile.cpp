// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/pdffile.h"

#include <QFileDevice>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace kelsing {

PdfFile::PdfFile(const QString& path, const QString& title)
    : m_path(path)
    , m_title(title) {
}

// An unfinished file is discarded with its temporary copy.
PdfFile::~PdfFile() = default;

bool PdfFile::begin(QPainter& painter) {
    m_file = std::make_unique<OutputFile>(m_path);
    if (!m_file->open()) {
        m_error = m_file->errorString();
        return false;
    }
    m_writer = std::make_unique<QPdfWriter>(&m_file->device());
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
    if (!painter.end()) {
        m_file->discard();
        m_error = QStringLiteral("the page could not be finished");
        return false;
    }
    if (!m_file->commit()) {
        m_error = m_file->errorString();
        return false;
    }
    return true;
}

int PdfFile::pageWidth() const {
    return m_writer ? m_writer->width() : 0;
}

} // namespace kelsing
