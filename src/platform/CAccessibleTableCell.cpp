#include "platform/CAccessibleTableCell.h"

#include "platform/CAccessibleTable.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QWindow>

CAccessibleTableCell::CAccessibleTableCell(QTableView* view, int row, int column)
    : m_view(view)
    , m_row(row)
    , m_column(column)
{
}

QModelIndex CAccessibleTableCell::Index() const
{
    if (!m_view || !m_view->model() || IsHeader())
        return QModelIndex();
    return m_view->model()->index(m_row, m_column, m_view->rootIndex());
}

bool CAccessibleTableCell::isValid() const
{
    if (!m_view || !m_view->model() || m_view->isColumnHidden(m_column))
        return false;
    if (IsHeader())
        return m_column < m_view->model()->columnCount(m_view->rootIndex()) && !m_view->horizontalHeader()->isHidden();
    return Index().isValid();
}

QObject* CAccessibleTableCell::object() const
{
    return nullptr;
}

QWindow* CAccessibleTableCell::window() const
{
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface* CAccessibleTableCell::childAt(int, int) const
{
    return nullptr;
}

QAccessibleInterface* CAccessibleTableCell::parent() const
{
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QAccessibleInterface* CAccessibleTableCell::child(int) const
{
    return nullptr;
}

int CAccessibleTableCell::childCount() const
{
    return 0;
}

int CAccessibleTableCell::indexOfChild(const QAccessibleInterface*) const
{
    return -1;
}

QString CAccessibleTableCell::text(QAccessible::Text t) const
{
    if (!isValid())
        return QString();
    if (IsHeader())
        return t == QAccessible::Name ? m_view->model()->headerData(m_column, Qt::Horizontal).toString().trimmed()
                                      : QString();
    const QModelIndex index = Index();
    if (t == QAccessible::Description)
        return index.data(Qt::AccessibleDescriptionRole).toString();
    if (t != QAccessible::Name)
        return QString();
    const QString spoken = index.data(Qt::AccessibleTextRole).toString();
    return spoken.isEmpty() ? index.data(Qt::DisplayRole).toString().trimmed() : spoken;
}

void CAccessibleTableCell::setText(QAccessible::Text, const QString&)
{
}

QRect CAccessibleTableCell::rect() const
{
    if (!isValid())
        return QRect();
    if (IsHeader()) {
        const QHeaderView* header = m_view->horizontalHeader();
        const QRect section(header->sectionViewportPosition(m_column), 0, header->sectionSize(m_column),
                            header->height());
        return section.translated(header->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    return m_view->visualRect(Index()).translated(m_view->viewport()->mapToGlobal(QPoint(0, 0)));
}

QAccessible::Role CAccessibleTableCell::role() const
{
    return IsHeader() ? QAccessible::ColumnHeader : QAccessible::Cell;
}

QAccessible::State CAccessibleTableCell::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    // A cell scrolled out of the view is not showing.
    const QRect shown(m_view->mapToGlobal(QPoint(0, 0)), m_view->size());
    s.invisible = !shown.intersects(rect());
    if (IsHeader())
        return s;
    s.selectable = m_view->selectionMode() != QAbstractItemView::NoSelection;
    s.selected = isSelected();
    s.focusable = true;
    s.focused = m_view->hasFocus()
        && CAccessibleTable::ChildIndex(m_view, m_view->currentIndex()) == CAccessibleTable::ChildIndex(m_view, Index());
    return s;
}

void* CAccessibleTableCell::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TableCellInterface && !IsHeader())
        return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
}

bool CAccessibleTableCell::isSelected() const
{
    return isValid() && !IsHeader() && m_view->selectionModel() && m_view->selectionModel()->isSelected(Index());
}

QList<QAccessibleInterface*> CAccessibleTableCell::columnHeaderCells() const
{
    QAccessibleInterface* table = this->table();
    if (!table || IsHeader() || m_view->horizontalHeader()->isHidden())
        return {};
    QAccessibleInterface* header = table->child(columnIndex());
    return header ? QList<QAccessibleInterface*>{header} : QList<QAccessibleInterface*>{};
}

QList<QAccessibleInterface*> CAccessibleTableCell::rowHeaderCells() const
{
    return {};
}

int CAccessibleTableCell::columnIndex() const
{
    return m_view ? int(CAccessibleTable::ShownColumns(m_view).indexOf(m_column)) : -1;
}

int CAccessibleTableCell::rowIndex() const
{
    return m_row;
}

int CAccessibleTableCell::columnExtent() const
{
    return 1;
}

int CAccessibleTableCell::rowExtent() const
{
    return 1;
}

QAccessibleInterface* CAccessibleTableCell::table() const
{
    return parent();
}
