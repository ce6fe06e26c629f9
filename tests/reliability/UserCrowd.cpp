// One of the many copies that share a user folder: COUNT times it opens the user file
// through the real user-file code, logs in with a new name, one of its own or the shared
// one, or deletes one of its own, and saves. Each change that was saved is appended to
// LOG ("+name" or "-name"); the last line is "wait <longest wait for the file in ms>".
//   reliability_crowd FOLDER INDEX COUNT LOG ATTEMPTS DELAY_MS
#include "users/CLogInRules.h"
#include "users/CUserFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 7)
        return 2;
    const std::string folder = argv[1];
    const int index = std::atoi(argv[2]);
    const int count = std::atoi(argv[3]);
    std::FILE* log = std::fopen(argv[4], "w");
    if (!log)
        return 2;
    const CUserFileAccess access(std::atoi(argv[5]), std::atoi(argv[6]));
    std::mt19937 random(static_cast<unsigned>(index) * 7919u + 17u);
    std::vector<std::string> mine;
    long longestWait = 0;
    for (int i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        CUserFile file(access);
        if (!file.Open(folder, nullptr))
            return 3;
        const long waited = long(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count());
        longestWait = std::max(longestWait, waited);
        CLogInRules rules(file.Users());
        std::string change;
        const unsigned pick = random() % 4;
        if (pick == 0 && !mine.empty()) {
            const size_t k = random() % mine.size();
            if (rules.DeleteName(mine[k], "", [](const std::string&) { return true; }) == CLogInRules::Result::deleted) {
                change = "-" + mine[k];
                mine.erase(mine.begin() + long(k));
            }
        } else if (pick == 1 && !mine.empty()) {
            rules.LogIn(mine[random() % mine.size()], "");
        } else if (pick == 2) {
            rules.LogIn("shared", "");
            if (rules.IsModified())
                change = "+shared";
        } else {
            const std::string name = "copy" + std::to_string(index) + "_" + std::to_string(i);
            rules.LogIn(name, "");
            change = "+" + name;
            mine.push_back(name);
        }
        if (rules.IsModified() && !file.Save())
            return 4;
        if (!change.empty())
            std::fprintf(log, "%s\n", change.c_str());
    }
    std::fprintf(log, "wait %ld\n", longestWait);
    std::fclose(log);
    return 0;
}
