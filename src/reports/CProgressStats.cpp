#include "reports/CProgressStats.h"

#include "model/CDateStamp.h"
#include "spelling/CSpellingRules.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <unordered_map>

namespace {
// A test whose stamp can't be placed in time.
constexpr std::size_t kUndated = std::numeric_limits<std::size_t>::max();

std::string_view ListOf(std::string_view listName, bool& stopped)
{
    const std::string_view suffix = CGrade::kStoppedSuffix;
    stopped = listName.ends_with(suffix);
    return stopped ? listName.substr(0, listName.size() - suffix.size()) : listName;
}
}

void CProgressStats::Compute(const COwnedList<CGrade>& grades, const COwnedList<CMissed>& missed,
                             CSoundComparison* sounds, const CWordMemory* memory)
{
    m_stubborn.clear();
    if (memory)
        for (const CWordMemory::Entry* entry : memory->StubbornWords())
            m_stubborn.push_back({entry->word, entry->missed, entry->asked});
    m_series.clear();
    m_listNames.clear();
    m_leftOut = 0;
    m_pointCount = 0;
    m_gradeRecords = grades.size();
    m_missedRecords = missed.size();
    m_ruleCounts.fill(0);
    m_mostMissed.clear();
    m_soundShares.clear();
    m_soundsUnavailable = false;

    // The records come newest first; walking them backwards gives the oldest first,
    // and a stable sort then only has to mend stamps that are out of order.
    struct Taken {
        std::string_view list;
        Point point;
    };
    std::vector<Taken> taken;
    taken.reserve(grades.size());
    std::unordered_map<std::string_view, std::size_t> testsPerList;
    for (auto it = grades.rbegin(); it != grades.rend(); ++it) {
        const CGrade& grade = **it;
        const std::optional<CDateStamp> date = CDateStamp::Read(grade.m_date);
        if (!date || grade.m_words == 0) {
            ++m_leftOut;
            continue;
        }
        bool stopped = false;
        const std::string_view list = ListOf(grade.m_listName, stopped);
        auto [known, isNew] = testsPerList.try_emplace(list, 0);
        if (isNew)
            m_listNames.emplace_back(list);
        ++known->second;
        taken.push_back({list, {date->Minutes(), CGrade::Percent(grade.m_correct, grade.m_words), stopped, 0, 0}});
    }
    std::stable_sort(taken.begin(), taken.end(),
                     [](const Taken& a, const Taken& b) { return a.point.minutes < b.point.minutes; });
    m_pointCount = taken.size();
    std::unordered_map<std::string_view, std::uint32_t> nameOf;
    for (std::size_t i = 0; i < m_listNames.size(); ++i)
        nameOf.emplace(m_listNames[i], std::uint32_t(i));
    for (std::size_t i = 0; i < taken.size(); ++i) {
        taken[i].point.list = nameOf[taken[i].list];
        taken[i].point.order = std::uint32_t(i);
    }

    std::vector<std::pair<std::string_view, std::size_t>> lists(testsPerList.begin(), testsPerList.end());
    std::sort(lists.begin(), lists.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    if (lists.size() > kListSeries)
        lists.resize(kListSeries);
    std::unordered_map<std::string_view, std::size_t> seriesOf;
    for (const auto& [list, count] : lists) {
        seriesOf.emplace(list, m_series.size());
        m_series.push_back({std::string(list), {}});
        m_series.back().points.reserve(count);
    }
    Series all{kAllTests, {}};
    all.points.reserve(taken.size());
    for (const Taken& t : taken) {
        if (const auto found = seriesOf.find(t.list); found != seriesOf.end())
            m_series[found->second].points.push_back(t.point);
        all.points.push_back(t.point);
    }
    if (!all.points.empty())
        m_series.push_back(std::move(all));

    // Learners repeat their mistakes, so each different pair is analysed only once.
    struct PairFigures {
        CRuleGroups::Set rules = 0;
        bool soundRight = false;
    };
    CSpellingRules rules;
    std::string errors;
    std::vector<CSpellingRules::Finding> findings;
    std::unordered_map<std::string, PairFigures> figuresOfPair;
    std::unordered_map<std::string_view, std::int64_t> timesMissed;
    // A test's misspellings carry its list's name and date stamp.
    std::unordered_map<std::string, std::size_t> shareOfTest;
    bool compareSounds = sounds != nullptr;
    std::string key;
    for (const auto& record : missed) {
        key.assign(record->m_word).push_back('\0');
        key.append(record->m_misspelling);
        auto [entry, isNew] = figuresOfPair.try_emplace(key);
        PairFigures& figures = entry->second;
        if (isNew) {
            rules.GetSpellingErrors(record->m_word, record->m_misspelling, errors, findings);
            figures.rules = CSpellingRules::GroupsOf(findings);
            if (compareSounds) {
                const CSoundComparison::Verdict verdict = sounds->Compare(record->m_word, record->m_misspelling);
                figures.soundRight = verdict == CSoundComparison::Verdict::Right;
                m_soundsUnavailable = verdict == CSoundComparison::Verdict::Unavailable;
                compareSounds = !m_soundsUnavailable;
            }
        }
        for (int rule = 0; rule < CRuleGroups::kCount; ++rule)
            if (figures.rules & CRuleGroups::Bit(CRuleGroups::Rule(rule)))
                ++m_ruleCounts[std::size_t(rule)];
        ++timesMissed[record->m_word];

        if (!compareSounds)
            continue;
        key.assign(record->m_listName).push_back('\0');
        key.append(record->m_date);
        auto [test, isNewTest] = shareOfTest.try_emplace(key, m_soundShares.size());
        if (isNewTest) {
            const std::optional<CDateStamp> date = CDateStamp::Read(record->m_date);
            if (!date) {
                test->second = kUndated;
                continue;
            }
            m_soundShares.push_back({date->Minutes(), record->m_listName, 0, 0});
        }
        if (test->second == kUndated)
            continue;
        SoundShare& share = m_soundShares[test->second];
        ++share.misspellings;
        share.soundRight += figures.soundRight;
    }
    if (m_soundsUnavailable)
        m_soundShares.clear();
    // The records come newest first.
    std::reverse(m_soundShares.begin(), m_soundShares.end());
    std::stable_sort(m_soundShares.begin(), m_soundShares.end(),
                     [](const SoundShare& a, const SoundShare& b) { return a.minutes < b.minutes; });
    // Each test's share beside its grade: a stopped test's misspellings carry its list's
    // plain name, as its grade does once the suffix is set aside.
    if (!m_soundShares.empty()) {
        std::unordered_map<std::string, float> shareByTest;
        for (const SoundShare& share : m_soundShares)
            shareByTest.emplace(share.list + '\0' + std::to_string(share.minutes), share.Percent());
        for (Series& series : m_series)
            for (Point& point : series.points)
                if (const auto found = shareByTest.find(m_listNames[point.list] + '\0' + std::to_string(point.minutes));
                    found != shareByTest.end())
                    point.soundRight = found->second;
    }

    std::vector<std::pair<std::string_view, std::int64_t>> words(timesMissed.begin(), timesMissed.end());
    const std::size_t top = std::min(kMostMissed, words.size());
    std::partial_sort(words.begin(), words.begin() + std::ptrdiff_t(top), words.end(),
                      [](const auto& a, const auto& b) {
                          return a.second != b.second ? a.second > b.second : a.first < b.first;
                      });
    for (std::size_t i = 0; i < top; ++i)
        m_mostMissed.push_back({std::string(words[i].first), words[i].second});
}

CProgressStats::Bars CProgressStats::RuleBars() const
{
    Bars bars;
    for (int rule = 0; rule < CRuleGroups::kCount; ++rule)
        if (const std::int64_t n = m_ruleCounts[std::size_t(rule)])
            bars.emplace_back(CRuleGroups::Name(CRuleGroups::Rule(rule)), n);
    std::stable_sort(bars.begin(), bars.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    return bars;
}

CProgressStats::Bars CProgressStats::StubbornBars() const
{
    Bars bars;
    for (std::size_t i = 0; i < std::min(kMostMissed, m_stubborn.size()); ++i)
        bars.emplace_back(m_stubborn[i].word, m_stubborn[i].missed);
    return bars;
}

CProgressStats::Bars CProgressStats::MissedBars() const
{
    Bars bars;
    for (const WordCount& w : m_mostMissed)
        bars.emplace_back(w.word.empty() ? "(no word)" : w.word, w.count);
    return bars;
}
