#include "tool/ToolBank.h"

#include "spelling/CWordBank.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
int Usage()
{
    std::fprintf(stderr, "usage: kelto4-tool bank [RULE [--level N]]\n");
    return 2;
}
}

int RunBank(int argc, char** argv)
{
    const char* rule = nullptr;
    int level = 0;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--level") == 0 && i + 1 < argc) {
            const std::string n = argv[++i];
            if (n.size() != 1 || n[0] < '1' || n[0] > '0' + CWordBank::kLevels)
                return Usage();
            level = n[0] - '0';
        } else if (!rule && argv[i][0] != '-') {
            rule = argv[i];
        } else {
            return Usage();
        }
    }
    if (level && !rule)
        return Usage();
    const CWordBank::Topic* topic = rule ? CWordBank::FindTopic(rule) : nullptr;
    if (rule && !topic) {
        std::fprintf(stderr, "kelto4-tool: there is no word bank \"%s\"; 'kelto4-tool bank' lists them\n", rule);
        return 2;
    }
    const std::string path = CWordBank::Find();
    std::string error = "the word banks are missing; please install Keltora again";
    CWordBank bank;
    if (path.empty() || !bank.Load(path, &error)) {
        std::fprintf(stderr, "kelto4-tool: %s\n", error.c_str());
        return 1;
    }
    std::string out;
    if (!topic) {
        for (const CWordBank::Topic& t : CWordBank::Topics()) {
            out += t.name;
            for (int l = 1; l <= CWordBank::kLevels; ++l)
                out += "\t" + std::to_string(bank.Count(t.rule, l));
            out += "\n";
        }
    } else {
        for (int l = 1; l <= CWordBank::kLevels; ++l)
            if (!level || l == level)
                for (const std::string& word : bank.Words(topic->rule, l))
                    out += word + "\n";
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "kelto4-tool: cannot write the output\n");
        return 2;
    }
    return 0;
}
