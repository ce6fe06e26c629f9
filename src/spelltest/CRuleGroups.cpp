#include "spelltest/CRuleGroups.h"

#include <array>
#include <initializer_list>

namespace {
using Rule = CRuleGroups::Rule;

// The texts that a rule returns whole.
struct FixedTexts {
    Rule rule;
    std::initializer_list<std::string_view> texts;
};
const FixedTexts kFixed[] = {
    {CRuleGroups::IeEi, {"change ei to ie", "change ie to ei", "ie", "ei"}},
    {CRuleGroups::FinalE, {"keep final e", "drop final e"}},
    {CRuleGroups::YToI, {"change y to i", "keep the y"}},
    {CRuleGroups::PluralEnding, {"change ending f or fe to ve", "s to es", "ending es", "es to s", "ending s",
                                 "no ending s"}},
    {CRuleGroups::Tch, {"change ch to tch", "change tch to ch"}},
    {CRuleGroups::Dge, {"change j to dge"}},
    {CRuleGroups::Ve, {"change v to ve"}},
    {CRuleGroups::Ze, {"end with ze"}},
    {CRuleGroups::IeToY, {"change ie to y"}},
    {CRuleGroups::Capital, {"capitalize first letter", "do not capitalize first letter"}},
};

const std::string_view kLetterGroups[] = {"ch", "sh", "th", "wh", "ng", "nk", "ck", "ph", "gh", "wr", "kn", "gn",
                                          "mn", "mb", "ai", "ay", "ea", "oa", "oe", "ou", "ow", "ue", "ui"};
const std::string_view kBlends[] = {"scr", "sc", "cr", "br", "dr", "fr", "gr", "pr", "tr", "bl", "cl",
                                    "fl", "gl", "pl", "sk", "sm", "sn", "sp", "st", "sw", "tw"};

// A finding ends at the end of the line or where "; " joins the next one.
bool EndsFinding(std::string_view rest)
{
    return rest.empty() || rest.substr(0, 2) == "; ";
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// Lengths of the finding of each kind at the start of text, 0 when it isn't one.
std::size_t MatchFixed(std::string_view text, const FixedTexts& fixed)
{
    for (std::string_view candidate : fixed.texts)
        if (StartsWith(text, candidate) && EndsFinding(text.substr(candidate.size())))
            return candidate.size();
    return 0;
}

// Entries "double x" or "single x" joined by ", "; x may be any character.
std::size_t MatchDoubles(std::string_view text)
{
    std::size_t at = 0;
    for (;;) {
        const std::string_view rest = text.substr(at);
        if (!(StartsWith(rest, "double ") || StartsWith(rest, "single ")) || rest.size() < 8)
            return 0;
        at += 8;
        if (EndsFinding(text.substr(at)))
            return at;
        if (text.substr(at, 2) != ", ")
            return 0;
        at += 2;
    }
}

// Tokens of one table joined by single blanks.
template <std::size_t N>
std::size_t MatchTokens(std::string_view text, const std::string_view (&tokens)[N])
{
    std::size_t at = 0;
    for (;;) {
        std::size_t matched = 0;
        for (std::string_view token : tokens) {
            const std::string_view rest = text.substr(at);
            if (StartsWith(rest, token) &&
                (EndsFinding(rest.substr(token.size())) || rest.substr(token.size(), 1) == " ")) {
                matched = token.size();
                break;
            }
        }
        if (matched == 0)
            return 0;
        at += matched;
        if (EndsFinding(text.substr(at)))
            return at;
        ++at; // the blank
    }
}

std::size_t MatchPrimary(std::string_view text, Rule rule)
{
    switch (rule) {
    case CRuleGroups::DoubleLetters: return MatchDoubles(text);
    case CRuleGroups::LetterGroups: return MatchTokens(text, kLetterGroups);
    case CRuleGroups::Blends: return MatchTokens(text, kBlends);
    default:
        for (const FixedTexts& fixed : kFixed)
            if (fixed.rule == rule)
                return MatchFixed(text, fixed);
        return 0;
    }
}

// Letter swaps: entries "a to b" of single characters joined by ", ", alone on the line.
bool IsLetterSwap(std::string_view text)
{
    for (std::size_t at = 0;; at += 8) {
        if (text.size() < at + 6 || text.substr(at + 1, 4) != " to ")
            return false;
        if (text.size() == at + 6)
            return true;
        if (text.substr(at + 6, 2) != ", ")
            return false;
    }
}
}

CRuleGroups::Set CRuleGroups::Read(std::string_view errors)
{
    // A fallback finding always stands alone, so its letters can be anything.
    if (errors == "?")
        return Bit(NoRule);
    if (StartsWith(errors, "suffix "))
        return Bit(Suffix);
    if (StartsWith(errors, "missing letter "))
        return Bit(MissingLetters);
    if (StartsWith(errors, "extra letter "))
        return Bit(ExtraLetters);
    if (IsLetterSwap(errors))
        return Bit(LetterSwap);

    // Primary findings come in rule order, so each is looked for only among the rules
    // after the last one found; that also keeps odd letters inside a doubled-letter
    // entry (such as "double ;") from being taken for a separator.
    Set found = 0;
    int next = IeEi;
    std::string_view rest = errors;
    while (!rest.empty()) {
        std::size_t length = 0;
        int rule = next;
        for (; rule <= Capital && length == 0; ++rule)
            length = MatchPrimary(rest, Rule(rule));
        if (length == 0) {
            // Not a finding of the analysis: skip to the next one.
            const std::size_t join = rest.find("; ");
            if (join == std::string_view::npos)
                break;
            rest.remove_prefix(join + 2);
            continue;
        }
        found |= Bit(Rule(rule - 1));
        next = rule;
        rest.remove_prefix(length);
        if (!rest.empty())
            rest.remove_prefix(2);
    }
    return found;
}

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
