// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/laidouttexts.h"
#include "platform/twips.h"
#include "sheet/sheetmodel.h"

#include <array>
#include <optional>

#include <QFont>
#include <QWidget>

namespace kelsing {

/// Paints the weekday heads and the 38 day cells of a sheet model, transparent over the window's
/// background, with the frame of the update notice among the cells', and reports clicks on a
/// cell's frame.
class SheetView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SheetView)

public:
    /// Shows `sheet`, which must outlive the view; call update() after it changes.
    SheetView(const SheetModel& sheet, QWidget* parent = nullptr);

    /// Places the view over the sheet's area of the window for a twips mapping.
    void setTwips(const Twips& twips);

    /// The area of the heads and cells, in twips of the window.
    static constexpr TwipsRect kArea{120, 720, 6735, 4575};

    /// Repaints after the sheet model changed and tells a screen reader that the cells did.
    void sheetChanged();

    /// The names of the crews of the two half lines, for a screen reader ("Brenmoor C Crew").
    void setSideNames(const QString& left, const QString& right);

    /// The sheet that the view shows.
    const SheetModel& sheet() const { return m_sheet; }

    /// The frame of day cell `c` and of weekday head `k`, in the view's coordinates.
    QRect cellRect(int c) const;
    QRect headRect(int k) const;

    /// What a screen reader says of cell `c`: its date, "today", its shift or both crews'
    /// shifts, its holiday or clock change, and "both crews off" where it is marked so
    /// ("Sunday 11 March 2007, Off, DST Starts"); empty for a cell without a day.
    QString cellName(int c) const;

    /// Where cell `c` stands in the sheet ("Week 3, Sunday").
    QString cellDescription(int c) const;

    /// What the user's own entry of cell `c` says, for a screen reader and a tooltip ("Swap:
    /// Nights", "Leave, note: dentist"); empty without an entry.
    QString ownEntryText(int c) const;

    /// The day cell that the arrow keys move from: the day they last moved to, within the
    /// month shown, at first today or the 1st; none while the sheet has no days.
    std::optional<int> focusedCell() const;

signals:
    /// A day cell (0..37) was clicked.
    void cellClicked(int cell);

    /// The context menu of a day cell (0..37) was asked for, to open at `globalPosition`.
    void dayMenuRequested(int cell, QPoint globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void paintFocus(QPainter& painter);
    void announceFocusedCell();
    std::optional<int> cellUnder(QPoint position) const;
    void chooseFonts();
    void paintFrames(QPainter& painter);
    void paintHeads(QPainter& painter);
    void paintCell(QPainter& painter, int c);
    void paintHalf(QPainter& painter, const QRect& rect, const std::string& text, Rgb colour);
    void paintOwn(QPainter& painter, int c, qreal dayLeft);
    qreal dayLeftOf(const QRect& dayNumber, const DayCell& cell, const QString& dayText);
    void paintOffTogether(QPainter& painter, const QRect& frame);

    const SheetModel& m_sheet;
    Twips m_twips;
    // The texts of each part of the cells, laid out for the current scale.
    bool m_fontsChosen = false;
    LaidOutTexts m_headTexts;
    LaidOutTexts m_dayTexts;
    LaidOutTexts m_captionTexts;
    LaidOutTexts m_wideCaptionTexts; // cells 0, 1, 2 and 8
    LaidOutTexts m_shiftTexts;
    LaidOutTexts m_longShiftTexts;
    LaidOutTexts m_halfTexts;
    LaidOutTexts m_struckHalfTexts; // a rotation's shift not worked, for an own entry
    std::optional<int> m_pressedCell;
    QString m_leftName;
    QString m_rightName;
    int m_focusDay = 0; // the day of the month the keys moved to; 0 before they did
};

} // namespace kelsing
