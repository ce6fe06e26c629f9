#pragma once
#include "model/COwnedList.h"
#include "model/CSpellingList.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The words page's working copy of the spelling list: only the words' texts, in the
// order the list box shows them. The document's list is rebuilt from it on Save List.
// Positions are list indexes; -1 means "nothing selected".
class CWordListEditor {
public:
    // The longest word a list takes from another file: a word's sound file is named after
    // it and must fit the file system, and the speech engine speaks words of up to 100
    // letters. (A longer word typed on the page is listed, and its sound fails with a reason.)
    static constexpr std::size_t kMaxWordLength = 80;
    enum class WordProblem { None, Blank, TooLong, NotAWord };
    // Can word (Windows-1252) stand in a list? Blank: empty or only blanks; NotAWord: it
    // holds a line break, tab or other control character, which no one types in a word.
    static WordProblem Check(std::string_view word);

    const std::vector<std::string>& Words() const { return m_words; }
    int Count() const { return int(m_words.size()); }

    void Clear() { m_words.clear(); }
    void Append(const std::string& word) { m_words.push_back(word); }
    // Replaces the words with those of the document's entries, head to tail; entries
    // with an empty word are left out.
    void Load(const COwnedList<CSpellingList>& entries);

    // Each returns the position to select afterwards. Out-of-range positions (and the
    // first word for Up, the last for Down) change nothing and keep the selection.
    int Delete(int selected);
    int MoveUp(int selected);
    int MoveDown(int selected);

    // The case-ignoring bubble sort of A..Z; true when some words changed places.
    // A selected position, when given, follows its word.
    bool SortIgnoringCase(int* selected = nullptr);

    // New entries for the document, one per word in list order.
    COwnedList<CSpellingList> BuildEntries(const std::string& author, const std::string& soundFolder) const;

    // Windows-1252 lower-casing by table, independent of the process's locale.
    static std::string LowerCase(std::string_view text);
    // Compares the lower-case copies byte by byte as unsigned values: < 0, 0 or > 0.
    static int CompareIgnoringCase(std::string_view a, std::string_view b);

private:
    std::vector<std::string> m_words;
};
