// The application shell: main window, page switching and its rules, start page, files.
#include "app/CKelto4View.h"
#include "app/CMainFrame.h"
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "model/CArchive.h"
#include "PageTestSupport.h"
#include "platform/CCommandManager.h"
#include "platform/CDialogService.h"
#include "platform/CommandIds.h"
#include "spelltest/CTest.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUrl>
#include <ctime>
#include <fstream>
#include <gtest/gtest.h>

namespace {
class Shell : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = std::make_unique<CMainFrame>(&doc);
        doc.OnNewDocument();
        doc.SendInitialUpdate();
        frame->show();
    }
    void TearDown() override { CDialogService::SetAnswerer({}); }
    bool Enabled(int id) { return frame->Commands().IsEnabled(id); }
    CTestAppCore app;
    // Thursday 11 June 2026, 09:00 local time, for what depends on the day.
    CKelto4Doc doc{app, [] {
        std::tm day{};
        day.tm_year = 126, day.tm_mon = 5, day.tm_mday = 11, day.tm_hour = 9, day.tm_isdst = -1;
        return std::mktime(&day);
    }};
    CMessageLog log;
    std::unique_ptr<CMainFrame> frame;
};

CKelto4View* startPage(CMainFrame& f)
{
    return static_cast<CKelto4View*>(f.Page(PAGE_START));
}
}

