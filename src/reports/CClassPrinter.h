#pragma once
#include "reports/CClassTables.h"

#include <cstddef>
#include <string>
#include <vector>

class CClassStats;
class CReportPrinter;
class QFont;
class QPrinter;

// Prints the class view in the chosen print font: on every page the title line as the other
// reports have it (title and "Page n of m"), then the four tables, each from a new page: its
// name, its column headers (wrapped within their columns), a rule and its rows, whose texts
// wrap within their columns too. A table too long for a page goes on over further pages; one
// too wide goes on in pages of further columns with the learner's column repeated. The grid's
// cells are grey in their shade behind the number, readable on any printer. The files that
// were left alone are named above the learners.
class CClassPrinter {
public:
    // One printed page: which table, which of its columns and rows.
    struct Page {
        CClassTables::Table table;
        std::vector<int> columns;
        std::size_t firstRow;
        std::size_t rows;
        bool continued; // not the table's first page
    };

    // The pages the stats make on printer in the print font of fonts.
    static std::vector<Page> Paginate(QPrinter& printer, const CClassStats& stats, const CReportPrinter& fonts);
    // A whole job onto printer: the pages of its print range, or all of them.
    static bool Print(QPrinter& printer, const CClassStats& stats, const std::string& title,
                      const CReportPrinter& fonts);

    // The print font at its size on paper, in twips.
    static QFont PageFont(const CReportPrinter& fonts);
};
