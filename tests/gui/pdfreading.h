// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

namespace kelsing::PdfReading {

/// What a reader of a PDF file sees, as poppler's tools tell it: its pages, the first page's
/// words in reading order and the page drawn at 150 dpi.
struct PdfPage {
    int pages = 0;
    QStringList words;
    QImage picture;
};

/// The output of one of poppler's tools; a failed test when it does not read the file.
QByteArray poppler(const QString& tool, const QStringList& arguments);

PdfPage readPdf(const QString& path);

/// The sizes in pixels of the pictures in a PDF file (`pdfimages -list`).
QList<QSize> imageSizes(const QString& path);

/// The height of the printed window: down to the page picture's last row that is not white.
int printedHeight(const QImage& page);

/// The largest difference in grey between two pictures of the window, compared in blocks of
/// 5 x 5 window pixels: the texts and lines of both stand in the same places when it is small,
/// however differently the two were drawn.
int layoutDifference(const QImage& a, const QImage& b);

} // namespace kelsing::PdfReading
