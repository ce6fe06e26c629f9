#include "reports/CProgressPrinter.h"

#include "platform/CQtText.h"
#include "reports/CProgressCharts.h"
#include "reports/CProgressStats.h"
#include "reports/CReportPrinter.h"

#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QPainter>
#include <QPrinter>

#include <cstdlib>
#include <memory>

namespace {
// Charts are laid out at the screen's size of the paper (96 dots to the inch, 15 twips
// each) and scaled onto it, so their texts come out as large as on the screen.
constexpr qreal kTwipsPerDot = 15;

void DrawChart(QPainter& painter, QChart* chart, const QRectF& target)
{
    QGraphicsScene scene;
    scene.addItem(chart); // the scene owns the chart from here
    const QRectF source(0, 0, target.width() / kTwipsPerDot, target.height() / kTwipsPerDot);
    chart->setGeometry(source);
    CProgressCharts::FitBarPlot(chart, source.size());
    scene.setSceneRect(source);
    scene.render(&painter, target, source);
}
}

bool CProgressPrinter::Print(QPrinter& printer, const CProgressStats& stats, const std::string& userName,
                             const CReportPrinter& fonts)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // Twips, as the other reports.
    const CReportPrinter::Rect margins = CReportPrinter::ScaleToTwips(painter, printer);
    const qreal width = CReportPrinter::kRuleLength;
    const qreal height = std::abs(margins.bottom - margins.top);

    QFont font = fonts.GetPrintFont();
    font.setPixelSize(std::max(1, CReportPrinter::MulDiv(std::abs(fonts.GetPrintFontHeight()), 1440,
                                                         CReportPrinter::ScreenDpiY())));
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, 0));
    const QFontMetricsF metrics(font, painter.device());
    const qreal h = fonts.MeasureLineHeight();
    const auto draw = [&](qreal x, qreal y, const QString& text) {
        painter.drawText(QPointF(x, y + metrics.ascent()), text);
    };
    draw(0, 0, QStringLiteral("Progress -- ") + ToQt(userName));
    draw(CReportPrinter::kPageNumberX, 0, QStringLiteral("Page 1 of 1"));

    qreal y = 2 * h;
    const qreal chartsHeight = height - y;
    constexpr int kCharts = 4;
    std::unique_ptr<QChart> charts[kCharts] = {std::unique_ptr<QChart>(CProgressCharts::GradesChart(stats, false)),
                                               std::unique_ptr<QChart>(CProgressCharts::RulesChart(stats, false)),
                                               std::unique_ptr<QChart>(CProgressCharts::MissedChart(stats, false)),
                                               std::unique_ptr<QChart>(CProgressCharts::StubbornChart(stats, false))};
    const QString empties[kCharts] = {CProgressCharts::GradesTitle() + QStringLiteral(": No data."),
                                      CProgressCharts::RulesTitle() + QStringLiteral(": No data."),
                                      CProgressCharts::MissedTitle() + QStringLiteral(": No data."),
                                      CProgressCharts::NoStubbornWordsText()};
    const qreal weights[kCharts] = {4, 4, 3, 3};
    qreal totalWeight = 0;
    int empty = 0;
    for (int i = 0; i < kCharts; ++i) {
        if (charts[i])
            totalWeight += weights[i];
        else
            ++empty;
    }
    const QString note = CProgressCharts::LeftOutNote(stats);
    // The note wraps at the rule's length, as the chart above it.
    const QRectF noteRect = note.isEmpty() ? QRectF()
                                           : painter.boundingRect(QRectF(0, 0, width, height), Qt::TextWordWrap, note);
    const qreal noteHeight = note.isEmpty() ? 0 : noteRect.height() + h;
    const qreal spare = chartsHeight - empty * 2 * h - noteHeight;
    for (int i = 0; i < kCharts; ++i) {
        std::unique_ptr<QChart> chart = std::move(charts[i]);
        if (!chart) {
            draw(0, y, empties[i]);
            y += 2 * h;
        } else {
            const qreal share = spare * weights[i] / totalWeight;
            DrawChart(painter, chart.release(), QRectF(0, y, width, share));
            y += share;
        }
        if (i == 0 && !note.isEmpty()) {
            painter.drawText(QRectF(0, y, width, noteRect.height()), Qt::TextWordWrap, note);
            y += noteHeight;
        }
    }
    return painter.end();
}
