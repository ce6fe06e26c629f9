// Help > Open the Sample List: the list that comes with the program, ready to try.
#include "app/CMainFrame.h"
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "document/CKelto4Doc.h"
#include "document/CSampleList.h"
#include "platform/CCommandManager.h"
#include "platform/CommandIds.h"

#include <QAction>
#include <QFile>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {
class SampleList : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = std::make_unique<CMainFrame>(&doc);
        doc.OnNewDocument();
        doc.SendInitialUpdate();
        frame->show();
    }
    // The menu bar's item with this text, as the user sees it.
    QAction* MenuItem(const QString& menu, const QString& text)
    {
        for (QAction* top : frame->menuBar()->actions())
            if (top->text() == menu && top->menu())
                for (QAction* item : top->menu()->actions())
                    if (item->text() == text)
                        return item;
        return nullptr;
    }
    CTestAppCore app;
    CKelto4Doc doc{app};
    CMessageLog log;
    std::unique_ptr<CMainFrame> frame;
};
}

TEST_F(SampleList, HelpMenuOpensTheTwelveWordsWithTheirSoundFolderAndNoAuthor)
{
    QAction* item = MenuItem(QStringLiteral("&Help"), QStringLiteral("Open the Sample List"));
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(item, frame->Commands().Action(ID_HELP_SAMPLE_LIST));
    ASSERT_FALSE(CSampleList::Find().empty()) << "the build makes the sample list";
    item->trigger();
    QApplication::processEvents();

    ASSERT_EQ(doc.m_wordList.size(), CSampleList::Words().size());
    EXPECT_EQ(doc.m_wordList.size(), 12u);
    const std::string folder = CSampleList::Find().substr(0, CSampleList::Find().rfind('/') + 1) + "Sample List";
    for (size_t i = 0; i < doc.m_wordList.size(); ++i) {
        EXPECT_EQ(doc.m_wordList[i]->m_word, CSampleList::Words()[i]);
        EXPECT_EQ(doc.m_wordList[i]->m_author, "");
        EXPECT_EQ(doc.m_wordList[i]->m_soundFolder, folder);
        EXPECT_TRUE(QFile::exists(QString::fromStdString(folder + "/" + CSampleList::Words()[i] + ".wav")))
            << CSampleList::Words()[i];
    }
    EXPECT_EQ(doc.GetTitle(), "Sample List");
    EXPECT_TRUE(log.entries.empty());
    // Anybody may take the test and edit the words.
    EXPECT_TRUE(frame->Commands().IsEnabled(ID_VIEW_TEST));
    EXPECT_TRUE(frame->Commands().IsEnabled(ID_VIEW_WORDS));
}

TEST_F(SampleList, CannotReplaceTheListWhileATestRuns)
{
    doc.m_testRunning = true;
    EXPECT_FALSE(frame->Commands().IsEnabled(ID_HELP_SAMPLE_LIST));
    EXPECT_FALSE(frame->Commands().Execute(ID_HELP_SAMPLE_LIST));
    EXPECT_TRUE(doc.m_wordList.empty());
}
