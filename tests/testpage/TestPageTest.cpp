// The test page through its real controls.
#include "app/CMainFrame.h"
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "PageTestSupport.h"
#include "platform/CCommandManager.h"
#include "platform/CFeedbackPanel.h"
#include "platform/CommandIds.h"
#include "spelltest/CLineListBox.h"
#include "spelltest/CTest.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

enum {
    kStop = 1004,
    kWordNumber = 1008,
    kCorrect = 1009,
    kWords = 1010,
    kScore = 1011,
    kListen = 1012,
    kAnswer = 1013,
    kStatus = 1014,
    kCheck = 1015,
    kNext = 1016,
    kEnterKey = 1017,
    kStart = 1018,
    kAnswers = 1023,
    kRandomize = 1046,
    kFeedback = 1060,
};

// Every update the document sends to another view, with the flag as it was then.
class ViewSpy : public CDocView {
public:
    explicit ViewSpy(CKelto4Doc& doc)
        : m_doc(doc)
    {
        m_doc.AddView(this);
    }
    ~ViewSpy() override { m_doc.RemoveView(this); }
    void OnUpdate(CDocView* sender, long) override { updates.push_back({sender, m_doc.m_testRunning}); }

    struct Update {
        CDocView* sender;
        bool testRunning;
    };
    std::vector<Update> updates;

private:
    CKelto4Doc& m_doc;
};

class TestPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(userFolder.isValid());
        // Settings outlive a test inside one process; each test starts without them.
        QSettings(QStringLiteral("Tarvel"), QStringLiteral("Kelto4")).clear();
        // The test as it runs without corrections; CorrectMistakes cases turn them on.
        app.SetCorrectMistakes(0);
        app.m_userFolder = userFolder.path().toStdString();
    }

    void Open(const std::vector<std::string>& words, const std::string& user = "Ann")
    {
        doc.m_userName = user;
        doc.SetPathName(userFolder.path().toStdString() + "/week1.ktr");
        AddWords(doc, words, userFolder.path().toStdString());
        page = std::make_unique<CTest>(&doc);
        page->show();
        page->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
        page->OnInitialUpdate();
    }
    void Answer(const QString& text)
    {
        TypeInto(page.get(), kAnswer, text);
        Click(page.get(), kCheck);
    }
    // Answers every word right until the end; returns the words in the order asked.
    std::vector<std::string> AnswerAllRight()
    {
        std::vector<std::string> asked;
        while (page->GetSession().GetState() == CTestSession::State::AwaitingAnswer) {
            const std::string word = page->GetSession().GetCurrentWord();
            asked.push_back(word);
            Answer(QString::fromStdString(word));
            Click(page.get(), kNext);
        }
        return asked;
    }
    int FocusId() const
    {
        QWidget* focus = QApplication::focusWidget();
        return focus ? GetControlId(focus) : 0;
    }
    void PressEnterOn(int id)
    {
        QWidget* w = FindControl<QWidget>(page.get(), id);
        ASSERT_NE(w, nullptr);
        w->setFocus();
        ASSERT_EQ(FocusId(), id);
        QTest::keyClick(w, Qt::Key_Return);
    }
    CLineListBox* Answers() const { return FindControl<CLineListBox>(page.get(), kAnswers); }
    bool Randomize() const { return FindControl<QCheckBox>(page.get(), kRandomize)->isChecked(); }

    QTemporaryDir userFolder;
    CTestAppCore app;
    CMessageLog log;
    CKelto4Doc doc{app};
    std::unique_ptr<CTest> page;
};

// Enabled (1) or disabled (0): Check, Listen, Next, answer, Randomize, Start, Stop.
void ExpectControls(QWidget* page, const char* expected, const char* when)
{
    const int ids[] = {kCheck, kListen, kNext, kAnswer, kRandomize, kStart, kStop};
    for (size_t i = 0; i < std::size(ids); ++i)
        EXPECT_EQ(IsEnabled(page, ids[i]), expected[i] == '1') << "control " << ids[i] << " " << when;
}

} // namespace

