#include "platform/CAccessibleTable.h"

#include "platform/CAccessibleTableCell.h"
#include "platform/CTableView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSet>

namespace {
QAccessibleInterface* Factory(const QString&, QObject* object)
{
    if (auto* view = qobject_cast<CTableView*>(object))
        return new CAccessibleTable(view);
    return nullptr;
}
}

CAccessibleTable::CAccessibleTable(QTableView* view)
    : QAccessibleWidget(view, QAccessible::Table)
{
}

CAccessibleTable::~CAccessibleTable()
{
    ForgetCells();
}

void CAccessibleTable::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

QList<int> CAccessibleTable::ShownColumns(const QTableView* view)
{
    QList<int> shown;
    const QHeaderView* header = view->horizontalHeader();
    if (!view->model())
        return shown;
    const int count = view->model()->columnCount(view->rootIndex());
    for (int visual = 0; visual < count; ++visual) {
        const int column = header->logicalIndex(visual);
        if (column >= 0 && !view->isColumnHidden(column))
            shown.push_back(column);
    }
    return shown;
}

int CAccessibleTable::ChildIndex(const QTableView* view, const QModelIndex& index)
{
    const QList<int> shown = ShownColumns(view);
    if (!index.isValid() || shown.isEmpty())
        return -1;
    const int position = std::max(0, int(shown.indexOf(index.column())));
    const int headerRows = view->horizontalHeader()->isHidden() ? 0 : 1;
    return (index.row() + headerRows) * int(shown.size()) + position;
}

QTableView* CAccessibleTable::View() const
{
    return static_cast<QTableView*>(widget());
}

bool CAccessibleTable::HeaderShown() const
{
    return !View()->horizontalHeader()->isHidden();
}

QAccessibleInterface* CAccessibleTable::Cell(int row, int modelColumn) const
{
    const QPair<int, int> key(row, modelColumn);
    if (QAccessibleInterface* known = QAccessible::accessibleInterface(m_cells.value(key)))
        return known;
    auto* cell = new CAccessibleTableCell(View(), row, modelColumn);
    m_cells.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

void CAccessibleTable::ForgetCells()
{
    for (QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
    m_cells.clear();
}

QAccessible::State CAccessibleTable::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    const QAbstractItemView::SelectionMode mode = View()->selectionMode();
    s.multiSelectable = mode == QAbstractItemView::MultiSelection || mode == QAbstractItemView::ExtendedSelection;
    s.extSelectable = mode == QAbstractItemView::ExtendedSelection;
    return s;
}

int CAccessibleTable::childCount() const
{
    return (rowCount() + (HeaderShown() ? 1 : 0)) * columnCount();
}

QAccessibleInterface* CAccessibleTable::child(int index) const
{
    const QList<int> shown = ShownColumns(View());
    if (index < 0 || shown.isEmpty())
        return nullptr;
    const int row = index / int(shown.size()) - (HeaderShown() ? 1 : 0);
    if (row >= rowCount())
        return nullptr;
    return Cell(row, shown[index % shown.size()]);
}

int CAccessibleTable::indexOfChild(const QAccessibleInterface* child) const
{
    auto* cell = dynamic_cast<const CAccessibleTableCell*>(child);
    if (!cell || cell->View() != View() || !cell->isValid())
        return -1;
    const QList<int> shown = ShownColumns(View());
    return (cell->Row() + (HeaderShown() ? 1 : 0)) * int(shown.size()) + int(shown.indexOf(cell->Column()));
}

QAccessibleInterface* CAccessibleTable::childAt(int x, int y) const
{
    const QPoint global(x, y);
    const QHeaderView* header = View()->horizontalHeader();
    const QPoint inHeader = header->mapFromGlobal(global);
    if (HeaderShown() && header->rect().contains(inHeader)) {
        const int column = header->logicalIndexAt(inHeader.x());
        return column >= 0 ? Cell(-1, column) : nullptr;
    }
    const QModelIndex index = View()->indexAt(View()->viewport()->mapFromGlobal(global));
    if (!index.isValid() || View()->isColumnHidden(index.column()))
        return nullptr;
    return Cell(index.row(), index.column());
}

QAccessibleInterface* CAccessibleTable::focusChild() const
{
    if (!View()->hasFocus())
        return nullptr;
    return child(ChildIndex(View(), View()->currentIndex()));
}

void* CAccessibleTable::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessibleInterface* CAccessibleTable::caption() const
{
    return nullptr;
}

QAccessibleInterface* CAccessibleTable::summary() const
{
    return nullptr;
}

QAccessibleInterface* CAccessibleTable::cellAt(int row, int column) const
{
    const QList<int> shown = ShownColumns(View());
    if (row < 0 || row >= rowCount() || column < 0 || column >= shown.size())
        return nullptr;
    return Cell(row, shown[column]);
}

int CAccessibleTable::columnCount() const
{
    return int(ShownColumns(View()).size());
}

int CAccessibleTable::rowCount() const
{
    return View()->model() ? View()->model()->rowCount(View()->rootIndex()) : 0;
}

int CAccessibleTable::selectedCellCount() const
{
    return int(selectedCells().size());
}

QList<QAccessibleInterface*> CAccessibleTable::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    if (!View()->selectionModel())
        return cells;
    for (const QModelIndex& index : View()->selectionModel()->selectedIndexes())
        if (!View()->isColumnHidden(index.column()))
            cells.push_back(Cell(index.row(), index.column()));
    return cells;
}

