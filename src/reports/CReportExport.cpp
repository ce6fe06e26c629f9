#include "reports/CReportExport.h"

#include "model/CAtomicFile.h"
#include "model/CCsvWriter.h"
#include "reports/CClassStats.h"
#include "reports/CProgressStats.h"
#include "reports/CReportRows.h"
#include "spelling/CSoundComparison.h"

std::string CReportExport::FromRows(const CReportRows& rows, CSoundComparison& sounds)
{
    CCsvWriter csv;
    csv.Text().assign(CCsvWriter::ByteOrderMark());
    if (rows.GetViewMode() == CReportRows::Grades) {
        for (int column = 0; column < CReportRows::kColumns; ++column)
            csv.Field(CReportRows::GetHeader(CReportRows::Grades, column));
        csv.EndRow();
        for (std::size_t i = 0; i < rows.GetCount(); ++i) {
            const CReportRows::Row& row = rows.GetRow(i);
            const std::int32_t correct = CReportRows::ReadCount(row[2]);
            const std::int32_t words = CReportRows::ReadCount(row[3]);
            csv.Field(row[0]);
            csv.Date(row[1]);
            csv.Number(correct);
            csv.Number(words);
            csv.Grade(correct, words);
            csv.EndRow();
        }
    } else if (rows.GetViewMode() == CReportRows::Misspelled) {
        for (const char* header : {"Word", "Misspelling", "Spelling Errors", "Spelling List", "Date", "Sounds"})
            csv.Field(header);
        csv.EndRow();
        for (std::size_t i = 0; i < rows.GetCount(); ++i) {
            const CReportRows::Row& row = rows.GetRow(i);
            csv.Field(row[2]);
            csv.Field(row[3]);
            csv.Field(row[4]);
            csv.Field(row[0]);
            csv.Date(row[1]);
            csv.Field(CSoundComparison::Name(sounds.Compare(row[2], row[3])));
            csv.EndRow();
        }
    }
    return std::move(csv.Text());
}

std::string CReportExport::FromProgress(const CProgressStats& stats)
{
    CCsvWriter csv;
    csv.Text().assign(CCsvWriter::ByteOrderMark());
    for (const char* header : {"Kind", "Name", "Count"})
        csv.Field(header);
    csv.EndRow();
    for (int rule = 0; rule < CRuleGroups::kCount; ++rule) {
        csv.Field("Spelling rule");
        csv.Field(CRuleGroups::Name(CRuleGroups::Rule(rule)));
        csv.Number(stats.GetRuleCounts()[std::size_t(rule)]);
        csv.EndRow();
    }
    for (const CProgressStats::WordCount& word : stats.GetMostMissed()) {
        csv.Field("Missed word");
        csv.Field(word.word);
        csv.Number(word.count);
        csv.EndRow();
    }
    return std::move(csv.Text());
}

std::string CReportExport::FromClass(const CClassStats& stats)
{
    CCsvWriter csv;
    csv.Text().assign(CCsvWriter::ByteOrderMark()).append(kClassHeader).append("\r\n");
    const auto optional = [&csv](const auto& value, auto&& write) {
        if (value)
            write(*value);
        else
            csv.Field("");
    };
    const auto percent = [&csv](double value) { csv.Field(CClassStats::Rounded(value)); };
    const auto count = [&csv](std::size_t value) { csv.Number(std::int64_t(value)); };
    for (const CClassStats::Learner& learner : stats.Learners()) {
        csv.Field(learner.name);
        csv.Number(learner.tests);
        optional(learner.averageGrade, percent);
        optional(learner.lastGrade, percent);
        csv.Date(learner.lastTest);
        csv.Field(CClassStats::TrendName(learner.trend));
        optional(learner.dueToday, count);
        optional(learner.stubborn, count);
        const std::optional<CRuleGroups::Rule> rule = learner.MostBrokenRule();
        csv.Field(rule ? CRuleGroups::Name(*rule) : "");
        optional(learner.SoundsRight(), percent);
        csv.EndRow();
    }
    return std::move(csv.Text());
}

bool CReportExport::Save(const std::string& nativePath, const std::string& bytes, std::string& why)
{
    std::string error;
    if (CAtomicFile::WriteFileAtomically(nativePath, bytes, &error))
        return true;
    why = "The file could not be saved. " + error;
    return false;
}
