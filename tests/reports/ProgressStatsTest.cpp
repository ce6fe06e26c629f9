// What the progress view is made from: date stamps read back, analysis lines read
// back into rule groups, and the statistics of a learner's records.
#include "model/CDateStamp.h"
#include "model/ModelTestSupport.h"
#include "reports/CProgressStats.h"
#include "sound/CSpeechEngine.h"
#include "reports/CProgressTable.h"
#include "spelling/CRuleGroups.h"
#include "spelling/CSpellingRules.h"

#include <random>

namespace {
using R = CRuleGroups;

struct StampCase {
    const char* stamp;
    const char* iso; // nullptr: can't be read
};

const StampCase kStamps[] = {
    {"12/06/26, 06:02 PM", "2026-12-06 18:02"},
    {"12/06/26, 12:00 AM", "2026-12-06 00:00"}, // midnight
    {"12/06/26, 12:59 AM", "2026-12-06 00:59"},
    {"12/06/26, 12:00 PM", "2026-12-06 12:00"}, // noon
    {"12/06/26, 11:59 PM", "2026-12-06 23:59"},
    {"01/01/99, 01:00 AM", "1999-01-01 01:00"},
    {"02/29/24, 10:00 AM", "2024-02-29 10:00"},
    {"Time Error", nullptr},
    {"", nullptr},
    {"02/29/25, 10:00 AM", nullptr},
    {"13/01/26, 10:00 AM", nullptr},
    {"12/00/26, 10:00 AM", nullptr},
    {"12/06/26, 00:10 AM", nullptr},
    {"12/06/26, 13:00 PM", nullptr},
    {"12/06/26, 06:60 PM", nullptr},
    {"12/06/26 06:02 PM ", nullptr},
    {"12/06/26, 06:02 XM", nullptr},
    {"12/06/2026, 06:02 PM", nullptr},
    {"12/O6/26, 06:02 PM", nullptr},
};

TEST(DateStamp, ReadsTheCLocaleStampAndNothingElse)
{
    for (const StampCase& c : kStamps) {
        const std::optional<CDateStamp> date = CDateStamp::Read(c.stamp);
        if (!c.iso) {
            EXPECT_FALSE(date) << c.stamp;
            continue;
        }
        ASSERT_TRUE(date) << c.stamp;
        EXPECT_EQ(date->Iso(), c.iso) << c.stamp;
    }
    const auto minutes = [](const char* stamp) { return CDateStamp::Read(stamp)->Minutes(); };
    EXPECT_EQ(minutes("12/06/26, 12:00 PM") - minutes("12/06/26, 12:00 AM"), 720);
    EXPECT_EQ(minutes("12/07/26, 12:00 AM") - minutes("12/06/26, 11:59 PM"), 1);
    EXPECT_EQ(minutes("01/01/70, 12:00 AM"), 0);
    EXPECT_EQ(minutes("03/01/24, 12:00 AM") - minutes("02/28/24, 12:00 AM"), 2 * 1440);
}

using Check = std::string (CSpellingRules::*)() const;
// By rule, in the order of the rule groups.
constexpr Check kChecks[] = {
    &CSpellingRules::CheckIeEi,         &CSpellingRules::CheckFinalE,         &CSpellingRules::CheckYToI,
    &CSpellingRules::CheckDoubleLetters, &CSpellingRules::CheckPluralEnding,  &CSpellingRules::CheckLetterGroups,
    &CSpellingRules::CheckBlends,       &CSpellingRules::CheckTch,            &CSpellingRules::CheckDge,
    &CSpellingRules::CheckVe,           &CSpellingRules::CheckZe,             &CSpellingRules::CheckIeToY,
    &CSpellingRules::CheckCapital,      &CSpellingRules::CheckSuffix,         &CSpellingRules::CheckLetterSwap,
    &CSpellingRules::CheckMissingLetters, &CSpellingRules::CheckExtraLetters,
};

TEST(RuleGroups, EveryFindingOfALineIsTheTextOfTheRuleThatGivesIt)
{
    // Words from a small alphabet with the letters every rule looks for, and a few odd ones.
    const std::string letters = "abceghiklnorstvyzfdjCE;, ";
    std::mt19937 random(17);
    const auto word = [&] {
        std::string w(std::size_t(random() % 9), ' ');
        for (char& c : w)
            c = letters[random() % letters.size()];
        return w;
    };
    CSpellingRules rules;
    std::string line;
    std::vector<CSpellingRules::Finding> findings;
    for (int i = 0; i < 20000; ++i) {
        rules.GetSpellingErrors(word(), word(), line, findings);
        if (line == "?") {
            EXPECT_TRUE(findings.empty());
            continue;
        }
        ASSERT_FALSE(findings.empty()) << line;
        std::string joined;
        for (std::size_t f = 0; f < findings.size(); ++f) {
            const CSpellingRules::Finding& finding = findings[f];
            const std::string text = line.substr(finding.start, finding.size);
            EXPECT_EQ((rules.*kChecks[finding.rule])(), text) << line;
            if (f > 0) {
                EXPECT_GT(finding.rule, findings[f - 1].rule) << line;
                joined += "; ";
            }
            joined += text;
        }
        EXPECT_EQ(joined, line);
        // A fallback finding stands alone.
        EXPECT_TRUE(findings.size() == 1 || findings.back().rule <= R::Capital) << line;
    }
}

TEST(ProgressStats, FiveMostTakenListsAllTestsRulesAndMostMissedWords)
{
    COwnedList<CGrade> grades; // newest first, as the document holds them
    grades.push_back(Grade("week1--Stopped Test", "12/09/26, 09:00 AM", 1, 10));
    grades.push_back(Grade("week1", "Time Error", 5, 10));
    grades.push_back(Grade("week7", "12/08/26, 09:00 AM", 5, 10));
    grades.push_back(Grade("week6", "12/08/26, 09:00 AM", 5, 0));
    for (const char* list : {"week5", "week4", "week3", "week2"})
        grades.push_back(Grade(list, "12/07/26, 09:00 AM", 3, 4));
    grades.push_back(Grade("week1", "12/06/26, 06:02 PM", 2, 3));
    grades.push_back(Grade("week1", "12/01/26, 12:00 PM", 10, 10));
    COwnedList<CMissed> missed;
    for (int i = 0; i < 3; ++i)
        missed.push_back(Missed("week1", "d", "friend", "freind"));
    missed.push_back(Missed("week1", "d", "cake", "cak"));
    missed.push_back(Missed("week1", "d", "cake", "cak"));
    missed.push_back(Missed("week1", "d", "church", "curch"));
    missed.push_back(Missed("week1", "d", "apple", "apple"));

    CProgressStats stats;
    stats.Compute(grades, missed);
    EXPECT_TRUE(stats.HasRecords());
    EXPECT_EQ(stats.GetLeftOut(), 2u); // "Time Error" and the record of no words
    const auto& series = stats.GetSeries();
    ASSERT_EQ(series.size(), 6u);
    const char* const names[] = {"week1", "week2", "week3", "week4", "week5", CProgressStats::kAllTests};
    for (std::size_t i = 0; i < series.size(); ++i)
        EXPECT_EQ(series[i].name, names[i]);
    ASSERT_EQ(series[0].points.size(), 3u);
    EXPECT_FLOAT_EQ(series[0].points[0].grade, 100.0f);
    EXPECT_FLOAT_EQ(series[0].points[1].grade, 200.0f / 3.0f);
    EXPECT_FALSE(series[0].points[1].stopped);
    EXPECT_TRUE(series[0].points[2].stopped);
    EXPECT_LT(series[0].points[0].minutes, series[0].points[1].minutes);
    EXPECT_EQ(series[5].points.size(), 8u);

    const auto& counts = stats.GetRuleCounts();
    EXPECT_EQ(counts[R::IeEi], 3);
    EXPECT_EQ(counts[R::MissingLetters], 2);
    EXPECT_EQ(counts[R::LetterGroups], 1);
    EXPECT_EQ(counts[R::NoRule], 1);
    EXPECT_EQ(counts[R::Blends], 0);
    const auto& words = stats.GetMostMissed();
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[0].word, "friend");
    EXPECT_EQ(words[0].count, 3);
    EXPECT_EQ(words[1].word, "cake");
    EXPECT_EQ(words[2].word, "apple"); // equal counts in word order
    EXPECT_EQ(words[3].word, "church");

