#include "sound/CSpeechEngine.h"

#include "model/Cp1252.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstdlib>

namespace {
enum class State { NotTried, Ready, Failed };

struct Shared {
    State state = State::NotTried;
    std::string failText;
    std::string dataPath;
    int sampleRate = 22050;
    std::string appliedVoice;
    int appliedRate = -1;
    std::vector<int16_t>* sink = nullptr;
    size_t limit = 0;      // samples a word may take
    bool tooLong = false;  // the last word passed the limit
};

Shared& shared()
{
    static Shared s;
    return s;
}

int collect(short* wave, int count, espeak_EVENT*)
{
    Shared& s = shared();
    if (wave && count > 0 && s.sink)
        s.sink->insert(s.sink->end(), wave, wave + count);
    // A nonzero answer stops the synthesis: a word that would be said for longer than
    // the limit (a hundred digits, slowly) is refused rather than blocking Listen.
    s.tooLong = s.sink && s.sink->size() > s.limit;
    return s.tooLong ? 1 : 0;
}

std::string statusText(espeak_ng_STATUS status)
{
    char buffer[256] = {};
    espeak_ng_GetStatusCodeMessage(status, buffer, sizeof buffer);
    return buffer;
}

// Below this a sample is taken as silence: espeak-ng pads words with quiet frames.
constexpr int kQuiet = 300;

bool isLoud(int16_t sample)
{
    return std::abs(int(sample)) > kQuiet;
}

// Leading and trailing silence only delays the word and the end of Play.
void trimSilence(std::vector<int16_t>& samples, int rate)
{
    const auto first = std::find_if(samples.begin(), samples.end(), isLoud);
    if (first == samples.end()) {
        samples.clear();
        return;
    }
    const auto last = std::find_if(samples.rbegin(), samples.rend(), isLoud).base();
    // A few quiet frames either side keep the edges soft; few before, so the word starts at once.
    const std::ptrdiff_t lead = rate / 500;
    const std::ptrdiff_t tail = rate / 100;
    const std::ptrdiff_t begin = std::max<std::ptrdiff_t>(0, (first - samples.begin()) - lead);
    const std::ptrdiff_t end = std::min<std::ptrdiff_t>(std::ptrdiff_t(samples.size()), (last - samples.begin()) + tail);
    samples = std::vector<int16_t>(samples.begin() + begin, samples.begin() + end);
}
}

std::string CSpeechEngine::DefaultVoiceFor(const std::string& localeName)
{
    return localeName.rfind("en_GB", 0) == 0 ? "en-gb" : "en-us";
}

int CSpeechEngine::ClampRate(int wordsPerMinute)
{
    return std::clamp(wordsPerMinute, kMinRate, kMaxRate);
}

void CSpeechEngine::SetDataPath(const std::string& path)
{
    shared().dataPath = path;
}

bool CSpeechEngine::IsInitialised()
{
    return shared().state == State::Ready;
}

bool CSpeechEngine::Unavailable() const
{
    return shared().state == State::Failed;
}

int CSpeechEngine::SampleRate() const
{
    return shared().sampleRate;
}

bool CSpeechEngine::Fail(const std::string& text)
{
    m_error = text;
    return false;
}

bool CSpeechEngine::Initialise()
{
    Shared& s = shared();
    if (s.state == State::NotTried) {
        espeak_ng_InitializePath(s.dataPath.empty() ? nullptr : s.dataPath.c_str());
        espeak_ng_ERROR_CONTEXT context = nullptr;
        espeak_ng_STATUS status = espeak_ng_Initialize(&context);
        espeak_ng_ClearErrorContext(&context);
        if (status == ENS_OK)
            status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
        if (status == ENS_OK) {
            espeak_SetSynthCallback(&collect);
            s.sampleRate = espeak_ng_GetSampleRate();
            s.state = State::Ready;
        } else {
            s.failText = "Keltora can't speak words on this computer: the speech data of espeak-ng is missing ("
                + Utf8ToCp1252(statusText(status)) + ").\r\nInstall the package espeak-ng-data, or record the words.";
            s.state = State::Failed;
        }
    }
    if (s.state == State::Failed)
        return Fail(s.failText);
    return true;
}

