#pragma once
#include "spelling/CPhonemeSource.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Does a misspelling sound like the word? Both are turned into phonemes by a
// CPhonemeSource (the speech engine, in the voice chosen on the options page) and
// the two sequences compared: the same phonemes sound right; one phoneme changed,
// left out or added, or two neighbouring phonemes the other way round, sound close;
// anything more sounds different. A learner whose answer sounds right heard every
// sound and has a spelling pattern to learn; one whose answer sounds different needs
// to listen again. This sits beside the rules analysis and changes nothing in it.
//
// Each text's phonemes are kept, so a word asked again (or an answer made again)
// costs one look-up; a new voice forgets them.
class CSoundComparison {
public:
    enum class Verdict : unsigned char {
        Right,
        Close,
        Different,
        Unavailable, // speech can't work on this computer: nothing was compared
    };

    explicit CSoundComparison(CPhonemeSource& source);

    // Identical texts sound right without asking the source. A text with no sound
    // (empty, or only marks) or one too long to say sounds like nothing: Different.
    Verdict Compare(std::string_view word, std::string_view answer);
    // Whether sounds can be compared at all on this computer (starts the source).
    bool IsAvailable();
    // Why the last Unavailable came, in a sentence for the user.
    std::string UnavailableText() const { return m_source.UnavailableText(); }

    // "right", "close", "different"; empty for Unavailable (the exports' "Sounds" column).
    static const char* Name(Verdict verdict);
    // What the feedback panel says to a learner; empty for Unavailable.
    static const char* Advice(Verdict verdict);

private:
    using Phoneme = std::uint32_t;
    struct Entry {
        CPhonemeSource::Result result;
        std::vector<Phoneme> phonemes;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    // The kept entry of text, asking the source when there is none; nullptr when the
    // source is unavailable (which is not kept: a new voice may mend it).
    const Entry* Lookup(std::string_view text);
    static Verdict Judge(std::span<const Phoneme> word, std::span<const Phoneme> answer);

    // Enough for every word and answer of a large class's history.
    static constexpr std::size_t kMostCached = 50000;

    CPhonemeSource& m_source;
    std::string m_voice;
    std::unordered_map<std::string, Entry, Hash, std::equal_to<>> m_cache;
    std::unordered_map<std::string, Phoneme, Hash, std::equal_to<>> m_symbols;
    std::vector<std::string> m_scratch;
};

