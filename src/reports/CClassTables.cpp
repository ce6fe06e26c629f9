#include "reports/CClassTables.h"

#include "reports/CClassStats.h"
#include "reports/CReportExport.h"

#include <string_view>

namespace {
using Cell = CClassTables::Cell;

Cell Text(std::string text, double value = -1, bool sortByValue = false)
{
    return {std::move(text), value, false, sortByValue, 0};
}

Cell Number(std::string text, double value)
{
    return {std::move(text), value, true, true, 0};
}

Cell Count(long long value)
{
    return Number(std::to_string(value), double(value));
}

template <class T>
Cell Count(const std::optional<T>& value)
{
    return value ? Count((long long)(*value)) : Number(std::string(), -1);
}

Cell Percent(const std::optional<double>& value)
{
    return value ? Number(CClassStats::Rounded(*value) + " %", *value) : Number(std::string(), -1);
}

// The headers of the CSV's one line, so the screen, the paper and the file name the columns alike.
std::vector<std::string> LearnerHeaders()
{
    std::vector<std::string> headers;
    std::string_view line = CReportExport::kClassHeader;
    for (std::size_t comma; (comma = line.find(',')) != std::string_view::npos; line.remove_prefix(comma + 1))
        headers.emplace_back(line.substr(0, comma));
    headers.emplace_back(line);
    return headers;
}
}

const char* CClassTables::Title(Table table)
{
    switch (table) {
    case Learners: return "Learners";
    case MostMissed: return "Most Missed Words";
    case Grid: return "Rules by Learner";
    case Groups: return "Group by Rule";
    case kTables: break;
    }
    return "";
}

int CClassTables::Shade(long long count, long long most)
{
    if (count <= 0 || most <= 0)
        return 0;
    return int((count * kShades + most - 1) / most);
}

CClassTables::Data CClassTables::Make(const CClassStats& stats, Table table)
{
    Data data;
    const auto& learners = stats.Learners();
    switch (table) {
    case Learners:
        data.headers = LearnerHeaders();
        for (const CClassStats::Learner& learner : learners) {
            const std::optional<CRuleGroups::Rule> rule = learner.MostBrokenRule();
            // The day as "2026-12-08", which reads the same everywhere; a stamp that can't be read
            // as it stands. Sorted by time, the unreadable ones first.
            Cell last = Text(learner.lastTestMinutes ? CCalendarDay(std::int32_t(*learner.lastTestMinutes / (24 * 60))).Iso()
                                                     : learner.lastTest,
                             learner.lastTestMinutes ? double(*learner.lastTestMinutes) : -1, true);
            // Down, flat, up: the learners whose grades fall come first.
            const CClassStats::Trend order[] = {CClassStats::Trend::none, CClassStats::Trend::down,
                                                CClassStats::Trend::flat, CClassStats::Trend::up};
            Cell trend = Text(CClassStats::TrendName(learner.trend), 0, true);
            for (std::size_t i = 0; i < std::size(order); ++i)
                if (order[i] == learner.trend)
                    trend.value = double(i);
            data.rows.push_back({Text(learner.name), Count(learner.tests), Percent(learner.averageGrade),
                                 Percent(learner.lastGrade), std::move(last), std::move(trend),
                                 Count(learner.dueToday), Count(learner.stubborn),
                                 Text(rule ? CRuleGroups::Name(*rule) : ""), Percent(learner.SoundsRight())});
        }
        break;
    case MostMissed:
        data.headers = {"Word", "Times Missed", "Learners"};
        for (const CClassStats::MissedWord& word : stats.MostMissed())
            data.rows.push_back({Text(word.word), Count(word.times), Count(word.learners)});
        break;
    case Grid:
        data.headers = {"Learner"};
        for (const CRuleGroups::Rule rule : stats.GridRules())
            data.headers.emplace_back(CRuleGroups::Name(rule));
        for (const CClassStats::Learner& learner : learners) {
            std::vector<Cell> row{Text(learner.name)};
            for (const CRuleGroups::Rule rule : stats.GridRules()) {
                const long long count = learner.ruleCounts[std::size_t(rule)];
                // A rule not broken is left blank, so the counts stand out.
                Cell cell = Count(count);
                if (count == 0)
                    cell.text.clear();
                cell.shade = Shade(count, stats.GridMost());
                row.push_back(std::move(cell));
            }
            data.rows.push_back(std::move(row));
        }
        break;
    case Groups:
        data.headers = {"Spelling Rule", "Misspellings in 30 Days", "Learners to Teach Together"};
        for (const CClassStats::Group& group : stats.Groups()) {
            std::string names;
            for (const CClassStats::GroupMember& member : group.members) {
                if (!names.empty())
                    names += ", ";
                names += learners[member.learner].name + " (" + std::to_string(member.misspellings) + ")";
            }
            data.rows.push_back({Text(CRuleGroups::Name(group.rule)), Count(group.misspellings), Text(names)});
        }
        break;
    case kTables:
        break;
    }
    return data;
}
