// kelto4-tool: looks into Keltora's files and runs the misspelling analysis and the letter comparison, for scripting.
#include "tool/ToolAnalyse.h"
#include "tool/ToolCompare.h"
#include "tool/ToolDump.h"
#include "tool/ToolExport.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "dump") == 0)
        return RunDump(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "analyse") == 0)
        return RunAnalyse(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "compare") == 0)
        return RunCompare(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "export") == 0)
        return RunExport(argc - 2, argv + 2);
    std::fprintf(stderr,
                 "usage: kelto4-tool dump FILE\n"
                 "       kelto4-tool analyse [WORD MISSPELLING]   (without arguments: WORD<TAB>MISSPELLING lines on standard input)\n"
                 "       kelto4-tool compare [WORD ANSWER]        (without arguments: WORD<TAB>ANSWER lines on standard input)\n");
    return 2;
}
