#include "reports/CReportModel.h"

#include "model/Cp1252.h"
#include "platform/CQtText.h"
#include "reports/CReportRows.h"

#include <QFontMetrics>

#include <algorithm>

CReportModel::CReportModel(const CReportRows& rows, QObject* parent)
    : QAbstractTableModel(parent)
    , m_rows(rows)
{
}

int CReportModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.GetCount());
}

int CReportModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.GetColumnCount();
}

QVariant CReportModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= m_rows.GetCount() || index.column() >= m_rows.GetColumnCount())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return ToQt(m_rows.GetText(std::size_t(index.row()), index.column()));
    case Qt::DecorationRole:
        if (index.column() == 0 && !m_images[0].isNull())
            return m_images[std::size_t(index.row() % 2)];
        return QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return QVariant();
    }
}

QVariant CReportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_rows.GetColumnCount())
        return QVariant();
    if (role == Qt::DisplayRole)
        return ToQt(m_rows.GetHeader(section));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return QVariant();
}

Qt::ItemFlags CReportModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void CReportModel::SetRowImages(const QIcon& even, const QIcon& odd)
{
    m_images = {even, odd};
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

void CReportModel::Reload()
{
    beginResetModel();
    endResetModel();
}

std::vector<int> CReportModel::WidestRows(int column, const QFont& font, std::size_t maxRows) const
{
    std::vector<int> result;
    const std::size_t count = m_rows.GetCount();
    if (count == 0 || maxRows == 0 || column < 0 || column >= m_rows.GetColumnCount())
        return result;
    if (!m_haveWidths || m_widthFont != font) {
        const QFontMetrics fm(font);
        for (int b = 0; b < 256; ++b)
            m_charWidths[std::size_t(b)] =
                fm.horizontalAdvance(QChar(char16_t(Cp1252ToUnicode(static_cast<unsigned char>(b)))));
        m_widthFont = font;
        m_haveWidths = true;
    }
    std::vector<int> widths(count);
    int widest = 0;
    for (std::size_t i = 0; i < count; ++i) {
        int width = 0;
        for (const char c : m_rows.GetText(i, column))
            width += m_charWidths[static_cast<unsigned char>(c)];
        widths[i] = width;
        widest = std::max(widest, width);
    }
    // Kerning makes a text a little narrower than the sum of its characters; every
    // row that could still be the widest once measured exactly is kept.
    const int threshold = widest - (4 + widest / 16);
    for (std::size_t i = 0; i < count; ++i)
        if (widths[i] >= threshold)
            result.push_back(static_cast<int>(i));
    const auto wider = [&widths](int a, int b) { return widths[std::size_t(a)] > widths[std::size_t(b)]; };
    if (result.size() > maxRows) {
        std::nth_element(result.begin(), result.begin() + std::ptrdiff_t(maxRows), result.end(), wider);
        result.resize(maxRows);
    }
    std::sort(result.begin(), result.end(), wider);
    return result;
}
