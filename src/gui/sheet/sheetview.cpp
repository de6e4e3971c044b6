// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheetview.h"

#include "platform/borderpainter.h"
#include "platform/coretext.h"
#include "platform/fonts.h"
#include "platform/keyboardfocus.h"
#include "platform/localeservices.h"
#include "sheet/sheetfills.h"
#include "sheet/sheetlayout.h"
#include "sheet/sheetviewaccessible.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <QAccessible>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <QUtf8StringView>

namespace kelsing {

namespace {

QColor toColor(Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// The soft mark of a day on which both crews are off.
const QColor kOffTogetherWash(0, 128, 0, 48);

// The width of a single-line border: neighbouring frames overlap by it and share their line.
constexpr int kBorderTwips = Twips::kBorderTwips;

// The half lines' short labels as words, so that a screen reader says the whole shift.
QString spokenShift(const std::string& text) {
    return fromCore(halfLineLabel(text));
}

// Where a cell's caption is drawn, in the window's coordinates: the caption label, kept clear of
// the frame's left line.
QRect captionRect(const Twips& twips, int c) {
    return twips.rect(SheetLayout::caption(c)).adjusted(twips.px(30), 0, 0, 0);
}

bool hasWideCaption(int c) {
    return SheetLayout::caption(c).width > SheetLayout::caption(3).width;
}

// The light tint of a mark's colour behind an own entry, on which its colour still reads.
QColor tintOf(Rgb colour) {
    const auto tint = [](int part) { return (part * 12 + 255 * 88) / 100; };
    return QColor(tint(colour.red), tint(colour.green), tint(colour.blue));
}

// The tinted box of an own entry in a cell's right half, kept off the frame's lines.
TwipsRect ownBox(int c) {
    const TwipsRect half = SheetLayout::rightHalf(c);
    const TwipsRect frame = SheetLayout::dayFrame(c);
    const int left = half.left + kBorderTwips;
    const int top = half.top + kBorderTwips;
    return {left, top, frame.left + frame.width - 2 * kBorderTwips - left,
            frame.top + frame.height - 2 * kBorderTwips - top};
}

} // namespace

SheetView::SheetView(const SheetModel& sheet, QWidget* parent)
    : QWidget(parent)
    , m_sheet(sheet) {
    // Before anything that a screen reader is told of, which would make a plain interface.
    SheetViewAccessible::install();
    setObjectName(QStringLiteral("SheetView"));
    setAccessibleName(QStringLiteral("Month sheet"));
    setAccessibleDescription(
        QStringLiteral("The days of the shown month in weeks from Sunday, with their shifts"));
    setTwips(m_twips);
}

void SheetView::sheetChanged() {
    update();
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent changed(this,
                                                 QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&changed);
    }
    // The focused cell now holds another day, or the same day of another month.
    announceFocusedCell();
}

void SheetView::setSideNames(const QString& left, const QString& right) {
    m_leftName = left;
    m_rightName = right;
}

QRect SheetView::cellRect(int c) const {
    return m_twips.rect(SheetLayout::dayFrame(c)).translated(-pos());
}

QRect SheetView::headRect(int k) const {
    return m_twips.rect(SheetLayout::weekdayHead(k)).translated(-pos());
}

QString SheetView::cellName(int c) const {
    const DayCell& cell = m_sheet.cells[static_cast<std::size_t>(c)];
    if (cell.dayNumber.empty() || !m_sheet.title) {
        return {};
    }
    const auto weekday = kWeekdayHeads[static_cast<std::size_t>(SheetLayout::column(c))];
    QStringList parts{fromCore(weekday) + QLatin1Char(' ') + fromCore(cell.dayNumber) +
                      QLatin1Char(' ') + LocaleServices::formatMonthTitle(*m_sheet.title)};
    if (cell.dayNumberColour == Colours::kRed) {
        parts << QStringLiteral("today");
    }
    if (!cell.shift.empty()) {
        parts << fromCore(cell.shift);
    }
    if (!cell.leftShift.empty()) {
        parts << m_leftName + QStringLiteral(": ") + spokenShift(cell.leftShift);
    }
    if (!cell.rightShift.empty()) {
        parts << m_rightName + QStringLiteral(": ") + spokenShift(cell.rightShift);
    }
    if (const QString own = ownEntryText(c); !own.isEmpty()) {
        parts << own;
    }
    if (!cell.caption.empty()) {
        parts << fromCore(cell.caption);
    }
    if (cell.offTogether) {
        parts << QStringLiteral("both crews off");
    }
    return parts.join(QStringLiteral(", "));
}

QString SheetView::ownEntryText(int c) const {
    const OwnMark& own = m_sheet.cells[static_cast<std::size_t>(c)].own;
    if (own.word.empty()) {
        return {};
    }
    const QString note = fromCore(own.note);
    if (own.word == "Note") {
        return QStringLiteral("Note: ") + note;
    }
    QString text = fromCore(own.word);
    if (!own.shift.empty()) {
        text += QStringLiteral(": ") + fromCore(own.shift);
    }
    return note.isEmpty() ? text : text + QStringLiteral(", note: ") + note;
}

QString SheetView::cellDescription(int c) const {
    const auto weekday = kWeekdayHeads[static_cast<std::size_t>(SheetLayout::column(c))];
    return QStringLiteral("Week %1, %2").arg(SheetLayout::row(c) + 1).arg(fromCore(weekday));
}

void SheetView::setTwips(const Twips& twips) {
    m_twips = twips;
    setGeometry(m_twips.rect(kArea));
    // The fonts are chosen at the next paint: choosing reads the font database, which a window
    // that is not on the screen yet need not wait for.
    m_fontsChosen = false;
    update();
}

void SheetView::chooseFonts() {
    using kelsing::Fonts::platformFont;
    m_headTexts.reset(platformFont(kelsing::Fonts::kDefault, m_twips));
    m_dayTexts.reset(platformFont(kelsing::Fonts::kDayNumber, m_twips, true));
    // Captions break their lines as at the designed size, so that whether "Xmas Day" takes one
    // line or two never depends on how the font and the label round at the scale.
    const Twips designed;
    const QFont captionFont = platformFont(kelsing::Fonts::kCaption, m_twips);
    const QFont designedCaptionFont = platformFont(kelsing::Fonts::kCaption, designed);
    m_captionTexts.reset(captionFont, captionRect(m_twips, 3).width());
    m_captionTexts.breakAsDesigned(designedCaptionFont, captionRect(designed, 3).width());
    m_wideCaptionTexts.reset(captionFont, captionRect(m_twips, 0).width());
    m_wideCaptionTexts.breakAsDesigned(designedCaptionFont, captionRect(designed, 0).width());
    m_shiftTexts.reset(platformFont(kelsing::Fonts::kShiftLine, m_twips));
    m_longShiftTexts.reset(platformFont(kelsing::Fonts::kLongShiftLine, m_twips));
    // The half lines are only 495 twips wide: a bold condensed face fills them, with strokes
    // wide enough to show the shifts' colours, and keeps a border's width off the other half.
    m_halfTexts.reset(platformFont(kelsing::Fonts::kHalfLine, m_twips, true), 0,
                      m_twips.px(SheetLayout::leftHalf(0).width - 2 * kBorderTwips));
    // A rotation's shift that the user's own entry takes the place of is struck through.
    QFont struck = platformFont(kelsing::Fonts::kHalfLine, m_twips, true);
    struck.setStrikeOut(true);
    m_struckHalfTexts.reset(struck, 0,
                            m_twips.px(SheetLayout::leftHalf(0).width - 2 * kBorderTwips));
    m_fontsChosen = true;
}

void SheetView::paintEvent(QPaintEvent*) {
    if (!m_fontsChosen) {
        chooseFonts();
    }
    QPainter painter(this);
    painter.translate(-pos());
    paintFrames(painter);
    paintHeads(painter);
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        paintCell(painter, c);
    }
    paintFocus(painter);
}

