// The list's file as the main window handles it: paths kept exactly, Save on a
// write-protected list, the recent-file list, the File menu, the page bar; and folders
// that the settings can't hold.
#include "app/CMainFrame.h"
#include "app/CRecentFileList.h"
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "options/COptions.h"
#include "PageTestSupport.h"
#include "platform/CCommandManager.h"
#include "platform/CDialogService.h"
#include "platform/CommandIds.h"
#include "platform/CProfile.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {
std::string Slurp(const QString& path)
{
    std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class Files : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings(QStringLiteral("Tarvel"), QStringLiteral("Kelto4")).remove(QStringLiteral("Recent File List"));
        frame = std::make_unique<CMainFrame>(&doc);
        doc.OnNewDocument();
        doc.SendInitialUpdate();
        frame->show();
    }
    void TearDown() override { CDialogService::SetAnswerer({}); }

    // A list of the given words written at path (a Qt path, any characters).
    static void WriteList(const QString& path, const std::vector<std::string>& words)
    {
        CTestAppCore core;
        CKelto4Doc other(core);
        AddWords(other, words);
        ASSERT_TRUE(other.OnSaveDocument(QFile::encodeName(path).toStdString()));
    }
    // Answers every Save As with path (nullopt: Cancel) and keeps the requests.
    void AnswerSaveAs(std::optional<QString> path)
    {
        CDialogService::SetAnswerer([this, path](const CDialogService::Request& r) -> std::optional<QVariant> {
            requests.push_back(r);
            if (!path)
                return std::nullopt;
            return QVariant(*path);
        });
    }
    QMenu* RecentMenu()
    {
        for (QAction* a : frame->menuBar()->actions())
            if (a->menu())
                for (QAction* item : a->menu()->actions())
                    if (item->text() == QStringLiteral("Recent File"))
                        return item->menu();
        return nullptr;
    }

    CTestAppCore app;
    CKelto4Doc doc{app};
    CMessageLog log;
    std::unique_ptr<CMainFrame> frame;
    QTemporaryDir dir;
    std::vector<CDialogService::Request> requests;
};
}

// Drag and drop, the command line and the hand-over from another copy all open through
// OpenDocumentFile.
TEST_F(Files, AListWhosePathWindows1252CanNotHoldKeepsItsPathExactly)
{
    const QString folder = dir.filePath(QStringLiteral("Ωμέγα 日本"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = QDir(folder).filePath(QStringLiteral("Λέξεις.ktr"));
    WriteList(path, {"cat"});
    ASSERT_TRUE(frame->OpenDocumentFile(path));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Λέξεις - Keltora 3"));

    AddWords(doc, {"dog"});
    EXPECT_TRUE(frame->Commands().Execute(ID_FILE_SAVE));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("Λέξεις.ktr")});
    ASSERT_TRUE(frame->OpenDocumentFile(path));
    EXPECT_EQ(doc.m_wordList.size(), 2u);

    const QString copy = QDir(folder).filePath(QStringLiteral("Σ.ktr"));
    AnswerSaveAs(copy);
    EXPECT_TRUE(frame->Commands().Execute(ID_FILE_SAVE_AS));
    EXPECT_TRUE(QFile::exists(copy));
    CRecentFileList stored;
    stored.ReadList();
    EXPECT_EQ(stored.Files(), (std::vector<std::string>{QFile::encodeName(copy).toStdString(),
                                                        QFile::encodeName(path).toStdString()}));
}

TEST_F(Files, SaveOnAWriteProtectedListAsksForANameAndLeavesTheFile)
{
    const QString path = dir.filePath(QStringLiteral("week1.ktr"));
    WriteList(path, {"cat"});
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    const std::string before = Slurp(path);
    ASSERT_TRUE(frame->OpenDocumentFile(path));
    AddWords(doc, {"dog"});
    AnswerSaveAs(std::nullopt);
    EXPECT_FALSE(frame->OnFileSave());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, CDialogService::Kind::SaveFile);
    EXPECT_EQ(Slurp(path), before);

    AnswerSaveAs(dir.filePath(QStringLiteral("week1 copy.ktr")));
    EXPECT_TRUE(frame->OnFileSave());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("week1 copy - Keltora 3"));
    EXPECT_EQ(Slurp(path), before);
}

