#pragma once
#include "model/CCalendarDay.h"
#include "model/CGrade.h"
#include "model/CMissed.h"
#include "model/COwnedList.h"
#include "spelling/CRuleGroups.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class CSoundComparison;

// The whole class at a glance, worked out from the files of a user folder: a row of figures
// for every learner, the words the class missed most, how often each learner broke each rule,
// and groups for teaching. The files are only read (the user file without its lock, like
// the exports), never written; a learner whose record file is damaged is named among the
// problems and left out, and every other learner is shown. The reports page's class view,
// its printout and export and `kelto4-tool class` all read these figures.
//
// Comparing misspellings by sound takes the speech engine far longer than everything else,
// so it is a step of its own (CompareSounds), which a window can run after it has shown the rest.
class CClassStats {
public:
    enum class Trend { none, up, flat, down };
    // The trend looks at the newest grades, at least kTrendLeast of them: the straight line that
    // fits them best rises by kTrendStep points a test or more (up), falls as much (down), or
    // neither (flat).
    static constexpr std::size_t kTrendGrades = 5;
    static constexpr std::size_t kTrendLeast = 3;
    static constexpr double kTrendStep = 2.0;
    static constexpr std::size_t kMostMissed = 10;
    // "Group by Rule" looks at the misspellings of the last kGroupDays days, today included,
    // and names at most kGroupSize learners a rule: the most misspellings first, equal counts
    // in the class's order.
    static constexpr int kGroupDays = 30;
    static constexpr std::size_t kGroupSize = 5;
    // A record file larger than this is not one the program wrote (a lifetime of tests is a few megabytes).
    static constexpr std::size_t kMaxRecordFileBytes = std::size_t(64) << 20;

    using RuleCounts = std::array<std::int64_t, CRuleGroups::kCount>;

    struct Learner {
        std::string name;
        std::int64_t tests = 0;                // result records
        std::optional<double> averageGrade;    // percent, of the tests that counted words
        std::optional<double> lastGrade;       // percent, of the newest such test
        std::string lastTest;                  // that test's date stamp, as stored
        std::optional<std::int64_t> lastTestMinutes; // CDateStamp::Minutes, when the stamp reads
        Trend trend = Trend::none;
        std::optional<std::size_t> dueToday;   // from the word memory, when there is one
        std::optional<std::size_t> stubborn;
        RuleCounts ruleCounts{};               // misspellings that break each rule
        RuleCounts recentRuleCounts{};         // the same in the last kGroupDays days
        std::int64_t misspellings = 0;
        std::optional<std::int64_t> soundRight; // misspellings that sound right, once compared

        // The rule broken most often ("No rule found" is none); the first in rule order on a tie.
        std::optional<CRuleGroups::Rule> MostBrokenRule() const;
        // The share of misspellings that sound right, in percent.
        std::optional<double> SoundsRight() const;
    };
    // A file that was left alone, and what that leaves out, in a sentence for the teacher.
    struct Problem {
        std::string file; // the file's name (Windows-1252), without the folder
        std::string text;
    };
    struct MissedWord {
        std::string word;
        std::int64_t times = 0;
        std::int64_t learners = 0;
    };
    struct GroupMember {
        std::size_t learner; // index into Learners()
        std::int64_t misspellings;
    };
    struct Group {
        CRuleGroups::Rule rule;
        std::int64_t misspellings; // of the whole class in the last kGroupDays days
        std::vector<GroupMember> members;
    };

    // Reads the learners of folder (Windows-1252) in the exports' order. today is the day the
    // words due and the last kGroupDays days count from. False when the folder can't be listed
    // (FolderError says why); then there are no learners.
    bool Compute(const std::string& folder, CCalendarDay today);

    // Compares up to maxPairs different misspellings by sound (the class's repeats are compared
    // once); true when every one is compared, or when speech is not available on this computer.
    // Each learner's SoundsRight appears when all are done.
    bool CompareSounds(CSoundComparison& sounds, std::size_t maxPairs = std::size_t(-1));
    bool SoundsDone() const { return m_nextPair >= m_pairs.size() || m_soundsUnavailable; }
    bool SoundsUnavailable() const { return m_soundsUnavailable; }
    // The class's different misspellings: what CompareSounds has to compare.
    std::size_t DifferentMisspellings() const { return m_pairs.size(); }

    const std::string& GetFolder() const { return m_folder; }
    const std::string& FolderError() const { return m_folderError; }
    const std::vector<Learner>& Learners() const { return m_learners; }
    const std::vector<Problem>& Problems() const { return m_problems; }
    // Most often first; then missed by more learners; then alphabetically.
    const std::vector<MissedWord>& MostMissed() const { return m_mostMissed; }
    // The rules some learner broke, in rule order ("No rule found" left out): the grid's columns.
    const std::vector<CRuleGroups::Rule>& GridRules() const { return m_gridRules; }
    // The most misspellings of one rule by one learner: the grid's darkest cell.
    std::int64_t GridMost() const { return m_gridMost; }
    // The rules broken in the last kGroupDays days, the most broken first.
    const std::vector<Group>& Groups() const { return m_groups; }
    bool HasLearners() const { return !m_learners.empty(); }

    static const char* TrendName(Trend trend); // "up", "flat", "down"; empty for none
    // A percent as the reports page rounds it: "67".
    static std::string Rounded(double percent);

    // A learner's two record files as the class view reads them: bounded, only regular files,
    // never locked. Missing files give empty lists. False, with a sentence in problem, when a
    // file is damaged or can't be read.
    static bool LoadRecords(const std::string& folder, const std::string& learner, COwnedList<CGrade>& grades,
                            COwnedList<CMissed>& missed, Problem& problem);

private:
    struct Pair {
        std::string word;
        std::string misspelling;
        CRuleGroups::Set rules = 0;
        bool soundRight = false;
    };
    void AddLearner(const std::string& name);
    void FigureGrades(Learner& learner, const COwnedList<CGrade>& grades) const;
    void FigureMissed(std::size_t index, const COwnedList<CMissed>& missed);
    void FigureMemory(Learner& learner);
    void FinishMostMissed();
    void FinishGroups();
    void FinishSounds();

    std::string m_folder;
    CCalendarDay m_today;
    std::string m_folderError;
    std::vector<Learner> m_learners;
    std::vector<Problem> m_problems;
    std::vector<MissedWord> m_mostMissed;
    std::vector<CRuleGroups::Rule> m_gridRules;
    std::int64_t m_gridMost = 0;
    std::vector<Group> m_groups;

    // Every different misspelling of the class, analysed once; each learner's misspellings
    // as indices into it.
    std::vector<Pair> m_pairs;
    std::vector<std::vector<std::uint32_t>> m_pairsOf;
    std::unordered_map<std::string, std::uint32_t> m_pairIndex; // word, a zero byte, misspelling
    // How often each word was missed, and by how many learners, while the class is read.
    struct MissedTally {
        std::int64_t times = 0;
        std::int64_t learners = 0;
        std::size_t lastLearner = 0; // index + 1 of the learner counted last
    };
    std::unordered_map<std::string, MissedTally> m_tally;
    std::size_t m_nextPair = 0;
    bool m_soundsUnavailable = false;
};
