// The test session with "Correct Mistakes": the correction steps, the second asks, and
// the unchanged flow with the setting off.
#include "model/ModelTestSupport.h"
#include "spelltest/CTestSession.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using State = CTestSession::State;
using Kind = CTestSession::CheckKind;

class Correction : public ::testing::Test {
protected:
    void StartWith(const std::vector<std::string>& words, bool correctMistakes)
    {
        for (const std::string& word : words)
            list.push_back(Entry("teacher", "/sounds", word));
        session.Reset(int32_t(list.size()), false, correctMistakes);
        ASSERT_TRUE(session.Start(list, "week1"));
    }
    bool Check(const std::string& answer)
    {
        session.SetAnswer(answer);
        return session.Check("Ann", missed);
    }

    // Takes the whole test: a word in wrongFirst is misspelled when first asked, and its
    // mistake corrected at once. Returns the answers list.
    std::vector<std::string> TakeTest(const std::set<std::string>& wrongFirst, bool wrongAgain = false)
    {
        std::vector<std::string> answers;
        do {
            const std::string word = session.GetCurrentWord();
            const bool wrong = session.IsSecondAsk() ? wrongAgain : wrongFirst.count(word) != 0;
            Check(wrong ? word + "x" : word);
            answers.push_back(session.GetAnswerLine());
            if (session.GetState() == State::CopyWord) {
                Check(word);
                Check(word);
            }
            EXPECT_EQ(session.GetState(), State::Answered) << word;
        } while (session.Next("Ann", grades) == CTestSession::NextResult::NextWord);
        return answers;
    }

    CTestSession session;
    COwnedList<CSpellingList> list;
    COwnedList<CMissed> missed;
    COwnedList<CGrade> grades;
};

const std::string kVerdict = "Sorry wrong Answer.\r\nThe correct spelling is cat.";
const std::string kCopy = kVerdict + "\r\nCopy the word, then press Check.";
const std::string kFromMemory = "Now spell it from memory, then press Check.";

TEST_F(Correction, AWrongAnswerIsCopiedThenSpelledFromMemoryUntilRight)
{
    StartWith({"cat", "dog"}, true);
    struct Step {
        const char* answer;
        Kind kind;
        bool right;
        State state;
        std::string status;
    } const steps[] = {
        {"kat", Kind::FirstAsk, false, State::CopyWord, kCopy},
        {"cta", Kind::Copy, false, State::CopyWord, kCopy},
        {"cat", Kind::Copy, true, State::SpellFromMemory, kFromMemory},
        {"catt", Kind::FromMemory, false, State::CopyWord, kCopy},
        {"cat", Kind::Copy, true, State::SpellFromMemory, kFromMemory},
        {"cat", Kind::FromMemory, true, State::Answered, "Well done."},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(Check(step.answer), step.right) << step.answer;
        EXPECT_EQ(session.GetLastCheck(), step.kind) << step.answer;
        EXPECT_EQ(session.GetState(), step.state) << step.answer;
        EXPECT_EQ(session.GetStatus(), step.status) << step.answer;
        EXPECT_EQ(session.IsWordHidden(), step.state == State::SpellFromMemory) << step.answer;
        // The box is emptied for every step to come; the last answer stays shown.
        EXPECT_EQ(session.GetAnswer(), step.state == State::Answered ? step.answer : "") << step.answer;
        // Only the first answer counts: the list line, the score, the record.
        EXPECT_EQ(session.GetAnswerLine(), "kat");
        EXPECT_EQ(session.GetScoreText(), "0.00 %");
        EXPECT_EQ(session.GetNumberCorrect(), 0);
        ASSERT_EQ(missed.size(), 1u);
        EXPECT_EQ(missed[0]->m_misspelling, "kat");
    }
    // A correction can be left at any step.
    EXPECT_EQ(session.Next("Ann", grades), CTestSession::NextResult::NextWord);
    Check("dgo");
    Check("dog");
    EXPECT_EQ(session.GetState(), State::SpellFromMemory);
    EXPECT_EQ(session.Next("Ann", grades), CTestSession::NextResult::NextWord);
    EXPECT_EQ(session.GetCurrentWord(), "cat");
    EXPECT_TRUE(session.IsSecondAsk());
}

struct AgainCase {
    std::string name;
    std::vector<std::string> words;
    std::set<std::string> wrongFirst;
    bool wrongAgain;
    std::vector<std::string> answers;
};