TEST_F(Shell, AtStartTheStartButtonIsDisabledAndTheOthersFollowTheRules)
{
    EXPECT_FALSE(Enabled(ID_VIEW_START));
    EXPECT_TRUE(Enabled(ID_VIEW_WORDS));
    EXPECT_FALSE(Enabled(ID_VIEW_TEST));    // empty list
    EXPECT_FALSE(Enabled(ID_VIEW_REPORTS)); // nobody logged in
    EXPECT_TRUE(Enabled(ID_VIEW_OPTIONS));
    EXPECT_TRUE(Enabled(ID_APP_EXIT));
    frame->Commands().UpdateUi();
    EXPECT_FALSE(frame->Commands().Action(ID_VIEW_START)->isEnabled());
    EXPECT_EQ(frame->UserPane()->text(), QStringLiteral("No User Logged In"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Untitled - Keltora 3"));
}

TEST_F(Shell, WhileATestRunsEveryPageCommandAndExitAreLocked)
{
    AddWords(doc, {"cat"});
    doc.m_userName = "Ann";
    doc.m_testRunning = true;
    for (int id : {ID_VIEW_START, ID_VIEW_WORDS, ID_VIEW_TEST, ID_VIEW_REPORTS, ID_VIEW_OPTIONS, ID_APP_EXIT})
        EXPECT_FALSE(Enabled(id)) << id;
    doc.m_testRunning = false;
    EXPECT_TRUE(Enabled(ID_VIEW_TEST));
    EXPECT_TRUE(Enabled(ID_VIEW_REPORTS));
}

TEST_F(Shell, WordsIsOnlyForTheListsAuthorOrAListWithoutOne)
{
    AddWords(doc, {"cat"}, "/tmp", "Ann");
    doc.m_userName = "Bob";
    EXPECT_FALSE(Enabled(ID_VIEW_WORDS));
    doc.m_userName = "ann";
    EXPECT_FALSE(Enabled(ID_VIEW_WORDS));
    doc.m_userName = "Ann";
    EXPECT_TRUE(Enabled(ID_VIEW_WORDS));
}

TEST_F(Shell, PagesAreMadeOnceAndKept)
{
    EXPECT_TRUE(frame->Commands().Execute(ID_VIEW_OPTIONS));
    CFormView* options = frame->Page(PAGE_OPTIONS);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(frame->m_currentPage, 5);
    EXPECT_TRUE(frame->Commands().Execute(ID_VIEW_START));
    EXPECT_EQ(frame->m_currentPage, 1);
    EXPECT_TRUE(frame->Commands().Execute(ID_VIEW_OPTIONS));
    EXPECT_EQ(frame->Page(PAGE_OPTIONS), options);
    EXPECT_FALSE(frame->Commands().Execute(ID_VIEW_OPTIONS)); // already shown
}

TEST_F(Shell, APostedCommandIsCheckedWhenItRuns)
{
    frame->Commands().Post(ID_VIEW_TEST); // empty list: dropped
    QApplication::processEvents();
    EXPECT_EQ(frame->m_currentPage, 1);
    EXPECT_EQ(frame->Page(PAGE_TEST), nullptr);
}

TEST_F(Shell, ShowMenuRemovesAndRestoresTheMenuBar)
{
    frame->ShowMenu(false);
    EXPECT_FALSE(frame->menuBar()->isVisible());
    EXPECT_TRUE(frame->PageBar()->isVisible());
    frame->ShowMenu(true);
    EXPECT_TRUE(frame->menuBar()->isVisible());
}

struct Welcome {
    const char* user;
    bool words;
    const char* text;
};

class StartPageTexts : public Shell, public ::testing::WithParamInterface<Welcome> {};

TEST_P(StartPageTexts, GreetTheUserAndSayWhetherAListIsLoaded)
{
    doc.m_userName = GetParam().user;
    if (GetParam().words)
        AddWords(doc, {"cat"});
    doc.UpdateAllViews(nullptr, 0);
    EXPECT_EQ(startPage(*frame)->Welcome(), GetParam().text);
    EXPECT_EQ(IsEnabled(startPage(*frame), CKelto4View::IDC_TEST), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Combinations, StartPageTexts,
    ::testing::Values(
        Welcome{"", false, "Welcome, no user logged in.\r\nTest data will not be saved.\r\nThe current spelling list is empty.\r\nPlease open or create a list."},
        Welcome{"", true, "Welcome, no user logged in.\r\nTest data will not be saved."},
        Welcome{"Ann", false, "Welcome Ann.\r\nTest data will be saved.\r\nThe current spelling list is empty.\r\nPlease open or create a list."},
        Welcome{"Ann", true, "Welcome Ann.\r\nTest data will be saved."}));

TEST_F(Shell, StartPageButtonsPostTheirCommands)
{
    Click(startPage(*frame), CKelto4View::IDC_OPEN);
    Click(startPage(*frame), CKelto4View::IDC_CREATE);
    EXPECT_EQ(app.posted, (std::vector<int>{ID_FILE_OPEN, ID_FILE_NEW, ID_VIEW_WORDS}));
}

// Today's Review on the start page: for a logged-in learner outside a test, with the
// number of words due today under it.
TEST_F(Shell, TheStartPageOffersTodaysReviewAndSaysHowManyWordsAreDue)
{
    CKelto4View* start = startPage(*frame);
    const CCalendarDay today = doc.Today();
    const struct {
        const char* user;
        std::vector<CWordMemory::Attempt> yesterday; // all due today
        bool testRunning;
        const char* due;
        bool enabled;
    } cases[] = {
        {"", {}, false, "", false},
        {"Ann", {}, false, "", true},
        {"Ann", {{"cat", false}}, false, "1 word to review today", true},
        {"Ann", {{"cat", false}, {"dog", false}}, false, "2 words to review today", true},
        {"Ann", {{"cat", false}}, true, "1 word to review today", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.user) + " " + c.due);
        doc.m_userName = c.user;
        doc.m_memory.clear();
        doc.m_memory.RecordTest(c.yesterday, today.AddDays(-1));
        doc.m_testRunning = c.testRunning;
        doc.UpdateAllViews(nullptr, 0);
        auto* due = FindControl<QLabel>(start, CKelto4View::IDC_DUE);
        EXPECT_EQ(due->isVisibleTo(start), *c.due != 0);
        EXPECT_EQ(due->text().toStdString(), c.due);
        EXPECT_EQ(IsEnabled(start, CKelto4View::IDC_REVIEW), c.enabled);
    }
    doc.m_testRunning = false;
    doc.UpdateAllViews(nullptr, 0);
    Click(start, CKelto4View::IDC_REVIEW);
    EXPECT_EQ(app.posted, std::vector<int>{ID_TODAYS_REVIEW});
}

TEST_F(Shell, SaveAsThenOpenRoundTripsTheListThroughTheDialogs)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("week1"));
    AddWords(doc, {"cat", "dog"}, "/tmp/Words", "Ann");
    CDialogService::SetAnswerer([&](const CDialogService::Request& r) -> std::optional<QVariant> {
        EXPECT_EQ(r.filter, QStringLiteral("Kelto4 Files (*.ktr)"));
        return QVariant(path + (r.kind == CDialogService::Kind::OpenFile ? QStringLiteral(".ktr") : QString()));
    });
    EXPECT_TRUE(frame->Commands().Execute(ID_FILE_SAVE)); // no path yet: Save As
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("week1 - Keltora 3"));
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".ktr")));
    frame->Commands().Execute(ID_FILE_NEW);
    EXPECT_TRUE(doc.m_wordList.empty());
    frame->Commands().Execute(ID_FILE_OPEN);
    ASSERT_EQ(doc.m_wordList.size(), 2u);
    EXPECT_EQ(doc.m_wordList[1]->m_word, "dog");
    EXPECT_EQ(doc.m_wordList[0]->m_author, "Ann");
    EXPECT_EQ(doc.m_recorder.GetFolder(), "/tmp/Words");
    EXPECT_EQ(app.posted.back(), ID_VIEW_START);
    EXPECT_EQ(doc.GetTitle(), "week1");
}

