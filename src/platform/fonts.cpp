#include "platform/fonts.h"

#include <QStringList>

namespace kelsing {

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
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(twips.fontPixels(choice.pointSize));
    font.setBold(bold);
    return font;
}

} // namespace kelsing
