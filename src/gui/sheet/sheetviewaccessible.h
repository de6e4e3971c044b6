// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include <QAccessibleWidget>

namespace kelsing {

class SheetView;

/// The month sheet as a screen reader walks it: a table of six rows of seven columns under the
/// weekday heads, whose children are the seven heads, the 38 day cells and the four blank places
/// of the last row, beside the update notice.
class SheetViewAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    static constexpr int kHeadCount = 7;
    static constexpr int kCellCount = 38;
    static constexpr int kRowCount = 6;
    static constexpr int kGridCount = kRowCount * kHeadCount; // day cells and blank places

    explicit SheetViewAccessible(SheetView* view);
    ~SheetViewAccessible() override;

    /// Registers the interface for the sheet view with Qt's accessibility, once per program.
    static void install();

    /// The sheet view whose cells this table holds.
    SheetView* view() const;

    // The interface of an accessible widget.
    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The interface of a table.
    QAccessibleInterface* caption() const override;
    QAccessibleInterface* summary() const override;
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override;
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int column) override;
    bool unselectRow(int row) override;
    bool unselectColumn(int column) override;
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    // The children are made when first asked for and live as long as the table.
    mutable std::array<QAccessible::Id, kHeadCount + kGridCount> m_children{};
};

} // namespace kelsing
