#pragma once
#include "model/CGrade.h"
#include "model/CMissed.h"
#include "model/COwnedList.h"
#include "model/CWordMemory.h"
#include "spelling/CRuleGroups.h"
#include "spelling/CSoundComparison.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What the progress view draws, worked out from a learner's records: the grades over
// time (one series for each of the five lists taken most often, and one for all
// tests), how many misspellings break each group of spelling rules, the ten
// words missed most often, for each test the share of its misspellings that
// sound right (a learner who moves from sound errors to pattern errors), and from the
// learner's word memory the stubborn words, which need another way of teaching.
class CProgressStats {
public:
    static constexpr std::size_t kListSeries = 5;
    static constexpr std::size_t kMostMissed = 10;

    struct Point {
        std::int64_t minutes; // CDateStamp::Minutes
        float grade;          // percent
        bool stopped;
        std::uint32_t list;   // its list's name in GetListNames
        std::uint32_t order;  // its place among all the tests shown, from 0, oldest first
        // The share of the test's misspellings that sound right, in percent; kNoShare
        // when it had none or they could not be compared by sound.
        float soundRight = kNoShare;
    };
    static constexpr float kNoShare = -1.0f;
    struct Series {
        std::string name;
        std::vector<Point> points; // oldest first
    };
    struct WordCount {
        std::string word;
        std::int64_t count;
    };
    // One test's misspellings by sound: the test is its list's name and date stamp.
    struct SoundShare {
        std::int64_t minutes; // CDateStamp::Minutes
        std::string list;
        std::int64_t misspellings;
        std::int64_t soundRight;
        float Percent() const { return misspellings ? float(soundRight) * 100.0f / float(misspellings) : 0.0f; }
    };

    // A word the learner keeps missing (CWordMemory::IsStubborn), with its first attempts.
    struct StubbornWord {
        std::string word;
        std::uint32_t missed;
        std::uint32_t asked;
    };

    // sounds compares the misspellings by sound; without it (or when it is
    // unavailable) there are no sound shares. memory gives the stubborn words; without
    // it there are none.
    void Compute(const COwnedList<CGrade>& grades, const COwnedList<CMissed>& missed,
                 CSoundComparison* sounds = nullptr, const CWordMemory* memory = nullptr);

    // The lists' series, the list taken most often first (a stopped test belongs to its
    // list), then the series of all tests, named kAllTests.
    const std::vector<Series>& GetSeries() const { return m_series; }
    // Every list a test shown was taken of, without the stopped-test suffix.
    const std::vector<std::string>& GetListNames() const { return m_listNames; }
    static constexpr const char* kAllTests = "All tests";
    // Result records left out of the chart: their stamp can't be read (such as
    // "Time Error"), or they count no words.
    std::size_t GetLeftOut() const { return m_leftOut; }
    std::size_t GetPointCount() const { return m_pointCount; }

    const std::array<std::int64_t, CRuleGroups::kCount>& GetRuleCounts() const { return m_ruleCounts; }
    // Most missed first; equal counts in the words' order.
    const std::vector<WordCount>& GetMostMissed() const { return m_mostMissed; }

    // The tests with misspellings, oldest first; those whose stamp can't be read are left out.
    const std::vector<SoundShare>& GetSoundShares() const { return m_soundShares; }
    // Speech was not available, so no misspelling was compared by sound.
    bool SoundsUnavailable() const { return m_soundsUnavailable; }

    bool HasRecords() const { return m_gradeRecords + m_missedRecords > 0; }

    // What the two bar charts show: the rules broken, most often first, and the most
    // missed words ("(no word)" for an empty one), as names and counts.
    using Bars = std::vector<std::pair<std::string, std::int64_t>>;
    Bars RuleBars() const;
    Bars MissedBars() const;
    // Every stubborn word, the most missed first, then alphabetically.
    const std::vector<StubbornWord>& GetStubbornWords() const { return m_stubborn; }
    // Its chart's bars: the kMostMissed stubborn words missed most, with their misses.
    Bars StubbornBars() const;
    std::size_t GetMissedRecords() const { return m_missedRecords; }

private:
    std::vector<Series> m_series;
    std::vector<std::string> m_listNames;
    std::size_t m_leftOut = 0;
    std::size_t m_pointCount = 0;
    std::size_t m_gradeRecords = 0;
    std::size_t m_missedRecords = 0;
    std::array<std::int64_t, CRuleGroups::kCount> m_ruleCounts{};
    std::vector<WordCount> m_mostMissed;
    std::vector<SoundShare> m_soundShares;
    bool m_soundsUnavailable = false;
    std::vector<StubbornWord> m_stubborn;
};
