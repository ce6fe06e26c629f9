#include "reports/CPracticeList.h"

#include "model/CWordSoundFolder.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace {
struct Tally {
    std::size_t count = 0;
    std::size_t newest = 0; // index of the word's newest record
    std::string_view word;
};
}

std::vector<std::string> CPracticeList::MissedWords(const COwnedList<CMissed>& missedList, std::size_t maxWords)
{
    // Views into the records: the list is only read, and a long history costs no copies.
    std::unordered_map<std::string_view, std::size_t> slot;
    slot.reserve(std::min<std::size_t>(missedList.size(), 4096));
    std::vector<Tally> tallies;
    for (std::size_t i = 0; i < missedList.size(); ++i) {
        const std::string_view word = missedList[i]->m_word;
        if (word.empty())
            continue;
        const auto [it, added] = slot.try_emplace(word, tallies.size());
        if (added)
            tallies.push_back(Tally{0, i, word});
        ++tallies[it->second].count;
    }
    const auto before = [](const Tally& a, const Tally& b) {
        return a.count != b.count ? a.count > b.count : a.newest < b.newest;
    };
    const std::size_t n = std::min(maxWords, tallies.size());
    std::partial_sort(tallies.begin(), tallies.begin() + std::ptrdiff_t(n), tallies.end(), before);
    std::vector<std::string> words;
    words.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        words.emplace_back(tallies[i].word);
    return words;
}

COwnedList<CSpellingList> CPracticeList::Build(const COwnedList<CMissed>& missedList,
                                               const COwnedList<CSpellingList>& currentList,
                                               const std::function<std::string()>& defaultSoundFolder)
{
    CWordSoundFolder folders(currentList, defaultSoundFolder);
    COwnedList<CSpellingList> list;
    for (const std::string& word : MissedWords(missedList)) {
        auto entry = std::make_unique<CSpellingList>();
        entry->m_word = word;
        entry->m_soundFolder = folders.For(word);
        list.push_back(std::move(entry));
    }
    return list;
}