bool CSpeechEngine::ApplySettings()
{
    Shared& s = shared();
    if (s.appliedVoice != m_voice) {
        espeak_VOICE wanted{};
        wanted.languages = m_voice.c_str();
        // A voice that was uninstalled since it was chosen gives way to plain English.
        if (m_voice.empty() || espeak_ng_SetVoiceByProperties(&wanted) != ENS_OK) {
            espeak_VOICE english{};
            english.languages = "en";
            if (espeak_ng_SetVoiceByProperties(&english) != ENS_OK)
                return Fail("Keltora can't find an English voice of espeak-ng.\r\nInstall the package espeak-ng-data, or record the words.");
        }
        s.appliedVoice = m_voice;
        s.appliedRate = -1; // a new voice starts at its own speed
    }
    if (s.appliedRate != m_rate) {
        espeak_ng_SetParameter(espeakRATE, m_rate, 0);
        s.appliedRate = m_rate;
    }
    return true;
}

std::vector<CSpeechEngine::Voice> CSpeechEngine::EnglishVoices()
{
    std::vector<Voice> voices;
    if (!Initialise())
        return voices;
    const espeak_VOICE** all = espeak_ListVoices(nullptr);
    for (size_t i = 0; all && all[i]; ++i) {
        // languages: a priority byte, then the language name, for each language.
        const char* languages = all[i]->languages;
        if (!languages || !languages[0])
            continue;
        const std::string language = languages + 1;
        if (language != "en" && language.rfind("en-", 0) != 0)
            continue;
        const bool known = std::any_of(voices.begin(), voices.end(), [&](const Voice& v) { return v.language == language; });
        if (!known)
            voices.push_back({language, Utf8ToCp1252(all[i]->name ? all[i]->name : language.c_str())});
    }
    std::sort(voices.begin(), voices.end(), [](const Voice& a, const Voice& b) { return a.language < b.language; });
    return voices;
}

bool CSpeechEngine::Synthesize(const std::string& text, std::vector<int16_t>& samples)
{
    samples.clear();
    if (text.empty())
        return Fail("There is no word to speak.");
    if (text.size() > kMaxLetters)
        return Fail("This word is too long to be spoken: words of more than " + std::to_string(kMaxLetters)
                    + " letters are not spoken.");
    if (!Initialise() || !ApplySettings())
        return false;
    const std::string utf8 = Cp1252ToUtf8(text);
    Shared& s = shared();
    s.sink = &samples;
    s.limit = size_t(s.sampleRate) * kMaxSeconds;
    s.tooLong = false;
    espeak_ng_STATUS status = espeak_ng_Synthesize(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0,
                                                   espeakCHARS_UTF8, nullptr, nullptr);
    trimSilence(samples, s.sampleRate);
    if (status == ENS_OK && samples.empty()) {
        // A word of punctuation alone is silent unless the marks are named aloud.
        espeak_ng_SetParameter(espeakPUNCTUATION, espeakPUNCT_ALL, 0);
        status = espeak_ng_Synthesize(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                                      nullptr, nullptr);
        espeak_ng_SetParameter(espeakPUNCTUATION, espeakPUNCT_NONE, 0);
        trimSilence(samples, s.sampleRate);
    }
    s.sink = nullptr;
    if (s.tooLong) {
        samples.clear();
        return Fail("This word takes too long to say: it would be spoken for more than "
                    + std::to_string(kMaxSeconds) + " seconds.");
    }
    if (status != ENS_OK)
        return Fail("The word could not be spoken (" + Utf8ToCp1252(statusText(status)) + ").");
    if (samples.empty())
        return Fail("There is nothing in this word that can be spoken.");
    return true;
}