    stats.Compute({}, {});
    EXPECT_FALSE(stats.HasRecords());
    EXPECT_TRUE(stats.GetSeries().empty());
}

TEST(ProgressStats, EachTestsShareOfMisspellingsThatSoundRightOldestFirst)
{
    struct Case {
        std::string dataPath; // empty: where espeak-ng was installed
        bool unavailable;
        std::vector<float> percents;
    };
    TempFolder empty;
    // The engine that can't start first: espeak-ng can be started only once in a process.
    const Case cases[] = {{empty.Path(), true, {}}, {"", false, {0.0f, 200.0f / 3.0f, 100.0f}}};
    // Newest first; the test of "Time Error" can't be placed in time.
    const char* const records[][4] = {
        {"week2", "12/15/26, 09:00 AM", "phone", "fone"}, {"week2", "Time Error", "birds", "berds"},
        {"week2", "12/08/26, 09:00 AM", "birds", "berds"}, {"week2", "12/08/26, 09:00 AM", "knife", "nife"},
        {"week2", "12/08/26, 09:00 AM", "stop", "stog"},   {"week1", "12/01/26, 09:00 AM", "birds", "brids"},
        {"week1", "12/01/26, 09:00 AM", "stop", "stog"}};
    COwnedList<CMissed> missed;
    for (const auto& r : records)
        missed.push_back(Missed(r[0], r[1], r[2], r[3]));
    CProgressStats withoutSounds;
    withoutSounds.Compute({}, missed);
    EXPECT_TRUE(withoutSounds.GetSoundShares().empty());
    for (const Case& c : cases) {
        CSpeechEngine engine;
        engine.SetDataPath(c.dataPath);
        CSoundComparison sounds(engine);
        CProgressStats stats;
        stats.Compute({}, missed, &sounds);
        EXPECT_EQ(stats.SoundsUnavailable(), c.unavailable);
        std::vector<float> percents;
        for (const CProgressStats::SoundShare& share : stats.GetSoundShares())
            percents.push_back(share.Percent());
        EXPECT_EQ(percents, c.percents) << c.dataPath;
        // The other figures are the same with or without sounds.
        EXPECT_EQ(stats.GetRuleCounts(), withoutSounds.GetRuleCounts());
        EXPECT_EQ(stats.GetMostMissed().size(), withoutSounds.GetMostMissed().size());
        if (!c.unavailable) {
            EXPECT_EQ(stats.GetSoundShares()[1].misspellings, 3);
            EXPECT_EQ(stats.GetSoundShares()[0].list, "week1");
            EXPECT_LT(stats.GetSoundShares()[1].minutes, stats.GetSoundShares()[2].minutes);
        }
    }
}

