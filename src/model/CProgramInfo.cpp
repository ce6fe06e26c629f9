#include "model/CProgramInfo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

const char* CProgramInfo::Version()
{
    return KELTO4_VERSION;
}

std::string CProgramInfo::VersionText(const std::string& program)
{
    return program + " (Keltora) " + Version() + "\n"
           "Copyright (C) 2026 Tarvel\n"
           "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

CProgramInfo::Request CProgramInfo::Find(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "-h" || arg == "--help")
            return Request::help;
        if (arg == "-v" || arg == "--version")
            return Request::version;
    }
    return Request::none;
}

// "kelto4 --help > /dev/full" must not claim success.
int CProgramInfo::Print(const std::string& text)
{
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "write error: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
