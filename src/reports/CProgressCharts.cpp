#include "reports/CProgressCharts.h"

#include "platform/CQtText.h"
#include "reports/CProgressStats.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHorizontalBarSeries>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPalette>
#include <QScatterSeries>
#include <QStringList>
#include <QTimeZone>
#include <QValueAxis>

#include <algorithm>

namespace {
constexpr qreal kMarkerSize = 7;
// Beyond this many tests a series is drawn as its line alone: the points would only
// pile up on each other, and drawing them would keep the view waiting.
constexpr std::size_t kMostMarkers = 1000;

bool ShowsPoints(const CProgressStats::Series& series)
{
    return series.points.size() <= kMostMarkers;
}

QChart* NewChart(const QString& title, bool dark)
{
    auto* chart = new QChart;
    chart->setTheme(dark ? QChart::ChartThemeDark : QChart::ChartThemeLight);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setTitle(title);
    QFont titleFont = chart->titleFont();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    chart->setTitleFont(titleFont);
    return chart;
}

// A stamp's wall-clock time as the date axis shows it: the axis works in the
// system's local time.
qint64 AxisTime(std::int64_t minutes)
{
    const QDateTime wall = QDateTime::fromMSecsSinceEpoch(minutes * 60000, QTimeZone::utc());
    return QDateTime(wall.date(), wall.time()).toMSecsSinceEpoch();
}

// A bar chart of counts, the first entry at the top.
QChart* BarChart(const QString& title, const QString& valueTitle, const QString& categoryTitle,
                 const std::vector<std::pair<QString, std::int64_t>>& bars, bool dark)
{
    QChart* chart = NewChart(title, dark);
    auto* set = new QBarSet(valueTitle);
    auto* categories = new QBarCategoryAxis;
    std::int64_t most = 1;
    // Horizontal bars run from the bottom up, so the list goes in backwards.
    for (auto it = bars.rbegin(); it != bars.rend(); ++it) {
        set->append(qreal(it->second));
        categories->append(it->first);
        most = std::max(most, it->second);
    }
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    chart->addSeries(series);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));
    categories->setTitleText(categoryTitle);
    chart->addAxis(categories, Qt::AlignLeft);
    series->attachAxis(categories);
    auto* values = new QValueAxis;
    values->setTitleText(valueTitle);
    values->setLabelFormat(QStringLiteral("%d"));
    // Room after the longest bar for its number.
    values->setRange(0, qreal(most) * 1.15 + 1);
    values->applyNiceNumbers();
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);
    // The numbers stand beside the bars, so they take the axis labels' colour.
    set->setLabelColor(values->labelsBrush().color());
    chart->legend()->hide();
    return chart;
}
}

QString CProgressCharts::GradesTitle()
{
    return QStringLiteral("Grades over time");
}

QString CProgressCharts::RulesTitle()
{
    return QStringLiteral("Rules broken");
}

QString CProgressCharts::MissedTitle()
{
    return QStringLiteral("Most missed words");
}

QString CProgressCharts::LeftOutNote(const CProgressStats& stats)
{
    QStringList note;
    // Only where a hollow point is drawn: a series of too many tests shows no points.
    const auto& series = stats.GetSeries();
    if (std::any_of(series.begin(), series.end(), [](const CProgressStats::Series& s) {
            return ShowsPoints(s) && std::any_of(s.points.begin(), s.points.end(),
                                                 [](const CProgressStats::Point& p) { return p.stopped; });
        }))
        note << QStringLiteral("A hollow point is a test that was stopped before its end.");
    const std::size_t n = stats.GetLeftOut();
    if (n == 1)
        note << QStringLiteral("Not shown: 1 test whose date or score can't be read.");
    else if (n > 1)
        note << QStringLiteral("Not shown: %1 tests whose date or score can't be read.").arg(qulonglong(n));
    return note.join(QLatin1Char(' '));
}

