// Spoken words without a sound server: the engine's answers to good and bad words,
// the resampling to the recording format, and the spoken sound files written for a
// list. Each case runs in its own process, so the engine's first use is each test's own.
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "document/CKelto4Doc.h"
#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "sound/CResampler.h"
#include "sound/CSpeaker.h"
#include "sound/CSpeechEngine.h"
#include "sound/CWaveDevice.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

#include <unistd.h>

namespace {
double Seconds(const std::vector<int16_t>& samples, int rate, int channels)
{
    return double(samples.size()) / channels / rate;
}

int Peak(const std::vector<int16_t>& samples)
{
    int peak = 0;
    for (int16_t s : samples)
        peak = std::max(peak, std::abs(int(s)));
    return peak;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
}

TEST(SpeechEngine, TheDesktopLanguageChoosesTheDefaultVoiceAndTheRateStaysInRange)
{
    struct Case {
        const char* locale;
        const char* voice;
    } cases[] = {{"en_GB", "en-gb"}, {"en_GB.UTF-8", "en-gb"}, {"en_US", "en-us"}, {"en_AU", "en-us"},
                 {"de_DE", "en-us"}, {"C", "en-us"},         {"", "en-us"}};
    for (const Case& c : cases)
        EXPECT_EQ(CSpeechEngine::DefaultVoiceFor(c.locale), c.voice) << c.locale;
    for (auto [in, out] : std::initializer_list<std::pair<int, int>>{{0, 80}, {79, 80}, {80, 80}, {150, 150}, {300, 300}, {301, 300}, {-5, 80}})
        EXPECT_EQ(CSpeechEngine::ClampRate(in), out) << in;
}

TEST(SpeechEngine, StartingTheProgramsDocumentLeavesTheEngineAloneUntilAWordIsSpoken)
{
    CTestAppCore app;
    CKelto4Doc doc(app);
    doc.m_speaker.Configure(app.GetVoice(), app.GetSpeechRate());
    EXPECT_FALSE(doc.m_speaker.Engine().IsInitialised());
    std::vector<int16_t> samples;
    EXPECT_TRUE(doc.m_speaker.Engine().Synthesize("cat", samples));
    EXPECT_TRUE(doc.m_speaker.Engine().IsInitialised());
}

TEST(SpeechEngine, EveryKindOfWordGivesSpeechOrAClearReason)
{
    struct Case {
        std::string word;
        bool spoken;
        const char* reason; // part of the message when not spoken
    } cases[] = {
        {"cat", true, ""},
        {"12345", true, ""},
        {"?!.", true, ""}, // the marks are named
        {"caf\xe9", true, ""},
        {"ni\xf1o", true, ""},
        {"", false, "There is no word to speak."},
        {std::string(300, 'a'), false, "too long"},
        {std::string(100, '7'), false, "takes too long to say"},
    };
    CSpeechEngine engine;
    for (const char* voice : {"en-us", "en-gb"}) {
        engine.SetVoice(voice);
        for (const Case& c : cases) {
            std::vector<int16_t> samples;
            const bool spoken = engine.Synthesize(c.word, samples);
            ASSERT_EQ(spoken, c.spoken) << voice << " " << c.word.substr(0, 10) << ": " << engine.ErrorText();
            if (spoken) {
                EXPECT_GT(Peak(samples), 3000) << c.word;
                EXPECT_GT(Seconds(samples, engine.SampleRate(), 1), 0.1) << c.word;
                EXPECT_LT(Seconds(samples, engine.SampleRate(), 1), 4.0) << c.word;
            } else {
                EXPECT_NE(engine.ErrorText().find(c.reason), std::string::npos) << engine.ErrorText();
                EXPECT_TRUE(samples.empty());
            }
        }
    }
}

// Each document has its own engine; one made after another ended speaks, and neither
// end waits on the library.
TEST(SpeechEngine, AnEngineMadeAfterAnotherEndedSpeaksAndBothEnd)
{
    for (int i = 0; i < 3; ++i) {
        CSpeechEngine engine;
        std::vector<int16_t> samples;
        EXPECT_TRUE(engine.Synthesize("cat", samples)) << engine.ErrorText();
        EXPECT_FALSE(samples.empty());
    }
}

TEST(SpeechEngine, AFasterRateSaysTheSameWordInLessTime)
{
    CSpeechEngine engine;
    std::vector<int16_t> slow, fast;
    engine.SetRate(80);
    ASSERT_TRUE(engine.Synthesize("elephant", slow));
    engine.SetRate(300);
    ASSERT_TRUE(engine.Synthesize("elephant", fast));
    EXPECT_LT(fast.size() * 2, slow.size());
}

TEST(SpeechEngine, TheInstalledEnglishVoicesAreListedAndAnUnknownVoiceStillSpeaks)
{
    CSpeechEngine engine;
    std::vector<std::string> languages;
    for (const CSpeechEngine::Voice& v : engine.EnglishVoices()) {
        languages.push_back(v.language);
        EXPECT_FALSE(v.name.empty());
        EXPECT_EQ(v.language.rfind("en", 0), 0u) << v.language;
    }
    EXPECT_NE(std::find(languages.begin(), languages.end(), "en-gb"), languages.end());
    EXPECT_NE(std::find(languages.begin(), languages.end(), "en-us"), languages.end());
    EXPECT_TRUE(std::is_sorted(languages.begin(), languages.end()));
    engine.SetVoice("xx-nowhere");
    std::vector<int16_t> samples;
    EXPECT_TRUE(engine.Synthesize("dog", samples)) << engine.ErrorText();
}

TEST(SpeechEngine, MissingSpeechDataGivesOneClearReasonEveryTime)
{
    QTemporaryDir empty;
    CSpeechEngine engine;
    engine.SetDataPath(empty.path().toStdString());
    std::vector<int16_t> samples;
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(engine.Synthesize("cat", samples));
        EXPECT_TRUE(engine.Unavailable());
        EXPECT_NE(engine.ErrorText().find("espeak-ng-data"), std::string::npos) << engine.ErrorText();
    }
    EXPECT_TRUE(engine.EnglishVoices().empty());
}

