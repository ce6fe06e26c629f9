#include "words/CWordListEditor.h"

#include "model/Cp1252.h"

#include <algorithm>
#include <cstddef>
#include <utility>

CWordListEditor::WordProblem CWordListEditor::Check(std::string_view word)
{
    if (word.find_first_not_of(" \xA0") == std::string_view::npos)
        return WordProblem::Blank;
    if (word.size() > kMaxWordLength)
        return WordProblem::TooLong;
    for (char c : word) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return WordProblem::NotAWord;
    }
    return WordProblem::None;
}

void CWordListEditor::Load(const COwnedList<CSpellingList>& entries)
{
    m_words.clear();
    for (const auto& entry : entries)
        if (!entry->m_word.empty())
            m_words.push_back(entry->m_word);
}

int CWordListEditor::Delete(int selected)
{
    if (selected < 0 || selected >= Count())
        return -1;
    m_words.erase(m_words.begin() + selected);
    return -1;
}

int CWordListEditor::MoveUp(int selected)
{
    if (selected <= 0 || selected >= Count())
        return selected < Count() ? selected : -1;
    std::swap(m_words[size_t(selected)], m_words[size_t(selected - 1)]);
    return selected - 1;
}

int CWordListEditor::MoveDown(int selected)
{
    if (selected < 0 || selected >= Count() - 1)
        return selected < Count() ? selected : -1;
    std::swap(m_words[size_t(selected)], m_words[size_t(selected + 1)]);
    return selected + 1;
}

bool CWordListEditor::SortIgnoringCase(int* selected)
{
    const size_t n = m_words.size();
    if (n <= 1)
        return false;
    bool changed = false;
    // Only a strictly greater left word moves, so words equal but for case keep their order.
    for (bool exchanged = true; exchanged;) {
        exchanged = false;
        for (size_t i = 0; i + 1 < n; ++i) {
            if (CompareIgnoringCase(m_words[i], m_words[i + 1]) > 0) {
                std::swap(m_words[i], m_words[i + 1]);
                if (selected && *selected == int(i))
                    *selected = int(i + 1);
                else if (selected && *selected == int(i + 1))
                    *selected = int(i);
                exchanged = true;
                changed = true;
            }
        }
    }
    return changed;
}

COwnedList<CSpellingList> CWordListEditor::BuildEntries(const std::string& author,
                                                        const std::string& soundFolder) const
{
    COwnedList<CSpellingList> entries;
    for (const std::string& word : m_words) {
        auto entry = std::make_unique<CSpellingList>();
        entry->m_author = author;
        entry->m_soundFolder = soundFolder;
        entry->m_word = word;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string CWordListEditor::LowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = Cp1252ToLower(c);
    return lower;
}

int CWordListEditor::CompareIgnoringCase(std::string_view a, std::string_view b)
{
    return Cp1252CompareIgnoringCase(a, b);
}