TEST_F(TestPage, TheTemplateHasEveryControlWithItsIdAndText)
{
    Open({"cat"});
    struct Button {
        int id;
        const char* text;
    };
    for (const Button& b : {Button{kStart, "Start"}, Button{kStop, "Stop"}, Button{kListen, "Listen to Word"},
                            Button{kCheck, "Check"}, Button{kNext, "Next"}, Button{kEnterKey, "Enter Key"}}) {
        auto* button = FindControl<QPushButton>(page.get(), b.id);
        ASSERT_NE(button, nullptr) << b.id;
        EXPECT_EQ(button->text().toStdString(), b.text);
        EXPECT_EQ(button->isVisible(), b.id != kEnterKey) << b.id;
    }
    auto* randomize = FindControl<QCheckBox>(page.get(), kRandomize);
    ASSERT_NE(randomize, nullptr);
    EXPECT_EQ(randomize->text(), QStringLiteral("Randomize list"));
    for (int id : {kWordNumber, kCorrect, kWords, kScore}) {
        auto* edit = FindControl<QLineEdit>(page.get(), id);
        ASSERT_NE(edit, nullptr) << id;
        EXPECT_TRUE(edit->isReadOnly()) << id;
    }
    ASSERT_NE(FindControl<QLineEdit>(page.get(), kAnswer), nullptr);
    EXPECT_FALSE(FindControl<QLineEdit>(page.get(), kAnswer)->isReadOnly());
    ASSERT_NE(FindControl<QTextEdit>(page.get(), kStatus), nullptr);
    EXPECT_TRUE(FindControl<QTextEdit>(page.get(), kStatus)->isReadOnly());
    ASSERT_NE(Answers(), nullptr);

    std::set<std::string> labels;
    for (QLabel* label : page->findChildren<QLabel*>())
        labels.insert(label->text().toStdString());
    for (const char* text : {"Word #", "# Correct", "# Words", "Spell it"})
        EXPECT_EQ(labels.count(text), 1u) << text;

    const QRect form(QPoint(0, 0), page->FormSize());
    for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isVisible()) {
            EXPECT_TRUE(form.contains(w->geometry())) << GetControlId(w);
        }
    }
}

TEST_F(TestPage, ThreeStatesDecideWhichControlsWork)
{
    Open({"cat", "dog"});
    ExpectControls(page.get(), "0000110", "when first shown");
    EXPECT_EQ(TextOf(page.get(), kWordNumber), "0");
    EXPECT_EQ(TextOf(page.get(), kWords), "2");
    Click(page.get(), kStart);
    ExpectControls(page.get(), "1101001", "awaiting the first answer");
    Answer("cat");
    ExpectControls(page.get(), "0010001", "after the check");
    Click(page.get(), kNext);
    ExpectControls(page.get(), "1101001", "awaiting the second answer");
    Answer("dog");
    Click(page.get(), kNext);
    ExpectControls(page.get(), "0000110", "after the end");
    Click(page.get(), kStart);
    Click(page.get(), kStop);
    ExpectControls(page.get(), "0000110", "after Stop");
}

TEST_F(TestPage, ThreeWordsRightWrongRightScoreAndLeaveOneMissedAndOneGrade)
{
    Open({"cat", "dog", "sun"});
    EXPECT_EQ(TextOf(page.get(), kStatus), "Click Start button to take a test.");
    Click(page.get(), kStart);
    EXPECT_TRUE(doc.m_testRunning);
    EXPECT_TRUE(doc.m_recordsChanged);
    EXPECT_EQ(TextOf(page.get(), kStatus), "Ready.\nClick LISTEN to hear word--\nThen type your answer in spell it.");
    EXPECT_EQ(FindControl<QTextEdit>(page.get(), kStatus)->document()->blockCount(), 3);
    EXPECT_EQ(TextOf(page.get(), kWordNumber), "1");
    EXPECT_EQ(TextOf(page.get(), kScore), "");
    Answer("cat");
    EXPECT_EQ(TextOf(page.get(), kScore), "33.33 %");
    EXPECT_EQ(TextOf(page.get(), kCorrect), "1");
    EXPECT_EQ(TextOf(page.get(), kStatus), "You got it right!");
    Click(page.get(), kNext);
    EXPECT_EQ(TextOf(page.get(), kStatus), "Ready\nClick LISTEN to hear word.\nThen type your answer in spell it.");
    EXPECT_EQ(TextOf(page.get(), kWordNumber), "2");
    EXPECT_EQ(TextOf(page.get(), kAnswer), "");
    Answer("dgo");
    EXPECT_EQ(TextOf(page.get(), kScore), "33.33 %");
    EXPECT_EQ(TextOf(page.get(), kStatus), "Sorry wrong Answer.\nThe correct spelling is dog.");
    Click(page.get(), kNext);
    Answer("sun");
    EXPECT_EQ(TextOf(page.get(), kScore), "66.67 %");
    EXPECT_TRUE(doc.m_gradeList.empty());
    Click(page.get(), kNext);
    EXPECT_EQ(TextOf(page.get(), kStatus), "End of Test.  Check out your final score.\nClick Start to redo test.");
    EXPECT_EQ(TextOf(page.get(), kScore), "66.67 %");
    EXPECT_FALSE(doc.m_testRunning);

    ASSERT_EQ(doc.m_missedList.size(), 1u);
    EXPECT_EQ(doc.m_missedList[0]->m_word, "dog");
    EXPECT_EQ(doc.m_missedList[0]->m_misspelling, "dgo");
    EXPECT_EQ(doc.m_missedList[0]->m_listName, "week1");
    ASSERT_EQ(doc.m_gradeList.size(), 1u);
    EXPECT_EQ(doc.m_gradeList[0]->m_listName, "week1");
    EXPECT_EQ(doc.m_gradeList[0]->m_correct, 2);
    EXPECT_EQ(doc.m_gradeList[0]->m_words, 3);
    EXPECT_EQ(doc.m_gradeList[0]->m_date, doc.m_missedList[0]->m_date);
    const QRegularExpression stamp(QStringLiteral("^\\d\\d/\\d\\d/\\d\\d, (0\\d|1[0-2]):[0-5]\\d (AM|PM)$"));
    EXPECT_TRUE(stamp.match(QString::fromStdString(doc.m_gradeList[0]->m_date)).hasMatch())
        << doc.m_gradeList[0]->m_date;

    ASSERT_EQ(Answers()->GetCount(), 3);
    EXPECT_EQ(Answers()->GetText(1), "dgo");
    EXPECT_EQ(Answers()->GetItemColor(0), 0x006400u);
    EXPECT_EQ(Answers()->GetItemColor(1), 0x0000CDu);
    EXPECT_EQ(Answers()->GetItemColor(2), 0x006400u);
}