// The tables behind the charts, as a screen reader reads them: the same figures.
TEST(ProgressStats, TheChartTablesHoldTheFiguresOfTheRecords)
{
    COwnedList<CGrade> grades; // newest first
    grades.push_back(Grade("week1--Stopped Test", "12/09/26, 09:00 AM", 1, 10));
    grades.push_back(Grade("week1", "Time Error", 5, 10));
    grades.push_back(Grade("week2", "12/07/26, 09:15 AM", 3, 4));
    grades.push_back(Grade("week3", "12/07/26, 09:00 AM", 0, 4));
    grades.push_back(Grade("week1", "12/06/26, 06:02 PM", 2, 3));
    COwnedList<CMissed> missed;
    for (int i = 0; i < 3; ++i)
        missed.push_back(Missed("week1", "d", "friend", "freind"));
    missed.push_back(Missed("week1", "d", "cake", "cak"));
    missed.push_back(Missed("week1", "d", "cake", "cak"));
    missed.push_back(Missed("week1", "d", "", "x"));
    CProgressStats stats;
    stats.Compute(grades, missed);

    using Rows = std::vector<std::vector<std::string>>;
    const struct {
        CProgressTable::Kind kind;
        std::vector<std::string> headers;
        Rows rows;
    } tables[] = {
        {CProgressTable::Grades,
         {"Test", "Date", "Spelling List", "Grade (%)", "Test Was", "Sound Right (%)"},
         {{"1", "6 Dec 2026, 6:02 PM", "week1", "67", "finished", ""},
          {"2", "7 Dec 2026, 9:00 AM", "week3", "0", "finished", ""},
          {"3", "7 Dec 2026, 9:15 AM", "week2", "75", "finished", ""},
          {"4", "9 Dec 2026, 9:00 AM", "week1", "10", "stopped", ""}}},
        {CProgressTable::Rules,
         {"Spelling Rule", "Misspellings"},
         {{CRuleGroups::Name(R::IeEi), "3"}, {CRuleGroups::Name(R::MissingLetters), "2"},
          {CRuleGroups::Name(R::NoRule), "1"}}},
        {CProgressTable::Missed, {"Word", "Times Missed"}, {{"friend", "3"}, {"cake", "2"}, {"(no word)", "1"}}},
    };
    for (const auto& t : tables) {
        CProgressTable table(t.kind);
        table.SetStats(&stats);
        std::vector<std::string> headers;
        for (int c = 0; c < table.columnCount(); ++c)
            headers.push_back(table.headerData(c, Qt::Horizontal).toString().toStdString());
        EXPECT_EQ(headers, t.headers) << table.Title().toStdString();
        Rows rows;
        for (int r = 0; r < table.rowCount(); ++r) {
            rows.emplace_back();
            for (int c = 0; c < table.columnCount(); ++c)
                rows.back().push_back(table.index(r, c).data().toString().toStdString());
        }
        EXPECT_EQ(rows, t.rows) << table.Title().toStdString();
    }
}
}

