#pragma once
#include <QAbstractTableModel>
#include <QFont>
#include <QIcon>

#include <array>
#include <vector>

class CReportRows;

// The reports list's table over the page's rows. Nothing is converted ahead: each
// cell's text becomes a QString only when the view asks for it, so a long history
// costs only what is on the screen.
class CReportModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CReportModel(const CReportRows& rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The row images, image i mod 2 for row i; unset, rows show none.
    void SetRowImages(const QIcon& even, const QIcon& odd);
    // The rows changed as a whole (fill, deletions).
    void Reload();

    // The rows whose text in column is about the widest in font: measured with one
    // table of character widths per font, so each row costs a few additions; the
    // caller measures only these exactly. At most maxRows, widest first.
    std::vector<int> WidestRows(int column, const QFont& font, std::size_t maxRows) const;

private:
    const CReportRows& m_rows;
    std::array<QIcon, 2> m_images;
    mutable QFont m_widthFont;
    mutable std::array<int, 256> m_charWidths{};
    mutable bool m_haveWidths = false;
};