TEST_F(Shell, ADamagedListIsRefusedAndCanNotBeSavedOverTheOldFile)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("bad.ktr")).toStdString();
    std::ofstream(path, std::ios::binary) << std::string("\x05\x00\xff\xff\x00\x00", 6);
    EXPECT_FALSE(frame->OpenDocumentFile(QString::fromStdString(path)));
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].text, "Unexpected file format.");
    EXPECT_TRUE(doc.m_wordList.empty());
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_FALSE(frame->OpenDocumentFile(dir.filePath(QStringLiteral("missing.ktr"))));
    EXPECT_EQ(log.entries.back().text, "Failed to open document.");
}

TEST_F(Shell, AModifiedListAsksBeforeNewAndCancelKeepsIt)
{
    AddWords(doc, {"cat"});
    doc.SetModifiedFlag(true);
    log.answers.push_back(IDCANCEL);
    frame->Commands().Execute(ID_FILE_NEW);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].text, "Save changes to Untitled?");
    EXPECT_EQ(doc.m_wordList.size(), 1u);
    log.answers.push_back(IDNO);
    frame->Commands().Execute(ID_FILE_NEW);
    EXPECT_TRUE(doc.m_wordList.empty());
}

TEST_F(Shell, LogInAsADifferentUserThenCancelLogsOutAndSavesTheLeavingUsersRecords)
{
    QTemporaryDir dir;
    app.m_userFolder = dir.path().toStdString();
    doc.m_userName = "Ann";
    doc.m_recordsChanged = true;
    doc.m_gradeList.push_back(std::make_unique<CGrade>());
    Click(startPage(*frame), CKelto4View::IDC_LOGIN);
    EXPECT_TRUE(doc.m_userName.empty());
    EXPECT_TRUE(doc.m_gradeList.empty());
    EXPECT_FALSE(doc.m_recordsChanged);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Ann.kt3"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Ann.kt4"))));
    EXPECT_EQ(frame->UserPane()->text(), QStringLiteral("No User Logged In"));
}

TEST_F(Shell, LogInAgainWithTheBoxClearedEmptiesAutoAndCancelLeavesIt)
{
    app.SetAuto("Ann");
    app.logIn = [](const std::string&, std::string& name, bool& box) {
        name = "Bob";
        box = false;
        return true;
    };
    doc.ChangeUser();
    EXPECT_EQ(doc.m_userName, "Bob");
    EXPECT_EQ(app.GetAuto(), "");
    app.SetAuto("Ann");
    app.logIn = nullptr;
    doc.ChangeUser();
    EXPECT_EQ(app.GetAuto(), "Ann");
    app.SetAuto("");
}

TEST(StartUp, AutoLogsInWithoutTheDialogAndOtherwiseTheDialogIsAsked)
{
    CTestAppCore app;
    int asked = 0;
    app.logIn = [&](const std::string&, std::string& name, bool& box) {
        ++asked;
        name = "Zoe";
        box = true;
        return true;
    };
    app.SetAuto("");
    EXPECT_EQ(app.LogInAtStart(), "Zoe");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(app.GetAuto(), "Zoe"); // the box was ticked
    EXPECT_EQ(app.LogInAtStart(), "Zoe");
    EXPECT_EQ(asked, 1);
    app.SetAuto("");
}

TEST(Settings, GettersGiveDefaultsWithoutWritingThemBack)
{
    CTestAppCore app;
    EXPECT_EQ(app.GetDefaultImage(), "KTRlogo.jpg");
    EXPECT_EQ(app.GetDefaultImageStretch(), 0);
    EXPECT_EQ(app.GetShowMenu(), 1);
    EXPECT_EQ(app.GetRandomizeList(), 0);
    const std::string sound = app.GetDefaultSoundFolder();
    EXPECT_TRUE(QFileInfo(QString::fromStdString(sound)).isDir());
    EXPECT_EQ(sound.substr(sound.size() - 6), "/Words");
    QSettings s(QStringLiteral("Tarvel"), QStringLiteral("Kelto4"));
    EXPECT_FALSE(s.contains(QStringLiteral("Settings/DefaultSoundFolder")));
    EXPECT_EQ(app.GetDefaultUserFolder().substr(app.GetDefaultUserFolder().size() - 7), "/Kelto4");
}

TEST(Settings, CreatePathRefusesTheRootAndMakesEveryMissingLevel)
{
    QTemporaryDir dir;
    EXPECT_FALSE(CKelto4AppCore::CreatePath("/"));
    EXPECT_FALSE(CKelto4AppCore::CreatePath(""));
    const std::string deep = dir.path().toStdString() + "/one/two/";
    EXPECT_TRUE(CKelto4AppCore::CreatePath(deep));
    EXPECT_TRUE(QFileInfo(QString::fromStdString(deep)).isDir());
}

