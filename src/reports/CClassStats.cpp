#include "reports/CClassStats.h"

#include "model/CAtomicFile.h"
#include "model/CDateStamp.h"
#include "model/CPath.h"
#include "model/CUserFolderLearners.h"
#include "model/CUserRecordFiles.h"
#include "model/CWordMemory.h"
#include "model/CWordMemoryFile.h"
#include "spelling/CSoundComparison.h"
#include "spelling/CSpellingRules.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <unordered_map>

namespace {
constexpr std::int64_t kMinutesPerDay = 24 * 60;

// The day a test's stamp falls on; nothing for a stamp that can't be read.
std::optional<CCalendarDay> DayOf(std::string_view stamp)
{
    const std::optional<CDateStamp> date = CDateStamp::Read(stamp);
    if (!date)
        return std::nullopt;
    return CCalendarDay(std::int32_t(date->Minutes() / kMinutesPerDay));
}

template <class T>
bool ReadRecordFile(const std::string& folder, const std::string& learner, const char* extension,
                    COwnedList<T>& list, CClassStats::Problem& problem)
{
    const std::string file = learner + extension;
    problem.file = file;
    if (!CUserRecordFiles::IsValidFileName(learner)) {
        problem.text = file + " can't be read, so " + learner + " is not shown.";
        return false;
    }
    std::string bytes;
    const std::string path = CPath::ToNative(CPath::Join(folder, file));
    switch (CAtomicFile::ReadBoundedFile(path, CClassStats::kMaxRecordFileBytes, bytes, nullptr)) {
    case CAtomicFile::BoundedRead::missing: return true;
    case CAtomicFile::BoundedRead::ok: break;
    case CAtomicFile::BoundedRead::tooLarge:
        problem.text = file + " is damaged, so " + learner + " is not shown.";
        return false;
    case CAtomicFile::BoundedRead::notRegular:
    case CAtomicFile::BoundedRead::failed:
        problem.text = file + " can't be read, so " + learner + " is not shown.";
        return false;
    }
    if (CUserRecordFiles::DecodeList(bytes, list) == CUserRecordFiles::ReadResult::ok)
        return true;
    list.clear();
    problem.text = file + " is damaged, so " + learner + " is not shown.";
    return false;
}
}

std::optional<CRuleGroups::Rule> CClassStats::Learner::MostBrokenRule() const
{
    std::optional<CRuleGroups::Rule> most;
    for (int rule = 0; rule < CRuleGroups::NoRule; ++rule)
        if (ruleCounts[std::size_t(rule)] > 0 && (!most || ruleCounts[std::size_t(rule)] > ruleCounts[std::size_t(*most)]))
            most = CRuleGroups::Rule(rule);
    return most;
}

std::optional<double> CClassStats::Learner::SoundsRight() const
{
    if (!soundRight || misspellings == 0)
        return std::nullopt;
    return double(*soundRight) * 100.0 / double(misspellings);
}

const char* CClassStats::TrendName(Trend trend)
{
    switch (trend) {
    case Trend::up: return "up";
    case Trend::flat: return "flat";
    case Trend::down: return "down";
    case Trend::none: break;
    }
    return "";
}

std::string CClassStats::Rounded(double percent)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", percent);
    return text;
}

bool CClassStats::LoadRecords(const std::string& folder, const std::string& learner, COwnedList<CGrade>& grades,
                              COwnedList<CMissed>& missed, Problem& problem)
{
    grades.clear();
    missed.clear();
    return ReadRecordFile(folder, learner, CUserRecordFiles::kResultsExtension, grades, problem) &&
           ReadRecordFile(folder, learner, CUserRecordFiles::kMissedExtension, missed, problem);
}

