#pragma once
#include "reports/CProgressTable.h"

#include <QWidget>

#include <array>

class CProgressStats;
class QChart;
class QChartView;
class QCheckBox;
class QGridLayout;
class QLabel;
class QStackedWidget;
class QTableView;

// The reports page's "Progress" view: grades over time across the top, the rules
// broken, the words missed most often and the stubborn words side by side below, all in
// the room the view has (a further chart or list takes the next place of the lower row). "Show as Table"
// shows each chart's figures as a table instead, which screen readers and the keyboard
// can read. A learner without records sees "No data." instead; a chart with nothing
// to show gives way to its title and "No data.".
class CProgressView : public QWidget {
    Q_OBJECT
public:
    enum Chart { Grades, Rules, Missed, Stubborn, kCharts };
    // The control id of the "Show as Table" box.
    static constexpr int kShowTableId = 1058;

    explicit CProgressView(QWidget* parent = nullptr);

    // Draws stats, which must outlive the view or the next call (a palette change draws again).
    void ShowStats(const CProgressStats& stats);

    QChartView* GetChartView(Chart chart) const { return m_panels[chart].view; }
    QTableView* GetTableView(Chart chart) const { return m_panels[chart].table; }
    QLabel* GetNoDataLabel() const { return m_noData; }
    QCheckBox* GetShowTable() const { return m_showTable; }

protected:
    void changeEvent(QEvent* event) override;

private:
    struct Panel {
        QStackedWidget* stack = nullptr;
        QChartView* view = nullptr;
        QTableView* table = nullptr;
        CProgressTable* figures = nullptr;
        QLabel* empty = nullptr;
    };
    void Draw();
    void SetChart(Chart which, QChart* chart);
    // Each panel's chart, table or "No data." as the box and the figures say.
    void ShowPanels();
    // A chart view's new size: the dates and grade lines of the grades chart, the bars' plot.
    void FitChart(Chart which);

    const CProgressStats* m_stats = nullptr;
    QLabel* m_noData;
    QLabel* m_leftOut;
    QCheckBox* m_showTable;
    QWidget* m_charts;
    std::array<Panel, kCharts> m_panels;
};
