#pragma once
#include <QAccessible>
#include <QPointer>

class QModelIndex;
class QTableView;

// One cell, or one column header, of a table as a screen reader sees it. It reads
// the view each time, so it never shows stale text.
class CAccessibleTableCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    // row -1 is the column header; column is the model's column.
    CAccessibleTableCell(QTableView* view, int row, int column);

    int Row() const { return m_row; }
    int Column() const { return m_column; }
    const QTableView* View() const { return m_view; }

    bool isValid() const override;
    QObject* object() const override;
    QWindow* window() const override;
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
    void* interface_cast(QAccessible::InterfaceType t) override;

    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override;
    int rowIndex() const override;
    int columnExtent() const override;
    int rowExtent() const override;
    QAccessibleInterface* table() const override;

private:
    bool IsHeader() const { return m_row < 0; }
    QModelIndex Index() const;

    QPointer<QTableView> m_view;
    int m_row;
    int m_column;
};