void PrintTo(const AgainCase& c, std::ostream* os) { *os << c.name; }

class AskedAgain : public Correction, public ::testing::WithParamInterface<AgainCase> {};

TEST_P(AskedAgain, AfterThreeMoreWordsOrAtTheEndWithoutChangingScoreCountOrRecords)
{
    const AgainCase& c = GetParam();
    StartWith(c.words, true);
    EXPECT_EQ(TakeTest(c.wrongFirst, c.wrongAgain), c.answers);
    const int32_t right = int32_t(c.words.size() - c.wrongFirst.size());
    EXPECT_EQ(session.GetWordNumber(), int32_t(c.words.size()));
    EXPECT_EQ(session.GetScoreText(), CTestSession::FormatScore(right, int32_t(c.words.size())));
    EXPECT_EQ(missed.size(), c.wrongFirst.size());
    ASSERT_EQ(grades.size(), 1u);
    EXPECT_EQ(grades[0]->m_correct, right);
    EXPECT_EQ(grades[0]->m_words, int32_t(c.words.size()));
    ASSERT_EQ(session.GetFirstAttempts().size(), c.words.size());
    for (size_t i = 0; i < c.words.size(); ++i) {
        EXPECT_EQ(session.GetFirstAttempts()[i].word, c.words[i]);
        EXPECT_EQ(session.GetFirstAttempts()[i].right, c.wrongFirst.count(c.words[i]) == 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    , AskedAgain,
    ::testing::Values(
        AgainCase{"after three more words", {"cat", "dog", "bird", "fish", "owl"}, {"cat"}, false,
                  {"catx", "dog", "bird", "fish", "cat (again)", "owl"}},
        AgainCase{"two misses in a row", {"cat", "dog", "bird", "fish", "owl"}, {"cat", "dog"}, false,
                  {"catx", "dogx", "bird", "fish", "cat (again)", "owl", "dog (again)"}},
        AgainCase{"at the end when fewer remain", {"cat", "dog", "bird"}, {"dog"}, false,
                  {"cat", "dogx", "bird", "dog (again)"}},
        AgainCase{"the last word", {"cat"}, {"cat"}, false, {"catx", "cat (again)"}},
        AgainCase{"missed again is asked no more", {"cat", "dog"}, {"cat", "dog"}, true,
                  {"catx", "dogx", "catx (again)", "dogx (again)"}},
        AgainCase{"none missed", {"cat", "dog"}, {}, false, {"cat", "dog"}}),
    NamedCase());

TEST_F(Correction, WithTheSettingOffAWrongAnswerEndsTheQuestionAsAlways)
{
    StartWith({"cat", "dog"}, false);
    EXPECT_FALSE(Check("kat"));
    EXPECT_EQ(session.GetState(), State::Answered);
    EXPECT_EQ(session.GetStatus(), kVerdict);
    EXPECT_EQ(session.GetAnswer(), "kat");
    EXPECT_FALSE(Check("cat")); // nothing to correct
    EXPECT_EQ(session.GetLastCheck(), Kind::None);
    EXPECT_EQ(session.Next("Ann", grades), CTestSession::NextResult::NextWord);
    EXPECT_EQ(session.GetCurrentWord(), "dog");
    Check("dgo");
    EXPECT_EQ(session.GetState(), State::Answered);
    EXPECT_EQ(session.Next("Ann", grades), CTestSession::NextResult::TestEnded);
    EXPECT_EQ(session.GetStatus(), CTestSession::kEndText);
}

TEST_F(Correction, AStoppedTestKeepsTheFirstAnswersGiven)
{
    StartWith({"cat", "dog", "bird", "fish", "owl"}, true);
    const std::vector<std::string> order = {"cat", "dog", "bird", "fish", "cat"};
    for (const std::string& word : order) {
        ASSERT_EQ(session.GetCurrentWord(), word);
        Check(word == "cat" ? "kat" : word);
        session.Next("Ann", grades);
    }
    // "owl" was asked but not answered: it has no first answer to move it.
    session.Stop("Ann", grades);
    ASSERT_EQ(session.GetFirstAttempts().size(), 4u);
    EXPECT_FALSE(session.GetFirstAttempts()[0].right);
    EXPECT_EQ(session.GetFirstAttempts()[3].word, "fish");
    EXPECT_EQ(grades[0]->m_listName, "week1--Stopped Test");
}

} // namespace
