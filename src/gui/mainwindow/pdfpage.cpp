// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/pdfpage.h"

#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace kelsing {

bool writePdfPage(QIODevice& device, const QString& title, const PagePainter& paint,
                  const PageSetup& setup) {
    QPdfWriter writer(&device);
    writer.setTitle(title);
    writer.setCreator(title);
    const QPageSize paper =
        setup.paper.isValid() ? setup.paper
                              : QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem
                                              ? QPageSize::Letter
                                              : QPageSize::A4);
    writer.setPageLayout(QPageLayout(paper, setup.orientation, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    paint(painter, writer.width());
    return painter.end();
}

} // namespace kelsing
