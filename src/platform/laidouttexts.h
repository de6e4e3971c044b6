#pragma once

#include <QFont>
#include <QHash>
#include <QRect>
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

    /// Draws plain text aligned in `rect`.
    void draw(QPainter& painter, const QRect& rect, Qt::Alignment alignment, const QString& text);

private:
    struct Entry {
        QFont font;
        QStaticText text;
    };
    const Entry& entry(const QString& text);

    QFont m_font;
    int m_wrapWidth = 0;
    int m_fitWidth = 0;
    QHash<QString, Entry> m_entries;
};

} // namespace kelsing
