#pragma once
#include "model/CCalendarDay.h"
#include "model/COwnedList.h"
#include "model/CSpellingList.h"
#include "model/CWordMemory.h"

#include <cstddef>
#include <functional>
#include <string>

// Today's Review: a spelling list of the words a learner's memory brings back today, and
// the texts that tell how many there are and when the next ones come.
class CReviewList {
public:
    // The list's name until it is saved under one of its own.
    static constexpr const char* kTitle = "Review";
    static constexpr const char* kNothingDueText = "Nothing to review today.";

    // At most CWordMemory::kReviewWords of the words due on today or earlier, in the order
    // a review asks them; no author, each sound folder found by CWordSoundFolder.
    static COwnedList<CSpellingList> Build(const CWordMemory& memory, CCalendarDay today,
                                           const COwnedList<CSpellingList>& currentList,
                                           const std::function<std::string()>& defaultSoundFolder);
    // kNothingDueText and, when words are waiting, the day the next of them comes back.
    static std::string NothingDueText(const CWordMemory& memory, CCalendarDay today);
    // "5 words to review today", "1 word to review today"; empty for none.
    static std::string DueTodayText(std::size_t count);
};
