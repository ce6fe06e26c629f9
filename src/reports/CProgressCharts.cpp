#include "reports/CProgressCharts.h"

#include "platform/CQtText.h"
#include "reports/CProgressStats.h"
#include "reports/CProgressTable.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBrush>
#include <QGraphicsLayout>
#include <QCategoryAxis>
#include <QChart>
#include <QDateTime>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGraphicsSimpleTextItem>
#include <QHorizontalBarSeries>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPalette>
#include <QScatterSeries>
#include <QLocale>
#include <QStringList>
#include <QTimeZone>
#include <QValueAxis>

#include <cmath>

#include <algorithm>
#include <limits>

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

// A step between grid lines of a count axis up to most: 1, 2 or 5 times a power of
// ten, so that there are at most lines of them.
qreal NiceStep(qreal most, int lines)
{
    const qreal rough = std::max<qreal>(1, most / std::max(1, lines));
    const qreal power = std::pow(10.0, std::floor(std::log10(rough)));
    for (qreal m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= rough)
            return m * power;
    return 10 * power;
}

// A bar chart of counts, the first entry at the top. Each bar carries its count, so
// the count axis draws only its grid lines: no numbers there to crowd or cut.
QChart* BarChart(const QString& title, const QString& valueTitle, const CProgressStats::Bars& bars, bool dark)
{
    QChart* chart = NewChart(title, dark);
    auto* set = new QBarSet(valueTitle);
    auto* categories = new QBarCategoryAxis;
    std::int64_t most = 1;
    // Horizontal bars run from the bottom up, so the list goes in backwards.
    for (auto it = bars.rbegin(); it != bars.rend(); ++it) {
        set->append(qreal(it->second));
        categories->append(ToQt(it->first));
        most = std::max(most, it->second);
    }
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    chart->addSeries(series);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));
    chart->addAxis(categories, Qt::AlignLeft);
    series->attachAxis(categories);
    auto* values = new QValueAxis;
    values->setLabelsVisible(false);
    // Room after the longest bar for its number.
    values->setRange(0, qreal(most) * 1.2 + 1);
    values->setTickType(QValueAxis::TicksDynamic);
    values->setTickAnchor(0);
    values->setTickInterval(NiceStep(qreal(most), 5));
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
    return CProgressTable::Title(CProgressTable::Grades);
}

QString CProgressCharts::SoundsSeriesName()
{
    return QStringLiteral("Misspellings that sound right (%)");
}

QString CProgressCharts::RulesTitle()
{
    return CProgressTable::Title(CProgressTable::Rules);
}

QString CProgressCharts::MissedTitle()
{
    return CProgressTable::Title(CProgressTable::Missed);
}

QString CProgressCharts::StubbornTitle()
{
    return CProgressTable::Title(CProgressTable::Stubborn);
}

QString CProgressCharts::NoStubbornWordsText()
{
    return QStringLiteral("No stubborn words.");
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
    if (stats.SoundsUnavailable())
        note << QStringLiteral("Whether misspellings sound right can't be told: speech is not available on this computer.");
    return note.join(QLatin1Char(' '));
}

namespace {
const char* const kBarName = "kelto4BarName";
const char* const kTitle = "kelto4Title";
const char* const kTitleBrush = "kelto4TitleBrush";

QBarCategoryAxis* NameAxis(const QChart* chart)
{
    const auto vertical = chart->axes(Qt::Vertical);
    return vertical.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis*>(vertical.front());
}

// The title centred over the whole chart. The chart's own keeps to the room between the
// margins, which the names and the counts take, and would be cut to "..." in a narrow
// chart; it stays, unseen, to keep the title's room above the plot.
void PlaceTitle(QChart* chart)
{
    for (QGraphicsItem* item : chart->childItems())
        if (item->data(0).toString() == QLatin1String(kTitle))
            delete item;
    if (chart->title().isEmpty())
        return;
    const QFontMetricsF metrics(chart->titleFont());
    const qreal width = chart->size().width();
    const QString shown = metrics.elidedText(chart->title(), Qt::ElideRight, width - 2 * metrics.averageCharWidth());
    auto* text = new QGraphicsSimpleTextItem(shown, chart);
    text->setData(0, QLatin1String(kTitle));
    text->setFont(chart->titleFont());
    text->setBrush(chart->property(kTitleBrush).value<QBrush>());
    qreal top = 0;
    if (chart->layout())
        chart->layout()->getContentsMargins(nullptr, &top, nullptr, nullptr);
    text->setPos((width - metrics.horizontalAdvance(shown)) / 2, top + chart->margins().top());
}

// The bars' names, whole, right-aligned beside the plot, each at its bar.
void PlaceBarNames(QChart* chart, const QRectF& plot)
{
    PlaceTitle(chart);
    QBarCategoryAxis* names = NameAxis(chart);
    if (!names)
        return;
    for (QGraphicsItem* item : chart->childItems())
        if (item->data(0).toString() == QLatin1String(kBarName))
            delete item;
    const QFontMetricsF metrics(names->labelsFont());
    const QStringList categories = names->categories();
    const qreal band = plot.height() / qreal(std::max<qsizetype>(1, categories.size()));
    for (qsizetype i = 0; i < categories.size(); ++i) {
        auto* text = new QGraphicsSimpleTextItem(categories[i], chart);
        text->setData(0, QLatin1String(kBarName));
        text->setFont(names->labelsFont());
        text->setBrush(names->labelsBrush());
        // The first category sits at the bottom of the plot.
        const qreal middle = plot.bottom() - (qreal(i) + 0.5) * band;
        text->setPos(plot.left() - metrics.averageCharWidth() - metrics.horizontalAdvance(categories[i]),
                     middle - metrics.height() / 2);
    }
}
} // namespace

