// The class view's figures and `kelto4-tool class`, on a user folder that the program's own
// writers made: the user file through its lock, the record files and word memories as the
// document saves them.
#include "model/CAtomicFile.h"
#include "model/CUserRecordFiles.h"
#include "model/CWordMemoryFile.h"
#include "model/ModelTestSupport.h"
#include "reports/CClassStats.h"
#include "reports/CReportExport.h"
#include "sound/CSpeechEngine.h"
#include "spelling/CSoundComparison.h"
#include "users/CUserFile.h"

#include <fstream>

#include <sys/stat.h>

namespace {
using R = CRuleGroups;
const CCalendarDay kToday = *CCalendarDay::FromIso("2026-12-10");

class ClassFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        CUserFile users;
        ASSERT_TRUE(users.Open(folder.Path(), nullptr));
        for (const char* name : {"Zoe", "Andr\xE9", "Ben"}) {
            users.Users().push_back(std::make_unique<CUser>());
            users.Users().back()->m_name = name;
            users.Users().back()->m_password = " ";
        }
        ASSERT_TRUE(users.Save());
        users.Close();

        // Newest first. The trend sees the five newest (50 to 90: up); the average all six.
        Save("Zoe",
             {{"week6", "12/09/26, 09:00 AM", 9}, {"week5", "12/08/26, 09:00 AM", 8}, {"week4", "12/07/26, 09:00 AM", 7},
              {"week3", "12/06/26, 09:00 AM", 6}, {"week2", "12/05/26, 09:00 AM", 5}, {"week1", "11/01/26, 09:00 AM", 10}},
             {{"12/09/26, 09:00 AM", "friend", "freind"}, {"12/08/26, 09:00 AM", "friend", "freind"},
              {"12/05/26, 09:00 AM", "horses", "horss"}, {"11/01/26, 09:00 AM", "birds", "berds"}});
        Remember("Zoe", {{"due", 1, 0, 0}, {"overdue", 2, -3, 0}, {"later", 3, 4, 0}, {"stubborn", 1, 1, 5}});
        // Tests of three words each: 100, 67, 33, oldest first.
        Save("Andr\xE9",
             {{"week3", "12/09/26, 09:00 AM", 1, 3}, {"week2", "12/08/26, 09:00 AM", 2, 3},
              {"week1", "12/07/26, 09:00 AM", 3, 3}},
             {{"12/09/26, 09:00 AM", "caf\xE9", "cafe"}, {"12/09/26, 09:00 AM", "stop", "stog"},
              {"12/09/26, 09:00 AM", "friend", "freind"}});
        Remember("Amy", {{"due", 1, 0, 0}});
        Save("Dan", {{"week1", "12/09/26, 09:00 AM", 10}}, {});
    }

    struct G {
        const char* list;
        const char* date;
        int correct;
        int words = 10;
    };
    struct M {
        const char* date;
        const char* word;
        const char* misspelling;
    };
    void Save(const std::string& name, std::initializer_list<G> grades, std::initializer_list<M> missed)
    {
        COwnedList<CGrade> g;
        COwnedList<CMissed> m;
        for (const G& grade : grades)
            g.push_back(Grade(grade.list, grade.date, grade.correct, grade.words));
        for (const M& record : missed)
            m.push_back(Missed("week", record.date, record.word, record.misspelling));
        ASSERT_TRUE(CUserRecordFiles::Save(folder.Path(), name, g, m, nullptr));
    }
    struct W {
        const char* word;
        int box;
        int dueInDays;
        uint32_t missed;
    };
    void Remember(const std::string& name, std::initializer_list<W> words)
    {
        CWordMemory memory;
        for (const W& w : words)
            ASSERT_TRUE(memory.Add({w.word, w.box, w.box, kToday.AddDays(w.dueInDays), w.missed, w.missed, kToday}));
        ASSERT_TRUE(CWordMemoryFile::Write(CWordMemoryFile::Path(folder.Path(), name), memory, nullptr));
    }
    void Write(const std::string& file, const std::string& bytes)
    {
        std::ofstream(folder.File(file), std::ios::binary) << bytes;
    }
    void Damage()
    {
        const std::string missed = Slurp(CUserRecordFiles::MissedPath(folder.Path(), "Zoe"));
        Save("Cid", {{"week1", "12/09/26, 09:00 AM", 10}}, {{"12/09/26, 09:00 AM", "stop", "stog"}});
        const std::string cid = Slurp(folder.File("Cid.kt4"));
        Write("Cid.kt4", cid.substr(0, cid.size() - 1));
        Write("Dan.kt5", std::string("KT5M\x01\0\0\0\x09", 9));
        ASSERT_EQ(::mkfifo(folder.File("Eve.kt3").c_str(), 0600), 0);
        // Named on another system, in bytes that are no UTF-8.
        Write("Fay\xFF.kt3", "");
    }
    CClassStats Figures()
    {
        CClassStats stats;
        EXPECT_TRUE(stats.Compute(folder.Path(), kToday));
        stats.CompareSounds(sounds);
        return stats;
    }

    TempFolder folder;
    TempFolder scratch;
    CSpeechEngine engine;
    CSoundComparison sounds{engine};
};

