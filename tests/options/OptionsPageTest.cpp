// The options page through its real controls.
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "PageTestSupport.h"
#include "options/COptions.h"
#include "platform/CDialogService.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
enum { kSound = 1020, kUsers = 1021, kPicture = 1026, kSoundBrowse = 1009, kStretch = 1000, kCenter = 1001,
       kRandomize = 1025, kAuto = 1024, kShowMenu = 1030, kApply = 1029, kRestore = 1028,
       kShowFeedback = 1052 };

class CountingView : public CDocView {
public:
    void OnUpdate(CDocView*, long) override { ++updates; }
    int updates = 0;
};

class OptionsPage : public ::testing::Test {
protected:
    void Open(const std::string& user)
    {
        doc.m_userName = user;
        page = std::make_unique<COptions>(&doc);
        page->show();
        page->OnInitialUpdate();
    }
    QCheckBox* Box(int id) { return FindControl<QCheckBox>(page.get(), id); }
    void TearDown() override
    {
        CDialogService::SetAnswerer({});
        app.SetAuto("");
    }
    CTestAppCore app;
    CKelto4Doc doc{app};
    CMessageLog log;
    std::unique_ptr<COptions> page;
};
}

TEST_F(OptionsPage, WithNobodyLoggedInTheAutoBoxIsDisabledAndApplyLeavesAutoAlone)
{
    app.SetAuto("Zoe");
    Open("");
    EXPECT_FALSE(Box(kAuto)->isEnabled());
    Click(page.get(), kApply);
    EXPECT_EQ(app.GetAuto(), "Zoe");
}

TEST_F(OptionsPage, AutoOfAnotherUserShowsTickedAndOnlyClearingItEmptiesAuto)
{
    app.SetAuto("Zoe");
    Open("Ann");
    EXPECT_TRUE(Box(kAuto)->isEnabled());
    EXPECT_TRUE(Box(kAuto)->isChecked());
    Click(page.get(), kApply);
    EXPECT_EQ(app.GetAuto(), "Zoe");
    Box(kAuto)->click();
    Click(page.get(), kApply);
    EXPECT_EQ(app.GetAuto(), "");
    Box(kAuto)->click();
    Click(page.get(), kApply);
    EXPECT_EQ(app.GetAuto(), "Ann");
}

TEST_F(OptionsPage, CenterAppliedUpdatesTheDocumentTheSettingAndEveryView)
{
    Open("Ann");
    CountingView other;
    doc.AddView(&other);
    doc.m_pictureMode = 0;
    FindControl<QRadioButton>(page.get(), kCenter)->click();
    Click(page.get(), kApply);
    EXPECT_EQ(doc.m_pictureMode, 1);
    EXPECT_EQ(app.GetDefaultImageStretch(), 1);
    EXPECT_GE(other.updates, 1);
    doc.RemoveView(&other);
    app.SetDefaultImageStretch(0);
}

TEST_F(OptionsPage, RestoreThrowsTheEditsAway)
{
    Open("Ann");
    const bool menu = Box(kShowMenu)->isChecked();
    Box(kShowMenu)->click();
    Box(kRandomize)->click();
    Click(page.get(), kRestore);
    EXPECT_EQ(Box(kShowMenu)->isChecked(), menu);
    EXPECT_FALSE(Box(kRandomize)->isChecked());
}

TEST_F(OptionsPage, ShowMenuAppliedReachesTheMainWindow)
{
    Open("Ann");
    Box(kShowMenu)->click();
    Click(page.get(), kApply);
    EXPECT_EQ(app.GetShowMenu(), 0);
    ASSERT_FALSE(app.menuCalls.empty());
    EXPECT_FALSE(app.menuCalls.back());
    app.SetShowMenu(1);
}

TEST_F(OptionsPage, ANewDefaultSoundFolderMovesTheRecorderButNotTheList)
{
    QTemporaryDir dir;
    AddWords(doc, {"cat"}, "/tmp/ListFolder");
    Open("Ann");
    CDialogService::SetAnswerer([&](const CDialogService::Request& r) -> std::optional<QVariant> {
        EXPECT_EQ(r.caption, QStringLiteral("Choose a Directory"));
        return QVariant(dir.path());
    });
    Click(page.get(), kSoundBrowse);
    EXPECT_EQ(TextOf(page.get(), kSound), dir.path().toStdString());
    Click(page.get(), kApply);
    EXPECT_EQ(doc.m_recorder.GetFolder(), dir.path().toStdString());
    EXPECT_EQ(doc.m_wordList[0]->m_soundFolder, "/tmp/ListFolder");
    app.SetDefaultSoundFolder("");
}

TEST_F(OptionsPage, ChoosingTheSameFolderOrCancellingChangesNothing)
{
    Open("Ann");
    const std::string before = TextOf(page.get(), kSound);
    CDialogService::SetAnswerer([](const CDialogService::Request&) -> std::optional<QVariant> { return std::nullopt; });
    Click(page.get(), kSoundBrowse);
    EXPECT_EQ(TextOf(page.get(), kSound), before);
}

TEST_F(OptionsPage, ShowFeedbackIsTickedByDefaultAndClearingItIsStored)
{
    Open("");
    ASSERT_NE(Box(kShowFeedback), nullptr);
    EXPECT_EQ(Box(kShowFeedback)->text(), QStringLiteral("Show Feedback After A Wrong Answer"));
    EXPECT_TRUE(Box(kShowFeedback)->isChecked());
    Box(kShowFeedback)->click();
    Click(page.get(), kApply);
    EXPECT_EQ(app.GetShowFeedback(), 0);
    EXPECT_FALSE(Box(kShowFeedback)->isChecked());
    app.SetShowFeedback(1);
}
