#pragma once
#include <QAccessibleWidget>
#include <QHash>
#include <QList>
#include <QPair>

class QModelIndex;
class QTableView;

// What a screen reader sees of a table view: the column headers and cells of the
// columns shown, in the order shown. Cells are made when first asked for and
// forgotten when the rows change.
class CAccessibleTable : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit CAccessibleTable(QTableView* view);
    ~CAccessibleTable() override;

    // Registers the interface with Qt's accessibility once per program.
    static void Install();
    // The model's columns that are shown, in the order shown.
    static QList<int> ShownColumns(const QTableView* view);
    // The child number of index's cell, or -1. A hidden column counts as its row's
    // first shown one, so a row chosen by a hidden column is still found.
    static int ChildIndex(const QTableView* view, const QModelIndex& index);

    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    QAccessibleInterface* caption() const override;
    QAccessibleInterface* summary() const override;
    QAccessibleInterface* cellAt(int row, int column) const override;
    int columnCount() const override;
    int rowCount() const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override;
    int selectedRowCount() const override;
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
    QTableView* View() const;
    bool HeaderShown() const;
    // The cell at row and the model's column; row -1 is the header.
    QAccessibleInterface* Cell(int row, int modelColumn) const;
    bool SelectLine(int line, bool row, bool select);
    void ForgetCells();

    mutable QHash<QPair<int, int>, QAccessible::Id> m_cells;
};