bool CClassStats::Compute(const std::string& folder, CCalendarDay today)
{
    *this = CClassStats();
    m_folder = folder;
    m_today = today;

    CUserFolderLearners listing;
    const bool listed = listing.List(folder,
                                     {CUserRecordFiles::kResultsExtension, CUserRecordFiles::kMissedExtension,
                                      CWordMemoryFile::kExtension},
                                     &m_folderError);
    const std::string userFile = CUserFolderLearners::kUserFileName;
    if (listing.GetUserFile() == CUserFolderLearners::UserFile::damaged)
        m_problems.push_back({userFile, userFile + " is damaged: the learners after the damage are listed by name."});
    else if (listing.GetUserFile() == CUserFolderLearners::UserFile::unreadable)
        m_problems.push_back({userFile, userFile + " can't be read: the learners are listed by name."});
    if (!listed)
        return false;
    for (const std::string& file : listing.UnreadableNames())
        m_problems.push_back({file, file + " has a name from another computer that Keltora can't read, so it is left out."});
    for (const std::string& name : listing.Learners())
        AddLearner(name);

    m_gridRules.clear();
    for (int rule = 0; rule < CRuleGroups::NoRule; ++rule) {
        bool broken = false;
        for (const Learner& learner : m_learners) {
            const std::int64_t count = learner.ruleCounts[std::size_t(rule)];
            broken = broken || count > 0;
            m_gridMost = std::max(m_gridMost, count);
        }
        if (broken)
            m_gridRules.push_back(CRuleGroups::Rule(rule));
    }
    FinishMostMissed();
    FinishGroups();
    // Nothing to compare: the figures are complete at once.
    if (m_pairs.empty())
        FinishSounds();
    return true;
}

void CClassStats::AddLearner(const std::string& name)
{
    COwnedList<CGrade> grades;
    COwnedList<CMissed> missed;
    Problem problem;
    if (!LoadRecords(m_folder, name, grades, missed, problem)) {
        m_problems.push_back(std::move(problem));
        return;
    }
    m_learners.emplace_back();
    m_learners.back().name = name;
    FigureGrades(m_learners.back(), grades);
    FigureMissed(m_learners.size() - 1, missed);
    FigureMemory(m_learners.back());
}

void CClassStats::FigureGrades(Learner& learner, const COwnedList<CGrade>& grades) const
{
    learner.tests = std::int64_t(grades.size());
    // Newest first, as the records are kept.
    std::vector<double> recent;
    double sum = 0;
    std::int64_t counted = 0;
    for (const auto& grade : grades) {
        if (grade->m_words == 0)
            continue;
        const double percent = CGrade::Percent(grade->m_correct, grade->m_words);
        if (counted == 0) {
            learner.lastGrade = percent;
            learner.lastTest = grade->m_date;
            if (const std::optional<CDateStamp> date = CDateStamp::Read(grade->m_date))
                learner.lastTestMinutes = date->Minutes();
        }
        sum += percent;
        ++counted;
        if (recent.size() < kTrendGrades)
            recent.push_back(percent);
    }
    if (counted > 0)
        learner.averageGrade = sum / double(counted);
    if (recent.size() < kTrendLeast)
        return;
    // The least-squares slope over the tests numbered oldest 0 to newest n - 1.
    std::reverse(recent.begin(), recent.end());
    const double n = double(recent.size());
    const double meanX = (n - 1) / 2;
    double meanY = 0;
    for (const double y : recent)
        meanY += y / n;
    double covariance = 0;
    double variance = 0;
    for (std::size_t i = 0; i < recent.size(); ++i) {
        covariance += (double(i) - meanX) * (recent[i] - meanY);
        variance += (double(i) - meanX) * (double(i) - meanX);
    }
    const double slope = covariance / variance;
    learner.trend = slope >= kTrendStep ? Trend::up : slope <= -kTrendStep ? Trend::down : Trend::flat;
}

void CClassStats::FigureMissed(std::size_t index, const COwnedList<CMissed>& missed)
{
    Learner& learner = m_learners[index];
    m_pairsOf.resize(m_learners.size());
    std::vector<std::uint32_t>& pairs = m_pairsOf[index];
    pairs.reserve(missed.size());
    learner.misspellings = std::int64_t(missed.size());

    CSpellingRules rules;
    std::string errors;
    std::vector<CSpellingRules::Finding> findings;
    std::string key;
    std::unordered_map<std::string_view, std::optional<CCalendarDay>> days;
    const CCalendarDay firstRecent = m_today.AddDays(1 - kGroupDays);
    for (const auto& record : missed) {
        key.assign(record->m_word).push_back('\0');
        key.append(record->m_misspelling);
        auto [found, isNew] = m_pairIndex.try_emplace(key, std::uint32_t(m_pairs.size()));
        if (isNew) {
            Pair fresh{record->m_word, record->m_misspelling, 0, false};
            rules.GetSpellingErrors(record->m_word, record->m_misspelling, errors, findings);
            fresh.rules = CSpellingRules::GroupsOf(findings);
            m_pairs.push_back(std::move(fresh));
        }
        const Pair& pair = m_pairs[found->second];
        pairs.push_back(found->second);

        auto [day, isNewDay] = days.try_emplace(record->m_date);
        if (isNewDay)
            day->second = DayOf(record->m_date);
        const bool recentDay = day->second && *day->second >= firstRecent && *day->second <= m_today;
        for (int rule = 0; rule < CRuleGroups::kCount; ++rule) {
            if (!(pair.rules & CRuleGroups::Bit(CRuleGroups::Rule(rule))))
                continue;
            ++learner.ruleCounts[std::size_t(rule)];
            if (recentDay)
                ++learner.recentRuleCounts[std::size_t(rule)];
        }

        MissedTally& tally = m_tally[record->m_word];
        ++tally.times;
        if (tally.lastLearner != index + 1) {
            tally.lastLearner = index + 1;
            ++tally.learners;
        }
    }
}