TEST_F(TestPage, CapitalsAndTrailingBlanksAreWrong)
{
    Open({"Friday", "cat", "caf\xe9"});
    Click(page.get(), kStart);
    Answer("friday");
    EXPECT_EQ(TextOf(page.get(), kStatus), "Sorry wrong Answer.\nThe correct spelling is Friday.");
    Click(page.get(), kNext);
    Answer("cat ");
    EXPECT_EQ(TextOf(page.get(), kStatus), "Sorry wrong Answer.\nThe correct spelling is cat.");
    Click(page.get(), kNext);
    Answer(QString::fromUtf8("caf\xc3\xa9"));
    EXPECT_EQ(TextOf(page.get(), kStatus), "You got it right!");
    ASSERT_EQ(doc.m_missedList.size(), 2u);
    EXPECT_EQ(doc.m_missedList[0]->m_misspelling, "cat ");
    EXPECT_EQ(doc.m_missedList[1]->m_misspelling, "friday");
}

TEST_F(TestPage, AnEmptyAnswerIsWrongAndShowsAsAnEmptyRedLine)
{
    Open({"cat"});
    Click(page.get(), kStart);
    Answer("");
    EXPECT_EQ(TextOf(page.get(), kStatus), "Sorry wrong Answer.\nThe correct spelling is cat.");
    ASSERT_EQ(Answers()->GetCount(), 1);
    EXPECT_EQ(Answers()->GetText(0), "");
    EXPECT_EQ(Answers()->GetItemColor(0), 0x0000CDu);
    EXPECT_EQ(Answers()->visualItemRect(Answers()->item(0)).height(), Answers()->ItemHeight());
    ASSERT_EQ(doc.m_missedList.size(), 1u);
    EXPECT_EQ(doc.m_missedList[0]->m_misspelling, "");
}

TEST_F(TestPage, StopAfterTheFirstWordStoresAStoppedResultOfTheWholeList)
{
    Open({"cat", "dog", "sun"});
    ViewSpy spy(doc);
    Click(page.get(), kStart);
    Answer("cat");
    Click(page.get(), kStop);
    EXPECT_FALSE(doc.m_testRunning);
    EXPECT_EQ(TextOf(page.get(), kStatus), "Try Again.  Click Start button.");
    EXPECT_EQ(TextOf(page.get(), kWordNumber), "0");
    EXPECT_EQ(TextOf(page.get(), kCorrect), "0");
    EXPECT_EQ(TextOf(page.get(), kScore), "");
    ASSERT_EQ(doc.m_gradeList.size(), 1u);
    EXPECT_EQ(doc.m_gradeList[0]->m_listName, "week1--Stopped Test");
    EXPECT_EQ(doc.m_gradeList[0]->m_correct, 1);
    EXPECT_EQ(doc.m_gradeList[0]->m_words, 3);
    // The other pages hear of the stop after the flag is down.
    ASSERT_EQ(spy.updates.size(), 1u);
    EXPECT_EQ(spy.updates[0].sender, page.get());
    EXPECT_FALSE(spy.updates[0].testRunning);
    EXPECT_EQ(FocusId(), kStart);
}

