#pragma once
#include "reports/CClassTables.h"

#include <QAbstractTableModel>
#include <QColor>

// One table of the class view over its texts (CClassTables). Sorting goes through
// kSortRole: numbers by their value, names by their text. Shaded cells of the grid get a
// background of their shade and a text colour that reads on it, in the light theme and the dark.
class CClassTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kSortRole = Qt::UserRole;

    explicit CClassTableModel(QObject* parent = nullptr);

    void SetData(CClassTables::Data data);
    // New texts for the same rows and columns: the views keep their selection and order.
    void UpdateData(CClassTables::Data data);
    // Shades for a dark window (deep colours) or a light one (pale colours).
    void SetDark(bool dark);
    static QColor ShadeColour(int shade, bool dark);
    static QColor ShadeTextColour(int shade, bool dark);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    CClassTables::Data m_data;
    bool m_dark = false;
};
