// The test page playing words through the document's real recorder, against the
// private PulseAudio server that scripts/test starts. The words' sounds are short
// WAVE files the tests write themselves.
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "model/CPath.h"
#include "PageTestSupport.h"
#include "SinkMonitor.h"
#include "sound/CSpeechEngine.h"
#include "spelltest/CLineListBox.h"
#include "spelltest/CTest.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <vector>

namespace {

enum { kListen = 1012, kAnswer = 1013, kStatus = 1014, kCheck = 1015, kNext = 1016, kStart = 1018, kAnswers = 1023 };

// A tenth of a second of 440 Hz in the program's recording format.
void WriteWave(const std::string& nativePath)
{
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(nativePath.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    const int frames = info.samplerate / 10;
    std::vector<short> samples(size_t(frames) * 2);
    for (int i = 0; i < frames; ++i)
        samples[size_t(i) * 2] = samples[size_t(i) * 2 + 1] =
            short(8000 * std::sin(2 * M_PI * 440.0 * i / info.samplerate));
    EXPECT_EQ(sf_writef_short(file, samples.data(), frames), frames);
    sf_close(file);
}

class TestPageSound : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sounds.isValid());
        QSettings(QStringLiteral("Tarvel"), QStringLiteral("Kelto4")).clear();
        // Wrong answers here are not corrected; the test page's own tests cover that.
        app.SetCorrectMistakes(0);
        app.m_userFolder = sounds.path().toStdString();
        folder = CPath::FromNative(sounds.path().toStdString());
    }
    // words: Windows-1252 texts; a sound file is written for each one in recorded.
    void Open(const std::vector<std::string>& words, const std::vector<std::string>& recorded,
              const std::string& listFolder)
    {
        for (const std::string& word : recorded)
            WriteWave(CPath::ToNative(CPath::Join(folder, word + ".wav")));
        doc.m_userName = "Ann";
        AddWords(doc, words, listFolder);
        page = std::make_unique<CTest>(&doc);
        page->show();
        page->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
        page->OnInitialUpdate();
    }
    int FocusId() const
    {
        QWidget* focus = QApplication::focusWidget();
        return focus ? GetControlId(focus) : 0;
    }
    std::string Messages() const
    {
        std::string all;
        for (const std::string& text : log.Texts())
            all += text + "\n";
        return all;
    }

    QTemporaryDir sounds;
    std::string folder;
    CTestAppCore app;
    CMessageLog log;
    CKelto4Doc doc{app};
    std::unique_ptr<CTest> page;
};

} // namespace

TEST_F(TestPageSound, ListenPlaysTheWordAndHandsTheFocusToTheAnswerBox)
{
    Open({"cat"}, {"cat"}, folder);
    Click(page.get(), kStart);
    ASSERT_EQ(FocusId(), kListen);
    Click(page.get(), kListen);
    EXPECT_TRUE(log.entries.empty()) << Messages();
    EXPECT_EQ(FocusId(), kAnswer);
    EXPECT_FALSE(doc.m_recorder.IsOpen());
    // Listening changes nothing about the test; the word may be heard again.
    EXPECT_EQ(page->GetSession().GetState(), CTestSession::State::AwaitingAnswer);
    Click(page.get(), kListen);
    EXPECT_TRUE(log.entries.empty()) << Messages();
}

TEST_F(TestPageSound, AWholeTestRunsFromTheKeyboardAlone)
{
    Open({"cat", "dog"}, {"cat", "dog"}, folder);
    QWidget* start = FindControl<QWidget>(page.get(), kStart);
    start->setFocus();
    QTest::keyClick(start, Qt::Key_Space);
    for (const char* answer : {"cat", "dgo"}) {
        ASSERT_EQ(FocusId(), kListen) << answer;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // plays
        ASSERT_EQ(FocusId(), kAnswer) << answer;
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(answer));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // checks
        ASSERT_EQ(FocusId(), kNext) << answer;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // next word, or the end
    }
    EXPECT_TRUE(log.entries.empty()) << Messages();
    EXPECT_EQ(TextOf(page.get(), kStatus), "End of Test.  Check out your final score.\nClick Start to redo test.");
    EXPECT_FALSE(doc.m_testRunning);
    ASSERT_EQ(doc.m_gradeList.size(), 1u);
    EXPECT_EQ(doc.m_gradeList[0]->m_correct, 1);
    EXPECT_EQ(doc.m_gradeList[0]->m_words, 2);
    ASSERT_EQ(doc.m_missedList.size(), 1u);
    EXPECT_EQ(doc.m_missedList[0]->m_misspelling, "dgo");
    EXPECT_EQ(FocusId(), kStart);
}

