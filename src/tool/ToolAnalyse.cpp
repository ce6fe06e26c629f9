#include "tool/ToolAnalyse.h"

#include <cstdio>

int RunAnalyse(int, char**)
{
    std::fprintf(stderr, "analyse: not built yet\n");
    return 2;
}
