// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QPageLayout>
#include <QPageSize>

class QIODevice;
class QPainter;
class QString;

namespace kelsing {

/// Draws one page onto `painter`, `pageWidth` device pixels wide.
using PagePainter = std::function<void(QPainter& painter, int pageWidth)>;

/// How a page lies on its paper.
struct PageSetup {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    /// The paper; the locale's (Letter or A4) when it is not valid.
    QPageSize paper;
    /// Whether a page printed on a printer takes the paper that the printer says it has.
    bool printersPaper = false;
};

/// Writes the page that `paint` draws onto `device` as a one-page PDF document called `title`:
/// on the setup's paper (upright on the locale's, Letter or A4, by default), without margins,
/// text as text and lines as lines. False when the page could not be started or finished.
bool writePdfPage(QIODevice& device, const QString& title, const PagePainter& paint,
                  const PageSetup& setup = {});

} // namespace kelsing