void SheetView::paintFrames(QPainter& painter) {
    // All on whole device pixels, in one width, so that every line looks alike at any scale.
    BorderPainter borders(painter, m_twips, geometry());
    for (int k = 0; k < SheetModel::kColumnCount; ++k) {
        borders.drawFrame(SheetLayout::weekdayHead(k), Qt::black);
    }
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        borders.drawFrame(SheetLayout::dayFrame(c), Qt::black);
    }
    // The update notice is element 38 of the cells' frames and shares its lines with them.
    borders.drawFrame(SheetLayout::kNotice, Qt::black);
}

void SheetView::paintHeads(QPainter& painter) {
    for (int k = 0; k < SheetModel::kColumnCount; ++k) {
        const QRect rect = m_twips.rect(SheetLayout::weekdayHead(k));
        painter.setPen(toColor(weekdayHeadColour(k)));
        const auto head = kWeekdayHeads[static_cast<std::size_t>(k)];
        m_headTexts.draw(painter, rect, Qt::AlignCenter, fromCore(head));
    }
}

void SheetView::paintCell(QPainter& painter, int c) {
    const DayCell& cell = m_sheet.cells[static_cast<std::size_t>(c)];
    const QRect frame = m_twips.rect(SheetLayout::dayFrame(c));
    if (cell.offTogether) {
        paintOffTogether(painter, frame);
    }

    const QRect dayNumber = frame.adjusted(0, 0, -m_twips.px(45), 0);
    const QString dayText = fromCore(cell.dayNumber);
    if (!cell.dayNumber.empty()) {
        painter.setPen(toColor(cell.dayNumberColour));
        m_dayTexts.draw(painter, dayNumber, Qt::AlignRight | Qt::AlignTop, dayText);
    }
    if (!cell.caption.empty()) {
        const QRect caption = captionRect(m_twips, c);
        // The caption keeps a border's width away from the day number, which rounding at some
        // scales would otherwise bring under its last letters.
        const qreal dayLeft = dayLeftOf(dayNumber, cell, dayText);
        const int room = static_cast<int>(std::floor(dayLeft)) -
                         std::max(1, m_twips.px(kBorderTwips)) - caption.left();
        painter.setPen(Qt::black);
        LaidOutTexts& texts = hasWideCaption(c) ? m_wideCaptionTexts : m_captionTexts;
        texts.draw(painter, caption, Qt::AlignHCenter | Qt::AlignTop, fromCore(cell.caption),
                   std::max(1, std::min(caption.width(), room)));
    }
    if (!cell.own.word.empty()) {
        paintOwn(painter, c, std::floor(dayLeftOf(dayNumber, cell, dayText)));
    } else if (!cell.shift.empty()) {
        painter.setPen(toColor(cell.shiftColour));
        LaidOutTexts& texts =
            cell.shiftFont == kelsing::Fonts::kLongShiftLine ? m_longShiftTexts : m_shiftTexts;
        texts.draw(painter, m_twips.rect(SheetLayout::shiftLine(c)), Qt::AlignCenter,
                   fromCore(cell.shift));
    }
    paintHalf(painter, m_twips.rect(SheetLayout::leftHalf(c)), cell.leftShift,
              cell.leftShiftColour);
    paintHalf(painter, m_twips.rect(SheetLayout::rightHalf(c)), cell.rightShift,
              cell.rightShiftColour);
}

