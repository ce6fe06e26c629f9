#pragma once
#include <functional>
#include <string>
#include <string_view>

// The shared frame of the commands that answer word pairs: one pair from the
// command line, or WORD<TAB>TEXT lines from standard input, one answer line each.
// answer appends its text for one pair to out, without the line end.
using PairAnswer = std::function<void(std::string_view word, std::string_view text, std::string& out)>;

// command names the subcommand in messages; usage is its argument synopsis.
// Returns the exit status: 0, 1 when reading or writing failed, 2 for wrong arguments.
int RunPairs(const char* command, const char* usage, int argc, char** argv, const PairAnswer& answer);
