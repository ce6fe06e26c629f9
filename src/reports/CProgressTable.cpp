#include "reports/CProgressTable.h"

#include "platform/CQtText.h"
#include "reports/CProgressStats.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

CProgressTable::CProgressTable(Kind kind, QObject* parent)
    : QAbstractTableModel(parent)
    , m_kind(kind)
{
}

QString CProgressTable::Title(Kind kind)
{
    static const char* const titles[] = {"Grades over time", "Rules broken", "Most missed words", "Stubborn words"};
    return QString::fromLatin1(titles[kind]);
}

void CProgressTable::SetStats(const CProgressStats* stats)
{
    beginResetModel();
    m_stats = stats;
    m_bars.clear();
    if (stats && (m_kind == Rules || m_kind == Missed))
        for (const auto& [name, count] : m_kind == Rules ? stats->RuleBars() : stats->MissedBars())
            m_bars.emplace_back(ToQt(name), qint64(count));
    endResetModel();
}

QString CProgressTable::DateText(std::int64_t minutes)
{
    // The stamp's own wall-clock time: no time zone moves it.
    const QDateTime wall = QDateTime::fromMSecsSinceEpoch(minutes * 60000, QTimeZone::utc());
    return QLocale::c().toString(wall, QStringLiteral("d MMM yyyy, h:mm AP"));
}

int CProgressTable::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_stats)
        return 0;
    if (m_kind == Grades)
        return m_stats->GetSeries().empty() ? 0 : int(m_stats->GetSeries().back().points.size());
    if (m_kind == Stubborn)
        return int(m_stats->GetStubbornWords().size());
    return int(m_bars.size());
}

int CProgressTable::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_kind == Grades ? 6 : m_kind == Stubborn ? 3 : 2;
}

QVariant CProgressTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_stats || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole) {
        const bool number = m_kind == Grades ? index.column() == 0 || index.column() == 3 || index.column() == 5
                                             : index.column() >= 1;
        return QVariant::fromValue(Qt::Alignment(number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole)
        return {};
    const int row = index.row();
    if (m_kind == Stubborn) {
        const CProgressStats::StubbornWord& w = m_stats->GetStubbornWords()[std::size_t(row)];
        return index.column() == 0 ? QVariant(ToQt(w.word))
                                   : QVariant(QString::number(index.column() == 1 ? w.missed : w.asked));
    }
    if (m_kind != Grades) {
        const auto& [name, count] = m_bars[std::size_t(row)];
        return index.column() == 0 ? QVariant(name) : QVariant(QString::number(count));
    }
    // The series of all tests is the last one, oldest first.
    const CProgressStats::Point& p = m_stats->GetSeries().back().points[std::size_t(row)];
    switch (index.column()) {
    case 0: return QString::number(p.order + 1);
    case 1: return DateText(p.minutes);
    case 2: return ToQt(m_stats->GetListNames()[p.list]);
    case 3: return QString::number(double(p.grade), 'f', 0);
    case 4: return p.stopped ? QStringLiteral("stopped") : QStringLiteral("finished");
    default: return p.soundRight < 0 ? QString() : QString::number(double(p.soundRight), 'f', 0);
    }
}

QVariant CProgressTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const grades[] = {"Test", "Date", "Spelling List", "Grade (%)", "Test Was", "Sound Right (%)"};
    static const char* const rules[] = {"Spelling Rule", "Misspellings"};
    static const char* const missed[] = {"Word", "Times Missed"};
    // Short, so that the three columns fit the narrow panel.
    static const char* const stubborn[] = {"Word", "Missed", "Asked"};
    const char* const* names = m_kind == Grades ? grades : m_kind == Rules ? rules : m_kind == Missed ? missed : stubborn;
    return section >= 0 && section < columnCount() ? QVariant(QString::fromLatin1(names[section])) : QVariant();
}
