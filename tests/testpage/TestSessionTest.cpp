#include "RecordBuilders.h"
#include "spelltest/CTestSession.h"
#include "TimeZone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

COwnedList<CSpellingList> MakeList(std::initializer_list<const char*> words, const std::string& folder = "/sounds")
{
    COwnedList<CSpellingList> list;
    for (const char* word : words) {
        auto entry = std::make_unique<CSpellingList>();
        entry->m_author = "teacher";
        entry->m_soundFolder = folder;
        entry->m_word = word;
        list.push_back(std::move(entry));
    }
    return list;
}

// Runs the whole test, answering each word with answerFor(word); returns the words
// in the order they were asked.
template <class AnswerFor>
std::vector<std::string> TakeTest(CTestSession& session, const std::string& user, COwnedList<CMissed>& missed,
                                  COwnedList<CGrade>& grades, AnswerFor answerFor)
{
    std::vector<std::string> asked;
    for (;;) {
        asked.push_back(session.GetCurrentWord());
        session.SetAnswer(answerFor(session.GetCurrentWord()));
        session.Check(user, missed);
        if (session.Next(user, grades) == CTestSession::NextResult::TestEnded)
            return asked;
    }
}

// Local time is UTC for the date stamp tests, whatever the machine says.
using UtcZone = TimeZone;

class TestSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        session.SetClock([] { return std::time_t(1796580120); }); // 2026-12-06 18:02:00 UTC
    }

    void StartWith(std::initializer_list<const char*> words, bool randomize = false)
    {
        list = MakeList(words);
        session.Reset(int32_t(list.size()), randomize);
        ASSERT_TRUE(session.Start(list, "week1"));
    }

    UtcZone zone;
    CTestSession session;
    COwnedList<CSpellingList> list;
    COwnedList<CMissed> missed;
    COwnedList<CGrade> grades;
};

TEST_F(TestSession, ResetTellsWhetherThereIsAListToTake)
{
    session.Reset(0, false);
    EXPECT_EQ(session.GetStatus(), "No Spelling List ...\r\nPlease Open or Create a List");
    session.Reset(3, true);
    EXPECT_EQ(session.GetStatus(), "Click Start button to take a test.");
    EXPECT_EQ(session.GetState(), CTestSession::State::Idle);
    EXPECT_EQ(session.GetWordNumber(), 0);
    EXPECT_EQ(session.GetNumberOfWords(), 3);
    EXPECT_TRUE(session.GetRandomize());
    EXPECT_EQ(session.GetScoreText(), "");
    EXPECT_EQ(session.GetDateStamp(), "");
}

TEST_F(TestSession, StartAsksTheFirstWordOfPrivateCopies)
{
    StartWith({"cat", "dog", "bird"});
    EXPECT_EQ(session.GetState(), CTestSession::State::AwaitingAnswer);
    EXPECT_EQ(session.GetStatus(), "Ready.\r\nClick LISTEN to hear word--\r\nThen type your answer in spell it.");
    EXPECT_EQ(session.GetWordNumber(), 1);
    EXPECT_EQ(session.GetCurrentWord(), "cat");
    EXPECT_EQ(session.GetListName(), "week1");
    EXPECT_EQ(session.GetDateStamp(), "12/06/26, 06:02 PM");
    ASSERT_EQ(session.GetTestList().size(), 3u);
    EXPECT_EQ(session.GetTestList()[0]->m_author, "teacher");
    EXPECT_EQ(session.GetTestList()[0]->m_soundFolder, "/sounds");

    // The document's list may change or go; the test keeps its own entries.
    list.front()->m_word = "changed";
    list.clear();
    EXPECT_EQ(session.GetCurrentWord(), "cat");
    EXPECT_EQ(session.GetTestList()[0]->m_word, "cat");
}

TEST_F(TestSession, StartWithAnEmptyListFailsAndStaysIdle)
{
    for (bool randomize : {false, true}) {
        session.Reset(0, randomize);
        EXPECT_FALSE(session.Start(list, "week1"));
        EXPECT_EQ(session.GetState(), CTestSession::State::Idle);
        EXPECT_EQ(session.GetStatus(), CTestSession::kNoListText);
        EXPECT_EQ(session.GetDateStamp(), "");
        EXPECT_EQ(session.GetCurrentEntry(), nullptr);
    }
}

