#pragma once
#include "model/CGrade.h"
#include "model/CMissed.h"
#include "model/COwnedList.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The rows the reports page shows: the grades or the misspelled words, copied from
// the document's record lists as texts, with the deletions made since the last
// commit. Committing rebuilds the document's list from the surviving rows. The
// progress view shows charts instead of rows, and the class view every learner of the
// user folder: they have none, and nothing to delete.
class CReportRows {
public:
    enum ViewMode : int { Grades = 0, Misspelled = 1, Progress = 2, Class = 3 };
    static constexpr int kColumns = 5;
    using Row = std::array<std::string, kColumns>;

    // Takes the references to the document's lists; nothing is read yet.
    void Attach(COwnedList<CGrade>& gradeList, COwnedList<CMissed>& missedList, bool& recordsChanged);

    // The document's update: the grades again, pending deletions dropped, not committed.
    void Update();
    // Each commits first; false (and nothing done) when that view is already shown.
    bool ShowGrades();
    bool ShowMisspelled();
    bool ShowProgress();
    bool ShowClass();
    // Does the view shown list the document's records (grades or misspelled words)?
    bool ShowsRows() const { return m_viewMode == Grades || m_viewMode == Misspelled; }

    // selected: row indices in any order. False, and no pending change, when empty.
    bool DeleteSelection(std::vector<std::size_t> selected);
    // Also marks a change when there were no rows (not in the progress and class views).
    void DeleteAll();
    // Writes the rows back into the shown view's list when rows were deleted;
    // true when it did.
    bool Commit();

    ViewMode GetViewMode() const { return m_viewMode; }
    bool HasPendingChanges() const { return m_pendingChanges; }
    // 0 before the first fill and in the views without rows, the shown view's five columns otherwise.
    int GetColumnCount() const { return m_filled && ShowsRows() ? kColumns : 0; }
    std::size_t GetCount() const { return m_rows.size(); }
    const std::string& GetText(std::size_t row, int column) const { return m_rows[row][std::size_t(column)]; }
    const Row& GetRow(std::size_t row) const { return m_rows[row]; }
    // The shown view's column header.
    const char* GetHeader(int column) const;
    static const char* GetHeader(ViewMode mode, int column);

    static std::string FormatCount(int32_t count);
    // A count column's text as the number it shows; 0 when it holds none.
    static int32_t ReadCount(const std::string& text);
    // The grade as the screen shows it, " 67 %"; empty for a record of no words.
    static std::string FormatGrade(int32_t correct, int32_t words);
    // The grade as the paper shows it, " 67%"; empty for a record of no words.
    static std::string FormatPrintedGrade(int32_t correct, int32_t words);

private:
    bool ShowWithoutRows(ViewMode mode);
    void FillGrades();
    void FillMisspelled();

    COwnedList<CGrade>* m_gradeList = nullptr;
    COwnedList<CMissed>* m_missedList = nullptr;
    bool* m_recordsChanged = nullptr;
    ViewMode m_viewMode = Grades;
    bool m_pendingChanges = false;
    bool m_filled = false;
    std::vector<Row> m_rows;
};
