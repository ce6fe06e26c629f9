#pragma once
#include "model/CSpellingList.h"
#include "model/COwnedList.h"

#include <functional>
#include <optional>
#include <string>

// Where the recording of a word lies, for a list made from words alone (the practice and
// review lists): the sound folder of the current list's entry for the word when there is
// one, else the default sound folder when the word's sound file lies there, else empty
// (the word is then spoken).
class CWordSoundFolder {
public:
    // defaultSoundFolder is asked at most once, and only when a word needs it.
    CWordSoundFolder(const COwnedList<CSpellingList>& currentList, std::function<std::string()> defaultSoundFolder);

    std::string For(const std::string& word);

private:
    const COwnedList<CSpellingList>& m_currentList;
    std::function<std::string()> m_askDefault;
    std::optional<std::string> m_defaultFolder;
};
