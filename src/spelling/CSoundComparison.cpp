#include "spelling/CSoundComparison.h"

CSoundComparison::CSoundComparison(CPhonemeSource& source)
    : m_source(source)
{
}

const char* CSoundComparison::Name(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Right: return "right";
    case Verdict::Close: return "close";
    case Verdict::Different: return "different";
    case Verdict::Unavailable: break;
    }
    return "";
}

const char* CSoundComparison::Advice(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Right: return "It sounds right: you heard every sound. Now learn how the word is spelled.";
    case Verdict::Close: return "It sounds close: listen again to the sounds.";
    case Verdict::Different: return "It sounds different: listen to the word again, sound by sound.";
    case Verdict::Unavailable: break;
    }
    return "";
}

bool CSoundComparison::IsAvailable()
{
    return m_source.TextToPhonemes({}, m_scratch) != CPhonemeSource::Result::Unavailable;
}

CSoundComparison::Verdict CSoundComparison::Compare(std::string_view word, std::string_view answer)
{
    if (word == answer)
        return Verdict::Right;
    if (std::string voice = m_source.PhonemeVoice(); voice != m_voice) {
        m_cache.clear();
        m_voice = std::move(voice);
    }
    // Emptied before both look-ups, so the word's entry stays while the answer's is made.
    if (m_cache.size() + 2 > kMostCached)
        m_cache.clear();
    const Entry* w = Lookup(word);
    const Entry* a = w ? Lookup(answer) : nullptr;
    if (!w || !a)
        return Verdict::Unavailable;
    // A text that can't be said, or has no sound, sounds like nothing else.
    if (w->result != CPhonemeSource::Result::Done || a->result != CPhonemeSource::Result::Done ||
        w->phonemes.empty() || a->phonemes.empty())
        return Verdict::Different;
    return Judge(w->phonemes, a->phonemes);
}

const CSoundComparison::Entry* CSoundComparison::Lookup(std::string_view text)
{
    if (const auto found = m_cache.find(text); found != m_cache.end())
        return &found->second;
    const CPhonemeSource::Result result = m_source.TextToPhonemes(text, m_scratch);
    if (result == CPhonemeSource::Result::Unavailable)
        return nullptr;
    Entry entry{result, {}};
    if (result == CPhonemeSource::Result::Done) {
        entry.phonemes.reserve(m_scratch.size());
        for (const std::string& symbol : m_scratch) {
            auto known = m_symbols.find(symbol);
            if (known == m_symbols.end())
                known = m_symbols.emplace(symbol, Phoneme(m_symbols.size())).first;
            entry.phonemes.push_back(known->second);
        }
    }
    // Nodes stay where they are when the table grows, so the word's entry survives this.
    return &m_cache.emplace(std::string(text), std::move(entry)).first->second;
}

CSoundComparison::Verdict CSoundComparison::Judge(std::span<const Phoneme> word, std::span<const Phoneme> answer)
{
    const std::size_t n = word.size();
    const std::size_t m = answer.size();
    if (n == m) {
        std::size_t first = 0;
        while (first < n && word[first] == answer[first])
            ++first;
        if (first == n)
            return Verdict::Right;
        std::size_t last = n - 1;
        while (word[last] == answer[last])
            --last;
        if (first == last)
            return Verdict::Close; // one phoneme changed
        if (last == first + 1 && word[first] == answer[last] && word[last] == answer[first])
            return Verdict::Close; // two neighbours the other way round
        return Verdict::Different;
    }
    if (n + 1 != m && m + 1 != n)
        return Verdict::Different;
    // One phoneme left out or added: the longer without one of its phonemes is the shorter.
    const std::span<const Phoneme> longer = n > m ? word : answer;
    const std::span<const Phoneme> shorter = n > m ? answer : word;
    std::size_t i = 0;
    while (i < shorter.size() && longer[i] == shorter[i])
        ++i;
    for (std::size_t j = i; j < shorter.size(); ++j)
        if (longer[j + 1] != shorter[j])
            return Verdict::Different;
    return Verdict::Close;
}
