// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/laidouttexts.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>

namespace kelsing {

namespace {

// The advance of the widest line of a text whose lines are split by line separators.
qreal widestLine(const QFont& font, const QString& text) {
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (const QString& line : text.split(QChar::LineSeparator)) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

} // namespace

void LaidOutTexts::reset(const QFont& font, int wrapWidth, int fitWidth) {
    m_font = font;
    m_wrapWidth = wrapWidth;
    m_fitWidth = fitWidth;
    m_entries.clear();
}

void LaidOutTexts::breakAsDesigned(const QFont& font, int width) {
    m_designFont = font;
    m_designWidth = width;
    m_entries.clear();
}

QString LaidOutTexts::designedLines(const QString& text) const {
    QTextLayout layout(text, m_designFont);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(m_designWidth);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines.join(QChar::LineSeparator);
}

const LaidOutTexts::Entry& LaidOutTexts::entry(const QString& text, int fitWidth) {
    const auto key = std::make_pair(text, fitWidth);
    const auto found = m_entries.constFind(key);
    if (found != m_entries.constEnd()) {
        return *found;
    }
    const QString lines = m_designWidth > 0 ? designedLines(text) : text;
    Entry entry{m_font, QStaticText(lines)};
    entry.text.setTextFormat(Qt::PlainText);
    if (fitWidth > 0) {
        // A text wider than its place ("Training" in a half line) is drawn smaller, not cut off;
        // glyph advances do not shrink in proportion, so the size is lowered until it fits.
        int pixels = entry.font.pixelSize();
        while (pixels > 1 && widestLine(entry.font, lines) > fitWidth) {
            pixels = std::min(pixels - 1,
                              static_cast<int>(pixels * fitWidth / widestLine(entry.font, lines)));
            entry.font.setPixelSize(std::max(1, pixels));
        }
    }
    if (m_wrapWidth > 0) {
        QTextOption option(Qt::AlignHCenter);
        option.setWrapMode(QTextOption::WordWrap);
        entry.text.setTextOption(option);
        entry.text.setTextWidth(fitWidth > 0 ? std::min(m_wrapWidth, fitWidth) : m_wrapWidth);
    }
    entry.text.prepare(QTransform(), entry.font);
    return *m_entries.insert(key, entry);
}

QSizeF LaidOutTexts::size(const QString& text) {
    return entry(text, m_fitWidth).text.size();
}

void LaidOutTexts::draw(QPainter& painter, const QRect& rect, Qt::Alignment alignment,
                        const QString& text, int fitWidth) {
    const Entry& laidOut = entry(text, fitWidth > 0 ? fitWidth : m_fitWidth);
    const QSizeF size = laidOut.text.size();
    qreal x = rect.left();
    if (m_wrapWidth <= 0 && (alignment & Qt::AlignRight)) {
        x = rect.left() + rect.width() - size.width();
    } else if (m_wrapWidth <= 0 && (alignment & Qt::AlignHCenter)) {
        x = rect.left() + (rect.width() - size.width()) / 2;
    }
    qreal y = rect.top();
    if (alignment & Qt::AlignVCenter) {
        y = rect.top() + (rect.height() - size.height()) / 2;
    } else if (alignment & Qt::AlignBottom) {
        y = rect.top() + rect.height() - size.height();
    }
    painter.setFont(laidOut.font);
    painter.drawStaticText(QPointF(x, y), laidOut.text);
}

} // namespace kelsing
