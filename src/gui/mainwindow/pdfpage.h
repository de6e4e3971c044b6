// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QIODevice;
class QPainter;
class QString;

namespace kelsing {

/// Draws one page onto `painter`, `pageWidth` device pixels wide.
using PagePainter = std::function<void(QPainter& painter, int pageWidth)>;

/// Writes the page that `paint` draws onto `device` as a one-page PDF document called `title`:
/// the locale's paper (Letter or A4), upright, without margins, text as text and lines as lines.
/// False when the page could not be started or finished.
bool writePdfPage(QIODevice& device, const QString& title, const PagePainter& paint);

} // namespace kelsing