TEST_F(Shell, PractiseMissedWordsAsksToSaveThenTestsTheMissedWordsInANewList)
{
    QTemporaryDir sounds;
    app.SetDefaultSoundFolder(sounds.path().toStdString());
    doc.m_userName = "Ann";
    AddWords(doc, {"cat"});
    doc.SetModifiedFlag(true);
    frame->Commands().Execute(ID_PRACTISE_MISSED_WORDS);
    EXPECT_EQ(log.Texts(), std::vector<std::string>{"There are no misspelled words to practise."});
    EXPECT_EQ(doc.m_wordList.size(), 1u);
    EXPECT_TRUE(doc.IsModified());

    for (const char* word : {"dog", "cat", "dog"}) {
        auto missed = std::make_unique<CMissed>();
        missed->m_word = word;
        doc.m_missedList.push_back(std::move(missed));
    }
    log.Clear();
    log.answers = {IDCANCEL, IDNO};
    frame->Commands().Execute(ID_PRACTISE_MISSED_WORDS);
    EXPECT_EQ(log.Texts(), std::vector<std::string>{"Save changes to Untitled?"});
    EXPECT_EQ(doc.m_wordList.size(), 1u);
    EXPECT_EQ(frame->m_currentPage, PAGE_START);
    frame->Commands().Execute(ID_PRACTISE_MISSED_WORDS);
    ASSERT_EQ(doc.m_wordList.size(), 2u);
    EXPECT_EQ(doc.m_wordList[0]->m_word, "dog");
    EXPECT_EQ(doc.m_wordList[0]->m_soundFolder, "");
    EXPECT_EQ(doc.m_wordList[1]->m_word, "cat");
    EXPECT_EQ(doc.m_wordList[1]->m_soundFolder, "/tmp");
    // Named so until saved, so its results don't read "Untitled".
    EXPECT_EQ(doc.GetTitle(), "Practice");
    ASSERT_EQ(frame->m_currentPage, PAGE_TEST);
    EXPECT_EQ(static_cast<CTest*>(frame->ActivePage())->GetSession().GetNumberOfWords(), 2);
}

TEST_F(Shell, TodaysReviewTestsTheWordsDueOrSaysWhenTheNextComeBack)
{
    EXPECT_FALSE(Enabled(ID_TODAYS_REVIEW)); // nobody logged in
    doc.m_userName = "Ann";
    frame->Commands().Execute(ID_TODAYS_REVIEW);
    EXPECT_EQ(log.Texts(), std::vector<std::string>{"Nothing to review today."});

    const CCalendarDay today = doc.Today();
    doc.m_memory.RecordTest({{"cat", false}, {"dog", true}}, today.AddDays(-1));
    doc.m_memory.RecordTest({{"owl", true}}, today);
    log.Clear();
    frame->Commands().Execute(ID_TODAYS_REVIEW);
    ASSERT_EQ(doc.m_wordList.size(), 1u);
    EXPECT_EQ(doc.m_wordList[0]->m_word, "cat");
    EXPECT_EQ(doc.GetTitle(), "Review");
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Review - Keltora 3"));
    ASSERT_EQ(frame->m_currentPage, PAGE_TEST);

    frame->SwitchToPage(PAGE_START);
    doc.m_memory.clear();
    doc.m_memory.RecordTest({{"owl", true}}, today);
    frame->Commands().Execute(ID_TODAYS_REVIEW);
    EXPECT_EQ(log.Texts(),
              std::vector<std::string>{"Nothing to review today.\r\nThe next review is on Saturday 13 June."});
}

TEST(ShellHelp, TheHelpCommandsOpenTheGuideAtTheirSection)
{
    struct Case {
        int command;
        const char* section;
    };
    const Case cases[] = {{ID_HELP, ""}, {ID_HELP_FINDER, ""}, {ID_HELP_GETTING_STARTED, "getting-started"}};
    CTestAppCore app;
    CKelto4Doc doc(app);
    std::vector<QUrl> opened;
    CMainFrame frame(&doc, nullptr, [&opened](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    for (const Case& c : cases) {
        opened.clear();
        ASSERT_TRUE(frame.Commands().Execute(c.command)) << c.command;
        ASSERT_EQ(opened.size(), 1u) << c.command;
        EXPECT_EQ(opened[0].fileName(), QStringLiteral("userguide.html")) << c.command;
        EXPECT_EQ(opened[0].fragment(), QString::fromLatin1(c.section)) << c.command;
    }
}
