// The options page through its real controls.
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "options/COptions.h"
#include "PageTestSupport.h"
#include "platform/CDialogService.h"
#include "sound/CSpeechEngine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLocale>
#include <QSlider>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <tuple>

namespace {
enum { kSound = 1020, kUsers = 1021, kPicture = 1026, kSoundBrowse = 1009, kStretch = 1000, kCenter = 1001,
       kRandomize = 1025, kAuto = 1024, kShowMenu = 1030, kApply = 1029, kRestore = 1028,
       kShowFeedback = 1052, kCorrectMistakes = 1062,
       kSpeakMissing = 1040, kVoice = 1041, kTry = 1042, kRate = 1043, kRateText = 1044 };

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

TEST_F(OptionsPage, CorrectMistakesIsTickedByDefaultAndApplyStoresEachChangeOfIt)
{
    Open("");
    ASSERT_NE(Box(kCorrectMistakes), nullptr);
    EXPECT_EQ(Box(kCorrectMistakes)->text(), QStringLiteral("Correct Mistakes"));
    for (int stored : {0, 1}) {
        EXPECT_NE(Box(kCorrectMistakes)->isChecked(), stored == 1);
        Box(kCorrectMistakes)->click();
        Click(page.get(), kApply);
        EXPECT_EQ(app.GetCorrectMistakes(), stored);
        EXPECT_EQ(Box(kCorrectMistakes)->isChecked(), stored == 1);
    }
    // An edit that is not applied is thrown away by Restore.
    Box(kCorrectMistakes)->click();
    Click(page.get(), kRestore);
    EXPECT_TRUE(Box(kCorrectMistakes)->isChecked());
}

TEST_F(OptionsPage, SpokenWordsSettingsShowTheirDefaultsAreStoredByApplyAndReloadedByRestore)
{
    Open("Ann");
    auto* voice = FindControl<QComboBox>(page.get(), kVoice);
    auto* rate = FindControl<QSlider>(page.get(), kRate);
    const QString desktopVoice =
        QString::fromStdString(CSpeechEngine::DefaultVoiceFor(QLocale::system().name().toStdString()));
    auto shown = [&] {
        return std::make_tuple(Box(kSpeakMissing)->isChecked(), voice->currentData().toString(), rate->value(),
                               TextOf(page.get(), kRateText));
    };
    EXPECT_EQ(shown(), std::make_tuple(true, desktopVoice, 150, std::string("150 words a minute")));
    EXPECT_GE(voice->findData(QStringLiteral("en-gb")), 0);
    EXPECT_GE(voice->findData(QStringLiteral("en-us")), 0);
    EXPECT_EQ(rate->minimum(), 80);
    EXPECT_EQ(rate->maximum(), 300);

    auto edit = [&] {
        Box(kSpeakMissing)->setChecked(false);
        voice->setCurrentIndex(voice->findData(QStringLiteral("en-gb-x-rp")));
        rate->setValue(210);
    };
    edit();
    EXPECT_EQ(TextOf(page.get(), kRateText), "210 words a minute");
    Click(page.get(), kRestore);
    EXPECT_EQ(shown(), std::make_tuple(true, desktopVoice, 150, std::string("150 words a minute")));

    edit();
    Click(page.get(), kApply);
    EXPECT_EQ(app.GetSpeakMissingWords(), 0);
    EXPECT_EQ(app.GetVoice(), "en-gb-x-rp");
    EXPECT_EQ(app.GetSpeechRate(), 210);
    EXPECT_EQ(shown(), std::make_tuple(false, QStringLiteral("en-gb-x-rp"), 210, std::string("210 words a minute")));
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(OptionsPage, AVoiceThatIsNoLongerInstalledIsStillShownAndKept)
{
    app.SetVoice("en-xx-gone");
    Open("Ann");
    auto* voice = FindControl<QComboBox>(page.get(), kVoice);
    EXPECT_EQ(voice->currentData().toString(), QStringLiteral("en-xx-gone"));
    Click(page.get(), kApply);
    EXPECT_EQ(app.GetVoice(), "en-xx-gone");
}
