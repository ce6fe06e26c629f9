// Spellings compared by sound through espeak-ng itself, in the program's engine and
// in kelto4-tool sounds. Each case runs in its own process with a fresh home.
#include "model/ModelTestSupport.h"
#include "platform/CProfile.h"
#include "sound/CSpeechEngine.h"
#include "spelling/CSoundComparison.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace {

using Verdict = CSoundComparison::Verdict;

struct Case {
    std::string word;
    std::string answer;
    Verdict verdict;
};

// These hold for the American and the British voice alike.
const Case kCases[] = {
    {"birds", "berds", Verdict::Right},
    {"knife", "nife", Verdict::Right},
    {"phone", "fone", Verdict::Right},
    {"receive", "recieve", Verdict::Right},
    {"said", "sed", Verdict::Right},
    {"when", "wen", Verdict::Right}, // stress set aside
    {"friend", "Frend", Verdict::Right},
    {"ice cream", "icecream", Verdict::Right},
    {"hello, world", "hello world", Verdict::Right}, // a clause at a time
    {"twelve", "12", Verdict::Right},
    {"caf\xE9", "cafe", Verdict::Right},
    {"birds", "brids", Verdict::Different}, // the sounds out of order
    {"stop", "stog", Verdict::Close},
    {"shake", "shak", Verdict::Close},
    {"friend", "freind", Verdict::Close},
    {"horses", "horss", Verdict::Different},
    {"cat", "", Verdict::Different},
    {"cat", "?!", Verdict::Different},
    {"cat", std::string(101, 'a'), Verdict::Different}, // too long to say
};

TEST(SoundComparisonByEspeak, MisspellingsThatSoundRightCloseOrDifferentInEnglishVoices)
{
    // One engine, as in the program: espeak-ng 1.51 can't be started twice in a process.
    CSpeechEngine engine;
    CSoundComparison sounds(engine);
    for (const char* voice : {"en-us", "en-gb"}) {
        engine.SetVoice(voice);
        for (const Case& c : kCases)
            EXPECT_EQ(sounds.Compare(c.word, c.answer), c.verdict) << voice << ": " << c.word << " / " << c.answer;
    }
    // The kept phonemes are the voice's own.
    engine.SetVoice("en-us");
    EXPECT_EQ(sounds.Compare("father", "farther"), Verdict::Close);
    engine.SetVoice("en-gb");
    EXPECT_EQ(sounds.Compare("father", "farther"), Verdict::Right);
}

TEST(SoundComparisonByEspeak, WithoutSpeechDataNothingIsComparedAndTheReasonIsGiven)
{
    TempFolder empty;
    CSpeechEngine engine;
    engine.SetDataPath(empty.Path());
    CSoundComparison sounds(engine);
    EXPECT_EQ(sounds.Compare("birds", "berds"), Verdict::Unavailable);
    EXPECT_FALSE(sounds.IsAvailable());
    EXPECT_NE(sounds.UnavailableText().find("espeak-ng-data"), std::string::npos) << sounds.UnavailableText();
}

TEST(SoundComparisonByEspeak, AnyTypedTextIsComparedAndSpeechStillWorksAfterwards)
{
    CSpeechEngine engine;
    CSoundComparison sounds(engine);
    std::mt19937 random(28);
    std::string text;
    const std::string odd[] = {"..", "a..b", std::string(50, '\''), "s's's's's's's's's's's's's's's's's's's's's's's'",
                               "[[h@l'oU]]", "<speak>x</speak>", "\x80\x81\x8d\x9f", std::string(100, '9')};
    for (const std::string& answer : odd)
        EXPECT_NE(sounds.Compare("cat", answer), Verdict::Unavailable) << answer;
    for (int i = 0; i < 1500; ++i) {
        text.resize(random() % 110);
        for (char& c : text)
            c = char(1 + random() % 255);
        EXPECT_NE(sounds.Compare("cat", text), Verdict::Unavailable) << testing::PrintToString(text);
    }
    std::vector<int16_t> samples;
    EXPECT_TRUE(engine.Synthesize("cat", samples)) << engine.ErrorText();
    EXPECT_FALSE(samples.empty());
}

class SoundsTool : public ::testing::Test {
protected:
    ToolRun Sounds(const std::string& arguments, const std::string& input = {})
    {
        std::ofstream(scratch.File("in"), std::ios::binary) << input;
        return RunTool(KELTO4_TOOL, scratch, "sounds " + arguments + " <'" + scratch.File("in") + "'");
    }
    TempFolder scratch;
};

TEST_F(SoundsTool, PrintsOneVerdictPerPairInTheVoiceChosenOnTheOptionsPage)
{
    ASSERT_TRUE(CProfile::WriteProfileString("Settings", "Voice", "en-us"));
    ToolRun run = Sounds("", "birds\tberds\nstop\tstog\r\nbirds\tbrids\nbirds\n\nfather\tfarther");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "right\nclose\ndifferent\ndifferent\nright\nclose\n");
    EXPECT_EQ(run.err, "");
    run = Sounds("knife nife");
    EXPECT_EQ(run.out, "right\n");
    ASSERT_TRUE(CProfile::WriteProfileString("Settings", "Voice", "en-gb"));
    run = Sounds("father farther");
    EXPECT_EQ(run.out, "right\n"); // no r in the British voice
    run = Sounds("father");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
}

TEST_F(SoundsTool, WithoutSpeechDataSaysWhyAndPrintsNothing)
{
    TempFolder empty;
    // espeak-ng looks here first for its data.
    setenv("ESPEAK_DATA_PATH", empty.Path().c_str(), 1);
    const ToolRun run = Sounds("", "birds\tberds\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("sounds can't be compared"), std::string::npos) << run.err;
}

} // namespace