void CProgressCharts::FitBarPlot(QChart* chart, const QSizeF& size)
{
    QBarCategoryAxis* names = chart ? NameAxis(chart) : nullptr;
    if (!names || size.isEmpty())
        return;
    // The chart's own names would be cut to "..." when the chart is small: the names are
    // drawn whole beside the plot instead, and the margins leave room for them and for
    // the count at the end of the longest bar.
    names->setLabelsVisible(false);
    const QFontMetricsF metrics(names->labelsFont());
    qreal widest = 0;
    for (const QString& name : names->categories())
        widest = std::max(widest, metrics.horizontalAdvance(name));
    qreal most = 0;
    for (QAbstractSeries* series : chart->series())
        if (auto* bars = qobject_cast<QAbstractBarSeries*>(series))
            for (QBarSet* set : bars->barSets())
                for (int i = 0; i < set->count(); ++i)
                    most = std::max(most, set->at(i));
    const qreal gap = metrics.averageCharWidth();
    QMargins margins = chart->margins();
    margins.setLeft(int(widest + 2 * gap));
    margins.setRight(int(metrics.horizontalAdvance(QString::number(qint64(most))) + 2 * gap));
    chart->setMargins(margins);
    if (!chart->property(kBarName).toBool()) {
        chart->setProperty(kBarName, true);
        chart->setProperty(kTitleBrush, chart->titleBrush());
        chart->setTitleBrush(Qt::transparent);
        QObject::connect(chart, &QChart::plotAreaChanged, chart, [chart](const QRectF& plot) { PlaceBarNames(chart, plot); });
    }
    PlaceBarNames(chart, chart->plotArea());
}

namespace {
// Beside the grades, a dashed line of the share of each test's misspellings that sound
// right: a learner who hears every sound climbs it while still misspelling patterns.
void AddSoundShares(QChart* chart, const CProgressStats& stats, QAbstractAxis* tests, QAbstractAxis* percent, bool dark)
{
    const auto& series = stats.GetSeries();
    if (series.empty())
        return;
    QList<QPointF> points;
    for (const CProgressStats::Point& p : series.back().points)
        if (p.soundRight != CProgressStats::kNoShare)
            points.append(QPointF(qreal(p.order), qreal(p.soundRight)));
    if (points.isEmpty())
        return;
    auto* line = new QLineSeries;
    line->setName(CProgressCharts::SoundsSeriesName());
    line->replace(points);
    chart->addSeries(line);
    line->attachAxis(tests);
    line->attachAxis(percent);
    // Orange, apart from the lists' theme colours, dashed so that it reads without colour.
    QPen pen(dark ? QColor(255, 170, 80) : QColor(190, 90, 0), 2, Qt::DashLine);
    line->setPen(pen);
    line->setColor(pen.color());
    line->setMarkerSize(kMarkerSize - 1);
    line->setPointsVisible(std::size_t(points.size()) <= kMostMarkers);
}

void LabelTests(QCategoryAxis* axis, const CProgressStats& stats, qreal width)
{
    for (const QString& label : axis->categoriesLabels())
        axis->remove(label);
    if (stats.GetSeries().empty())
        return;
    const auto& tests = stats.GetSeries().back().points;
    const qreal count = qreal(tests.size());
    // A year is named only when the tests reach over more than one.
    constexpr std::int64_t kDay = 24 * 60;
    const auto year = [](std::int64_t minutes) {
        return QDateTime::fromMSecsSinceEpoch(minutes * 60000, QTimeZone::utc()).date().year();
    };
    const bool years = year(tests.front().minutes) != year(tests.back().minutes);
    const QFontMetrics metrics(axis->labelsFont());
    // The plot is narrower than the chart: the grade axis and the legend take their share.
    const qreal perTest = std::max<qreal>(1, width * 3 / 4) / count;
    qreal nextFree = -1e9;
    std::int64_t lastDay = std::numeric_limits<std::int64_t>::min();
    for (std::size_t i = 0; i < tests.size(); ++i) {
        const std::int64_t day = tests[i].minutes / kDay;
        if (day == lastDay)
            continue;
        lastDay = day;
        const QDateTime wall = QDateTime::fromMSecsSinceEpoch(tests[i].minutes * 60000, QTimeZone::utc());
        const QString label = QLocale::c().toString(wall, years ? QStringLiteral("d MMM yyyy") : QStringLiteral("d MMM"));
        const qreal half = (metrics.horizontalAdvance(label) / 2.0 + metrics.averageCharWidth()) / perTest;
        const qreal at = qreal(i);
        if (at - half < nextFree)
            continue;
        axis->append(label, at);
        nextFree = at + half;
    }
}

} // namespace

