// The test page through its real controls.
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "PageTestSupport.h"
#include "spelltest/CLineListBox.h"
#include "spelltest/CTest.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {
enum { kWordNumber = 1008, kCorrect = 1009, kWords = 1010, kScore = 1011, kAnswer = 1013, kStatus = 1014,
       kStart = 1018, kStop = 1004, kListen = 1012, kCheck = 1015, kNext = 1016, kAnswers = 1023, kRandomize = 1046 };

class TestPage : public ::testing::Test {
protected:
    void Open(const std::vector<std::string>& words, const std::string& user = "Ann")
    {
        doc.m_userName = user;
        AddWords(doc, words);
        page = std::make_unique<CTest>(&doc);
        page->show();
        page->activateWindow();
        page->OnInitialUpdate();
    }
    void Answer(const QString& text)
    {
        TypeInto(page.get(), kAnswer, text);
        Click(page.get(), kCheck);
    }
    CTestAppCore app;
    CKelto4Doc doc{app};
    CMessageLog log;
    std::unique_ptr<CTest> page;
};
}

TEST_F(TestPage, ThreeWordsRightWrongRightScoreAndLeaveOneMissedAndOneGrade)
{
    Open({"cat", "dog", "sun"});
    EXPECT_EQ(TextOf(page.get(), kStatus), "Click Start button to take a test.");
    Click(page.get(), kStart);
    EXPECT_TRUE(doc.m_testRunning);
    EXPECT_TRUE(doc.m_recordsChanged);
    EXPECT_EQ(TextOf(page.get(), kStatus), "Ready.\nClick LISTEN to hear word--\nThen type your answer in spell it.");
    Answer("cat");
    EXPECT_EQ(TextOf(page.get(), kScore), "33.33 %");
    EXPECT_EQ(TextOf(page.get(), kStatus), "You got it right!");
    Click(page.get(), kNext);
    EXPECT_EQ(TextOf(page.get(), kStatus), "Ready\nClick LISTEN to hear word.\nThen type your answer in spell it.");
    Answer("dgo");
    EXPECT_EQ(TextOf(page.get(), kScore), "33.33 %");
    EXPECT_EQ(TextOf(page.get(), kStatus), "Sorry wrong Answer.\nThe correct spelling is dog.");
    Click(page.get(), kNext);
    Answer("sun");
    EXPECT_EQ(TextOf(page.get(), kScore), "66.67 %");
    Click(page.get(), kNext);
    EXPECT_EQ(TextOf(page.get(), kStatus), "End of Test.  Check out your final score.\nClick Start to redo test.");
    EXPECT_FALSE(doc.m_testRunning);
    ASSERT_EQ(doc.m_missedList.size(), 1u);
    EXPECT_EQ(doc.m_missedList[0]->m_word, "dog");
    EXPECT_EQ(doc.m_missedList[0]->m_misspelling, "dgo");
    EXPECT_EQ(doc.m_missedList[0]->m_listName, "Untitled");
    ASSERT_EQ(doc.m_gradeList.size(), 1u);
    EXPECT_EQ(doc.m_gradeList[0]->m_correct, 2);
    EXPECT_EQ(doc.m_gradeList[0]->m_words, 3);
    EXPECT_EQ(doc.m_gradeList[0]->m_date, doc.m_missedList[0]->m_date);

    auto* answers = FindControl<CLineListBox>(page.get(), kAnswers);
    ASSERT_NE(answers, nullptr);
    ASSERT_EQ(answers->GetCount(), 3);
    EXPECT_EQ(answers->GetItemColor(0), 0x006400u);
    EXPECT_EQ(answers->GetItemColor(1), 0x0000CDu);
    EXPECT_EQ(answers->GetText(1), "dgo");
}

TEST_F(TestPage, CapitalsAndTrailingBlanksAreWrong)
{
    Open({"Friday", "cat"});
    Click(page.get(), kStart);
    Answer("friday");
    EXPECT_EQ(TextOf(page.get(), kStatus), "Sorry wrong Answer.\nThe correct spelling is Friday.");
    Click(page.get(), kNext);
    Answer("cat ");
    EXPECT_EQ(doc.m_missedList.size(), 2u);
    EXPECT_EQ(doc.m_missedList[0]->m_misspelling, "cat "); // newest first
}

