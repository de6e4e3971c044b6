// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdfreading.h"

#include <algorithm>

#include <QProcess>
#include <QRegularExpression>

namespace kelsing::PdfReading {

QByteArray poppler(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qFatal("%s did not read the file (is poppler-utils installed?): %s", qPrintable(tool),
               process.readAllStandardError().constData());
    }
    return process.readAllStandardOutput();
}

PdfPage readPdf(const QString& path) {
    const QString info = QString::fromUtf8(poppler(QStringLiteral("pdfinfo"), {path}));
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                   QRegularExpression::MultilineOption);
    return {pages.match(info).captured(1).toInt(),
            QString::fromUtf8(poppler(QStringLiteral("pdftotext"),
                                      {QStringLiteral("-raw"), path, QStringLiteral("-")}))
                .simplified()
                .split(QLatin1Char(' ')),
            QImage::fromData(poppler(QStringLiteral("pdftoppm"),
                                     {QStringLiteral("-r"), QStringLiteral("150"),
                                      QStringLiteral("-png"), QStringLiteral("-singlefile"), path}))
                .convertToFormat(QImage::Format_RGB32)};
}

QList<QSize> imageSizes(const QString& path) {
    // After two heading lines, each picture's line: page, number, type, width, height, ...
    const QStringList lines =
        QString::fromUtf8(poppler(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QList<QSize> sizes;
    for (const QString& line : lines.mid(2)) {
        const QStringList fields = line.simplified().split(QLatin1Char(' '));
        if (fields.size() > 4) {
            sizes.append(QSize(fields.at(3).toInt(), fields.at(4).toInt()));
        }
    }
    return sizes;
}

int printedHeight(const QImage& page) {
    for (int y = page.height() - 1; y >= 0; --y) {
        for (int x = 0; x < page.width(); ++x) {
            if (page.pixel(x, y) != qRgb(255, 255, 255)) {
                return y + 1;
            }
        }
    }
    return 0;
}

int layoutDifference(const QImage& a, const QImage& b) {
    const QSize blocks(93, 80);
    const auto grey = [&blocks](const QImage& picture) {
        return picture.convertToFormat(QImage::Format_Grayscale8)
            .scaled(blocks, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    const QImage first = grey(a);
    const QImage second = grey(b);
    int largest = 0;
    for (int y = 0; y < blocks.height(); ++y) {
        for (int x = 0; x < blocks.width(); ++x) {
            largest =
                std::max(largest, std::abs(qGray(first.pixel(x, y)) - qGray(second.pixel(x, y))));
        }
    }
    return largest;
}

} // namespace kelsing::PdfReading