TEST_F(TestPage, TheEndOfATestUpdatesTheOtherViewsWithTheFlagDown)
{
    Open({"cat"});
    ViewSpy spy(doc);
    Click(page.get(), kStart);
    Answer("cat");
    EXPECT_TRUE(spy.updates.empty());
    Click(page.get(), kNext);
    ASSERT_EQ(spy.updates.size(), 1u);
    EXPECT_EQ(spy.updates[0].sender, page.get());
    EXPECT_FALSE(spy.updates[0].testRunning);
    // The page sent the update; it keeps its final score.
    EXPECT_EQ(TextOf(page.get(), kScore), "100.00 %");
}

TEST_F(TestPage, ALearnerNotLoggedInGetsTheSameTextsAndNoRecords)
{
    Open({"cat", "dog"}, "");
    Click(page.get(), kStart);
    EXPECT_TRUE(doc.m_testRunning);
    Answer("kat");
    EXPECT_EQ(TextOf(page.get(), kStatus), "Sorry wrong Answer.\nThe correct spelling is cat.");
    EXPECT_EQ(TextOf(page.get(), kScore), "0.00 %");
    Click(page.get(), kNext);
    Answer("dog");
    EXPECT_EQ(TextOf(page.get(), kScore), "50.00 %");
    Click(page.get(), kNext);
    EXPECT_EQ(TextOf(page.get(), kStatus), "End of Test.  Check out your final score.\nClick Start to redo test.");
    Click(page.get(), kStart);
    Click(page.get(), kStop);
    EXPECT_TRUE(doc.m_missedList.empty());
    EXPECT_TRUE(doc.m_gradeList.empty());
}

TEST_F(TestPage, RecordsComeNewestFirstAndEachTestStartsWithAnEmptyAnswersList)
{
    Open({"one", "two"});
    Click(page.get(), kStart);
    Answer("1");
    Click(page.get(), kNext);
    Answer("2");
    Click(page.get(), kNext);
    Click(page.get(), kStart);
    EXPECT_EQ(Answers()->GetCount(), 0);
    Answer("won");
    Click(page.get(), kStop);

    ASSERT_EQ(doc.m_missedList.size(), 3u);
    EXPECT_EQ(doc.m_missedList[0]->m_misspelling, "won");
    EXPECT_EQ(doc.m_missedList[1]->m_misspelling, "2");
    EXPECT_EQ(doc.m_missedList[2]->m_misspelling, "1");
    ASSERT_EQ(doc.m_gradeList.size(), 2u);
    EXPECT_EQ(doc.m_gradeList[0]->m_listName, "week1--Stopped Test");
    EXPECT_EQ(doc.m_gradeList[1]->m_listName, "week1");
}