// A figure as the table shows it: empty where there is none.
template <class T>
std::string Shown(const std::optional<T>& value)
{
    if (!value)
        return "";
    if constexpr (std::is_floating_point_v<T>)
        return CClassStats::Rounded(*value);
    else
        return std::to_string(*value);
}

TEST_F(ClassFolder, EveryLearnerHasTheFiguresOfTheirFiles)
{
    struct Row {
        const char* name;
        std::int64_t tests;
        const char* average;
        const char* last;
        const char* lastTest;
        const char* trend;
        const char* due;
        const char* stubborn;
        const char* rule;
        const char* soundsRight;
    };
    // The user file's learners in its order, then Amy (only a word memory) and Dan by name.
    const Row expected[] = {
        {"Zoe", 6, "75", "90", "12/09/26, 09:00 AM", "up", "2", "1", "i before e", "25"},
        {"Andr\xE9", 3, "67", "33", "12/09/26, 09:00 AM", "down", "", "", "Wrong letters", "33"},
        {"Ben", 0, "", "", "", "", "", "", "", ""},
        {"Amy", 0, "", "", "", "", "1", "0", "", ""},
        {"Dan", 1, "100", "100", "12/09/26, 09:00 AM", "", "", "", "", ""},
    };
    const CClassStats stats = Figures();
    ASSERT_EQ(stats.Learners().size(), std::size(expected));
    EXPECT_TRUE(stats.Problems().empty());
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Row& row = expected[i];
        const CClassStats::Learner& learner = stats.Learners()[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(learner.name, row.name);
        EXPECT_EQ(learner.tests, row.tests);
        EXPECT_EQ(Shown(learner.averageGrade), row.average);
        EXPECT_EQ(Shown(learner.lastGrade), row.last);
        EXPECT_EQ(learner.lastTest, row.lastTest);
        EXPECT_STREQ(CClassStats::TrendName(learner.trend), row.trend);
        EXPECT_EQ(Shown(learner.dueToday), row.due);
        EXPECT_EQ(Shown(learner.stubborn), row.stubborn);
        const std::optional<R::Rule> rule = learner.MostBrokenRule();
        EXPECT_STREQ(rule ? R::Name(*rule) : "", row.rule);
        EXPECT_EQ(Shown(learner.SoundsRight()), row.soundsRight);
    }
}

TEST_F(ClassFolder, MostMissedWordsGridAndGroupsOfTheLastThirtyDays)
{
    const CClassStats stats = Figures();
    std::vector<std::string> missed;
    for (const CClassStats::MissedWord& word : stats.MostMissed())
        missed.push_back(word.word + " " + std::to_string(word.times) + "/" + std::to_string(word.learners));
    EXPECT_EQ(missed, (std::vector<std::string>{"friend 3/2", "birds 1/1", "caf\xE9 1/1", "horses 1/1", "stop 1/1"}));

    EXPECT_EQ(stats.GridRules(), (std::vector<R::Rule>{R::IeEi, R::DoubleLetters, R::PluralEnding, R::LetterSwap}));
    EXPECT_EQ(stats.GridMost(), 2);
    const auto row = [&](std::size_t learner) {
        std::vector<std::int64_t> counts;
        for (const R::Rule rule : stats.GridRules())
            counts.push_back(stats.Learners()[learner].ruleCounts[rule]);
        return counts;
    };
    EXPECT_EQ(row(0), (std::vector<std::int64_t>{2, 1, 1, 1}));
    EXPECT_EQ(row(1), (std::vector<std::int64_t>{1, 0, 0, 2}));

    // Zoe's "berds" of 1 November is older than 30 days: no group for it from her.
    std::vector<std::string> groups;
    for (const CClassStats::Group& group : stats.Groups()) {
        std::string text = std::string(R::Name(group.rule)) + ":";
        for (const CClassStats::GroupMember& member : group.members)
            text += " " + stats.Learners()[member.learner].name + " " + std::to_string(member.misspellings);
        groups.push_back(text);
    }
    EXPECT_EQ(groups, (std::vector<std::string>{"i before e: Zoe 2 Andr\xE9 1", "Wrong letters: Andr\xE9 2",
                                                "Doubled letters: Zoe 1", "Plural endings: Zoe 1"}));
}

