// Any bytes as word<TAB>misspelling (no tab: an empty misspelling, as kelto4-tool
// analyse reads a line): the analysis must answer without reading outside a text.
#include "spelling/CSpellingRules.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t tab = input.find('\t');
    const std::string_view word = input.substr(0, tab);
    const std::string_view misspelling = tab == std::string_view::npos ? std::string_view() : input.substr(tab + 1);

    CSpellingRules rules;
    const std::string result = rules.GetSpellingErrors(std::string(word), std::string(misspelling));
    std::string again;
    rules.GetSpellingErrors(word, misspelling, again);
    std::vector<CSpellingRules::Finding> findings;
    std::string withRules;
    rules.GetSpellingErrors(word, misspelling, withRules, findings);
    if (result.empty() || again != result || withRules != result)
        __builtin_trap();
    for (const CSpellingRules::Finding& finding : findings)
        if (finding.start + finding.size > result.size())
            __builtin_trap();
    return 0;
}
