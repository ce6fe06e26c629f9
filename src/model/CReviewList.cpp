#include "model/CReviewList.h"

#include "model/CWordSoundFolder.h"

COwnedList<CSpellingList> CReviewList::Build(const CWordMemory& memory, CCalendarDay today,
                                             const COwnedList<CSpellingList>& currentList,
                                             const std::function<std::string()>& defaultSoundFolder)
{
    CWordSoundFolder folders(currentList, defaultSoundFolder);
    COwnedList<CSpellingList> list;
    for (const CWordMemory::Entry* due : memory.DueWords(today, CWordMemory::kReviewWords)) {
        auto entry = std::make_unique<CSpellingList>();
        entry->m_word = due->word;
        entry->m_soundFolder = folders.For(due->word);
        list.push_back(std::move(entry));
    }
    return list;
}

std::string CReviewList::NothingDueText(const CWordMemory& memory, CCalendarDay today)
{
    std::string text = kNothingDueText;
    const std::optional<CCalendarDay> next = memory.NextDueDay(today);
    if (!next)
        return text;
    if (*next == today.AddDays(1))
        return text + "\r\nThe next review is tomorrow.";
    return text + "\r\nThe next review is on " + next->Spoken(today.Year()) + ".";
}

std::string CReviewList::DueTodayText(std::size_t count)
{
    if (count == 0)
        return std::string();
    return std::to_string(count) + (count == 1 ? " word" : " words") + " to review today";
}
