#pragma once
#include <QString>

class CProgressStats;
class QChart;
class QPalette;

// The four charts of the progress view, made afresh from the statistics: on screen
// in the palette's light or dark theme, on paper always light. Each returns a new
// chart that the caller owns, or nullptr when it would have nothing to show.
class CProgressCharts {
public:
    static QChart* GradesChart(const CProgressStats& stats, bool dark);
    // For each test, the share of its misspellings that sound right.
    static QChart* SoundsChart(const CProgressStats& stats, bool dark);
    static QChart* RulesChart(const CProgressStats& stats, bool dark);
    static QChart* MissedChart(const CProgressStats& stats, bool dark);

    static QString GradesTitle();
    static QString SoundsTitle();
    // What stands in for the sounds chart when it has nothing to show: "No data.", or
    // why the misspellings could not be compared by sound.
    static QString SoundsEmptyText(const CProgressStats& stats);
    static QString RulesTitle();
    static QString MissedTitle();
    // The line under the grades chart: what a hollow point means, and how many tests
    // were left out.
    static QString LeftOutNote(const CProgressStats& stats);

    // Is the palette dark enough to want light text on a dark chart?
    static bool IsDark(const QPalette& palette);
};
