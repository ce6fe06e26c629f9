#include "reports/CProgressView.h"

#include "reports/CProgressCharts.h"
#include "reports/CProgressStats.h"

#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

CProgressView::CProgressView(QWidget* parent)
    : QScrollArea(parent)
    , m_noData(new QLabel(QStringLiteral("No data.")))
    , m_leftOut(new QLabel)
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    m_noData->setAlignment(Qt::AlignCenter);
    m_leftOut->setWordWrap(true);
    layout->addWidget(m_noData);
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        Panel& panel = m_panels[i];
        panel.view = new QChartView;
        panel.view->setRenderHint(QPainter::Antialiasing);
        panel.empty = new QLabel;
        panel.empty->setWordWrap(true);
        layout->addWidget(panel.view);
        layout->addWidget(panel.empty);
        if (i == Grades)
            layout->addWidget(m_leftOut);
    }
    layout->addStretch();
    setWidget(content);
    for (Panel& panel : m_panels) {
        panel.view->hide();
        panel.empty->hide();
    }
    m_leftOut->hide();
}

void CProgressView::ShowStats(const CProgressStats& stats)
{
    m_stats = &stats;
    Draw();
}

void CProgressView::changeEvent(QEvent* event)
{
    QScrollArea::changeEvent(event);
    // A new theme of the desktop (light to dark, or back) redraws the charts in it.
    if (event->type() == QEvent::PaletteChange && m_stats)
        Draw();
}

void CProgressView::Draw()
{
    const bool any = m_stats->HasRecords();
    m_noData->setVisible(!any);
    if (!any) {
        for (Panel& panel : m_panels) {
            SetChart(Chart(&panel - m_panels.data()), nullptr, QString());
            panel.empty->hide();
        }
        m_leftOut->hide();
        return;
    }
    const bool dark = CProgressCharts::IsDark(palette());
    SetChart(Grades, CProgressCharts::GradesChart(*m_stats, dark), CProgressCharts::GradesTitle());
    SetChart(Sounds, CProgressCharts::SoundsChart(*m_stats, dark), CProgressCharts::SoundsTitle(),
             CProgressCharts::SoundsEmptyText(*m_stats));
    SetChart(Rules, CProgressCharts::RulesChart(*m_stats, dark), CProgressCharts::RulesTitle());
    SetChart(Missed, CProgressCharts::MissedChart(*m_stats, dark), CProgressCharts::MissedTitle());
    const QString note = CProgressCharts::LeftOutNote(*m_stats);
    m_leftOut->setText(note);
    m_leftOut->setVisible(!note.isEmpty());
}

void CProgressView::SetChart(Chart which, QChart* chart, const QString& title, const QString& emptyText)
{
    Panel& panel = m_panels[which];
    QChart* old = panel.view->chart();
    if (chart) {
        panel.view->setChart(chart);
        // Bar charts get a line of height per bar, so the names stay readable.
        const int line = QFontMetrics(font()).height();
        int height = which == Grades ? 18 * line : 14 * line;
        if (which == Rules || which == Missed) {
            int bars = 0;
            for (const std::int64_t n : m_stats->GetRuleCounts())
                bars += n > 0;
            if (which == Missed)
                bars = int(m_stats->GetMostMissed().size());
            height = std::max(10 * line, int((1.5 * bars + 7) * line));
        }
        panel.view->setMinimumHeight(height);
    } else {
        // The view keeps a chart of its own; an empty one stands in.
        panel.view->setChart(new QChart);
    }
    delete old;
    panel.view->setAccessibleName(title);
    panel.view->setVisible(chart != nullptr);
    panel.empty->setText(emptyText.isEmpty() ? title + QStringLiteral(": No data.") : emptyText);
    panel.empty->setVisible(chart == nullptr && !title.isEmpty());
}
