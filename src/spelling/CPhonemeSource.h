#pragma once
#include <string>
#include <string_view>
#include <vector>

// Turns written text into the sounds a listener hears, so that spelling can be
// compared by sound without knowing where the sounds come from. The speech engine
// answers it in the program; tests may answer it from a table.
class CPhonemeSource {
public:
    enum class Result {
        Done,       // phonemes holds the sounds (none for text that makes no sound)
        CantSay,    // this text can't be turned into sounds (too long)
        Unavailable // no text can: the speech data is missing on this computer
    };

    virtual ~CPhonemeSource() = default;

    // The phonemes of text (Windows-1252) in order, each one symbol, with stress and
    // length marks left out.
    virtual Result TextToPhonemes(std::string_view text, std::vector<std::string>& phonemes) = 0;
    // What the phonemes depend on (the voice): a new value makes earlier answers stale.
    virtual std::string PhonemeVoice() const = 0;
    // Why TextToPhonemes answered Unavailable, in a sentence for the user.
    virtual std::string UnavailableText() const = 0;
};
