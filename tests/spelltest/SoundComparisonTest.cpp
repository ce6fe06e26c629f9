// The comparison by sound, over a phoneme source whose phonemes are the letters
// themselves, so every case shows its phonemes in plain sight.
#include "spelling/CSoundComparison.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

using Verdict = CSoundComparison::Verdict;

// Each letter is one phoneme, lower case; '-' is a stress mark (no sound); a text
// starting with '!' can't be said. In the voice "b", x sounds like c.
class LetterSounds : public CPhonemeSource {
public:
    Result TextToPhonemes(std::string_view text, std::vector<std::string>& phonemes) override
    {
        phonemes.clear();
        ++asked;
        if (unavailable)
            return Result::Unavailable;
        if (!text.empty() && text.front() == '!')
            return Result::CantSay;
        for (char c : text) {
            const char lower = char(std::tolower(static_cast<unsigned char>(c)));
            if (c != '-')
                phonemes.emplace_back(1, voice == "b" && lower == 'x' ? 'c' : lower);
        }
        return Result::Done;
    }
    std::string PhonemeVoice() const override { return voice; }
    std::string UnavailableText() const override { return "no speech here"; }

    std::string voice = "a";
    bool unavailable = false;
    int asked = 0;
};

struct Case {
    const char* word;
    const char* answer;
    Verdict verdict;
};

const Case kCases[] = {
    {"abcd", "abcd", Verdict::Right},
    {"abcd", "ABcd", Verdict::Right},   // other letters, the same sounds
    {"abcd", "a-bc-d", Verdict::Right}, // stress marks are no sound
    {"abcd", "abxd", Verdict::Close},   // one changed
    {"abcd", "xbcd", Verdict::Close},
    {"abcd", "abd", Verdict::Close},   // one left out
    {"abcd", "abcde", Verdict::Close}, // one added
    {"abcd", "abxcd", Verdict::Close},
    {"abcd", "bacd", Verdict::Close},  // two neighbours the other way round
    {"ab", "ba", Verdict::Close},
    {"aab", "aba", Verdict::Close},
    {"abcd", "badc", Verdict::Different}, // two swaps
    {"abcd", "axcx", Verdict::Different}, // two changed
    {"abcd", "acbx", Verdict::Different}, // a swap and a change
    {"abcd", "ab", Verdict::Different},  // two left out
    {"abcd", "abcdef", Verdict::Different},
    {"a", "", Verdict::Different}, // a text without sound sounds like nothing
    {"", "a", Verdict::Different},
    {"--", "-", Verdict::Different},
    {"abcd", "!abcd", Verdict::Different}, // too long to say
    {"!abcd", "!abcd", Verdict::Right},    // the same text needs no sound
};

TEST(SoundComparison, SameSoundsAreRightOneSoundOffIsCloseMoreIsDifferent)
{
    LetterSounds source;
    CSoundComparison sounds(source);
    for (const Case& c : kCases) {
        EXPECT_EQ(sounds.Compare(c.word, c.answer), c.verdict) << c.word << " / " << c.answer;
        // Which text is the word makes no difference.
        EXPECT_EQ(sounds.Compare(c.answer, c.word), c.verdict) << c.answer << " / " << c.word;
    }
}

TEST(SoundComparison, EachTextIsAskedForOnceUntilTheVoiceChanges)
{
    LetterSounds source;
    CSoundComparison sounds(source);
    EXPECT_EQ(sounds.Compare("cat", "xat"), Verdict::Close);
    EXPECT_EQ(sounds.Compare("cat", "cta"), Verdict::Close);
    EXPECT_EQ(sounds.Compare("cat", "xat"), Verdict::Close);
    EXPECT_EQ(sounds.Compare("cat", "cat"), Verdict::Right);
    EXPECT_EQ(source.asked, 3);
    source.voice = "b";
    EXPECT_EQ(sounds.Compare("cat", "xat"), Verdict::Right);
    EXPECT_EQ(source.asked, 5);
}

TEST(SoundComparison, WithoutSpeechNothingIsComparedUntilSpeechWorks)
{
    LetterSounds source;
    source.unavailable = true;
    CSoundComparison sounds(source);
    EXPECT_FALSE(sounds.IsAvailable());
    EXPECT_EQ(sounds.Compare("cat", "kat"), Verdict::Unavailable);
    EXPECT_EQ(sounds.UnavailableText(), "no speech here");
    EXPECT_STREQ(CSoundComparison::Name(Verdict::Unavailable), "");
    EXPECT_STREQ(CSoundComparison::Advice(Verdict::Unavailable), "");
    source.unavailable = false;
    EXPECT_TRUE(sounds.IsAvailable());
    EXPECT_EQ(sounds.Compare("cat", "kat"), Verdict::Close);
}

} // namespace