TEST(Resampler, DoublingTheRateKeepsTheLengthAndThePitch)
{
    // One second of 441 Hz at 22050 Hz: 441 rising zero crossings either way.
    std::vector<int16_t> in(22050);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = int16_t(10000 * std::sin(2 * M_PI * 441.0 * double(i) / 22050.0));
    CResampler resampler;
    std::vector<int16_t> out;
    ASSERT_TRUE(resampler.Resample(in, 22050, 44100, 1, out)) << resampler.ErrorText();
    EXPECT_NEAR(double(out.size()), 44100.0, 50.0);
    int rising = 0;
    for (size_t i = 1; i < out.size(); ++i)
        rising += out[i - 1] < 0 && out[i] >= 0;
    EXPECT_NEAR(rising, 441, 2);
    EXPECT_NEAR(Peak(out), 10000, 300);

    const std::vector<int16_t> stereo = CResampler::MonoToStereo({1, -2, 3});
    EXPECT_EQ(stereo, (std::vector<int16_t>{1, 1, -2, -2, 3, 3}));
    EXPECT_FALSE(resampler.Resample(in, 0, 44100, 1, out));
}

TEST(Speaker, MissingSoundsAreWrittenOnlyWhereNoneExistsAndBadNamesAreCounted)
{
    QTemporaryDir dir;
    const std::string folder = CPath::FromNative(dir.path().toStdString());
    const std::string recorded = CPath::ToNative(CPath::Join(folder, "cat.wav"));
    {
        std::ofstream out(recorded, std::ios::binary);
        out << "the teacher's own recording";
    }
    CMessageLog log;
    CSoundRecorder recorder;
    CSpeaker speaker(recorder);
    std::vector<int> seen;
    const CSpeaker::MissingSounds result = speaker.WriteMissingSounds(
        folder, {"cat", "dog", "a/b", std::string(300, 'a'), "caf\xe9", "dog"}, [&](int done, int total) {
            EXPECT_EQ(total, 6);
            seen.push_back(done);
            return true;
        });
    EXPECT_EQ(result.written, 2);
    EXPECT_EQ(result.existing, 2); // cat, and dog the second time
    EXPECT_EQ(result.skipped, 2);
    EXPECT_EQ(result.failed, 0) << result.firstError;
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ReadAll(recorded), "the teacher's own recording");
    EXPECT_TRUE(log.entries.empty());
    for (const char* word : {"dog", "caf\xe9"}) {
        SF_INFO info{};
        SNDFILE* f = sf_open(CPath::ToNative(CPath::Join(folder, std::string(word) + ".wav")).c_str(), SFM_READ, &info);
        ASSERT_NE(f, nullptr) << word;
        sf_close(f);
        EXPECT_EQ(info.samplerate, 44100);
        EXPECT_EQ(info.channels, 2);
    }
    EXPECT_EQ(CSpeaker::Summary(result),
              "2 spoken sound files were written.\r\n"
              "2 words already had a sound file and were left as they were.\r\n"
              "2 words were skipped because they can't be used as file names.");
}

