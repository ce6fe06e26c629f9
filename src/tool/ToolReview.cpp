#include "tool/ToolReview.h"

#include "model/CPath.h"
#include "model/CWordMemoryFile.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace {
// folder and name as the file system names them; date "YYYY-MM-DD", or empty for today.
int PrintReview(const std::string& folder, const std::string& name, const std::string& date, std::FILE* out,
                std::FILE* err)
{
    const std::optional<CCalendarDay> day =
        date.empty() ? CCalendarDay::FromTime(std::time(nullptr)) : CCalendarDay::FromIso(date);
    if (!day) {
        std::fprintf(err, "kelto4-tool: not a date of the form YYYY-MM-DD: %s\n", date.c_str());
        return 2;
    }
    // Names the file system can't take have no memory file to read.
    if (CPath::CheckFileName(name) != CPath::NameProblem::None) {
        std::fprintf(err, "kelto4-tool: not a learner's name: %s\n", name.c_str());
        return 2;
    }
    const std::string path = CWordMemoryFile::Path(folder, name);
    CWordMemory memory;
    std::string error;
    switch (CWordMemoryFile::Read(path, memory, &error)) {
    case CWordMemoryFile::ReadResult::ok:
        break;
    case CWordMemoryFile::ReadResult::missing:
        return 0;
    case CWordMemoryFile::ReadResult::damaged:
        std::fprintf(err, "kelto4-tool: %s is damaged\n", path.c_str());
        return 1;
    case CWordMemoryFile::ReadResult::newer:
        std::fprintf(err, "kelto4-tool: %s was written by a newer version of Keltora\n", path.c_str());
        return 1;
    case CWordMemoryFile::ReadResult::unreadable:
        std::fprintf(err, "kelto4-tool: %s\n", error.c_str());
        return 2;
    }
    // Words go out as their Windows-1252 bytes, as every other command of the tool writes them.
    std::string text;
    for (const CWordMemory::Entry* entry : memory.DueWords(*day)) {
        text += entry->word;
        text += '\t';
        text += std::to_string(entry->box);
        text += '\t';
        text += entry->due.Iso();
        text += '\n';
    }
    if (std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fflush(out) != 0) {
        std::fprintf(err, "kelto4-tool: cannot write the output\n");
        return 2;
    }
    return 0;
}
}

int RunReview(int argc, char** argv)
{
    if (argc == 2)
        return PrintReview(argv[0], argv[1], std::string(), stdout, stderr);
    if (argc == 4 && std::strcmp(argv[2], "--date") == 0)
        return PrintReview(argv[0], argv[1], argv[3], stdout, stderr);
    std::fputs("usage: kelto4-tool review USERFOLDER NAME [--date YYYY-MM-DD]\n", stderr);
    return 2;
}