TEST_F(TestPage, StopAfterTheFirstWordStoresAStoppedResultOfTheWholeList)
{
    Open({"cat", "dog", "sun"});
    Click(page.get(), kStart);
    Answer("cat");
    Click(page.get(), kStop);
    EXPECT_FALSE(doc.m_testRunning);
    EXPECT_EQ(TextOf(page.get(), kStatus), "Try Again.  Click Start button.");
    ASSERT_EQ(doc.m_gradeList.size(), 1u);
    EXPECT_EQ(doc.m_gradeList[0]->m_listName, "Untitled--Stopped Test");
    EXPECT_EQ(doc.m_gradeList[0]->m_correct, 1);
    EXPECT_EQ(doc.m_gradeList[0]->m_words, 3);
    EXPECT_TRUE(IsEnabled(page.get(), kStart));
    EXPECT_FALSE(IsEnabled(page.get(), kStop));
}

TEST_F(TestPage, ALearnerNotLoggedInGetsTheSameTextsAndNoRecords)
{
    Open({"cat"}, "");
    Click(page.get(), kStart);
    Answer("kat");
    EXPECT_EQ(TextOf(page.get(), kScore), "0.00 %");
    Click(page.get(), kNext);
    EXPECT_TRUE(doc.m_missedList.empty());
    EXPECT_TRUE(doc.m_gradeList.empty());
}

TEST_F(TestPage, AnEmptyListGivesTheErrorBoxWithTheExclamationIcon)
{
    Open({});
    EXPECT_EQ(TextOf(page.get(), kStatus), "No Spelling List ...\nPlease Open or Create a List");
    Click(page.get(), kStart);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].text, "Error with Spelling List.\n\rCheck list and try again.");
    EXPECT_EQ(log.entries[0].icon, MsgIcon::Exclamation);
    EXPECT_FALSE(doc.m_testRunning);
}

TEST_F(TestPage, InOrderTheTestFollowsTheList)
{
    Open({"one", "two", "three"});
    Click(page.get(), kStart);
    for (const char* w : {"one", "two", "three"}) {
        Answer(QString::fromLatin1(w));
        EXPECT_EQ(TextOf(page.get(), kStatus), "You got it right!") << w;
        Click(page.get(), kNext);
    }
    EXPECT_EQ(doc.m_gradeList[0]->m_correct, 3);
}

TEST_F(TestPage, ShuffledTheTestAsksEveryWordExactlyOnce)
{
    app.SetRandomizeList(1);
    const std::vector<std::string> words{"a", "b", "c", "d", "e", "f"};
    Open(words);
    EXPECT_TRUE(FindControl<QAbstractButton>(page.get(), kRandomize)->isChecked());
    Click(page.get(), kStart);
    std::vector<std::string> asked;
    for (size_t i = 0; i < words.size(); ++i) {
        Answer(QStringLiteral("?"));
        const std::string status = TextOf(page.get(), kStatus);
        asked.push_back(status.substr(status.rfind(' ') + 1, status.size() - status.rfind(' ') - 2));
        Click(page.get(), kNext);
    }
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, words);
    app.SetRandomizeList(0);
}

TEST_F(TestPage, EnterInTheAnswerBoxChecksAndEnterOnNextGoesOn)
{
    Open({"cat", "dog"});
    Click(page.get(), kStart);
    auto* answer = FindControl<QLineEdit>(page.get(), kAnswer);
    answer->setFocus();
    answer->setText(QStringLiteral("cat"));
    QTest::keyClick(answer, Qt::Key_Return);
    EXPECT_EQ(TextOf(page.get(), kStatus), "You got it right!");
    QWidget* next = FindControl<QWidget>(page.get(), kNext);
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Return);
    EXPECT_EQ(TextOf(page.get(), kWordNumber), "2");
}

TEST_F(TestPage, AnUpdateFromAnotherViewResetsThePage)
{
    Open({"cat", "dog"});
    Click(page.get(), kStart);
    doc.UpdateAllViews(nullptr, 0);
    EXPECT_FALSE(doc.m_testRunning);
    EXPECT_EQ(TextOf(page.get(), kWordNumber), "0");
    EXPECT_TRUE(IsEnabled(page.get(), kStart));
}

TEST_F(TestPage, PlayingAMissingSoundShowsTheRecordersMessageAndTheTestGoesOn)
{
    Open({"cat"});
    Click(page.get(), kStart);
    Click(page.get(), kListen);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_NE(log.entries[0].text.find("Error opening device for waveaudio /tmp/cat.wav"), std::string::npos);
    Answer("cat");
    EXPECT_EQ(TextOf(page.get(), kStatus), "You got it right!");
}