bool CProgressCharts::IsDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QChart* CProgressCharts::GradesChart(const CProgressStats& stats, bool dark)
{
    if (stats.GetPointCount() == 0)
        return nullptr;
    QChart* chart = NewChart(GradesTitle(), dark);
    auto* dates = new QDateTimeAxis;
    dates->setTitleText(QStringLiteral("Date of the test"));
    dates->setFormat(QStringLiteral("d MMM yyyy"));
    dates->setTickCount(5);
    auto* grades = new QValueAxis;
    grades->setTitleText(QStringLiteral("Grade (%)"));
    grades->setRange(0, 100);
    grades->setTickCount(6);
    grades->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(dates, Qt::AlignBottom);
    chart->addAxis(grades, Qt::AlignLeft);

    qint64 first = 0, last = 0;
    bool any = false;
    for (const CProgressStats::Series& s : stats.GetSeries()) {
        const bool all = s.name == CProgressStats::kAllTests;
        const bool markers = ShowsPoints(s);
        auto* line = new QLineSeries;
        line->setName(ToQt(s.name));
        auto* stopped = new QScatterSeries;
        QList<QPointF> points;
        points.reserve(qsizetype(s.points.size()));
        QHash<int, QHash<QXYSeries::PointConfiguration, QVariant>> hidden;
        for (const CProgressStats::Point& p : s.points) {
            const qint64 t = AxisTime(p.minutes);
            if (p.stopped && markers) {
                hidden[int(points.size())][QXYSeries::PointConfiguration::Visibility] = false;
                stopped->append(qreal(t), qreal(p.grade));
            }
            points.append(QPointF(qreal(t), qreal(p.grade)));
            first = any ? std::min(first, t) : t;
            last = any ? std::max(last, t) : t;
            any = true;
        }
        line->replace(points);
        chart->addSeries(line);
        line->attachAxis(dates);
        line->attachAxis(grades);
        QPen pen = line->pen();
        if (all) {
            // All tests in a thin grey line, behind the lists' colours.
            pen.setColor(dark ? QColor(170, 170, 170) : QColor(110, 110, 110));
            pen.setWidthF(1);
        } else {
            pen.setWidthF(2);
        }
        line->setPen(pen);
        line->setColor(pen.color());
        line->setMarkerSize(all ? kMarkerSize - 2 : kMarkerSize);
        line->setPointsVisible(markers);
        if (!hidden.isEmpty())
            line->setPointsConfiguration(hidden);
        // A stopped test is a hollow ring in its series' colour.
        if (stopped->count() == 0) {
            delete stopped;
            continue;
        }
        chart->addSeries(stopped);
        stopped->attachAxis(dates);
        stopped->attachAxis(grades);
        stopped->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        stopped->setMarkerSize(kMarkerSize + 2);
        stopped->setBrush(Qt::NoBrush);
        stopped->setPen(QPen(pen.color(), 2));
        for (QLegendMarker* marker : chart->legend()->markers(stopped))
            marker->setVisible(false);
    }
    // One day either side, so a single day's tests still get an axis.
    constexpr qint64 day = 24 * 3600 * 1000LL;
    dates->setRange(QDateTime::fromMSecsSinceEpoch(first - day), QDateTime::fromMSecsSinceEpoch(last + day));
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QChart* CProgressCharts::RulesChart(const CProgressStats& stats, bool dark)
{
    std::vector<std::pair<QString, std::int64_t>> bars;
    for (int rule = 0; rule < CRuleGroups::kCount; ++rule)
        if (const std::int64_t n = stats.GetRuleCounts()[std::size_t(rule)])
            bars.emplace_back(QString::fromLatin1(CRuleGroups::Name(CRuleGroups::Rule(rule))), n);
    if (bars.empty())
        return nullptr;
    std::stable_sort(bars.begin(), bars.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    return BarChart(RulesTitle(), QStringLiteral("Number of misspellings"), QStringLiteral("Spelling rule"), bars,
                    dark);
}

QChart* CProgressCharts::MissedChart(const CProgressStats& stats, bool dark)
{
    std::vector<std::pair<QString, std::int64_t>> bars;
    for (const CProgressStats::WordCount& w : stats.GetMostMissed())
        bars.emplace_back(w.word.empty() ? QStringLiteral("(no word)") : ToQt(w.word), w.count);
    if (bars.empty())
        return nullptr;
    return BarChart(MissedTitle(), QStringLiteral("Times missed"), QStringLiteral("Word"), bars, dark);
}