// The stubborn words of the learner's memory with their counts, the most missed first;
// their chart takes the ten missed most.
TEST(ProgressStats, StubbornWordsComeFromTheMemoryWithTheirCounts)
{
    const struct {
        std::string word;
        int highestBox;
        std::uint32_t missed;
        std::uint32_t asked;
    } words[] = {
        {"receive", 2, 5, 6},
        {"friend", 1, 4, 4},
        {"because", 2, 5, 9},
        {"said", 3, 6, 8}, // once in box 3: it was learned
        {"cat", 2, 3, 3},  // not missed often enough
    };
    CWordMemory memory;
    for (const auto& w : words) {
        CWordMemory::Entry entry;
        entry.word = w.word;
        entry.highestBox = w.highestBox;
        entry.missed = w.missed;
        entry.asked = w.asked;
        ASSERT_TRUE(memory.Add(entry)) << w.word;
    }
    CProgressStats stats;
    stats.Compute({}, {}, nullptr, &memory);
    CProgressTable table(CProgressTable::Stubborn);
    table.SetStats(&stats);
    std::vector<std::string> cells;
    for (int c = 0; c < table.columnCount(); ++c)
        cells.push_back(table.headerData(c, Qt::Horizontal).toString().toStdString());
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.columnCount(); ++c)
            cells.push_back(table.index(r, c).data().toString().toStdString());
    EXPECT_EQ(cells, (std::vector<std::string>{"Word", "Missed", "Asked", "because", "5", "9", "receive",
                                               "5", "6", "friend", "4", "4"}));
    EXPECT_EQ(stats.StubbornBars(), (CProgressStats::Bars{{"because", 5}, {"receive", 5}, {"friend", 4}}));

    for (std::uint32_t i = 0; i < 10; ++i) {
        CWordMemory::Entry entry;
        entry.word = "word" + std::to_string(i);
        entry.missed = entry.asked = 10 + i;
        ASSERT_TRUE(memory.Add(entry));
    }
    stats.Compute({}, {}, nullptr, &memory);
    EXPECT_EQ(stats.GetStubbornWords().size(), 13u);
    const CProgressStats::Bars bars = stats.StubbornBars();
    ASSERT_EQ(bars.size(), CProgressStats::kMostMissed);
    EXPECT_EQ(bars.front(), (std::pair<std::string, std::int64_t>{"word9", 19}));
    EXPECT_EQ(bars.back(), (std::pair<std::string, std::int64_t>{"word0", 10}));

    stats.Compute({}, {});
    EXPECT_TRUE(stats.GetStubbornWords().empty());
}
