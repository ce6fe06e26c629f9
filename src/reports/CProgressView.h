#pragma once
#include <QScrollArea>

#include <array>

class CProgressStats;
class QChart;
class QChartView;
class QLabel;

// The reports page's "Progress" view: grades over time, the misspellings that sound
// right over time, the rules broken and the words missed most often, one chart below the other, scrolled when the page is small.
// A learner without records sees "No data." instead; a chart with nothing to show
// gives way to its title and "No data.".
class CProgressView : public QScrollArea {
    Q_OBJECT
public:
    enum Chart { Grades, Sounds, Rules, Missed, kCharts };

    explicit CProgressView(QWidget* parent = nullptr);

    // Draws stats, which must outlive the view or the next call (a palette change draws again).
    void ShowStats(const CProgressStats& stats);

    QChartView* GetChartView(Chart chart) const { return m_panels[chart].view; }
    QLabel* GetNoDataLabel() const { return m_noData; }

protected:
    void changeEvent(QEvent* event) override;

private:
    struct Panel {
        QChartView* view = nullptr;
        QLabel* empty = nullptr;
    };
    void Draw();
    // emptyText stands in for a chart that has nothing to show (by default title + ": No data.").
    void SetChart(Chart which, QChart* chart, const QString& title, const QString& emptyText = {});

    const CProgressStats* m_stats = nullptr;
    QLabel* m_noData;
    QLabel* m_leftOut;
    std::array<Panel, kCharts> m_panels;
};
