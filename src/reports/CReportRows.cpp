#include "reports/CReportRows.h"

#include "spelling/CSpellingRules.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>

namespace {
const char* const kGradeHeaders[CReportRows::kColumns] = {"Spelling List", "Date", "# Correct", "# Words", "Grade"};
// The two padded headers are as long as "Spelling Errors", so no visible column is
// narrower than 15 characters.
const char* const kMissedHeaders[CReportRows::kColumns] = {"", "", "Word           ", "Misspelling    ",
                                                           "Spelling Errors"};

std::string FormatPercent(const char* format, int32_t correct, int32_t words)
{
    // A damaged record file can hold a record of no words; it gets no grade rather
    // than an "inf" or "nan" one.
    if (words == 0)
        return std::string();
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<double>(CGrade::Percent(correct, words)));
    return text;
}

}

int32_t CReportRows::ReadCount(const std::string& text)
{
    int32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void CReportRows::Attach(COwnedList<CGrade>& gradeList, COwnedList<CMissed>& missedList, bool& recordsChanged)
{
    m_gradeList = &gradeList;
    m_missedList = &missedList;
    m_recordsChanged = &recordsChanged;
}

void CReportRows::Update()
{
    FillGrades();
    m_viewMode = Grades;
    m_pendingChanges = false;
}

bool CReportRows::ShowGrades()
{
    if (m_viewMode == Grades)
        return false;
    Commit();
    FillGrades();
    m_viewMode = Grades;
    return true;
}

bool CReportRows::ShowMisspelled()
{
    if (m_viewMode == Misspelled)
        return false;
    Commit();
    FillMisspelled();
    m_viewMode = Misspelled;
    return true;
}

bool CReportRows::ShowProgress()
{
    return ShowWithoutRows(Progress);
}

bool CReportRows::ShowClass()
{
    return ShowWithoutRows(Class);
}

bool CReportRows::ShowWithoutRows(ViewMode mode)
{
    if (m_viewMode == mode)
        return false;
    Commit();
    m_rows.clear();
    m_viewMode = mode;
    return true;
}

bool CReportRows::DeleteSelection(std::vector<std::size_t> selected)
{
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    while (!selected.empty() && selected.back() >= m_rows.size())
        selected.pop_back();
    if (selected.empty() || !ShowsRows())
        return false;
    m_pendingChanges = true;
    // One pass keeps the survivors in order, whatever the number of rows deleted.
    std::size_t next = 0;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (next < selected.size() && selected[next] == i) {
            ++next;
            continue;
        }
        if (kept != i)
            m_rows[kept] = std::move(m_rows[i]);
        ++kept;
    }
    m_rows.resize(kept);
    return true;
}

void CReportRows::DeleteAll()
{
    if (!ShowsRows())
        return;
    m_rows.clear();
    m_pendingChanges = true;
}

bool CReportRows::Commit()
{
    if (!m_pendingChanges || !m_gradeList || !ShowsRows())
        return false;
    *m_recordsChanged = true;
    if (m_viewMode == Grades) {
        m_gradeList->clear();
        for (const Row& row : m_rows) {
            auto grade = std::make_unique<CGrade>();
            grade->SetListName(row[0]);
            grade->SetDate(row[1]);
            grade->SetCorrect(ReadCount(row[2]));
            grade->SetWords(ReadCount(row[3]));
            m_gradeList->push_back(std::move(grade));
        }
    } else {
        m_missedList->clear();
        for (const Row& row : m_rows) {
            auto missed = std::make_unique<CMissed>();
            missed->SetListName(row[0]);
            missed->SetDate(row[1]);
            missed->SetWord(row[2]);
            missed->SetMisspelling(row[3]);
            m_missedList->push_back(std::move(missed));
        }
    }
    m_pendingChanges = false;
    return true;
}

const char* CReportRows::GetHeader(int column) const
{
    return GetHeader(m_viewMode, column);
}

const char* CReportRows::GetHeader(ViewMode mode, int column)
{
    if (column < 0 || column >= kColumns || (mode != Grades && mode != Misspelled))
        return "";
    return mode == Grades ? kGradeHeaders[column] : kMissedHeaders[column];
}

std::string CReportRows::FormatCount(int32_t count)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(count));
    return text;
}

std::string CReportRows::FormatGrade(int32_t correct, int32_t words)
{
    return FormatPercent("%3.0f %%", correct, words);
}

std::string CReportRows::FormatPrintedGrade(int32_t correct, int32_t words)
{
    return FormatPercent("%3.0f%%", correct, words);
}

void CReportRows::FillGrades()
{
    m_rows.clear();
    m_filled = true;
    if (!m_gradeList)
        return;
    m_rows.reserve(m_gradeList->size());
    for (const auto& grade : *m_gradeList)
        m_rows.push_back({grade->m_listName, grade->m_date, FormatCount(grade->m_correct),
                          FormatCount(grade->m_words), FormatGrade(grade->m_correct, grade->m_words)});
}

void CReportRows::FillMisspelled()
{
    m_rows.clear();
    m_filled = true;
    if (!m_missedList)
        return;
    m_rows.resize(m_missedList->size());
    // One analysis object serves the whole fill.
    CSpellingRules rules;
    std::size_t i = 0;
    for (const auto& missed : *m_missedList) {
        Row& row = m_rows[i++];
        row[0] = missed->m_listName;
        row[1] = missed->m_date;
        row[2] = missed->m_word;
        row[3] = missed->m_misspelling;
        rules.GetSpellingErrors(missed->m_word, missed->m_misspelling, row[4]);
    }
}
