// The mixer and "Mic. Settings" opened from the words page, against the test
// PulseAudio server whose default source is a microphone without ports. These tests
// change the server's microphone volume, so CTest runs them one at a time.
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "PageTestSupport.h"
#include "sound/CMixer.h"
#include "words/CMicDlg.h"
#include "words/CWords.h"

#include <QSlider>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
enum { kMicSettings = 1045, kSlider = 1042, kStatus = 1043 };

class MicDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        page = std::make_unique<CWords>(&doc);
        page->show();
        page->OnInitialUpdate();
        saved = probe.GetMicVolume();
    }
    void TearDown() override
    {
        // Other sound tests record from the same source.
        if (saved)
            probe.SetMicVolume(saved);
    }
    CMicDlg* Open()
    {
        Click(page.get(), kMicSettings);
        const auto dialogs = page->findChildren<CMicDlg*>();
        return dialogs.size() == 1 ? dialogs.front() : nullptr;
    }
    static QPoint HandleCentre(QSlider* slider)
    {
        QStyleOptionSlider opt;
        opt.initFrom(slider);
        opt.orientation = slider->orientation();
        opt.minimum = slider->minimum();
        opt.maximum = slider->maximum();
        opt.sliderPosition = slider->sliderPosition();
        opt.sliderValue = slider->value();
        opt.singleStep = slider->singleStep();
        opt.pageStep = slider->pageStep();
        opt.upsideDown = slider->invertedAppearance();
        opt.subControls = QStyle::SC_All;
        return slider->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, slider).center();
    }

    CTestAppCore app;
    CKelto4Doc doc{app};
    CMessageLog log;
    CMixer probe;
    uint32_t saved = 0;
    std::unique_ptr<CWords> page;
};

TEST_F(MicDialog, OpensSelectedWithTheSliderFromMutedToNormalAtTheCurrentVolume)
{
    ASSERT_TRUE(probe.IsMicrophoneFound()) << "the test server's microphone is missing";
    ASSERT_EQ(probe.SetMicVolume(50000), 1);
    CMicDlg* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), "Mic. Settings");
    EXPECT_EQ(TextOf(dialog, kStatus), "Selected");
    auto* slider = FindControl<QSlider>(dialog, kSlider);
    ASSERT_NE(slider, nullptr);
    EXPECT_TRUE(slider->isEnabled());
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 65536);
    EXPECT_EQ(slider->value(), 50000);
    QStringList texts;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        texts << label->text();
    for (const char* text : {"-----------------------------", "Recording Volume", "-", "+", "This window can be left open."})
        EXPECT_TRUE(texts.contains(QString::fromLatin1(text))) << text;
    auto* close = FindControl<QPushButton>(dialog, 1);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "Close");
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(MicDialog, OnlyLettingGoOfTheSliderWithTheMouseWritesTheVolume)
{
    ASSERT_EQ(probe.SetMicVolume(50000), 1);
    CMicDlg* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    auto* slider = FindControl<QSlider>(dialog, kSlider);
    ASSERT_NE(slider, nullptr);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_PageUp);
    QTest::keyClick(slider, Qt::Key_Right);
    QApplication::processEvents();
    EXPECT_NE(slider->value(), 50000);
    EXPECT_EQ(probe.GetMicVolume(), 50000u) << "the keyboard moved the volume";

    // Drag the handle to the left and let go.
    const QPoint from = HandleCentre(slider);
    const QPoint to = from - QPoint(slider->width() / 5, 0);
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, from);
    ASSERT_TRUE(slider->isSliderDown());
    QMouseEvent move(QEvent::MouseMove, to, slider->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &move);
    const int dragged = slider->value();
    EXPECT_LT(dragged, 50000);
    EXPECT_EQ(probe.GetMicVolume(), 50000u) << "dragging wrote before the release";
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(probe.GetMicVolume(), uint32_t(dragged));
}

TEST_F(MicDialog, AVolumeAboveNormalStaysAsItIsAndAClickOnTheTrackWritesOnRelease)
{
    ASSERT_EQ(probe.SetMicVolume(80000), 1);
    ASSERT_EQ(probe.GetMicVolume(), 80000u);
    CMicDlg* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    auto* slider = FindControl<QSlider>(dialog, kSlider);
    ASSERT_NE(slider, nullptr);
    EXPECT_GE(slider->maximum(), 80000);
    EXPECT_EQ(slider->value(), 80000);

    // A click on the handle moves nothing, so the volume stays above normal.
    const QPoint handle = HandleCentre(slider);
    QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, handle);
    EXPECT_EQ(probe.GetMicVolume(), 80000u);

    // A click on the track, far left of the handle: the volume goes down on release.
    const QPoint track(slider->width() / 10, handle.y());
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, track);
    const int moved = slider->value();
    EXPECT_LT(moved, 80000);
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, track);
    EXPECT_EQ(probe.GetMicVolume(), uint32_t(moved));
}

TEST_F(MicDialog, PressingTheButtonAgainBringsTheSameDialogForwardAndClosingLetsANewOneOpen)
{
    CMicDlg* first = Open();
    ASSERT_NE(first, nullptr);
    first->hide();
    CMicDlg* again = Open();
    EXPECT_EQ(again, first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(page->findChildren<CMicDlg*>().size(), 1);

    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return page->findChildren<CMicDlg*>().isEmpty(); }, 1000));

    CMicDlg* next = Open();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(TextOf(next, kStatus), "Selected");
    Click(next, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return page->findChildren<CMicDlg*>().isEmpty(); }, 1000));
}

TEST(Mixer, FindsTheMicrophoneAndReadsAndSetsItsVolume)
{
    CMixer mixer;
    ASSERT_TRUE(mixer.IsMicrophoneFound());
    EXPECT_EQ(mixer.IsMicrophoneSelected(), 1);
    EXPECT_EQ(mixer.GetVolumeMinimum(), 0u);
    EXPECT_EQ(mixer.GetVolumeMaximum(), 65536u);
    const uint32_t before = mixer.GetMicVolume();
    EXPECT_EQ(mixer.SetMicVolume(30000), 1);
    EXPECT_EQ(mixer.GetMicVolume(), 30000u);
    mixer.SetMicVolume(before);
}

TEST(MicDialogWithoutServer, SaysCouldntAccessDisablesTheSliderAndShowsNoMessage)
{
    const QByteArray saved = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", "unix:/nonexistent/kelto4-no-server");
    {
        CMessageLog log;
        CMicDlg dialog(nullptr, nullptr);
        EXPECT_EQ(TextOf(&dialog, kStatus), "Couldn't Access");
        auto* slider = FindControl<QSlider>(&dialog, kSlider);
        ASSERT_NE(slider, nullptr);
        EXPECT_FALSE(slider->isEnabled());
        EXPECT_FALSE(dialog.Mixer().IsMicrophoneFound());
        EXPECT_EQ(dialog.Mixer().GetVolumeMinimum(), 1u);
        EXPECT_EQ(dialog.Mixer().GetVolumeMaximum(), 1u);
        EXPECT_EQ(dialog.Mixer().SetMicVolume(100), 0);
        EXPECT_TRUE(log.entries.empty());
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    }
    if (saved.isEmpty())
        qunsetenv("PULSE_SERVER");
    else
        qputenv("PULSE_SERVER", saved);
}
}