TEST_F(TestPage, AnEmptyListGivesTheErrorBoxWithTheExclamationIcon)
{
    Open({});
    EXPECT_EQ(TextOf(page.get(), kStatus), "No Spelling List ...\nPlease Open or Create a List");
    EXPECT_EQ(TextOf(page.get(), kWords), "0");
    for (int setting : {0, 1}) {
        app.SetRandomizeList(setting);
        doc.UpdateAllViews(nullptr, 0);
        log.Clear();
        Click(page.get(), kStart);
        ASSERT_EQ(log.entries.size(), 1u);
        EXPECT_EQ(log.entries[0].text, "Error with Spelling List.\n\rCheck list and try again.");
        EXPECT_EQ(log.entries[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(log.entries[0].buttons, MsgButtons::Ok);
        EXPECT_FALSE(doc.m_testRunning);
        EXPECT_FALSE(doc.m_recordsChanged);
        ExpectControls(page.get(), "0000110", "after the error");
    }
}

TEST_F(TestPage, InOrderTheTestFollowsTheList)
{
    Open({"one", "two", "three", "four"});
    EXPECT_FALSE(Randomize());
    Click(page.get(), kStart);
    EXPECT_EQ(AnswerAllRight(), (std::vector<std::string>{"one", "two", "three", "four"}));
    EXPECT_EQ(doc.m_gradeList[0]->m_correct, 4);
}

TEST_F(TestPage, ShuffledTheTestAsksEveryWordExactlyOnce)
{
    app.SetRandomizeList(1);
    const std::vector<std::string> words{"a", "b", "c", "d", "e", "f", "g"};
    Open(words);
    EXPECT_TRUE(Randomize());
    for (int round = 0; round < 3; ++round) {
        Click(page.get(), kStart);
        std::vector<std::string> asked = AnswerAllRight();
        std::sort(asked.begin(), asked.end());
        EXPECT_EQ(asked, words);
        EXPECT_EQ(doc.m_gradeList[0]->m_correct, 7);
    }
}

TEST_F(TestPage, TheRandomiseBoxChosenByHandDecidesTheNextTest)
{
    Open({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
    FindControl<QCheckBox>(page.get(), kRandomize)->click();
    Click(page.get(), kStart);
    EXPECT_TRUE(page->GetSession().GetRandomize());
    Click(page.get(), kStop);
    FindControl<QCheckBox>(page.get(), kRandomize)->click();
    Click(page.get(), kStart);
    EXPECT_EQ(AnswerAllRight(), (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}));
}

TEST_F(TestPage, TheRandomiseBoxFollowsTheSettingAtEveryReset)
{
    Open({"cat"});
    EXPECT_FALSE(Randomize()); // setting absent
    app.SetRandomizeList(1);
    EXPECT_FALSE(Randomize()); // read again only at the next reset
    doc.UpdateAllViews(nullptr, 0);
    EXPECT_TRUE(Randomize());
    FindControl<QCheckBox>(page.get(), kRandomize)->click();
    EXPECT_FALSE(Randomize());
    doc.UpdateAllViews(nullptr, 0);
    EXPECT_TRUE(Randomize());
    app.SetRandomizeList(0);
    page->OnInitialUpdate();
    EXPECT_FALSE(Randomize());
}

TEST_F(TestPage, AnUpdateFromAnotherViewResetsThePageEvenDuringATest)
{
    Open({"cat", "dog"});
    Click(page.get(), kStart);
    Answer("cat");
    AddWords(doc, {"sun"});
    ViewSpy other(doc);
    doc.UpdateAllViews(&other, 0);
    EXPECT_FALSE(doc.m_testRunning);
    EXPECT_EQ(TextOf(page.get(), kWordNumber), "0");
    EXPECT_EQ(TextOf(page.get(), kCorrect), "0");
    EXPECT_EQ(TextOf(page.get(), kWords), "3");
    EXPECT_EQ(TextOf(page.get(), kScore), "");
    EXPECT_EQ(TextOf(page.get(), kStatus), "Click Start button to take a test.");
    ExpectControls(page.get(), "0000110", "after the reset");
    // A fresh test over the new list can start at once.
    Click(page.get(), kStart);
    EXPECT_EQ(AnswerAllRight().size(), 3u);
}

TEST_F(TestPage, FocusLeadsFromStepToStep)
{
    Open({"cat", "dog"});
    Click(page.get(), kStart);
    EXPECT_EQ(FocusId(), kListen);
    Answer("cat");
    EXPECT_EQ(FocusId(), kNext);
    Click(page.get(), kNext);
    EXPECT_EQ(FocusId(), kListen);
    Answer("dog");
    Click(page.get(), kNext);
    EXPECT_EQ(FocusId(), kStart);
}

TEST_F(TestPage, EnterInTheAnswerBoxOrOnCheckJudgesAndOnNextGoesOn)
{
    Open({"cat", "dog", "sun"});
    Click(page.get(), kStart);
    TypeInto(page.get(), kAnswer, QStringLiteral("cat"));
    PressEnterOn(kAnswer);
    EXPECT_EQ(TextOf(page.get(), kStatus), "You got it right!");
    EXPECT_EQ(FocusId(), kNext);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter); // the keypad's Enter too
    EXPECT_EQ(TextOf(page.get(), kWordNumber), "2");

    TypeInto(page.get(), kAnswer, QStringLiteral("dgo"));
    PressEnterOn(kCheck);
    EXPECT_EQ(TextOf(page.get(), kStatus), "Sorry wrong Answer.\nThe correct spelling is dog.");
    PressEnterOn(kNext);
    EXPECT_EQ(TextOf(page.get(), kWordNumber), "3");
    EXPECT_EQ(Answers()->GetCount(), 2);
}

TEST_F(TestPage, EnterOnAnyOtherControlDoesNothing)
{
    Open({"cat"});
    PressEnterOn(kStart);
    EXPECT_EQ(page->GetSession().GetState(), CTestSession::State::Idle);
    Click(page.get(), kStart);
    TypeInto(page.get(), kAnswer, QStringLiteral("cat"));
    for (int id : {kStop, kAnswers}) {
        PressEnterOn(id);
        EXPECT_EQ(page->GetSession().GetState(), CTestSession::State::AwaitingAnswer) << id;
    }
    EXPECT_TRUE(log.entries.empty());
    EXPECT_EQ(Answers()->GetCount(), 0);
}

TEST_F(TestPage, TheAnswersListDrawsEachLineInItsOwnColour)
{
    Open({"WWWWWWWW", "MMMMMMMM"});
    Click(page.get(), kStart);
    Answer("WWWWWWWW");
    Click(page.get(), kNext);
    Answer("MMMMMMMX");
    CLineListBox* list = Answers();
    EXPECT_EQ(list->GetHorizontalExtent(), 600);
    const QFontMetrics metrics(list->font());
    EXPECT_EQ(list->ItemHeight(), metrics.height() + metrics.leading() + 4);
    EXPECT_EQ(list->visualItemRect(list->item(1)).height(), list->ItemHeight());
    EXPECT_GT(list->horizontalScrollBar()->maximum(), 0); // 600 pixels are wider than the list

    // Counts the pixels of one line that are close to a colour.
    auto countNear = [list](int row, const QColor& colour) {
        const QImage image = list->viewport()->grab().toImage();
        const QRect rect = list->visualItemRect(list->item(row)).intersected(image.rect());
        int count = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                        std::abs(c.blue() - colour.blue()) < 60)
                    ++count;
            }
        return count;
    };
    const QColor green(0, 100, 0);
    const QColor red(205, 0, 0);
    EXPECT_GT(countNear(0, green), 10);
    EXPECT_EQ(countNear(0, red), 0);
    EXPECT_GT(countNear(1, red), 10);
    EXPECT_EQ(countNear(1, green), 0);

    // A selected line is drawn in the selection colours instead.
    list->setCurrentRow(1);
    const QColor highlight = list->palette().color(QPalette::Highlight);
    EXPECT_EQ(countNear(1, red), 0);
    EXPECT_GT(countNear(1, highlight), list->ItemHeight() * 20);
}

