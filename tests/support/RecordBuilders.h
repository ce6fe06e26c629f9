#pragma once
// Records made in one line, for the tests and the benchmarks.
#include "model/CGrade.h"
#include "model/CMissed.h"
#include "model/COwnedList.h"
#include "model/CSpellingList.h"

#include <memory>
#include <string>
#include <vector>

inline std::unique_ptr<CSpellingList> Entry(const std::string& author, const std::string& folder,
                                            const std::string& word)
{
    auto entry = std::make_unique<CSpellingList>();
    entry->m_author = author;
    entry->m_soundFolder = folder;
    entry->m_word = word;
    return entry;
}

inline std::unique_ptr<CGrade> Grade(const std::string& listName, const std::string& date, int correct,
                                     int words)
{
    auto grade = std::make_unique<CGrade>();
    grade->SetListName(listName);
    grade->SetDate(date);
    grade->SetCorrect(correct);
    grade->SetWords(words);
    return grade;
}

inline std::unique_ptr<CMissed> Missed(const std::string& listName, const std::string& date,
                                       const std::string& word, const std::string& misspelling)
{
    auto missed = std::make_unique<CMissed>();
    missed->SetListName(listName);
    missed->SetDate(date);
    missed->SetWord(word);
    missed->SetMisspelling(misspelling);
    return missed;
}

// The words of a list, in its order.
inline std::vector<std::string> WordsOf(const COwnedList<CSpellingList>& list)
{
    std::vector<std::string> words;
    for (const auto& entry : list)
        words.push_back(entry->m_word);
    return words;
}
