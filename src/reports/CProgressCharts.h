#pragma once
#include <QString>

class CProgressStats;
class QChart;
class QFont;
class QPalette;
class QSizeF;

// The charts of the progress view, made afresh from the statistics: on screen
// in the palette's light or dark theme, on paper always light. Each returns a new
// chart that the caller owns, or nullptr when it would have nothing to show.
class CProgressCharts {
public:
    // width: the chart's width in pixels, which decides how many dates fit under it.
    static QChart* GradesChart(const CProgressStats& stats, bool dark, int width = 600);
    static QChart* RulesChart(const CProgressStats& stats, bool dark);
    static QChart* MissedChart(const CProgressStats& stats, bool dark);
    // The stubborn words missed most, with their misses; its title says when the table
    // holds more.
    static QChart* StubbornChart(const CProgressStats& stats, bool dark);

    static QString GradesTitle();
    // The grades chart's line of the share of each test's misspellings that sound right.
    static QString SoundsSeriesName();
    static QString RulesTitle();
    static QString MissedTitle();
    static QString StubbornTitle();
    // What stands in the stubborn words' place when the learner has none.
    static QString NoStubbornWordsText();
    // The line under the grades chart: what a hollow point means, and how many tests
    // were left out.
    static QString LeftOutNote(const CProgressStats& stats);

    // Fits the grades chart's axes to a chart of size: under the tests the day of each
    // day's first test, as many days as fit without touching and never a day twice;
    // beside them grade lines 20, 25, 50 or 100 apart, as many as have room; the axis
    // titles where they fit whole.
    static void FitGrades(QChart* chart, const CProgressStats& stats, const QSizeF& size);
    // Makes a bar chart of size keep its names whole: drawn beside the plot, with room
    // for them on the left and for the counts on the right (left to itself, a small
    // chart would squeeze the names to "...").
    static void FitBarPlot(QChart* chart, const QSizeF& size);
};
