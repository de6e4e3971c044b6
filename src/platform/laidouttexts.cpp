#include "platform/laidouttexts.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>
#include <QTextOption>

namespace kelsing {

void LaidOutTexts::reset(const QFont& font, int wrapWidth, int fitWidth) {
    m_font = font;
    m_wrapWidth = wrapWidth;
    m_fitWidth = fitWidth;
    m_entries.clear();
}

const LaidOutTexts::Entry& LaidOutTexts::entry(const QString& text) {
    const auto found = m_entries.constFind(text);
    if (found != m_entries.constEnd()) {
        return *found;
    }
    Entry entry{m_font, QStaticText(text)};
    entry.text.setTextFormat(Qt::PlainText);
    if (m_fitWidth > 0) {
        // A text wider than its place ("Training" in a half line) is drawn smaller, not cut off.
        const int width = QFontMetrics(entry.font).horizontalAdvance(text);
        if (width > m_fitWidth) {
            entry.font.setPixelSize(std::max(6, entry.font.pixelSize() * m_fitWidth / width));
        }
    }
    if (m_wrapWidth > 0) {
        QTextOption option(Qt::AlignHCenter);
        option.setWrapMode(QTextOption::WordWrap);
        entry.text.setTextOption(option);
        entry.text.setTextWidth(m_wrapWidth);
    }
    entry.text.prepare(QTransform(), entry.font);
    return *m_entries.insert(text, entry);
}

void LaidOutTexts::draw(QPainter& painter, const QRect& rect, Qt::Alignment alignment,
                        const QString& text) {
    const Entry& laidOut = entry(text);
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
