// Any bytes as a word list file of each kind (text, CSV, KVTML, Anki): the reader must
// fail cleanly or give entries, and an import of them must keep every word it adds.
#include "document/CWordFile.h"
#include "words/CWordImport.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const char* name : {"list.txt", "list.csv", "list.kvtml", "list.tsv"}) {
        std::vector<std::string> entries;
        std::string error;
        if (!CWordFile::Parse(bytes, name, entries, error))
            continue;
        CWordListEditor list;
        CWordImport import;
        import.Take(entries, list);
        if (std::size_t(import.Added()) != list.Words().size() || import.Summary().empty())
            __builtin_trap();
        for (const std::string& word : list.Words())
            if (CWordListEditor::Check(word) != CWordListEditor::WordProblem::None)
                __builtin_trap();
    }
    return 0;
}
