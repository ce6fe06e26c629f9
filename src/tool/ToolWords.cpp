#include "tool/ToolWords.h"

#include "model/Cp1252.h"
#include "words/CWordImport.h"

#include <cstdio>
#include <string>

// Output is UTF-8, as a terminal or a script reads it, whatever the file's encoding was.
int RunWords(int argc, char** argv)
{
    if (argc != 1) {
        std::fprintf(stderr, "usage: kelto4-tool words FILE\n");
        return 2;
    }
    CWordListEditor list;
    CWordImport import;
    if (!import.Run(argv[0], list)) {
        std::string error = Cp1252ToUtf8(import.Error());
        for (std::size_t at; (at = error.find("\r\n")) != std::string::npos;)
            error.replace(at, 2, ": ");
        std::fprintf(stderr, "kelto4-tool: %s\n", error.c_str());
        return 1;
    }
    std::string out;
    for (const std::string& word : list.Words())
        out += Cp1252ToUtf8(word) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    for (const CWordImport::Skipped& skipped : import.SkippedEntries())
        std::fprintf(stderr, "skipped: %s: %s\n", skipped.entry.c_str(), CWordImport::ReasonText(skipped.reason).c_str());
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "kelto4-tool: cannot write the output\n");
        return 2;
    }
    return 0;
}
