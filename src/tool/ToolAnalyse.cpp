#include "tool/ToolAnalyse.h"

#include "spelling/CSpellingRules.h"
#include "tool/ToolPairs.h"

int RunAnalyse(int argc, char** argv)
{
    CSpellingRules rules;
    std::string result;
    return RunPairs("analyse", "[WORD MISSPELLING]", argc, argv,
                    [&rules, &result](std::string_view word, std::string_view misspelling, std::string& out) {
                        rules.GetSpellingErrors(word, misspelling, result);
                        out.append(result);
                    });
}
