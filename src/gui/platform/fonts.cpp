// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fonts.h"

#include <QFontDatabase>
#include <QSet>
#include <QStringList>

namespace kelsing {

namespace {

// The candidates that are installed, in their order; all of them when none is, so that the
// platform's own fallback still finds a font. Leaving out the absent ones spares the font
// matcher a fallback search for each of them, which is most of the window's start-up cost.
QStringList installedFamilies(const QStringList& candidates) {
    static const QSet<QString> installed = [] {
        const QStringList known = QFontDatabase::families();
        return QSet<QString>(known.cbegin(), known.cend());
    }();
    QStringList found;
    for (const QString& family : candidates) {
        if (installed.contains(family)) {
            found << family;
        }
    }
    return found.isEmpty() ? candidates : found;
}

} // namespace

QFont Fonts::platformFont(const FontChoice& choice, const Twips& twips, bool bold) {
    const QString family =
        QString::fromUtf8(choice.family.data(), static_cast<qsizetype>(choice.family.size()));
    // The small bitmap fonts of the design have no modern equivalent: a condensed sans keeps
    // captions and all-crews lines inside their cells.
    const bool small =
        family == QLatin1String("Small Fonts") || family == QLatin1String("Smallfonts");
    QFont font;
    QStringList families{family};
    if (small) {
        families << QStringLiteral("Liberation Sans Narrow") << QStringLiteral("Arial Narrow")
                 << QStringLiteral("DejaVu Sans Condensed");
    }
    families << QStringLiteral("Tahoma") << QStringLiteral("Liberation Sans")
             << QStringLiteral("Arial") << QStringLiteral("DejaVu Sans");
    font.setFamilies(installedFamilies(families));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(twips.fontPixels(choice.pointSize));
    font.setBold(bold);
    return font;
}

} // namespace kelsing
