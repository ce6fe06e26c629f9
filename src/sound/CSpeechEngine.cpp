#include "sound/CSpeechEngine.h"

#include "model/Cp1252.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace {
// Where one word's samples go; espeak-ng hands it back to the callback as user data.
struct Sink {
    std::vector<int16_t>& samples;
    size_t limit;         // samples a word may take
    bool tooLong = false; // the word passed the limit
};

int collect(short* wave, int count, espeak_EVENT* events)
{
    Sink* sink = events ? static_cast<Sink*>(events->user_data) : nullptr;
    if (!sink)
        return 0;
    if (wave && count > 0)
        sink->samples.insert(sink->samples.end(), wave, wave + count);
    // A nonzero answer stops the synthesis: a word that would be said for longer than
    // the limit (a hundred digits, slowly) is refused rather than blocking Listen.
    sink->tooLong = sink->samples.size() > sink->limit;
    return sink->tooLong ? 1 : 0;
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

// Stress and length (primary and secondary stress, long and half-long) change how a
// sound is said, not which sound it is: "when" has the same sounds as "wen".
constexpr std::string_view kMarks[] = {"\u02C8", "\u02CC", "\u02D0", "\u02D1"};

// espeak-ng's symbols between the separators, without marks; a switch of language
// such as "(fr)" is no sound.
void AppendPhonemes(std::string_view symbols, std::vector<std::string>& phonemes)
{
    while (!symbols.empty()) {
        const std::size_t blank = symbols.find(' ');
        const std::string_view token = symbols.substr(0, blank);
        symbols.remove_prefix(blank == std::string_view::npos ? symbols.size() : blank + 1);
        if (token.empty() || token.front() == '(')
            continue;
        std::string phoneme(token);
        for (std::string_view mark : kMarks)
            for (std::size_t at; (at = phoneme.find(mark)) != std::string::npos;)
                phoneme.erase(at, mark.size());
        if (!phoneme.empty())
            phonemes.push_back(std::move(phoneme));
    }
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

bool CSpeechEngine::Fail(const std::string& text)
{
    m_error = text;
    return false;
}

bool CSpeechEngine::Initialise()
{
    if (m_state == State::NotTried) {
        espeak_ng_InitializePath(m_dataPath.empty() ? nullptr : m_dataPath.c_str());
        espeak_ng_ERROR_CONTEXT context = nullptr;
        espeak_ng_STATUS status = espeak_ng_Initialize(&context);
        espeak_ng_ClearErrorContext(&context);
        if (status == ENS_OK)
            status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
        if (status == ENS_OK) {
            espeak_SetSynthCallback(&collect);
            m_sampleRate = espeak_ng_GetSampleRate();
            m_state = State::Ready;
        } else {
            m_failText = "Keltora can't speak words on this computer: the speech data of espeak-ng is missing ("
                + Utf8ToCp1252(statusText(status)) + ").\r\nInstall the package espeak-ng-data, or record the words.";
            m_state = State::Failed;
        }
    }
    if (m_state == State::Failed)
        return Fail(m_failText);
    return true;
}

bool CSpeechEngine::ApplySettings()
{
    if (m_appliedVoice != m_voice) {
        espeak_VOICE wanted{};
        wanted.languages = m_voice.c_str();
        // A voice that was uninstalled since it was chosen gives way to plain English.
        if (m_voice.empty() || espeak_ng_SetVoiceByProperties(&wanted) != ENS_OK) {
            espeak_VOICE english{};
            english.languages = "en";
            if (espeak_ng_SetVoiceByProperties(&english) != ENS_OK)
                return Fail("Keltora can't find an English voice of espeak-ng.\r\nInstall the package espeak-ng-data, or record the words.");
        }
        m_appliedVoice = m_voice;
        m_appliedRate = -1; // a new voice starts at its own speed
    }
    if (m_appliedRate != m_rate) {
        espeak_ng_SetParameter(espeakRATE, m_rate, 0);
        m_appliedRate = m_rate;
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
    Sink sink{samples, size_t(m_sampleRate) * kMaxSeconds};
    espeak_ng_STATUS status = espeak_ng_Synthesize(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0,
                                                   espeakCHARS_UTF8, nullptr, &sink);
    trimSilence(samples, m_sampleRate);
    if (status == ENS_OK && samples.empty()) {
        // A word of punctuation alone is silent unless the marks are named aloud.
        espeak_ng_SetParameter(espeakPUNCTUATION, espeakPUNCT_ALL, 0);
        status = espeak_ng_Synthesize(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                                      nullptr, &sink);
        espeak_ng_SetParameter(espeakPUNCTUATION, espeakPUNCT_NONE, 0);
        trimSilence(samples, m_sampleRate);
    }
    if (sink.tooLong) {
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

CPhonemeSource::Result CSpeechEngine::TextToPhonemes(std::string_view text, std::vector<std::string>& phonemes)
{
    phonemes.clear();
    // espeak-ng keeps a word's phonemes in fixed buffers; what is too long to speak is
    // not turned into phonemes either.
    if (text.size() > kMaxLetters)
        return Result::CantSay;
    if (!Initialise() || !ApplySettings()) {
        m_phonemeError = m_error;
        return Result::Unavailable;
    }
    const std::string utf8 = Cp1252ToUtf8(std::string(text));
    // IPA symbols, one blank between phonemes; each call reads up to the next clause's end.
    const int mode = espeakPHONEMES_IPA | (' ' << 8);
    const void* next = utf8.c_str();
    for (std::size_t clauses = 0; next && clauses <= kMaxLetters; ++clauses) {
        const void* before = next;
        if (const char* symbols = espeak_TextToPhonemes(&next, espeakCHARS_UTF8, mode))
            AppendPhonemes(symbols, phonemes);
        if (next == before)
            break;
    }
    return Result::Done;
}