TEST_F(TestSession, RightWrongRightScoresOverTheWholeList)
{
    StartWith({"cat", "dog", "bird"});
    session.SetAnswer("cat");
    EXPECT_TRUE(session.Check("ann", missed));
    EXPECT_EQ(session.GetStatus(), "You got it right!");
    EXPECT_EQ(session.GetScoreText(), "33.33 %");
    EXPECT_EQ(session.GetState(), CTestSession::State::Answered);
    EXPECT_EQ(session.Next("ann", grades), CTestSession::NextResult::NextWord);
    EXPECT_EQ(session.GetStatus(), "Ready\r\nClick LISTEN to hear word.\r\nThen type your answer in spell it.");
    EXPECT_EQ(session.GetAnswer(), "");

    session.SetAnswer("dgo");
    EXPECT_FALSE(session.Check("ann", missed));
    EXPECT_EQ(session.GetStatus(), "Sorry wrong Answer.\r\nThe correct spelling is dog.");
    EXPECT_EQ(session.GetScoreText(), "33.33 %");
    ASSERT_EQ(missed.size(), 1u);
    EXPECT_EQ(missed[0]->m_listName, "week1");
    EXPECT_EQ(missed[0]->m_date, "12/06/26, 06:02 PM");
    EXPECT_EQ(missed[0]->m_word, "dog");
    EXPECT_EQ(missed[0]->m_misspelling, "dgo");
    session.Next("ann", grades);

    session.SetAnswer("bird");
    EXPECT_TRUE(session.Check("ann", missed));
    EXPECT_EQ(session.GetScoreText(), "66.67 %");
    EXPECT_TRUE(grades.empty());
    EXPECT_EQ(session.Next("ann", grades), CTestSession::NextResult::TestEnded);
    EXPECT_EQ(session.GetStatus(), "End of Test.  Check out your final score.\r\nClick Start to redo test.");
    EXPECT_EQ(session.GetState(), CTestSession::State::Idle);
    ASSERT_EQ(grades.size(), 1u);
    EXPECT_EQ(grades[0]->m_listName, "week1");
    EXPECT_EQ(grades[0]->m_date, "12/06/26, 06:02 PM");
    EXPECT_EQ(grades[0]->m_correct, 2);
    EXPECT_EQ(grades[0]->m_words, 3);
    EXPECT_EQ(missed.size(), 1u);
}

struct AnswerCase {
    const char* word;
    const char* answer;
    bool right;
};

class AnswerJudging : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(AnswerJudging, ComparesByteForByte)
{
    const AnswerCase& c = GetParam();
    CTestSession session;
    COwnedList<CSpellingList> list = MakeList({c.word});
    COwnedList<CMissed> missed;
    session.Reset(1, false);
    ASSERT_TRUE(session.Start(list, "week1"));
    session.SetAnswer(c.answer);
    EXPECT_EQ(session.Check("ann", missed), c.right);
    EXPECT_EQ(missed.size(), c.right ? 0u : 1u);
    if (!c.right) {
        EXPECT_EQ(missed[0]->m_misspelling, c.answer);
    }
}

INSTANTIATE_TEST_SUITE_P(, AnswerJudging,
                         ::testing::Values(AnswerCase{"cat", "cat", true}, AnswerCase{"cat", "Cat", false},
                                           AnswerCase{"Paris", "paris", false}, AnswerCase{"cat", "cat ", false},
                                           AnswerCase{"cat", " cat", false}, AnswerCase{"cat", "", false},
                                           AnswerCase{"caf\xe9", "caf\xe9", true},
                                           AnswerCase{"caf\xe9", "cafe", false},
                                           AnswerCase{"na\xefve", "na\xcfve", false}));

