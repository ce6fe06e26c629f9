#pragma once
#include <array>
#include <string>
#include <vector>

class CClassStats;

// The class view's four tables as the teacher reads them, on the screen and on paper alike:
// the learners, the words missed most, the rule-by-learner grid and the groups by rule. Texts
// are Windows-1252; a number cell also carries its value for sorting.
class CClassTables {
public:
    enum Table { Learners, MostMissed, Grid, Groups, kTables };
    // The grid's cells are shaded in kShades steps by their count against the class's highest.
    static constexpr int kShades = 4;

    struct Cell {
        std::string text;
        double value = -1;        // the order it sorts in; -1 where there is none (so it sorts first)
        bool number = false;      // a count or a percent, set to the right
        bool sortByValue = false; // false: sorts by its text
        int shade = 0;            // 0 none, 1 to kShades: darker for more
    };
    struct Data {
        std::vector<std::string> headers;
        std::vector<std::vector<Cell>> rows;
    };

    static const char* Title(Table table);
    // The table's texts. Grid rows follow the learners' order; its columns are
    // CClassStats::GridRules.
    static Data Make(const CClassStats& stats, Table table);
    // How dark a grid cell of count is when the class's highest is most: 0 for none.
    static int Shade(long long count, long long most);
};
