// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheetcellaccessible.h"

#include "platform/coretext.h"
#include "sheet/sheetlayout.h"
#include "sheet/sheetview.h"

namespace kelsing {

bool SheetCellAccessible::isDayCell() const {
    return m_kind == Kind::Day && m_index < SheetModel::kCellCount;
}

SheetCellAccessible::SheetCellAccessible(SheetView* view, Kind kind, int index)
    : m_view(view)
    , m_kind(kind)
    , m_index(index) {
}

bool SheetCellAccessible::isValid() const {
    return !m_view.isNull();
}

QObject* SheetCellAccessible::object() const {
    return nullptr;
}

QWindow* SheetCellAccessible::window() const {
    const QAccessibleInterface* table = parent();
    return table ? table->window() : nullptr;
}

void* SheetCellAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableCellInterface && m_kind == Kind::Day) {
        return static_cast<QAccessibleTableCellInterface*>(this);
    }
    return nullptr;
}

QAccessibleInterface* SheetCellAccessible::childAt(int, int) const {
    return nullptr;
}

QAccessibleInterface* SheetCellAccessible::parent() const {
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QAccessibleInterface* SheetCellAccessible::child(int) const {
    return nullptr;
}

int SheetCellAccessible::childCount() const {
    return 0;
}

int SheetCellAccessible::indexOfChild(const QAccessibleInterface*) const {
    return -1;
}

QString SheetCellAccessible::text(QAccessible::Text t) const {
    if (!m_view) {
        return {};
    }
    if (m_kind == Kind::Head) {
        const auto head = kWeekdayHeads[static_cast<std::size_t>(m_index)];
        return t == QAccessible::Name ? fromCore(head) : QString();
    }
    switch (t) {
    case QAccessible::Name:
        return isDayCell() ? m_view->cellName(m_index) : QString();
    case QAccessible::Description:
        return m_view->cellDescription(m_index);
    default:
        return {};
    }
}

void SheetCellAccessible::setText(QAccessible::Text, const QString&) {
}

QRect SheetCellAccessible::rect() const {
    if (!m_view) {
        return {};
    }
    const QRect local =
        m_kind == Kind::Head ? m_view->headRect(m_index) : m_view->cellRect(m_index);
    return QRect(m_view->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role SheetCellAccessible::role() const {
    return m_kind == Kind::Head ? QAccessible::ColumnHeader : QAccessible::Cell;
}

QAccessible::State SheetCellAccessible::state() const {
    QAccessible::State s;
    s.readOnly = true;
    if (!m_view || !m_view->isVisible()) {
        s.invisible = true;
    } else if (isDayCell() && !m_view->cellName(m_index).isEmpty()) {
        // The arrow keys move over the days of the month.
        s.focusable = true;
        s.focused = m_view->hasFocus() && m_view->focusedCell() == m_index;
    }
    return s;
}

bool SheetCellAccessible::isSelected() const {
    return false;
}

QList<QAccessibleInterface*> SheetCellAccessible::columnHeaderCells() const {
    QAccessibleInterface* table = parent();
    QAccessibleInterface* head = table ? table->child(columnIndex()) : nullptr;
    return head ? QList<QAccessibleInterface*>{head} : QList<QAccessibleInterface*>{};
}

QList<QAccessibleInterface*> SheetCellAccessible::rowHeaderCells() const {
    return {};
}

int SheetCellAccessible::columnIndex() const {
    return m_kind == Kind::Head ? m_index : SheetLayout::column(m_index);
}

int SheetCellAccessible::rowIndex() const {
    return m_kind == Kind::Head ? -1 : SheetLayout::row(m_index);
}

int SheetCellAccessible::columnExtent() const {
    return 1;
}

int SheetCellAccessible::rowExtent() const {
    return 1;
}

QAccessibleInterface* SheetCellAccessible::table() const {
    return parent();
}

} // namespace kelsing