TEST_F(Files, RecentFilesFillASessionThatStartedWithNoneAndDropAFileThatFailsToOpen)
{
    QMenu* recent = RecentMenu();
    ASSERT_NE(recent, nullptr);
    EXPECT_FALSE(recent->isEnabled());
    const QString path = dir.filePath(QStringLiteral("week1.ktr"));
    AnswerSaveAs(path);
    ASSERT_TRUE(frame->Commands().Execute(ID_FILE_SAVE));
    EXPECT_TRUE(recent->isEnabled());
    ASSERT_EQ(recent->actions().size(), 1);

    ASSERT_TRUE(QFile::remove(path));
    recent->actions().front()->trigger();
    EXPECT_EQ(log.Texts(), std::vector<std::string>{"Failed to open document."});
    EXPECT_TRUE(frame->RecentFiles().Files().empty());
    EXPECT_FALSE(recent->isEnabled());
}

TEST_F(Files, ExitHasItsKeyLetterAndShiftF1StartsWhatsThis)
{
    QAction* exit = frame->Commands().Action(ID_APP_EXIT);
    EXPECT_EQ(exit->text(), QStringLiteral("E&xit"));
    auto* button = qobject_cast<QToolButton*>(frame->PageBar()->widgetForAction(exit));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("Exit"));

    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(frame.get(), Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
}

TEST_F(Files, SaveAsStartsInTheListsFolderOrForANewListInTheDocumentsFolder)
{
    AnswerSaveAs(std::nullopt);
    frame->OnFileSaveAs();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].startPath, QDir(documents).filePath(QStringLiteral("Untitled.ktr")));

    const QString path = dir.filePath(QStringLiteral("Spelling 2.5.ktr"));
    WriteList(path, {"cat"});
    ASSERT_TRUE(frame->OpenDocumentFile(path));
    frame->OnFileSaveAs();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].startPath, path);
}

struct TitleCase {
    const char* file;
    const char* title;
};

void PrintTo(const TitleCase& c, std::ostream* os) { *os << c.file; }

class ListTitles : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ListTitles, DropOnlyTheListExtension)
{
    CTestAppCore app;
    CKelto4Doc doc(app);
    doc.SetPathName(std::string("/lists/") + GetParam().file);
    EXPECT_EQ(doc.GetTitle(), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(Names, ListTitles,
                         ::testing::Values(TitleCase{"Spelling 2.5.ktr", "Spelling 2.5"},
                                           TitleCase{"Spelling 2.5", "Spelling 2.5"},
                                           TitleCase{"week1.KTR", "week1"},
                                           TitleCase{"notes.txt", "notes.txt"}));

TEST_F(Files, ThePageBarCanNotBeHiddenFromTheWindowsContextMenu)
{
    frame->ShowMenu(false);
    std::unique_ptr<QMenu> menu(frame->createPopupMenu());
    if (menu)
        for (QAction* a : menu->actions())
            a->trigger();
    EXPECT_TRUE(frame->PageBar()->isVisible());
}

// The options page keeps folders and the picture as 8-bit text; one it can't hold is
// refused by name, and Apply stores nothing.
struct RefusedCase {
    const char* name;
    int browse;
    int edit;
    const char* setting;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class RefusedPaths : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedPaths, AreNamedInAMessageAndNeverStored)
{
    CTestAppCore app;
    CKelto4Doc doc(app);
    doc.OnNewDocument();
    CMessageLog log;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Ωμέγα"));
    ASSERT_TRUE(QDir().mkdir(path));
    CDialogService::SetAnswerer([&](const CDialogService::Request&) -> std::optional<QVariant> { return QVariant(path); });
    COptions page(&doc);
    page.show();
    page.OnInitialUpdate();
    const std::string before = TextOf(&page, GetParam().edit);
    Click(&page, GetParam().browse);
    CDialogService::SetAnswerer({});
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_NE(log.entries[0].text.find("can't use the"), std::string::npos) << log.entries[0].text;
    EXPECT_NE(log.entries[0].text.find(dir.path().toStdString()), std::string::npos) << log.entries[0].text;
    EXPECT_EQ(TextOf(&page, GetParam().edit), before);
    Click(&page, 1029); // Apply
    EXPECT_EQ(CProfile::GetProfileString("Settings", GetParam().setting, "unset"), "unset");
}

INSTANTIATE_TEST_SUITE_P(Options, RefusedPaths,
                         ::testing::Values(RefusedCase{"SoundFolder", 1009, 1020, "DefaultSoundFolder"},
                                           RefusedCase{"UserFolder", 1010, 1021, "DefaultUserFolder"},
                                           RefusedCase{"Picture", 1027, 1026, "DefaultImage"}),
                         [](const auto& p) { return std::string(p.param.name); });
