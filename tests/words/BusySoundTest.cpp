// The real program while a word plays on the words page: a list that the file
// manager hands over meanwhile waits until Play has returned, so the page is not
// reset and the device not closed under the playing sound.
#include "app/CKelto4App.h"
#include "app/CMainFrame.h"
#include "CTestAppCore.h"
#include "model/CPath.h"
#include "PageTestSupport.h"
#include "platform/CCommandManager.h"
#include "platform/CommandIds.h"
#include "TestEnvironment.h"

#include <QSettings>
#include <QTest>
#include <QTimer>
#include "WaveFiles.h"
#include <gtest/gtest.h>
#include <sndfile.h>

#include <vector>

namespace {
enum { kPlay = 1002, kRecord = 1003, kStop = 1004, kSaveSound = 1005 };
char g_name[] = "kelto4";

TEST(BusySound, AListHandedOverDuringPlayOpensOnlyAfterPlayHasReturned)
{
    QSettings(QStringLiteral("Tarvel"), QStringLiteral("Kelto4")).setValue(QStringLiteral("Settings/Auto"), "Ann");
    const std::string list = UseFreshHome() + "/Documents/week2.ktr";
    {
        CTestAppCore core;
        CKelto4Doc writer(core);
        AddWords(writer, {"receive"});
        ASSERT_TRUE(writer.OnSaveDocument(list));
    }
    int argc = 1;
    char* argv[] = {g_name, nullptr};
    CKelto4App app(argc, argv);
    ASSERT_TRUE(app.InitInstance());
    CKelto4Doc* doc = app.Document();
    ASSERT_TRUE(app.MainFrame()->Commands().Execute(ID_VIEW_WORDS));
    QWidget* page = app.MainFrame()->Page(PAGE_WORDS);
    ASSERT_NE(page, nullptr);
    Click(page, kRecord);
    Click(page, kStop);
    // A second and a half to play.
    WriteTone(CPath::ToNative(doc->m_recorder.GetTempPath()), 1.5);

    QTimer::singleShot(200, [&] { CKelto4App::ForwardToRunningCopy(QString::fromStdString(list)); });
    size_t wordsDuringPlay = 99;
    bool openDuringPlay = false;
    QTimer::singleShot(900, [&] {
        wordsDuringPlay = doc->m_wordList.size();
        openDuringPlay = doc->m_recorder.IsOpen();
    });
    Click(page, kPlay);
    EXPECT_EQ(wordsDuringPlay, 0u);
    EXPECT_TRUE(openDuringPlay);
    EXPECT_TRUE(IsEnabled(page, kSaveSound)) << "the page was reset under Play";
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc->m_wordList.size() == 1; }, 3000));
}
}
