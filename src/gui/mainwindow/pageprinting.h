// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainwindow/pdfpage.h"

class QString;
class QWidget;

namespace kelsing {

struct Form1Services;

/// Prints the page that `paint` draws, called `document`, on the system's default printer, or,
/// when the system has none, offers to save it as a PDF file named `suggestedPdfName`. Either
/// way the page is the same PDF document, laid on its paper as `setup` says. A printer's answer
/// comes later, while `window` goes on; what fails is told to the user in `window`.
void printPage(QWidget* window, const Form1Services& services, const QString& document,
               const QString& suggestedPdfName, const PagePainter& paint,
               const PageSetup& setup = {});

} // namespace kelsing
