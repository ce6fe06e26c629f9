#include "words/CWordImport.h"

#include "document/CWordFile.h"
#include "model/Cp1252.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace {
// A summary names at most this many entries of a kind; a file of another alphabet
// would otherwise fill the screen.
constexpr std::size_t kNamed = 8;
constexpr std::size_t kNameLength = 24;

std::string Plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The entry as the message box can show it: letters it can't are "?", a long one is cut.
std::string Shown(const std::string& utf8)
{
    std::string text = Utf8ToCp1252(utf8);
    if (text.size() > kNameLength)
        text = text.substr(0, kNameLength) + "...";
    return text;
}
}

std::string CWordImport::ReasonText(Reason reason)
{
    switch (reason) {
    case Reason::AlreadyInList: return "already in the list";
    case Reason::LettersNotKept: return "with letters Keltora can't keep";
    case Reason::TooLong: return "longer than " + std::to_string(CWordListEditor::kMaxWordLength) + " letters";
    case Reason::NotAWord: return "with characters a word can't have";
    }
    return std::string();
}

bool CWordImport::Run(const std::string& nativePath, CWordListEditor& list)
{
    *this = CWordImport();
    std::vector<std::string> entries;
    if (!CWordFile::Read(nativePath, entries, m_error))
        return false;
    Take(entries, list);
    return true;
}

void CWordImport::Take(const std::vector<std::string>& entries, CWordListEditor& list)
{
    std::unordered_set<std::string> inList(list.Words().begin(), list.Words().end());
    for (const std::string& entry : entries) {
        m_anyEntry = true;
        const std::string word = Utf8ToCp1252(entry);
        // The conversion writes "?" for every letter it can't hold; more "?" than the entry
        // had means a letter would be lost.
        if (std::count(word.begin(), word.end(), '?') != std::count(entry.begin(), entry.end(), '?')) {
            m_skipped.push_back({Reason::LettersNotKept, entry});
            continue;
        }
        switch (CWordListEditor::Check(word)) {
        case CWordListEditor::WordProblem::Blank: continue;
        case CWordListEditor::WordProblem::TooLong: m_skipped.push_back({Reason::TooLong, entry}); continue;
        case CWordListEditor::WordProblem::NotAWord: m_skipped.push_back({Reason::NotAWord, entry}); continue;
        case CWordListEditor::WordProblem::None: break;
        }
        if (!inList.insert(word).second) {
            m_skipped.push_back({Reason::AlreadyInList, entry});
            continue;
        }
        list.Append(word);
        ++m_added;
    }
}

std::string CWordImport::Summary() const
{
    if (!m_anyEntry)
        return "There are no words in this file.";
    std::string text = "Imported " + Plural(std::size_t(m_added), "word", "words");
    if (m_skipped.empty())
        return text + ".";
    std::vector<std::string> groups;
    for (Reason reason : {Reason::AlreadyInList, Reason::LettersNotKept, Reason::TooLong, Reason::NotAWord}) {
        std::size_t count = 0;
        std::string names;
        for (const Skipped& s : m_skipped) {
            if (s.reason != reason)
                continue;
            if (++count <= kNamed && reason != Reason::AlreadyInList)
                names += (names.empty() ? "" : ", ") + Shown(s.entry);
        }
        if (count == 0)
            continue;
        if (count > kNamed && !names.empty())
            names += " and " + std::to_string(count - kNamed) + " more";
        std::string group = std::to_string(count) + " " + ReasonText(reason);
        if (!names.empty())
            group += " (" + names + ")";
        groups.push_back(group);
    }
    text += "; " + std::to_string(m_skipped.size()) + " skipped: ";
    if (groups.size() == 1 && m_skipped.front().reason == Reason::AlreadyInList)
        return text + ReasonText(Reason::AlreadyInList) + ".";
    for (std::size_t i = 0; i < groups.size(); ++i)
        text += (i ? "; " : "") + groups[i];
    return text + ".";
}
