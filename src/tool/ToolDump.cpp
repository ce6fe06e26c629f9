#include "tool/ToolDump.h"

#include <cstdio>

int RunDump(int, char**)
{
    std::fprintf(stderr, "dump: not built yet\n");
    return 2;
}