qreal SheetView::dayLeftOf(const QRect& dayNumber, const DayCell& cell, const QString& dayText) {
    return dayNumber.left() + dayNumber.width() -
           (cell.dayNumber.empty() ? 0 : m_dayTexts.size(dayText).width());
}

void SheetView::paintOwn(QPainter& painter, int c, qreal dayLeft) {
    // The shift line splits as the side-by-side view's does: the rotation's shift on the left,
    // struck through when it is not worked, and the entry on the right in its mark's tint.
    const DayCell& cell = m_sheet.cells[static_cast<std::size_t>(c)];
    const OwnMark& own = cell.own;
    const QRect box = m_twips.rect(ownBox(c));
    painter.fillRect(box, tintOf(own.colour));
    if (!own.note.empty() && own.word != "Note") {
        // A folded corner in the mark's colour: the entry has a note.
        const int corner = std::max(3, m_twips.px(90));
        const QPoint points[] = {box.topRight() + QPoint(1 - corner, 0),
                                 box.topRight() + QPoint(1, 0), box.topRight() + QPoint(1, corner)};
        painter.setPen(Qt::NoPen);
        painter.setBrush(toColor(own.colour));
        painter.drawPolygon(points, 3);
        painter.setBrush(Qt::NoBrush);
    }
    const QRect left = m_twips.rect(SheetLayout::leftHalf(c));
    if (own.rotationWorked) {
        paintHalf(painter, left, own.rotationShift, own.rotationColour);
    } else if (!own.rotationShift.empty()) {
        painter.setPen(toColor(own.rotationColour));
        m_struckHalfTexts.draw(painter, left, Qt::AlignCenter, fromCore(own.rotationShift));
    }
    paintHalf(painter, box, own.entryText, own.entryColour);
    if (own.shift.empty()) {
        return;
    }
    // A swap or an extra shows its word too, above the line on the left, where the caption
    // leaves room for it.
    const QString word = fromCore(own.word);
    const QRect line = m_twips.rect(SheetLayout::shiftLine(c));
    const QRect caption = captionRect(m_twips, c);
    const int wordLeft = caption.left();
    const int room = static_cast<int>(dayLeft) - std::max(1, m_twips.px(kBorderTwips)) - wordLeft;
    const QSizeF size = m_halfTexts.size(word);
    const int top = line.top() - static_cast<int>(std::ceil(size.height()));
    const qreal captionBottom =
        cell.caption.empty()
            ? caption.top()
            : caption.top() + (hasWideCaption(c) ? m_wideCaptionTexts : m_captionTexts)
                                  .size(fromCore(cell.caption))
                                  .height();
    if (room > 0 && top >= captionBottom) {
        painter.setPen(toColor(own.colour));
        m_halfTexts.draw(painter, QRect(wordLeft, top, room, line.top() - top),
                         Qt::AlignLeft | Qt::AlignBottom, word, room);
    }
}

