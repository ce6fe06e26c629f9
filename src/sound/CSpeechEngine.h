#pragma once
#include "spelling/CPhonemeSource.h"

#include <cstdint>
#include <string>
#include <vector>

// Speech synthesis through libespeak-ng, in this process and in synchronous mode:
// a word goes in, 16-bit mono PCM at SampleRate() comes out. The library is loaded
// and initialised only when the first word is spoken (or the voices are listed), so
// start-up never waits for it. espeak-ng keeps one state per process, so one engine
// at a time owns it (the program's is the document's, through its speaker); all calls
// come from the user-interface thread. It also turns text
// into phonemes, in the same voice, for the comparison of spellings by sound.
class CSpeechEngine : public CPhonemeSource {
public:
    CSpeechEngine() = default;
    // Leaves the library started: espeak-ng 1.51 hangs in espeak_ng_Terminate once it has
    // been started a second time, and a later engine starts it again without harm.
    ~CSpeechEngine() override = default;
    CSpeechEngine(const CSpeechEngine&) = delete;
    CSpeechEngine& operator=(const CSpeechEngine&) = delete;

    struct Voice {
        std::string language; // "en-gb": what the "Voice" setting holds
        std::string name;     // "English (Great Britain)"
    };

    static constexpr int kMinRate = 80;
    static constexpr int kMaxRate = 300;
    static constexpr int kDefaultRate = 150;
    // Longer words are refused rather than spelt out for half a minute.
    static constexpr size_t kMaxLetters = 100;
    // No word is spoken for longer than this.
    static constexpr int kMaxSeconds = 15;

    // The voice a desktop in this language gets: "en-gb" for en_GB, "en-us" otherwise.
    static std::string DefaultVoiceFor(const std::string& localeName);
    // The rate kept within kMinRate..kMaxRate.
    static int ClampRate(int wordsPerMinute);

    // Where espeak-ng's data lies; empty (the default) lets the library look where
    // the system installed it. Only takes effect before the first use.
    void SetDataPath(const std::string& path) { m_dataPath = path; }
    // Whether this engine has initialised the library (tests prove start-up leaves it alone).
    bool IsInitialised() const { return m_state == State::Ready; }

    void SetVoice(const std::string& language) { m_voice = language; }
    void SetRate(int wordsPerMinute) { m_rate = ClampRate(wordsPerMinute); }
    const std::string& GetVoice() const { return m_voice; }
    int GetRate() const { return m_rate; }

    // The installed English voices, sorted by language; empty (and ErrorText() set)
    // when the speech data can't be found.
    std::vector<Voice> EnglishVoices();

    // Speaks text (Windows-1252) into mono samples at SampleRate(). False with a
    // sentence for the user in ErrorText() when nothing can be said; Unavailable()
    // tells whether the reason is that speech can't work at all on this computer.
    bool Synthesize(const std::string& text, std::vector<int16_t>& samples);
    int SampleRate() const { return m_sampleRate; }
    bool Unavailable() const { return m_state == State::Failed; }
    const std::string& ErrorText() const { return m_error; }

    // The phonemes as espeak-ng's IPA symbols; the engine's state is the same as for
    // speaking (the library is started on first use, the voice applied).
    Result TextToPhonemes(std::string_view text, std::vector<std::string>& phonemes) override;
    std::string PhonemeVoice() const override { return m_voice; }
    std::string UnavailableText() const override { return m_phonemeError; }

private:
    enum class State { NotTried, Ready, Failed };

    bool Initialise();
    bool ApplySettings();
    bool Fail(const std::string& text);

    std::string m_voice = "en-us";
    int m_rate = kDefaultRate;
    std::string m_error;
    std::string m_phonemeError;

    // The library's state, as this engine left it.
    State m_state = State::NotTried;
    std::string m_failText;
    std::string m_dataPath;
    int m_sampleRate = 22050;
    std::string m_appliedVoice;
    int m_appliedRate = -1;
};
