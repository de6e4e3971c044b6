// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleInterface>
#include <QPointer>

namespace kelsing {

class SheetView;
class SheetViewAccessible;

/// One child of the month sheet's table for a screen reader: a weekday head or a day cell.
class SheetCellAccessible final : public QAccessibleInterface,
                                  public QAccessibleTableCellInterface {
public:
    enum class Kind { Head, Day };

    /// Head `index` (0 = Sunday) or place `index` of the grid of the view's sheet: day cells
    /// 0..37, then the blank places 38..41 of the last row.
    SheetCellAccessible(SheetView* view, Kind kind, int index);

    Kind kind() const { return m_kind; }
    int index() const { return m_index; }

    // The interface of an accessible object.
    bool isValid() const override;
    QObject* object() const override;
    QWindow* window() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

    // The interface of a table cell; heads are no cells of the table's grid.
    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override;
    int rowIndex() const override;
    int columnExtent() const override;
    int rowExtent() const override;
    QAccessibleInterface* table() const override;

private:
    bool isDayCell() const;

    QPointer<SheetView> m_view;
    Kind m_kind;
    int m_index;
};

} // namespace kelsing