TEST_F(TestPage, ThePageBarIsLockedDuringATestAndFreedAfter)
{
    doc.m_userName = "Ann";
    AddWords(doc, {"cat"});
    CMainFrame frame(&doc);
    doc.SendInitialUpdate();
    frame.show();
    ASSERT_TRUE(frame.Commands().Execute(ID_VIEW_TEST));
    auto* test = qobject_cast<CTest*>(frame.Page(3));
    ASSERT_NE(test, nullptr);
    const int commands[] = {ID_VIEW_START, ID_VIEW_WORDS, ID_VIEW_REPORTS, ID_VIEW_OPTIONS, ID_APP_EXIT};

    Click(test, kStart);
    frame.Commands().UpdateUi();
    for (int id : commands)
        EXPECT_FALSE(frame.Commands().Action(id)->isEnabled()) << id;
    EXPECT_FALSE(frame.Commands().Execute(ID_VIEW_START));
    EXPECT_EQ(frame.m_currentPage, 3);

    TypeInto(test, kAnswer, QStringLiteral("cat"));
    Click(test, kCheck);
    Click(test, kNext);
    frame.Commands().UpdateUi();
    for (int id : commands)
        EXPECT_TRUE(frame.Commands().Action(id)->isEnabled()) << id;
    EXPECT_FALSE(frame.Commands().Action(ID_VIEW_TEST)->isEnabled()); // the page shown

    Click(test, kStart);
    Click(test, kStop);
    frame.Commands().UpdateUi();
    EXPECT_TRUE(frame.Commands().Action(ID_VIEW_START)->isEnabled());
}

TEST_F(TestPage, AWrongAnswerShowsWhatWentWrongARightOneHidesItAndTheSettingCanTurnItOff)
{
    Open({"receive", "cake", "dog", "friend"});
    auto* panel = FindControl<CFeedbackPanel>(page.get(), kFeedback);
    ASSERT_NE(panel, nullptr);
    Click(page.get(), kStart);
    EXPECT_FALSE(panel->isVisible());
    Answer("recieve");
    EXPECT_EQ(TextOf(page.get(), kStatus), "Sorry wrong Answer.\nThe correct spelling is receive.");
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->GetText(), "recieve\r\nreceive\r\n   ^^  \r\n"
                                "It sounds right: you heard every sound. Now learn how the word is spelled.\r\n"
                                "change ie to ei: e comes before i here: i before e, except after c \x97 receive, ceiling");
    // "?" from the analysis: the letters and the sound alone.
    Click(page.get(), kNext);
    EXPECT_FALSE(panel->isVisible());
    Answer("");
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->GetText(), "    \r\ncake\r\n^^^^\r\n"
                                "It sounds different: listen to the word again, sound by sound.");
    EXPECT_TRUE(panel->GetRuleLines().empty());
    Click(page.get(), kNext);
    Answer("dog");
    EXPECT_FALSE(panel->isVisible());

    app.SetShowFeedback(0);
    Click(page.get(), kNext);
    Answer("frend");
    EXPECT_EQ(TextOf(page.get(), kStatus), "Sorry wrong Answer.\nThe correct spelling is friend.");
    EXPECT_FALSE(panel->isVisible());
}


