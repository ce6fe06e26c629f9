#pragma once
#include "reports/CClassTables.h"

#include <QWidget>

#include <array>
#include <memory>
#include <string>

class CCalendarDay;
class CClassStats;
class CClassTableModel;
class CSoundComparison;
class QLabel;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;
class QTimer;

// The reports page's "Class" view: a sortable table of every learner of the user folder,
// and below it, on tabs, the words the class missed most, the rule-by-learner grid and the
// groups by rule. Files that were left alone are named above the table. The share of
// misspellings that sound right fills in after the rest is shown, a few comparisons at a
// time while the view is on the screen. Double-clicking a learner asks for their progress.
class CClassView : public QWidget {
    Q_OBJECT
public:
    enum ControlId : int {
        IDC_STATUS = 1070,
        IDC_LEARNERS = 1071,
        IDC_SECTIONS = 1072,
        IDC_MISSED = 1073,
        IDC_GRID = 1074,
        IDC_GROUPS = 1075,
    };
    // Different misspellings compared by sound between two looks at the window's events:
    // about ten milliseconds when none of their phonemes are known yet.
    static constexpr std::size_t kPairsPerStep = 400;

    explicit CClassView(QWidget* parent = nullptr);
    ~CClassView() override;

    // Reads folder (Windows-1252) and shows its figures; sounds (which must outlive the view)
    // compares the misspellings afterwards. today is the day the words due count from.
    void ShowFolder(const std::string& folder, CCalendarDay today, CSoundComparison* sounds);
    // Shows figures already worked out.
    void ShowStats(CClassStats&& stats, CSoundComparison* sounds = nullptr);
    // Compares what is left by sound at once, so a printout or an export is complete.
    void FinishSounds();
    const CClassStats& Stats() const { return *m_stats; }
    QTableView* Table(CClassTables::Table table) const { return m_tables[table]; }
    // The page keeps its own size whatever the tables and the wrapped status line would like:
    // the tables scroll in the room they get.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override { return minimumSizeHint(); }
    bool hasHeightForWidth() const override { return false; }

signals:
    // A learner of the table was double-clicked (or chosen with Enter).
    void learnerActivated(const QString& name);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Fill(CClassTables::Table table);
    void WrapHeaders(CClassTables::Table table);
    // The sound figures once every misspelling is compared.
    void ShowSounds();
    void CompareSoundsStep();
    void ShowStatus();
    void ActivateRow(const QModelIndex& index);

    // Held apart: the file that defines it is more C++ than moc reads.
    std::unique_ptr<CClassStats> m_stats;
    CSoundComparison* m_sounds = nullptr;
    std::array<CClassTableModel*, CClassTables::kTables> m_models{};
    std::array<QTableView*, CClassTables::kTables> m_tables{};
    QSortFilterProxyModel* m_sorted;
    QLabel* m_status;
    QTabWidget* m_sections;
    QTimer* m_soundsTimer;
};