TEST_F(TestSession, StopStoresTheResultSoFarAgainstTheWholeList)
{
    StartWith({"cat", "dog", "bird"});
    session.SetAnswer("cat");
    session.Check("ann", missed);
    session.Stop("ann", grades);
    ASSERT_EQ(grades.size(), 1u);
    EXPECT_EQ(grades[0]->m_listName, "week1--Stopped Test");
    EXPECT_EQ(grades[0]->m_date, "12/06/26, 06:02 PM");
    EXPECT_EQ(grades[0]->m_correct, 1);
    EXPECT_EQ(grades[0]->m_words, 3);
    EXPECT_EQ(session.GetStatus(), "Try Again.  Click Start button.");
    EXPECT_EQ(session.GetState(), CTestSession::State::Idle);
    EXPECT_EQ(session.GetWordNumber(), 0);
    EXPECT_EQ(session.GetNumberCorrect(), 0);
    EXPECT_EQ(session.GetScoreText(), "");
    EXPECT_EQ(session.GetCurrentEntry(), nullptr);
    EXPECT_EQ(session.SoundPath(), "");
}

TEST_F(TestSession, StepsOutOfTurnChangeNothing)
{
    session.Reset(3, false);
    session.Stop("ann", grades);
    EXPECT_EQ(session.Next("ann", grades), CTestSession::NextResult::Ignored);
    EXPECT_FALSE(session.Check("ann", missed));
    EXPECT_TRUE(grades.empty());
    EXPECT_TRUE(missed.empty());

    StartWith({"cat", "dog"});
    EXPECT_FALSE(session.Start(list, "again"));
    EXPECT_EQ(session.Next("ann", grades), CTestSession::NextResult::Ignored);
    session.SetAnswer("x");
    session.Check("ann", missed);
    // A second check of the same answer would count it twice.
    EXPECT_FALSE(session.Check("ann", missed));
    EXPECT_EQ(missed.size(), 1u);
    EXPECT_EQ(session.GetWordNumber(), 1);
}

TEST_F(TestSession, NobodyLoggedInGetsTheSameTextsAndNoRecords)
{
    StartWith({"cat", "dog"});
    session.SetAnswer("kat");
    session.Check("", missed);
    EXPECT_EQ(session.GetStatus(), "Sorry wrong Answer.\r\nThe correct spelling is cat.");
    EXPECT_EQ(session.GetScoreText(), "0.00 %");
    session.Next("", grades);
    session.SetAnswer("dog");
    session.Check("", missed);
    EXPECT_EQ(session.GetScoreText(), "50.00 %");
    EXPECT_EQ(session.Next("", grades), CTestSession::NextResult::TestEnded);
    EXPECT_EQ(session.GetStatus(), CTestSession::kEndText);
    StartWith({"cat"});
    session.Stop("", grades);
    EXPECT_TRUE(missed.empty());
    EXPECT_TRUE(grades.empty());
}

TEST_F(TestSession, RecordsComeNewestFirst)
{
    StartWith({"one", "two"});
    TakeTest(session, "ann", missed, grades, [](const std::string& w) { return w + "x"; });
    session.SetClock([] { return std::time_t(1796580120 + 3600); });
    StartWith({"three"});
    TakeTest(session, "ann", missed, grades, [](const std::string&) { return "wrong"; });

    ASSERT_EQ(missed.size(), 3u);
    EXPECT_EQ(missed[0]->m_word, "three");
    EXPECT_EQ(missed[1]->m_word, "two");
    EXPECT_EQ(missed[2]->m_word, "one");
    ASSERT_EQ(grades.size(), 2u);
    EXPECT_EQ(grades[0]->m_date, "12/06/26, 07:02 PM");
    EXPECT_EQ(grades[0]->m_words, 1);
    EXPECT_EQ(grades[1]->m_date, "12/06/26, 06:02 PM");
    EXPECT_EQ(grades[1]->m_words, 2);
}

