#include "spelling/CRuleGroups.h"

#include <array>

const char* CRuleGroups::Name(Rule rule)
{
    static const std::array<const char*, kCount> names = {
        "i before e",          "Final e kept or dropped", "y or i before an ending", "Doubled letters",
        "Plural endings",      "Letter groups (ch, ai ...)", "Blends (st, tr ...)",  "tch ending",
        "dge ending",          "ve ending",               "ze ending",               "ie to y before ing",
        "Capital letters",     "Suffixes",                "Wrong letters",        "Missing letters",
        "Extra letters",       "No rule found"};
    return rule >= 0 && rule < kCount ? names[std::size_t(rule)] : "";
}
