#pragma once
#include <string>

// What both programs print for --version and --help, in the layout of GNU programs,
// so that administrators and package tools find what they expect.
class CProgramInfo {
public:
    // The release, "3.0.0".
    static const char* Version();
    // "PROGRAM (Keltora) 3.0.0", then the copyright and licence lines.
    static std::string VersionText(const std::string& program);

    enum class Request { none, help, version };
    // The first -h/--help or -v/--version among argv[1 .. argc - 1]; "--" ends the options.
    static Request Find(int argc, const char* const* argv);
    // Writes text to standard output: exit status 0, or 1 (with a message) when it can't.
    static int Print(const std::string& text);
};