void CProgressCharts::FitGrades(QChart* chart, const CProgressStats& stats, const QSizeF& size)
{
    const auto across = chart ? chart->axes(Qt::Horizontal) : QList<QAbstractAxis*>();
    const auto down = chart ? chart->axes(Qt::Vertical) : QList<QAbstractAxis*>();
    auto* tests = across.isEmpty() ? nullptr : qobject_cast<QCategoryAxis*>(across.front());
    auto* grades = down.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(down.front());
    if (!tests || !grades || size.isEmpty())
        return;
    LabelTests(tests, stats, size.width());
    // What the plot keeps of the height: the title, the dates, the legend and, when
    // there is room for it, the dates' title.
    const QFontMetricsF labels(grades->labelsFont());
    const qreal line = labels.height();
    tests->setTitleVisible(size.height() >= 16 * line);
    qreal plot = size.height() - QFontMetricsF(chart->titleFont()).height() - 5 * line;
    if (tests->isTitleVisible())
        plot -= 1.5 * line;
    qreal interval = 100;
    for (qreal step : {20.0, 25.0, 50.0})
        if (plot / (100 / step + 1) >= line * 1.3) {
            interval = step;
            break;
        }
    grades->setTickInterval(interval);
    grades->setTitleVisible(plot >= QFontMetricsF(grades->titleFont()).horizontalAdvance(grades->titleText()) + line);
}

QChart* CProgressCharts::GradesChart(const CProgressStats& stats, bool dark, int width)
{
    if (stats.GetPointCount() == 0)
        return nullptr;
    QChart* chart = NewChart(GradesTitle(), dark);
    // The tests in the order taken, evenly apart; under them the day each day's first
    // test was taken, so two labels never read the same.
    auto* tests = new QCategoryAxis;
    tests->setTitleText(QStringLiteral("Tests in the order taken"));
    tests->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    tests->setStartValue(-0.5);
    auto* grades = new QValueAxis;
    grades->setTitleText(QStringLiteral("Grade (%)"));
    // A little room beyond 0 and 100, so no point is cut in half at an edge.
    grades->setRange(-6, 106);
    grades->setTickType(QValueAxis::TicksDynamic);
    grades->setTickAnchor(0);
    grades->setTickInterval(20);
    grades->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(tests, Qt::AlignBottom);
    chart->addAxis(grades, Qt::AlignLeft);

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
            const qreal t = qreal(p.order);
            if (p.stopped && markers) {
                hidden[int(points.size())][QXYSeries::PointConfiguration::Visibility] = false;
                stopped->append(t, qreal(p.grade));
            }
            points.append(QPointF(t, qreal(p.grade)));
        }
        line->replace(points);
        chart->addSeries(line);
        line->attachAxis(tests);
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
        stopped->attachAxis(tests);
        stopped->attachAxis(grades);
        stopped->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        stopped->setMarkerSize(kMarkerSize + 2);
        stopped->setBrush(Qt::NoBrush);
        stopped->setPen(QPen(pen.color(), 2));
        for (QLegendMarker* marker : chart->legend()->markers(stopped))
            marker->setVisible(false);
    }
    AddSoundShares(chart, stats, tests, grades, dark);
    // Half a test's room either side, so the first and last points are whole.
    tests->setRange(-0.5, qreal(stats.GetPointCount()) - 0.5);
    LabelTests(tests, stats, qreal(width));
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QChart* CProgressCharts::RulesChart(const CProgressStats& stats, bool dark)
{
    const CProgressStats::Bars bars = stats.RuleBars();
    return bars.empty() ? nullptr : BarChart(RulesTitle(), QStringLiteral("Misspellings"), bars, dark);
}

QChart* CProgressCharts::MissedChart(const CProgressStats& stats, bool dark)
{
    const CProgressStats::Bars bars = stats.MissedBars();
    return bars.empty() ? nullptr : BarChart(MissedTitle(), QStringLiteral("Times missed"), bars, dark);
}

QChart* CProgressCharts::StubbornChart(const CProgressStats& stats, bool dark)
{
    const CProgressStats::Bars bars = stats.StubbornBars();
    if (bars.empty())
        return nullptr;
    const std::size_t all = stats.GetStubbornWords().size();
    const QString title = bars.size() < all
                              ? QStringLiteral("%1 (%2 of %3)").arg(StubbornTitle()).arg(bars.size()).arg(all)
                              : StubbornTitle();
    return BarChart(title, QStringLiteral("Times missed"), bars, dark);
}