// Speak Missing Sounds writes only where nothing is, up to the very last step: what is
// there by then (a recording made on another machine meanwhile, a link) stays as it is.
TEST(Speaker, MissingSoundsNeverReplaceAFileOrALink)
{
    const struct {
        const char* name;
        // Prepares folder; the step then writes dog.wav.
        std::function<void(const std::string& folder, const std::string& elsewhere)> prepare;
        // The step: Speak Missing Sounds, or its last step on its own.
        bool lastStepOnly;
        // Nothing was at dog.wav, so the word may be written (through a name of its own).
        bool mayWrite;
    } cases[] = {
        {"a link to a recording not made yet",
         [](const std::string& folder, const std::string& elsewhere) {
             ASSERT_EQ(::symlink((elsewhere + "/dog.wav").c_str(), (folder + "/dog.wav").c_str()), 0);
         },
         false, false},
        {"links at the temporary file's names",
         [](const std::string& folder, const std::string& elsewhere) {
             for (unsigned n = 0; n < 200; ++n)
                 ASSERT_EQ(::symlink((elsewhere + "/thesis").c_str(),
                                     CAtomicFile::TemporaryName(folder + "/dog.wav", n).c_str()),
                           0);
         },
         false, true},
        {"a recording made while the word was spoken",
         [](const std::string& folder, const std::string&) {
             std::ofstream(folder + "/dog.wav", std::ios::binary) << "the teacher's own recording";
         },
         true, false},
    };
    // espeak-ng is started once in a process: one speaker for every case.
    CSoundRecorder recorder;
    CSpeaker speaker(recorder);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const std::string folder = dir.filePath(QStringLiteral("sounds")).toStdString();
        const std::string elsewhere = dir.filePath(QStringLiteral("home")).toStdString();
        ASSERT_TRUE(QDir().mkdir(QString::fromStdString(folder)) && QDir().mkdir(QString::fromStdString(elsewhere)));
        std::ofstream(elsewhere + "/thesis") << "my thesis";
        c.prepare(folder, elsewhere);
        const std::string before = ReadAll(folder + "/dog.wav");
        const bool wasLink = QFileInfo(QString::fromStdString(folder + "/dog.wav")).isSymLink();
        if (c.lastStepOnly) {
            CWaveDevice device;
            device.Load(std::vector<int16_t>(4410, 1000), CSoundRecorder::kSamplesPerSecond, 1);
            EXPECT_FALSE(device.Save(folder + "/dog.wav", CWaveDevice::SaveMode::newOnly));
        } else {
            const CSpeaker::MissingSounds result = speaker.WriteMissingSounds(CPath::FromNative(folder), {"dog"});
            if (!c.mayWrite) {
                EXPECT_EQ(result.written, 0);
            }
        }
        if (!c.mayWrite) {
            EXPECT_EQ(ReadAll(folder + "/dog.wav"), before);
            EXPECT_EQ(QFileInfo(QString::fromStdString(folder + "/dog.wav")).isSymLink(), wasLink);
        }
        EXPECT_FALSE(QFile::exists(QString::fromStdString(elsewhere + "/dog.wav")));
        EXPECT_EQ(ReadAll(elsewhere + "/thesis"), "my thesis");
    }
}

// Listen with "Speak words that have no recording": a word the engine refuses keeps
// its reason in the message beside the missing recording's.
TEST(Speaker, AWordThatCantBeSpokenSaysWhyInTheMessage)
{
    const struct {
        std::string word;
        const char* reason;
    } cases[] = {
        {std::string(101, 'a'), "too long to be spoken"},
        {std::string(100, '7'), "takes too long to say"},
    };
    QTemporaryDir dir;
    CMessageLog log;
    CSoundRecorder recorder;
    CSpeaker speaker(recorder);
    for (const auto& c : cases) {
        log.Clear();
        EXPECT_EQ(speaker.Listen(dir.path().toStdString(), c.word, true), 0);
        ASSERT_EQ(log.entries.size(), 1u) << c.reason;
        EXPECT_NE(log.entries[0].text.find("Error opening device for waveaudio"), std::string::npos)
            << log.entries[0].text;
        EXPECT_NE(log.entries[0].text.find(c.reason), std::string::npos) << log.entries[0].text;
    }
}

TEST(Speaker, CancellingStopsBeforeTheNextWord)
{
    QTemporaryDir dir;
    const std::string folder = CPath::FromNative(dir.path().toStdString());
    CSoundRecorder recorder;
    CSpeaker speaker(recorder);
    const CSpeaker::MissingSounds result =
        speaker.WriteMissingSounds(folder, {"one", "two", "three"}, [](int done, int) { return done < 1; });
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.written, 1);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("one.wav"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("two.wav"))));
    EXPECT_EQ(CSpeaker::Summary(result),
              "1 spoken sound file was written.\r\nYou stopped before the end of the list.");
}
