#include "reports/CProgressView.h"

#include "platform/CControlIds.h"
#include "platform/CReadingLook.h"
#include "reports/CProgressCharts.h"
#include "reports/CProgressStats.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {
// A chart view that fits its chart's axes and plot after each change of its size.
class CFittingChartView : public QChartView {
public:
    explicit CFittingChartView(std::function<void()> fit)
        : m_fit(std::move(fit))
    {
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QChartView::resizeEvent(event);
        m_fit();
    }

private:
    std::function<void()> m_fit;
};
} // namespace

CProgressView::CProgressView(QWidget* parent)
    : QWidget(parent)
    , m_noData(new QLabel(QStringLiteral("No data.")))
    , m_leftOut(new QLabel)
    , m_showTable(new QCheckBox(QStringLiteral("Show as Table")))
    , m_charts(new QWidget)
{
    SetControlId(m_showTable, kShowTableId);
    m_showTable->setShortcut(QKeySequence(Qt::ALT | Qt::Key_T));
    m_showTable->setToolTip(QStringLiteral("The figures of each chart as a table (Alt+T)"));
    m_noData->setAlignment(Qt::AlignCenter);
    m_leftOut->setWordWrap(true);

    // Grades over time want the width; the bar charts share the row below.
    auto* grid = new QGridLayout(m_charts);
    grid->setContentsMargins(0, 0, 0, 0);
    const CProgressTable::Kind kinds[kCharts] = {CProgressTable::Grades, CProgressTable::Rules, CProgressTable::Missed,
                                                 CProgressTable::Stubborn};
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        Panel& panel = m_panels[i];
        panel.stack = new QStackedWidget;
        panel.view = new CFittingChartView([this, i] { FitChart(Chart(i)); });
        panel.view->setRenderHint(QPainter::Antialiasing);
        panel.view->setMinimumSize(160, 120);
        panel.figures = new CProgressTable(kinds[i], this);
        panel.table = new QTableView;
        panel.table->setModel(panel.figures);
        panel.table->setMinimumSize(100, 60);
        panel.table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        panel.table->setTabKeyNavigation(false);
        panel.table->setSelectionBehavior(QAbstractItemView::SelectRows);
        panel.table->verticalHeader()->hide();
        panel.table->horizontalHeader()->setStretchLastSection(true);
        panel.table->setAccessibleName(panel.figures->Title());
        panel.view->setAccessibleName(panel.figures->Title());
        panel.view->setAccessibleDescription(QStringLiteral("Tick \"Show as Table\" to read its figures."));
        panel.empty = new QLabel;
        panel.empty->setAlignment(Qt::AlignCenter);
        panel.stack->addWidget(panel.view);
        panel.stack->addWidget(panel.table);
        panel.stack->addWidget(panel.empty);
        if (i == Grades)
            grid->addWidget(panel.stack, 0, 0, 1, kCharts - 1);
        else
            grid->addWidget(panel.stack, 1, int(i) - 1);
    }
    grid->setRowStretch(0, 1);
    grid->setRowStretch(1, 1);
    // The rules' names are the longest beside their bars.
    grid->setColumnStretch(Rules - 1, 3);
    grid->setColumnStretch(Missed - 1, 2);
    grid->setColumnStretch(Stubborn - 1, 2);

    auto* top = new QHBoxLayout;
    top->addWidget(m_leftOut, 1);
    top->addWidget(m_showTable);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_noData, 1);
    layout->addWidget(m_charts, 1);
    m_charts->hide();
    connect(m_showTable, &QCheckBox::toggled, this, [this] { ShowPanels(); });
}

void CProgressView::ShowStats(const CProgressStats& stats)
{
    m_stats = &stats;
    Draw();
}

void CProgressView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // A new theme of the desktop (light to dark, or back) redraws the charts in it.
    if (event->type() == QEvent::PaletteChange && m_stats)
        Draw();
}

void CProgressView::FitChart(Chart which)
{
    QChartView* view = m_panels[which].view;
    if (!m_stats || view->chart()->series().isEmpty())
        return;
    if (which == Grades)
        CProgressCharts::FitGrades(view->chart(), *m_stats, view->size());
    else
        CProgressCharts::FitBarPlot(view->chart(), view->size());
}

void CProgressView::Draw()
{
    for (Panel& panel : m_panels)
        panel.figures->SetStats(m_stats);
    const bool any = m_stats->HasRecords();
    m_noData->setVisible(!any);
    m_charts->setVisible(any);
    m_showTable->setVisible(any);
    if (!any) {
        for (std::size_t i = 0; i < m_panels.size(); ++i)
            SetChart(Chart(i), nullptr);
        m_leftOut->hide();
        ShowPanels();
        return;
    }
    const bool dark = CReadingLook::IsDark(palette());
    SetChart(Grades, CProgressCharts::GradesChart(*m_stats, dark, m_panels[Grades].view->width()));
    SetChart(Rules, CProgressCharts::RulesChart(*m_stats, dark));
    SetChart(Missed, CProgressCharts::MissedChart(*m_stats, dark));
    SetChart(Stubborn, CProgressCharts::StubbornChart(*m_stats, dark));
    const QString note = CProgressCharts::LeftOutNote(*m_stats);
    m_leftOut->setText(note);
    m_leftOut->setVisible(!note.isEmpty());
    ShowPanels();
}

void CProgressView::SetChart(Chart which, QChart* chart)
{
    Panel& panel = m_panels[which];
    QChart* old = panel.view->chart();
    if (chart) {
        // The charts' words a little smaller than the page's, so that names fit whole.
        QFont small = font();
        small.setPointSizeF(font().pointSizeF() * 0.85);
        for (QAbstractAxis* axis : chart->axes()) {
            axis->setLabelsFont(small);
            axis->setTitleFont(small);
        }
        chart->legend()->setFont(small);
        chart->setMargins(QMargins(4, 4, 4, 4));
        chart->layout()->setContentsMargins(0, 0, 0, 0);
        panel.view->setChart(chart);
        // A bar chart needs a line for each bar so its names stay readable.
        const int line = QFontMetrics(small).height();
        // The stubborn words' table may hold more words than their chart.
        const int bars = which == Grades     ? 0
                         : which == Stubborn ? int(m_stats->StubbornBars().size())
                                             : panel.figures->rowCount();
        const int least = which == Grades ? 6 * line : std::max(5 * line, int((0.95 * bars + 2.5) * line));
        // The chart would otherwise ask for room for every part at its ease.
        chart->setMinimumSize(QSizeF(160, least));
        panel.view->setMinimumHeight(least);
    } else {
        // The view keeps a chart of its own; an empty one stands in.
        panel.view->setChart(new QChart);
    }
    delete old;
    FitChart(which);
    panel.empty->setText(which == Stubborn ? CProgressCharts::NoStubbornWordsText()
                                           : panel.figures->Title() + QStringLiteral(": No data."));
}

void CProgressView::ShowPanels()
{
    const bool table = m_showTable->isChecked();
    for (Panel& panel : m_panels) {
        const bool hasChart = m_stats && m_stats->HasRecords() && !panel.view->chart()->series().isEmpty();
        panel.stack->setCurrentWidget(!hasChart ? static_cast<QWidget*>(panel.empty)
                                      : table   ? static_cast<QWidget*>(panel.table)
                                                : static_cast<QWidget*>(panel.view));
    }
    if (table)
        for (Panel& panel : m_panels)
            panel.table->resizeColumnsToContents();
}
