#include "reports/CClassTableModel.h"

#include "platform/CQtText.h"

CClassTableModel::CClassTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void CClassTableModel::SetData(CClassTables::Data data)
{
    beginResetModel();
    m_data = std::move(data);
    endResetModel();
}

void CClassTableModel::UpdateData(CClassTables::Data data)
{
    if (data.rows.size() != m_data.rows.size() || data.headers.size() != m_data.headers.size()) {
        SetData(std::move(data));
        return;
    }
    m_data = std::move(data);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void CClassTableModel::SetDark(bool dark)
{
    if (dark == m_dark)
        return;
    m_dark = dark;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QColor CClassTableModel::ShadeColour(int shade, bool dark)
{
    // From pale to strong amber: the step from one to the next stays visible to people who
    // see colours differently, since only the lightness changes much.
    static const QColor light[] = {QColor(0xFF, 0xF1, 0xC1), QColor(0xFF, 0xD5, 0x80), QColor(0xF0, 0xA0, 0x3C),
                                   QColor(0xC0, 0x5A, 0x10)};
    static const QColor deep[] = {QColor(0x45, 0x35, 0x10), QColor(0x6A, 0x4A, 0x10), QColor(0x8A, 0x5A, 0x12),
                                  QColor(0xF0, 0xA0, 0x3C)};
    if (shade < 1 || shade > CClassTables::kShades)
        return QColor();
    return (dark ? deep : light)[shade - 1];
}

QColor CClassTableModel::ShadeTextColour(int shade, bool dark)
{
    if (shade < 1 || shade > CClassTables::kShades)
        return QColor();
    // The darkest light shade and the brightest dark one want the other text colour.
    const bool darkBackground = dark ? shade < CClassTables::kShades : shade == CClassTables::kShades;
    return darkBackground ? QColor(Qt::white) : QColor(Qt::black);
}

int CClassTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_data.rows.size());
}

int CClassTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_data.headers.size());
}

QVariant CClassTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= m_data.rows.size())
        return QVariant();
    const std::vector<CClassTables::Cell>& row = m_data.rows[std::size_t(index.row())];
    if (std::size_t(index.column()) >= row.size())
        return QVariant();
    const CClassTables::Cell& cell = row[std::size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return ToQt(cell.text);
    case kSortRole:
        return cell.sortByValue ? QVariant(cell.value) : QVariant(ToQt(cell.text));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter | (cell.number ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::BackgroundRole:
        return cell.shade ? QVariant(ShadeColour(cell.shade, m_dark)) : QVariant();
    case Qt::ForegroundRole:
        return cell.shade ? QVariant(ShadeTextColour(cell.shade, m_dark)) : QVariant();
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
        // A blank grid cell still tells a screen reader its count.
        if (cell.number && cell.text.empty() && cell.value == 0)
            return QStringLiteral("0");
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant CClassTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        std::size_t(section) >= m_data.headers.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return ToQt(m_data.headers[std::size_t(section)]);
}