TEST_F(TestSession, WithoutRandomiseTheTestFollowsTheList)
{
    StartWith({"a", "b", "c", "d", "e"});
    const auto asked = TakeTest(session, "", missed, grades, [](const std::string& w) { return w; });
    EXPECT_EQ(asked, (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(session.GetScoreText(), "100.00 %");
}

TEST_F(TestSession, ShuffledTestsAskEveryWordExactlyOnce)
{
    const std::vector<std::string> inOrder = {"a", "b", "c", "d", "e", "f", "g", "h"};
    std::set<std::vector<std::string>> orders;
    for (std::time_t second = 0; second < 200; ++second) {
        session.SetClock([second] { return 1796580120 + second; });
        StartWith({"a", "b", "c", "d", "e", "f", "g", "h"}, true);
        auto asked = TakeTest(session, "", missed, grades, [](const std::string& w) { return w; });
        orders.insert(asked);
        std::sort(asked.begin(), asked.end());
        ASSERT_EQ(asked, inOrder) << "seed " << second;
    }
    // A fresh seed each second gives other orders.
    EXPECT_GT(orders.size(), 100u);
}

TEST_F(TestSession, TheSameSecondShufflesTheSameWay)
{
    StartWith({"a", "b", "c", "d", "e", "f"}, true);
    const auto first = WordsOf(session.GetTestList());
    session.Stop("", grades);
    ASSERT_TRUE(session.Start(list, "week1"));
    EXPECT_EQ(WordsOf(session.GetTestList()), first);
}

TEST(TestSessionSlots, EachEntryTakesItsSlotOrTheNextFreeOne)
{
    const COwnedList<CSpellingList> entries = MakeList({"a", "b", "c"});
    COwnedList<CSpellingList> slots;
    for (int i = 0; i < 3; ++i)
        slots.push_back(std::make_unique<CSpellingList>());
    // Every draw is slot 2: a takes it, b moves on to 3, c wraps round to 1.
    ASSERT_TRUE(CTestSession::PlaceInSlots(entries, slots, [] { return 4; }));
    EXPECT_EQ(WordsOf(slots), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(slots[1]->m_soundFolder, "/sounds");
}

TEST(TestSessionSlots, MoreEntriesThanSlotsFails)
{
    const COwnedList<CSpellingList> entries = MakeList({"a", "b", "c", "d"});
    COwnedList<CSpellingList> slots;
    for (int i = 0; i < 3; ++i)
        slots.push_back(std::make_unique<CSpellingList>());
    int draws = 0;
    EXPECT_FALSE(CTestSession::PlaceInSlots(entries, slots, [&draws] { return draws++ * 7; }));
    EXPECT_EQ(draws, 4);

    COwnedList<CSpellingList> none;
    EXPECT_FALSE(CTestSession::PlaceInSlots(entries, none, [] { return 0; }));
    EXPECT_TRUE(CTestSession::PlaceInSlots(COwnedList<CSpellingList>(), none, [] { return 0; }));
}

TEST(TestSessionRandom, YieldsFifteenBitsLikeTheCLibrary)
{
    CTestSession::Random random = CTestSession::MakeRandom(1);
    EXPECT_EQ(random(), 41);
    EXPECT_EQ(random(), 18467);
    EXPECT_EQ(random(), 6334);
    for (uint32_t seed : {0u, 12345u, 0xFFFFFFFFu}) {
        random = CTestSession::MakeRandom(seed);
        for (int i = 0; i < 1000; ++i) {
            const int value = random();
            ASSERT_GE(value, 0);
            ASSERT_LE(value, 32767);
        }
    }
}

struct StampCase {
    std::time_t time;
    const char* stamp;
};

class DateStamp : public ::testing::TestWithParam<StampCase> {};

TEST_P(DateStamp, UsesMonthDayYearAndTwelveHourClock)
{
    UtcZone zone;
    EXPECT_EQ(CTestSession::FormatDateStamp(GetParam().time), GetParam().stamp);
}

INSTANTIATE_TEST_SUITE_P(, DateStamp,
                         ::testing::Values(StampCase{1796580120, "12/06/26, 06:02 PM"},
                                           StampCase{1767917100, "01/09/26, 12:05 AM"},
                                           StampCase{1783168259, "07/04/26, 12:30 PM"},
                                           StampCase{0, "01/01/70, 12:00 AM"}));

// An installed locale other than C for LC_TIME and LC_NUMERIC, or one compiled for
// this test when the machine has only C; null when neither works.
const char* UseOtherLocale(const std::string& scratch)
{
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "fr_FR"})
        if (std::setlocale(LC_TIME, name) && std::setlocale(LC_NUMERIC, name))
            return name;
    const std::string command = "localedef -i de_DE -f UTF-8 '" + scratch + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return nullptr;
    setenv("LOCPATH", scratch.c_str(), 1);
    if (std::setlocale(LC_TIME, "de_DE.UTF-8") && std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        return "de_DE.UTF-8";
    return nullptr;
}

// The program's Qt application takes the user's locale at start; records written
// under it must still read "12/06/26, 06:02 PM" and "66.67 %".
TEST(DateStampLocale, DateAndScoreStayInTheCLocaleUnderAnotherLocale)
{
    const std::string oldTime = std::setlocale(LC_TIME, nullptr);
    const std::string oldNumeric = std::setlocale(LC_NUMERIC, nullptr);
    char scratch[] = "/tmp/kelto4-locale-XXXXXX";
    ASSERT_NE(mkdtemp(scratch), nullptr);
    const std::string removeScratch = "rm -rf '" + std::string(scratch) + "'";
    const char* other = UseOtherLocale(scratch);
    if (!other) {
        std::setlocale(LC_TIME, oldTime.c_str());
        std::setlocale(LC_NUMERIC, oldNumeric.c_str());
        EXPECT_EQ(std::system(removeScratch.c_str()), 0);
        GTEST_SKIP() << "no locale other than C can be used";
    }
    const std::time_t when = 1796580120;
    std::tm utc{};
    gmtime_r(&when, &utc);
    char native[64];
    std::strftime(native, sizeof native, "%x, %I:%M %p", &utc);
    char nativeScore[32];
    std::snprintf(nativeScore, sizeof nativeScore, "%3.2f %%", 200.0 / 3.0);

    UtcZone zone;
    const std::string stamp = CTestSession::FormatDateStamp(when);
    const std::string score = CTestSession::FormatScore(2, 3);
    std::setlocale(LC_TIME, oldTime.c_str());
    std::setlocale(LC_NUMERIC, oldNumeric.c_str());
    unsetenv("LOCPATH");
    EXPECT_EQ(std::system(removeScratch.c_str()), 0);

    // Proof that the locale in use formats otherwise.
    EXPECT_NE(std::string(native), "12/06/26, 06:02 PM") << other;
    EXPECT_NE(std::string(nativeScore), "66.67 %") << other;
    EXPECT_EQ(stamp, "12/06/26, 06:02 PM") << "under " << other;
    EXPECT_EQ(score, "66.67 %") << "under " << other;
}

TEST(DateStampLocale, TimeThatCannotBeShownBecomesTimeError)
{
    EXPECT_EQ(CTestSession::FormatDateStamp(std::numeric_limits<std::time_t>::max()), "Time Error");

    CTestSession session;
    session.SetClock([] { return std::numeric_limits<std::time_t>::max(); });
    const COwnedList<CSpellingList> list = MakeList({"cat"});
    session.Reset(1, false);
    ASSERT_TRUE(session.Start(list, "week1"));
    EXPECT_EQ(session.GetDateStamp(), "Time Error");
    EXPECT_EQ(session.GetState(), CTestSession::State::AwaitingAnswer);
}

struct ScoreCase {
    int32_t correct;
    int32_t words;
    const char* text;
};

class Score : public ::testing::TestWithParam<ScoreCase> {};

TEST_P(Score, ShowsTwoDecimalsAndAPercentSign)
{
    EXPECT_EQ(CTestSession::FormatScore(GetParam().correct, GetParam().words), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(, Score,
                         ::testing::Values(ScoreCase{0, 3, "0.00 %"}, ScoreCase{1, 3, "33.33 %"},
                                           ScoreCase{2, 3, "66.67 %"}, ScoreCase{3, 3, "100.00 %"},
                                           ScoreCase{1, 8, "12.50 %"}, ScoreCase{5, 7, "71.43 %"},
                                           ScoreCase{0, 0, "0.00 %"}));

TEST_F(TestSession, TheSoundFileIsFolderSlashWordDotWav)
{
    list = MakeList({"cat"}, "/home/ann/sounds/");
    session.Reset(1, false);
    ASSERT_TRUE(session.Start(list, "week1"));
    EXPECT_EQ(session.SoundPath(), "/home/ann/sounds/cat.wav");
}

TEST_F(TestSession, AListThatGrewUnannouncedEndsWithTheWordsAsked)
{
    list = MakeList({"a", "b", "c"});
    session.Reset(1, false); // counted before two words were added
    ASSERT_TRUE(session.Start(list, "week1"));
    const auto asked = TakeTest(session, "ann", missed, grades, [](const std::string& w) { return w; });
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_EQ(session.GetScoreText(), "100.00 %");
    EXPECT_EQ(grades[0]->m_words, 3);
}

} // namespace
