#pragma once
#include <string>

class CProgressStats;
class CReportPrinter;
class QPainter;
class QPrinter;

// Prints the progress view on one page: the title line as the other reports have it
// ("Progress -- " and the user's name, and the page number) in the chosen print font,
// then the four charts below each other, in the light theme that paper wants.
class CProgressPrinter {
public:
    // fonts gives the print font; false when the printer can't be drawn on.
    static bool Print(QPrinter& printer, const CProgressStats& stats, const std::string& userName,
                      const CReportPrinter& fonts);
};