// A screen reader hears each verdict at once: the status describes it as it gives an
// alert, and Next, which takes the focus, is read out with it; after a wrong answer the
// right spelling comes letter by letter.
TEST_F(TestPage, EachVerdictIsAnnouncedAndAWrongOneSpellsTheWord)
{
    Open({"Cat", "ox"});
    Click(page.get(), kStart);
    const struct {
        const char* answer;
        const char* heard;
    } cases[] = {
        {"Cat", "You got it right!"},
        {"oxx", "Sorry wrong Answer. The correct spelling is ox. Spelled: o, x."},
    };
    for (const auto& c : cases) {
        Answer(QString::fromLatin1(c.answer));
        EXPECT_EQ(FindControl<QWidget>(page.get(), kStatus)->accessibleDescription().toStdString(), c.heard);
        EXPECT_EQ(FindControl<QWidget>(page.get(), kNext)->accessibleDescription().toStdString(), c.heard);
        EXPECT_EQ(GetControlId(QApplication::focusWidget()), kNext);
        Click(page.get(), kNext);
        EXPECT_TRUE(FindControl<QWidget>(page.get(), kNext)->accessibleDescription().isEmpty());
    }
    EXPECT_EQ(CTestSession::Announcement("Sorry", false, "New York"),
              "Sorry Spelled: capital N, e, w, space, capital Y, o, r, k.");
}

namespace {
// Whether anything the page shows, or tells a screen reader, holds text.
bool PageShows(QWidget* page, const QString& text)
{
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        QStringList texts{w->accessibleName(), w->accessibleDescription()};
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            texts << edit->text();
        if (auto* multi = qobject_cast<QTextEdit*>(w))
            texts << multi->toPlainText();
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        if (auto* list = qobject_cast<QListWidget*>(w))
            for (int i = 0; i < list->count(); ++i)
                texts << list->item(i)->text();
        for (const QString& t : texts)
            if (t.contains(text))
                return true;
    }
    return false;
}
} // namespace

