// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QPainter;
class QString;
class QWidget;

namespace kelsing {

struct Form1Services;

/// Draws one page onto `painter`, `pageWidth` device pixels wide.
using PagePainter = std::function<void(QPainter& painter, int pageWidth)>;

/// Prints the page that `paint` draws, called `document`, on the system's default printer, or,
/// when the system has none, offers to save it as a PDF file named `suggestedPdfName`; what
/// fails is told to the user in `window`.
void printPage(QWidget* window, const Form1Services& services, const QString& document,
               const QString& suggestedPdfName, const PagePainter& paint);

} // namespace kelsing