void SheetView::paintOffTogether(QPainter& painter, const QRect& frame) {
    // A light wash of the "Off" green inside the frame, under every text of the cell, so that
    // it hides none of them and leaves the frame's lines as they are.
    const int border = std::max(1, m_twips.px(kBorderTwips));
    painter.fillRect(frame.adjusted(border, border, -border, -border), kOffTogetherWash);
}

void SheetView::paintHalf(QPainter& painter, const QRect& rect, const std::string& text,
                          Rgb colour) {
    if (text.empty()) {
        return;
    }
    painter.setPen(toColor(colour));
    m_halfTexts.draw(painter, rect, Qt::AlignCenter, fromCore(text));
}

std::optional<int> SheetView::cellUnder(QPoint position) const {
    const QPoint twips = m_twips.toTwips(position + pos());
    return SheetLayout::cellAt(twips.x(), twips.y());
}

void SheetView::mousePressEvent(QMouseEvent* event) {
    m_pressedCell =
        event->button() == Qt::LeftButton ? cellUnder(event->position().toPoint()) : std::nullopt;
}

void SheetView::contextMenuEvent(QContextMenuEvent* event) {
    // A mouse asks for the day under it, a keyboard for the focused day.
    const std::optional<int> cell =
        event->reason() == QContextMenuEvent::Mouse ? cellUnder(event->pos()) : focusedCell();
    if (!cell) {
        event->ignore();
        return;
    }
    event->accept();
    emit dayMenuRequested(*cell, event->globalPos());
}

bool SheetView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QWidget::event(event);
    }
    // An entry's tooltip says what it is and its note in full.
    auto* help = static_cast<QHelpEvent*>(event);
    const std::optional<int> cell = cellUnder(help->pos());
    const QString text = cell ? ownEntryText(*cell) : QString();
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this, cellRect(*cell));
    }
    return true;
}

void SheetView::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and a release on the same cell.
    const std::optional<int> cell = cellUnder(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell && cell == m_pressedCell) {
        emit cellClicked(*cell);
    }
    m_pressedCell.reset();
}

std::optional<int> SheetView::focusedCell() const {
    std::optional<int> first;
    std::optional<int> today;
    int last = 0;
    for (int c = 0; c < SheetModel::kCellCount; ++c) {
        const DayCell& cell = m_sheet.cells[static_cast<std::size_t>(c)];
        if (!cell.dayNumber.empty()) {
            first = first.value_or(c);
            last = c;
            if (cell.dayNumberColour == Colours::kRed) {
                today = c;
            }
        }
    }
    if (!first) {
        return std::nullopt;
    }
    if (m_focusDay > 0) {
        return std::min(*first + m_focusDay - 1, last);
    }
    return today.value_or(*first);
}

void SheetView::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
        (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        // The focused day's menu, where a right click in its middle would open it.
        const QPoint middle = focusedCell() ? cellRect(*focusedCell()).center() : rect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, middle, mapToGlobal(middle));
        QCoreApplication::sendEvent(this, &menu);
        return;
    }
    // Left and right go a day, up and down a week, within the month shown.
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        step = -1;
        break;
    case Qt::Key_Right:
        step = 1;
        break;
    case Qt::Key_Up:
        step = -SheetModel::kColumnCount;
        break;
    case Qt::Key_Down:
        step = SheetModel::kColumnCount;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    const std::optional<int> from = focusedCell();
    if (!from || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int to = *from + step;
    const bool inMonth = to >= 0 && to < SheetModel::kCellCount &&
                         !m_sheet.cells[static_cast<std::size_t>(to)].dayNumber.empty();
    if (inMonth) {
        m_focusDay = std::stoi(m_sheet.cells[static_cast<std::size_t>(to)].dayNumber);
        update();
        announceFocusedCell();
    }
}

void SheetView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // After the toolkit has told a screen reader that the table has the focus.
    QTimer::singleShot(0, this, &SheetView::announceFocusedCell);
}

void SheetView::announceFocusedCell() {
    const std::optional<int> cell = focusedCell();
    if (!cell || !hasFocus() || !QAccessible::isActive()) {
        return;
    }
    if (QAccessibleInterface* table = QAccessible::queryAccessibleInterface(this)) {
        if (QAccessibleInterface* face = table->child(SheetModel::kColumnCount + *cell)) {
            QAccessibleEvent focus(face, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
    }
}

void SheetView::paintFocus(QPainter& painter) {
    const std::optional<int> cell = focusedCell();
    if (!cell || !KeyboardFocus::shows(this)) {
        return;
    }
    // Inside the cell's border lines, clear of them, on whole device pixels as they are.
    BorderPainter(painter, m_twips, geometry())
        .drawFrame(SheetLayout::dayFrame(*cell), KeyboardFocus::kFrameColour,
                   KeyboardFocus::kFrameWidthsIn);
}

} // namespace kelsing