// With "Correct Mistakes" on, a wrong answer is copied, then spelled from memory while
// the word can be read nowhere on the page, and the word comes back " (again)" after
// three more words, or at the end of the list. Next leaves a correction at any step.
// Only the first answers count: in the score, the records and the learner's memory.
TEST_F(TestPage, AMistakeIsCorrectedAtOnceAndTheWordIsAskedAgainLater)
{
    app.SetCorrectMistakes(1);
    Open({"cat", "dog", "sun", "pen", "map"});
    auto* panel = FindControl<CFeedbackPanel>(page.get(), kFeedback);
    const std::string verdict = "Sorry wrong Answer.\nThe correct spelling is cat.";
    const std::string copy = verdict + "\nCopy the word, then press Check.";
    const std::string fromMemory = "Now spell it from memory, then press Check.";
    const std::string heardCopy = "Sorry wrong Answer. The correct spelling is cat. Copy the word, then press Check. "
                                  "Spelled: c, a, t.";
    const struct {
        const char* answer;
        std::string status;
        std::string heard; // by a screen reader, from the control that takes the focus
        int focus;
        bool panel;
        bool wordShown;
    } steps[] = {
        {"kat", copy, heardCopy, kAnswer, true, true},
        {"cta", copy, heardCopy, kAnswer, true, true},
        {"cat", fromMemory, fromMemory, kAnswer, false, false},
        {"catt", copy, heardCopy, kAnswer, true, true},
        {"cat", fromMemory, fromMemory, kAnswer, false, false},
        {"cat", "Well done.", "Well done.", kNext, false, true},
    };
    Click(page.get(), kStart);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.answer);
        Answer(QString::fromLatin1(step.answer));
        EXPECT_EQ(TextOf(page.get(), kStatus), step.status);
        ExpectControls(page.get(), step.focus == kAnswer ? "1111001" : "0010001", step.answer);
        // Each step of a correction starts from an empty box.
        EXPECT_EQ(TextOf(page.get(), kAnswer), step.focus == kAnswer ? "" : step.answer);
        EXPECT_EQ(FocusId(), step.focus);
        EXPECT_EQ(FindControl<QWidget>(page.get(), step.focus)->accessibleDescription().toStdString(), step.heard);
        EXPECT_EQ(panel->isVisible(), step.panel);
        EXPECT_EQ(PageShows(page.get(), QStringLiteral("cat")), step.wordShown);
    }
    // The word to copy stands in the panel even without the feedback.
    app.SetShowFeedback(0);
    Click(page.get(), kNext);
    Answer(QStringLiteral("dgo"));
    EXPECT_EQ(panel->GetText(), "dog");
    EXPECT_TRUE(panel->GetRuleLines().empty());
    // Next during a correction goes on; three words after cat, cat comes back.
    Click(page.get(), kNext);
    for (const char* word : {"sun", "pen"}) {
        Answer(QString::fromLatin1(word));
        Click(page.get(), kNext);
    }
    EXPECT_EQ(page->GetSession().GetCurrentWord(), "cat");
    EXPECT_EQ(TextOf(page.get(), kWordNumber), "4");
    Answer(QStringLiteral("cat"));
    Click(page.get(), kNext);
    EXPECT_EQ(TextOf(page.get(), kWordNumber), "5");
    Answer(QStringLiteral("mapp"));
    Click(page.get(), kNext);
    EXPECT_EQ(page->GetSession().GetCurrentWord(), "dog");
    Answer(QStringLiteral("dog"));
    Click(page.get(), kNext);
    // The list is done, so map comes back at once; a wrong second ask is corrected too.
    EXPECT_EQ(page->GetSession().GetCurrentWord(), "map");
    Answer(QStringLiteral("mop"));
    EXPECT_EQ(TextOf(page.get(), kStatus), "Sorry wrong Answer.\nThe correct spelling is map.\n"
                                           "Copy the word, then press Check.");
    Click(page.get(), kNext);
    EXPECT_EQ(TextOf(page.get(), kStatus), "End of Test.  Check out your final score.\nClick Start to redo test.");

    std::vector<std::string> lines;
    for (int i = 0; i < Answers()->GetCount(); ++i)
        lines.push_back(Answers()->GetText(i) + (Answers()->GetItemColor(i) == 0x006400u ? " right" : " wrong"));
    EXPECT_EQ(lines, (std::vector<std::string>{"kat wrong", "dgo wrong", "sun right", "pen right", "cat (again) right",
                                               "mapp wrong", "dog (again) right", "mop (again) wrong"}));
    EXPECT_EQ(TextOf(page.get(), kScore), "40.00 %");
    ASSERT_EQ(doc.m_gradeList.size(), 1u);
    EXPECT_EQ(doc.m_gradeList[0]->m_correct, 2);
    EXPECT_EQ(doc.m_gradeList[0]->m_words, 5);
    EXPECT_EQ(doc.m_missedList.size(), 3u);
    ASSERT_EQ(doc.m_memory.size(), 5u);
    EXPECT_EQ(doc.m_memory.Find("cat")->box, 1);
    EXPECT_EQ(doc.m_memory.Find("sun")->box, 2);

    // A stopped test moves the words answered too.
    Click(page.get(), kStart);
    Answer(QStringLiteral("cat"));
    Click(page.get(), kStop);
    EXPECT_EQ(doc.m_memory.Find("cat")->asked, 2u);
    EXPECT_EQ(doc.m_memory.Find("dog")->asked, 1u);
}

// Without "Correct Mistakes" a wrong answer is judged and the learner goes on, and no
// word comes back.
TEST_F(TestPage, WithoutCorrectionsAWrongAnswerIsAnsweredAndNeverAskedAgain)
{
    Open({"cat", "dog"});
    Click(page.get(), kStart);
    Answer(QStringLiteral("kat"));
    ExpectControls(page.get(), "0010001", "after the wrong answer");
    EXPECT_EQ(FocusId(), kNext);
    Click(page.get(), kNext);
    Answer(QStringLiteral("dog"));
    Click(page.get(), kNext);
    EXPECT_EQ(TextOf(page.get(), kStatus), "End of Test.  Check out your final score.\nClick Start to redo test.");
    EXPECT_EQ(Answers()->GetCount(), 2);
    EXPECT_EQ(doc.m_memory.Find("cat")->box, 1);
}