void CClassStats::FigureMemory(Learner& learner)
{
    const std::string file = learner.name + CWordMemoryFile::kExtension;
    CWordMemory memory;
    switch (CWordMemoryFile::Read(CPath::ToNative(CWordMemoryFile::Path(m_folder, learner.name)), memory, nullptr)) {
    case CWordMemoryFile::ReadResult::ok:
        learner.dueToday = memory.DueCount(m_today);
        learner.stubborn = memory.StubbornWords().size();
        return;
    case CWordMemoryFile::ReadResult::missing:
        return;
    case CWordMemoryFile::ReadResult::damaged:
        m_problems.push_back({file, file + " is damaged, so " + learner.name +
                                        "'s words due and stubborn words are not shown."});
        return;
    case CWordMemoryFile::ReadResult::newer:
        m_problems.push_back({file, file + " comes from a newer Keltora, so " + learner.name +
                                        "'s words due and stubborn words are not shown."});
        return;
    case CWordMemoryFile::ReadResult::unreadable:
        m_problems.push_back({file, file + " can't be read, so " + learner.name +
                                        "'s words due and stubborn words are not shown."});
        return;
    }
}

void CClassStats::FinishMostMissed()
{
    std::vector<MissedWord> words;
    words.reserve(m_tally.size());
    for (const auto& [word, tally] : m_tally)
        words.push_back({word, tally.times, tally.learners});
    m_tally.clear();
    const std::size_t top = std::min(kMostMissed, words.size());
    std::partial_sort(words.begin(), words.begin() + std::ptrdiff_t(top), words.end(),
                      [](const MissedWord& a, const MissedWord& b) {
                          if (a.times != b.times)
                              return a.times > b.times;
                          if (a.learners != b.learners)
                              return a.learners > b.learners;
                          return CWordMemory::AlphabeticallyBefore(a.word, b.word);
                      });
    words.resize(top);
    m_mostMissed = std::move(words);
}

void CClassStats::FinishGroups()
{
    for (int rule = 0; rule < CRuleGroups::NoRule; ++rule) {
        Group group{CRuleGroups::Rule(rule), 0, {}};
        for (std::size_t i = 0; i < m_learners.size(); ++i) {
            const std::int64_t count = m_learners[i].recentRuleCounts[std::size_t(rule)];
            if (count > 0) {
                group.misspellings += count;
                group.members.push_back({i, count});
            }
        }
        if (group.members.empty())
            continue;
        // The class's order stays among equal counts.
        std::stable_sort(group.members.begin(), group.members.end(),
                         [](const GroupMember& a, const GroupMember& b) { return a.misspellings > b.misspellings; });
        group.members.resize(std::min(kGroupSize, group.members.size()));
        m_groups.push_back(std::move(group));
    }
    std::stable_sort(m_groups.begin(), m_groups.end(),
                     [](const Group& a, const Group& b) { return a.misspellings > b.misspellings; });
}

bool CClassStats::CompareSounds(CSoundComparison& sounds, std::size_t maxPairs)
{
    for (std::size_t done = 0; done < maxPairs && !SoundsDone(); ++done) {
        Pair& pair = m_pairs[m_nextPair];
        const CSoundComparison::Verdict verdict = sounds.Compare(pair.word, pair.misspelling);
        if (verdict == CSoundComparison::Verdict::Unavailable) {
            m_soundsUnavailable = true;
            return true;
        }
        pair.soundRight = verdict == CSoundComparison::Verdict::Right;
        if (++m_nextPair == m_pairs.size())
            FinishSounds();
    }
    return SoundsDone();
}

void CClassStats::FinishSounds()
{
    for (std::size_t i = 0; i < m_learners.size(); ++i) {
        std::int64_t right = 0;
        for (const std::uint32_t pair : m_pairsOf[i])
            right += m_pairs[pair].soundRight;
        m_learners[i].soundRight = right;
    }
}
