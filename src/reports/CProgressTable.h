#pragma once
#include <QAbstractTableModel>

class CProgressStats;

// The figures of one chart of the progress view as a table, for screen readers and
// the keyboard: the grades chart's tests in the order taken, the rules broken with
// their counts, the words missed most often with theirs, or every stubborn word with
// how often it was missed and asked. Read-only; the statistics must outlive the table
// or the next SetStats.
class CProgressTable : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Kind { Grades, Rules, Missed, Stubborn };

    explicit CProgressTable(Kind kind, QObject* parent = nullptr);

    void SetStats(const CProgressStats* stats);
    Kind GetKind() const { return m_kind; }
    // What the table is called: the title of its chart.
    QString Title() const { return Title(m_kind); }
    static QString Title(Kind kind);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // How a test's date and time read, from CDateStamp::Minutes ("9 Dec 2026, 6:02 PM").
    static QString DateText(std::int64_t minutes);

private:
    Kind m_kind;
    const CProgressStats* m_stats = nullptr;
    // The bar charts' rows, made once per SetStats.
    std::vector<std::pair<QString, qint64>> m_bars;
};
