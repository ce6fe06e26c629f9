#pragma once
#include "words/CWordListEditor.h"

#include <string>
#include <vector>

// Words taken from a file (see CWordFile) into the words page's working list, as if
// typed there. Each entry is added unless it is already in the list (or earlier in
// the file), has letters Windows-1252 can't hold, is longer than the page takes, or
// holds characters no word has: such entries are counted and named, never changed.
class CWordImport {
public:
    enum class Reason { AlreadyInList, LettersNotKept, TooLong, NotAWord };
    struct Skipped {
        Reason reason;
        std::string entry; // UTF-8, as the file has it
    };

    // Reads the file and appends its new words to list. False, with list untouched and
    // the reason in Error(), when the file can't be read.
    bool Run(const std::string& nativePath, CWordListEditor& list);
    // Appends the new words of entries (UTF-8) to list.
    void Take(const std::vector<std::string>& entries, CWordListEditor& list);

    int Added() const { return m_added; }
    const std::vector<Skipped>& SkippedEntries() const { return m_skipped; }
    const std::string& Error() const { return m_error; }
    // One sentence for the user (Windows-1252): "Imported 23 words; 2 skipped: already in the list."
    std::string Summary() const;
    // The reason as a phrase: "already in the list".
    static std::string ReasonText(Reason reason);

private:
    int m_added = 0;
    bool m_anyEntry = false;
    std::vector<Skipped> m_skipped;
    std::string m_error;
};
