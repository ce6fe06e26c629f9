#pragma once
#include "model/CMissed.h"
#include "model/COwnedList.h"
#include "model/CSpellingList.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// A spelling list of the words a learner missed, for practising them again: each
// word once, the most often missed first, at most kMaxWords.
class CPracticeList {
public:
    static constexpr std::size_t kMaxWords = 20;
    static constexpr const char* kNoMissedWordsText =
        "There are no misspelled words to practise.";
    // The list's name until it is saved under one of its own.
    static constexpr const char* kTitle = "Practice";

    // The distinct words of missedList (newest record first), the most often missed
    // first; words missed equally often come in the order of their newest record.
    // Records with an empty word are left out. At most maxWords.
    static std::vector<std::string> MissedWords(const COwnedList<CMissed>& missedList,
                                                std::size_t maxWords = kMaxWords);

    // The practice list: one entry per missed word, no author, its sound folder found
    // by CWordSoundFolder (defaultSoundFolder is asked at most once, only when needed).
    static COwnedList<CSpellingList> Build(const COwnedList<CMissed>& missedList,
                                           const COwnedList<CSpellingList>& currentList,
                                           const std::function<std::string()>& defaultSoundFolder);
};
