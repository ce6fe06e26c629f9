#pragma once
#include <string>

class CClassStats;
class CProgressStats;
class CReportRows;
class CSoundComparison;

// The reports page's "Export...": the view shown as a CSV file for spreadsheet
// programs (UTF-8 with a byte-order mark, a header row, RFC 4180 quoting).
class CReportExport {
public:
    // Grades: "Spelling List", "Date", "# Correct", "# Words", "Grade" (a number).
    // Misspelled words: "Word", "Misspelling", "Spelling Errors", "Spelling List", "Date",
    // "Sounds" (right, close or different by sounds; empty where speech is not available).
    // From the rows shown, so deletions not yet saved are left out here too.
    static std::string FromRows(const CReportRows& rows, CSoundComparison& sounds);
    // One table of "Kind", "Name", "Count": a row for every rule group, then the words
    // missed most often.
    static std::string FromProgress(const CProgressStats& stats);
    // The class view's learners, one row each under kClassHeader: grades and counts as
    // numbers, the last test's date as "2026-12-06 18:02", an empty field where a learner
    // has no figure (no tests, no word memory, sounds not compared).
    static std::string FromClass(const CClassStats& stats);
    static constexpr const char* kClassHeader = "Learner,Tests,Average Grade,Last Grade,Last Test,Trend,Due "
                                                "Today,Stubborn Words,Most Broken Rule,Sounds Right";

    // Writes bytes to a temporary file beside path and renames it over path; path is the
    // file system's name. False, with a sentence for the user in why, on failure.
    static bool Save(const std::string& nativePath, const std::string& bytes, std::string& why);
};
