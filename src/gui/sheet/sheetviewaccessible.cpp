// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheetviewaccessible.h"

#include "platform/localeservices.h"
#include "sheet/sheetcellaccessible.h"
#include "sheet/sheetview.h"

namespace kelsing {

namespace {

QAccessibleInterface* sheetViewInterface(const QString&, QObject* object) {
    if (auto* view = qobject_cast<SheetView*>(object)) {
        return new SheetViewAccessible(view);
    }
    return nullptr;
}

} // namespace

SheetViewAccessible::SheetViewAccessible(SheetView* view)
    : QAccessibleWidget(view, QAccessible::Table) {
}

SheetViewAccessible::~SheetViewAccessible() {
    for (const QAccessible::Id id : m_children) {
        if (id != 0) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }
}

void SheetViewAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(&sheetViewInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

SheetView* SheetViewAccessible::view() const {
    return static_cast<SheetView*>(widget());
}

void* SheetViewAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) {
        return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::Role SheetViewAccessible::role() const {
    return QAccessible::Table;
}

QString SheetViewAccessible::text(QAccessible::Text t) const {
    // The table is named after the month it shows, so a screen reader says which month it is.
    if (t == QAccessible::Name && view()->sheet().title) {
        return view()->accessibleName() + QStringLiteral(", ") +
               LocaleServices::formatMonthTitle(*view()->sheet().title);
    }
    return QAccessibleWidget::text(t);
}

int SheetViewAccessible::childCount() const {
    return kHeadCount + kGridCount;
}

QAccessibleInterface* SheetViewAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    QAccessible::Id& id = m_children[static_cast<std::size_t>(index)];
    if (id == 0) {
        const bool head = index < kHeadCount;
        id = QAccessible::registerAccessibleInterface(new SheetCellAccessible(
            view(), head ? SheetCellAccessible::Kind::Head : SheetCellAccessible::Kind::Day,
            head ? index : index - kHeadCount));
    }
    return QAccessible::accessibleInterface(id);
}

int SheetViewAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* cell = dynamic_cast<const SheetCellAccessible*>(child);
    if (!cell || cell->parent() != this) {
        return -1;
    }
    return cell->kind() == SheetCellAccessible::Kind::Head ? cell->index()
                                                           : kHeadCount + cell->index();
}

QAccessibleInterface* SheetViewAccessible::childAt(int x, int y) const {
    const QPoint at = view()->mapFromGlobal(QPoint(x, y));
    // Later cells are drawn over the border they share with earlier ones, so they win it.
    for (int c = kCellCount - 1; c >= 0; --c) {
        if (view()->cellRect(c).contains(at)) {
            return child(kHeadCount + c);
        }
    }
    for (int k = kHeadCount - 1; k >= 0; --k) {
        if (view()->headRect(k).contains(at)) {
            return child(k);
        }
    }
    return nullptr;
}

QAccessibleInterface* SheetViewAccessible::focusChild() const {
    const std::optional<int> cell = view()->focusedCell();
    return cell && view()->hasFocus() ? child(kHeadCount + *cell) : nullptr;
}

QAccessibleInterface* SheetViewAccessible::caption() const {
    return nullptr;
}

QAccessibleInterface* SheetViewAccessible::summary() const {
    return nullptr;
}

QAccessibleInterface* SheetViewAccessible::cellAt(int row, int column) const {
    const int cell = row * kHeadCount + column;
    if (row < 0 || column < 0 || column >= kHeadCount || cell >= kGridCount) {
        return nullptr;
    }
    return child(kHeadCount + cell);
}

int SheetViewAccessible::selectedCellCount() const {
    return 0;
}

QList<QAccessibleInterface*> SheetViewAccessible::selectedCells() const {
    return {};
}

QString SheetViewAccessible::columnDescription(int column) const {
    const QAccessibleInterface* head = column >= 0 && column < kHeadCount ? child(column) : nullptr;
    return head ? head->text(QAccessible::Name) : QString();
}

QString SheetViewAccessible::rowDescription(int row) const {
    return row >= 0 && row < kRowCount ? QStringLiteral("Week %1").arg(row + 1) : QString();
}

int SheetViewAccessible::selectedColumnCount() const {
    return 0;
}

int SheetViewAccessible::selectedRowCount() const {
    return 0;
}

int SheetViewAccessible::columnCount() const {
    return kHeadCount;
}

int SheetViewAccessible::rowCount() const {
    return kRowCount;
}

QList<int> SheetViewAccessible::selectedColumns() const {
    return {};
}

QList<int> SheetViewAccessible::selectedRows() const {
    return {};
}

bool SheetViewAccessible::isColumnSelected(int) const {
    return false;
}

bool SheetViewAccessible::isRowSelected(int) const {
    return false;
}

// The sheet offers nothing to select: a click on a day changes nothing.
bool SheetViewAccessible::selectRow(int) {
    return false;
}

bool SheetViewAccessible::selectColumn(int) {
    return false;
}

bool SheetViewAccessible::unselectRow(int) {
    return false;
}

bool SheetViewAccessible::unselectColumn(int) {
    return false;
}

void SheetViewAccessible::modelChange(QAccessibleTableModelChangeEvent*) {
    // The 45 children stay the same objects; only what they say changes.
}

} // namespace kelsing
