// The options page's "Try" button against the test PulseAudio server.
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "options/COptions.h"
#include "PageTestSupport.h"
#include "SinkMonitor.h"
#include "sound/CSpeechEngine.h"

#include <QComboBox>
#include <QSlider>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
enum { kVoice = 1041, kTry = 1042, kRate = 1043 };

class TryVoice : public ::testing::Test {
protected:
    void Open()
    {
        doc.m_userName = "Ann";
        page = std::make_unique<COptions>(&doc);
        page->show();
        page->OnInitialUpdate();
    }
    CTestAppCore app;
    CKelto4Doc doc{app};
    CMessageLog log;
    std::unique_ptr<COptions> page;
};
}

TEST_F(TryVoice, TrySpeaksWithTheChosenVoiceAndRateBeforeTheyAreApplied)
{
    Open();
    SinkMonitor sink;
    ASSERT_TRUE(sink.Running());
    auto* voice = FindControl<QComboBox>(page.get(), kVoice);
    voice->setCurrentIndex(voice->findData(QStringLiteral("en-gb")));
    FindControl<QSlider>(page.get(), kRate)->setValue(300);
    sink.TakeLoud();
    Click(page.get(), kTry);
    EXPECT_GT(sink.TakeLoud(), 20);
    EXPECT_TRUE(log.entries.empty()) << log.entries[0].text;
    EXPECT_EQ(doc.m_speaker.Engine().GetVoice(), "en-gb");
    EXPECT_EQ(doc.m_speaker.Engine().GetRate(), 300);
    EXPECT_EQ(app.GetSpeechRate(), 150); // nothing stored before Apply
}

TEST_F(TryVoice, WithoutSpeechDataTryGivesOneClearMessage)
{
    QTemporaryDir empty;
    doc.m_speaker.Engine().SetDataPath(empty.path().toStdString());
    Open();
    Click(page.get(), kTry);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_NE(log.entries[0].text.find("espeak-ng-data"), std::string::npos) << log.entries[0].text;
}