TEST_F(ClassFolder, TrendOfTheNewestFiveGrades)
{
    struct Case {
        std::vector<int> correct; // of 10 words, newest first
        const char* trend;
    };
    const Case cases[] = {
        {{}, ""},
        {{9, 1}, ""},                    // two grades say nothing yet
        {{5, 5, 4}, "up"},               // three are enough: 5 points a test
        {{5, 6, 5, 5, 5}, "flat"},       // one good test, then back: 1 point a test
        {{7, 6, 6, 5, 5}, "up"},         // 5 points a test
        {{3, 10, 10, 10, 10, 10}, "down"},
        {{5, 5, 5, 5, 5, 10}, "flat"},   // the sixth is too old to count
    };
    for (const Case& c : cases) {
        std::vector<G> grades;
        for (const int correct : c.correct)
            grades.push_back({"week", "12/09/26, 09:00 AM", correct});
        COwnedList<CGrade> records;
        for (const G& grade : grades)
            records.push_back(Grade(grade.list, grade.date, grade.correct, grade.words));
        ASSERT_TRUE(CUserRecordFiles::Save(scratch.Path(), "Kim", records, {}, nullptr));
        CClassStats stats;
        ASSERT_TRUE(stats.Compute(scratch.Path(), kToday));
        ASSERT_EQ(stats.Learners().size(), 1u);
        EXPECT_STREQ(CClassStats::TrendName(stats.Learners()[0].trend), c.trend) << c.correct.size();
    }
}

TEST_F(ClassFolder, DamagedFilesAreNamedAndLeftAloneWhileEveryOtherLearnerIsShown)
{
    Damage();
    const std::string cid = Slurp(folder.File("Cid.kt4"));
    const CClassStats stats = Figures();
    std::vector<std::string> names;
    for (const CClassStats::Learner& learner : stats.Learners())
        names.push_back(learner.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Zoe", "Andr\xE9", "Ben", "Amy", "Dan"}));
    std::vector<std::string> problems;
    for (const CClassStats::Problem& problem : stats.Problems())
        problems.push_back(problem.text);
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "Fay?.kt3 has a name from another computer that Keltora can't read, so it is left out.",
                            "Cid.kt4 is damaged, so Cid is not shown.",
                            "Dan.kt5 is damaged, so Dan's words due and stubborn words are not shown.",
                            "Eve.kt3 can't be read, so Eve is not shown.",
                        }));
    EXPECT_FALSE(stats.Learners()[4].dueToday);
    EXPECT_EQ(Shown(stats.Learners()[4].averageGrade), "100");
    // Only read: nothing is put aside or written.
    EXPECT_EQ(Slurp(folder.File("Cid.kt4")), cid);
    EXPECT_FALSE(CAtomicFile::Exists(folder.File("Cid.kt4.damaged")));
    EXPECT_FALSE(CAtomicFile::Exists(folder.File("Dan.kt5.damaged")));
}

TEST_F(ClassFolder, ToolWritesTheLearnerTableAsCsv)
{
    Damage();
    // Another copy holding the user file's lock doesn't keep the table waiting.
    CUserFile held;
    ASSERT_TRUE(held.Open(folder.Path(), nullptr));
    const ToolRun run = RunTool(KELTO4_TOOL, scratch, "class '" + folder.Path() + "' --date 2026-12-10");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, std::string("\xEF\xBB\xBF") + CReportExport::kClassHeader +
                           "\r\n"
                           "Zoe,6,75,90,2026-12-09 09:00,up,2,1,i before e,25\r\n"
                           "Andr\xC3\xA9,3,67,33,2026-12-09 09:00,down,,,Wrong letters,33\r\n"
                           "Ben,0,,,,,,,,\r\n"
                           "Amy,0,,,,,1,0,,\r\n"
                           "Dan,1,100,100,2026-12-09 09:00,,,,,\r\n");
    EXPECT_NE(run.err.find("Cid.kt4 is damaged"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Dan.kt5 is damaged"), std::string::npos) << run.err;

    EXPECT_EQ(RunTool(KELTO4_TOOL, scratch, "class '" + folder.File("nowhere") + "'").exitCode, 2);
    EXPECT_EQ(RunTool(KELTO4_TOOL, scratch, "class '" + folder.Path() + "' --date 2026-13-01").exitCode, 2);
    EXPECT_EQ(RunTool(KELTO4_TOOL, scratch, "class").exitCode, 2);
}
}
