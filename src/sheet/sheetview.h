#pragma once

#include "platform/twips.h"
#include "sheet/sheetmodel.h"

#include <array>
#include <optional>

#include <QFont>
#include <QWidget>

namespace kelsing {

/// Paints the weekday heads and the 38 day cells of a sheet model, transparent over the window's
/// background, and reports clicks on a cell's frame.
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

signals:
    /// A day cell (0..37) was clicked.
    void cellClicked(int cell);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::optional<int> cellUnder(QPoint position) const;
    const QFont& shiftFont(const FontChoice& choice) const;
    void paintHeads(QPainter& painter) const;
    void paintCell(QPainter& painter, int c) const;
    void paintHalf(QPainter& painter, const QRect& rect, const std::string& text, Rgb colour) const;

    const SheetModel& m_sheet;
    Twips m_twips;
    QFont m_headFont;
    QFont m_dayFont;
    QFont m_captionFont;
    QFont m_shiftFont;
    QFont m_longShiftFont;
    QFont m_halfFont;
    std::optional<int> m_pressedCell;
};

} // namespace kelsing