TEST_F(TestPageSound, AMissingSoundShowsTheRecordersMessageAndTheTestGoesOn)
{
    app.SetSpeakMissingWords(0);
    Open({"cat", "dog"}, {"cat"}, folder);
    Click(page.get(), kStart);
    Click(page.get(), kListen);
    EXPECT_TRUE(log.entries.empty()) << Messages();
    TypeInto(page.get(), kAnswer, QStringLiteral("cat"));
    Click(page.get(), kCheck);
    Click(page.get(), kNext);
    Click(page.get(), kListen);
    ASSERT_EQ(log.entries.size(), 1u);
    const std::string path = folder + "/dog.wav";
    EXPECT_NE(log.entries[0].text.find("Error opening device for waveaudio " + path), std::string::npos)
        << log.entries[0].text;
    EXPECT_FALSE(doc.m_recorder.IsOpen());
    EXPECT_EQ(FocusId(), kAnswer);
    TypeInto(page.get(), kAnswer, QStringLiteral("dog"));
    Click(page.get(), kCheck);
    EXPECT_EQ(TextOf(page.get(), kStatus), "You got it right!");
    Click(page.get(), kNext);
    EXPECT_EQ(doc.m_gradeList[0]->m_correct, 2);
}

TEST_F(TestPageSound, TheSoundPathJoinsFolderAndWordWithOneSlash)
{
    // A folder written with a closing slash, and a word with a letter beyond ASCII.
    Open({"caf\xe9", "dog"}, {"caf\xe9", "dog"}, folder + "/");
    Click(page.get(), kStart);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(log.entries.empty()) << Messages();
    EXPECT_EQ(page->GetSession().SoundPath(), folder + "/caf\xe9.wav");
}

TEST_F(TestPageSound, ListenForAWordThatWouldNameAFileOutsideTheSoundFolderFailsAndReadsNothing)
{
    app.SetSpeakMissingWords(0);
    // Every file that such a word would reach exists and would play.
    const std::string listFolder = folder + "/sounds";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(CPath::ToNative(listFolder + "/a"))));
    for (const char* decoy : {"/x.wav", "/sounds/x.wav", "/sounds/.wav", "/sounds/a/b.wav"})
        WriteWave(CPath::ToNative(folder + decoy));
    const std::vector<std::string> words{"../x", "/x", "/", "a/b", std::string(300, 'w')};
    Open(words, {}, listFolder);
    Click(page.get(), kStart);
    for (const std::string& word : words) {
        SCOPED_TRACE(word.substr(0, 20));
        log.Clear();
        Click(page.get(), kListen);
        std::string path;
        std::string why;
        EXPECT_FALSE(CPath::WordSoundPath(listFolder, word, path, &why));
        EXPECT_FALSE(why.empty());
        ASSERT_EQ(log.entries.size(), 1u);
        EXPECT_EQ(log.entries[0].text, why + "\r\nError opening device for waveaudio " + listFolder + "/" + word + ".wav");
        EXPECT_FALSE(doc.m_recorder.IsOpen());
        TypeInto(page.get(), kAnswer, QString::fromStdString(word));
        Click(page.get(), kCheck);
        Click(page.get(), kNext);
    }
    EXPECT_FALSE(doc.m_testRunning);
}

TEST_F(TestPageSound, AListWithoutRecordingsIsSpokenWordByWordFromStartToEnd)
{
    // "dog.wav" exists but is no sound: it can't be played, so it is spoken too.
    std::ofstream(CPath::ToNative(CPath::Join(folder, "dog.wav"))) << "not a sound";
    Open({"cat", "dog", "caf\xe9", "12"}, {}, folder);
    SinkMonitor sink;
    ASSERT_TRUE(sink.Running());
    Click(page.get(), kStart);
    for (const char* answer : {"cat", "dog", "caf\xe9", "12"}) {
        sink.TakeLoud();
        Click(page.get(), kListen);
        EXPECT_GT(sink.TakeLoud(), 5) << answer;
        EXPECT_EQ(FocusId(), kAnswer) << answer;
        EXPECT_FALSE(doc.m_recorder.IsOpen());
        TypeInto(page.get(), kAnswer, QString::fromLatin1(answer));
        Click(page.get(), kCheck);
        Click(page.get(), kNext);
    }
    EXPECT_TRUE(log.entries.empty()) << Messages();
    ASSERT_EQ(doc.m_gradeList.size(), 1u);
    EXPECT_EQ(doc.m_gradeList[0]->m_correct, 4);
    EXPECT_FALSE(doc.m_testRunning);
}

TEST_F(TestPageSound, MissingSpeechDataSaysSoOnceAndTheRecordersMessageStands)
{
    QTemporaryDir empty;
    doc.m_speaker.Engine().SetDataPath(empty.path().toStdString());
    Open({"cat", "dog"}, {}, folder);
    Click(page.get(), kStart);
    Click(page.get(), kListen);
    ASSERT_EQ(log.entries.size(), 2u) << Messages();
    EXPECT_NE(log.entries[0].text.find("espeak-ng-data"), std::string::npos) << Messages();
    EXPECT_NE(log.entries[1].text.find("Error opening device for waveaudio " + folder + "/cat.wav"), std::string::npos);
    TypeInto(page.get(), kAnswer, QStringLiteral("cat"));
    Click(page.get(), kCheck);
    Click(page.get(), kNext);
    log.Clear();
    Click(page.get(), kListen);
    ASSERT_EQ(log.entries.size(), 1u) << Messages();
    EXPECT_NE(log.entries[0].text.find("Error opening device for waveaudio"), std::string::npos);
    EXPECT_EQ(page->GetSession().GetState(), CTestSession::State::AwaitingAnswer);
}
