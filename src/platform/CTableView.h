#pragma once
#include <QAccessible>
#include <QTableView>

// A table whose hidden columns are hidden from screen readers too: its accessible
// tree holds only the columns shown, and the focus and selection events it sends
// point at those cells. (Qt's own table counts every column of the model.)
class CTableView : public QTableView {
    Q_OBJECT
public:
    explicit CTableView(QWidget* parent = nullptr);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    void Notify(const QModelIndex& index, QAccessible::Event type);
};