QString CAccessibleTable::columnDescription(int column) const
{
    const QList<int> shown = ShownColumns(View());
    if (column < 0 || column >= shown.size())
        return QString();
    return View()->model()->headerData(shown[column], Qt::Horizontal).toString().trimmed();
}

QString CAccessibleTable::rowDescription(int row) const
{
    return View()->model() ? View()->model()->headerData(row, Qt::Vertical).toString() : QString();
}

int CAccessibleTable::selectedColumnCount() const
{
    return int(selectedColumns().size());
}

int CAccessibleTable::selectedRowCount() const
{
    return int(selectedRows().size());
}

QList<int> CAccessibleTable::selectedColumns() const
{
    QList<int> columns;
    for (int column = 0; column < columnCount(); ++column)
        if (isColumnSelected(column))
            columns.push_back(column);
    return columns;
}

QList<int> CAccessibleTable::selectedRows() const
{
    QSet<int> rows;
    if (View()->selectionModel())
        for (const QModelIndex& index : View()->selectionModel()->selectedIndexes())
            rows.insert(index.row());
    QList<int> selected;
    for (int row : rows)
        if (isRowSelected(row))
            selected.push_back(row);
    std::sort(selected.begin(), selected.end());
    return selected;
}

// A line counts as selected when all its shown cells are; hidden ones don't matter.
bool CAccessibleTable::isColumnSelected(int column) const
{
    const QList<int> shown = ShownColumns(View());
    const QItemSelectionModel* selection = View()->selectionModel();
    if (!selection || column < 0 || column >= shown.size() || rowCount() == 0)
        return false;
    for (int row = 0; row < rowCount(); ++row)
        if (!selection->isSelected(View()->model()->index(row, shown[column], View()->rootIndex())))
            return false;
    return true;
}

bool CAccessibleTable::isRowSelected(int row) const
{
    const QList<int> shown = ShownColumns(View());
    const QItemSelectionModel* selection = View()->selectionModel();
    if (!selection || row < 0 || row >= rowCount() || shown.isEmpty())
        return false;
    for (int column : shown)
        if (!selection->isSelected(View()->model()->index(row, column, View()->rootIndex())))
            return false;
    return true;
}

bool CAccessibleTable::SelectLine(int line, bool row, bool select)
{
    QItemSelectionModel* selection = View()->selectionModel();
    const QAbstractItemView::SelectionBehavior wrongWay =
        row ? QAbstractItemView::SelectColumns : QAbstractItemView::SelectRows;
    const QList<int> shown = ShownColumns(View());
    if (!selection || View()->selectionMode() == QAbstractItemView::NoSelection
        || View()->selectionBehavior() == wrongWay || line < 0 || (row ? line >= rowCount() : line >= shown.size())
        || shown.isEmpty())
        return false;
    const QModelIndex index =
        row ? View()->model()->index(line, shown.front(), View()->rootIndex())
            : View()->model()->index(0, shown[line], View()->rootIndex());
    QItemSelectionModel::SelectionFlags flags = row ? QItemSelectionModel::Rows : QItemSelectionModel::Columns;
    if (!select)
        flags |= QItemSelectionModel::Deselect;
    else if (View()->selectionMode() == QAbstractItemView::SingleSelection)
        flags |= QItemSelectionModel::ClearAndSelect;
    else
        flags |= QItemSelectionModel::Select;
    selection->select(index, flags);
    return true;
}

bool CAccessibleTable::selectRow(int row)
{
    return SelectLine(row, true, true);
}

bool CAccessibleTable::selectColumn(int column)
{
    return SelectLine(column, false, true);
}

bool CAccessibleTable::unselectRow(int row)
{
    return SelectLine(row, true, false);
}

bool CAccessibleTable::unselectColumn(int column)
{
    return SelectLine(column, false, false);
}

void CAccessibleTable::modelChange(QAccessibleTableModelChangeEvent* event)
{
    // Cells read their text afresh, so changed data needs nothing; moved rows do.
    if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged)
        ForgetCells();
}
