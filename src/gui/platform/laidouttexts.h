// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>

#include <QFont>
#include <QHash>
#include <QRect>
#include <QSizeF>
#include <QStaticText>
#include <QString>

class QPainter;

namespace kelsing {

/// Texts of one font laid out once and drawn many times: a sheet shows few distinct texts, and
/// shaping them anew at every paint costs more than all the rest of the paint.
class LaidOutTexts {
public:
    /// Forgets every laid-out text; later texts use `font`, wrapped at `wrapWidth` pixels when it
    /// is above 0, and drawn smaller when wider than `fitWidth` pixels when that is above 0.
    void reset(const QFont& font, int wrapWidth = 0, int fitWidth = 0);

    /// Makes later texts break their lines where `font` wraps them at `width` pixels, whatever
    /// the font and the width of the scale: a text then wraps at every scale as at the designed
    /// one, where rounding the font and the width apart would move its breaks.
    void breakAsDesigned(const QFont& font, int width);

    /// Draws plain text aligned in `rect`; a `fitWidth` above 0 takes the place of the one given
    /// to reset, and a wrapped text is then centred within that width.
    void draw(QPainter& painter, const QRect& rect, Qt::Alignment alignment, const QString& text,
              int fitWidth = 0);

    /// The size of a text as draw lays it out.
    QSizeF size(const QString& text);

private:
    struct Entry {
        QFont font;
        QStaticText text;
    };
    const Entry& entry(const QString& text, int fitWidth);
    QString designedLines(const QString& text) const;

    QFont m_font;
    int m_wrapWidth = 0;
    int m_fitWidth = 0;
    QFont m_designFont;
    int m_designWidth = 0; // 0 while texts wrap at the scale's own width
    QHash<std::pair<QString, int>, Entry> m_entries;
};

} // namespace kelsing
