#include "platform/CTableView.h"

#include "platform/CAccessibleTable.h"

#include <QAccessible>

CTableView::CTableView(QWidget* parent)
    : QTableView(parent)
{
    CAccessibleTable::Install();
}

// QTableView's own versions only add events whose child numbers count hidden
// columns; these send the same events with the numbers screen readers see.
void CTableView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    Notify(current, QAccessible::Focus);
    QAbstractItemView::currentChanged(current, previous);
}

void CTableView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    // The first range's corner, not indexes(): that would list every cell of a
    // Select All on a long history.
    Notify(selected.isEmpty() ? QModelIndex() : QModelIndex(selected.first().topLeft()), QAccessible::SelectionAdd);
    Notify(deselected.isEmpty() ? QModelIndex() : QModelIndex(deselected.first().topLeft()), QAccessible::SelectionRemove);
    QAbstractItemView::selectionChanged(selected, deselected);
}

void CTableView::Notify(const QModelIndex& index, QAccessible::Event type)
{
    if (!QAccessible::isActive() || !index.isValid())
        return;
    const int child = CAccessibleTable::ChildIndex(this, index);
    if (child < 0)
        return;
    QAccessibleEvent event(this, type);
    event.setChild(child);
    QAccessible::updateAccessibility(&event);
}
