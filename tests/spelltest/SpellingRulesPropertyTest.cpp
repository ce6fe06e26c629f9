// Random texts of any bytes: the analysis always answers, with "?" or with
// findings that the rules can produce, joined as the rules are tried.
#include "spelling/CSpellingRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Text = std::string_view;

bool OneOf(Text s, std::initializer_list<Text> texts)
{
    return std::find(texts.begin(), texts.end(), s) != texts.end();
}

constexpr Text kGroups[] = {"ch", "sh", "th", "wh", "ng", "nk", "ck", "ph", "gh", "wr", "kn", "gn",
                            "mn", "mb", "ai", "ay", "ea", "oa", "oe", "ou", "ow", "ue", "ui"};
constexpr Text kBlends[] = {"br", "dr", "fr", "gr", "pr", "tr", "bl", "cl", "fl", "gl", "pl", "sk",
                            "sm", "sn", "sp", "st", "sw", "tw"};
constexpr Text kSuffixes[] = {"ness", "ence", "ship", "ment", "ency", "hood", "ance", "able", "less",
                              "ible", "lent", "tion", "ery",  "ist",  "ion",  "dom",  "ism",  "ize",
                              "ify",  "ate",  "ial",  "ful",  "ous",  "ish",  "ive",  "ing",  "er",
                              "or",   "en",   "ic",   "al",   "ly",   "es",   "ed",   "s"};

bool IsSuffix(Text s) { return std::find(std::begin(kSuffixes), std::end(kSuffixes), s) != std::end(kSuffixes); }

// Items of a fixed table, each at most once and in table order, separated by " ".
template <std::size_t N>
bool IsOrderedList(Text s, const Text (&table)[N])
{
    std::size_t next = 0;
    bool first = true;
    while (!s.empty()) {
        if (!first) {
            if (s.substr(0, 1) != " ")
                return false;
            s.remove_prefix(1);
        }
        std::size_t i = next;
        while (i < N && s.substr(0, table[i].size()) != table[i])
            ++i;
        if (i == N)
            return false;
        s.remove_prefix(table[i].size());
        next = i + 1;
        first = false;
    }
    return !first;
}

bool IsDoubleLetters(Text s)
{
    bool singles = false;
    for (bool first = true; !s.empty(); first = false) {
        if (!first) {
            if (s.substr(0, 2) != ", ")
                return false;
            s.remove_prefix(2);
        }
        if (s.substr(0, 7) == "double " && !singles)
            ;
        else if (s.substr(0, 7) == "single ")
            singles = true;
        else
            return false;
        if (s.size() < 8)
            return false;
        s.remove_prefix(8);
    }
    return true;
}

bool IsBlends(Text s)
{
    for (Text lead : {Text("scr"), Text("sc"), Text("cr")}) {
        if (s.substr(0, lead.size()) == lead &&
            (s.size() == lead.size() ||
             (s[lead.size()] == ' ' && IsOrderedList(s.substr(lead.size() + 1), kBlends))))
            return true;
    }
    return IsOrderedList(s, kBlends);
}

bool IsPrimaryFinding(int rule, Text s)
{
    switch (rule) {
    case 1: return OneOf(s, {"change ei to ie", "ie", "change ie to ei", "ei"});
    case 2: return OneOf(s, {"keep final e", "drop final e"});
    case 3: return OneOf(s, {"change y to i", "keep the y"});
    case 4: return !s.empty() && IsDoubleLetters(s);
    case 5:
        return OneOf(s, {"change ending f or fe to ve", "s to es", "ending es", "es to s", "ending s",
                         "no ending s"});
    case 6: return IsOrderedList(s, kGroups);
    case 7: return IsBlends(s);
    case 8: return OneOf(s, {"change ch to tch", "change tch to ch"});
    case 9: return s == "change j to dge";
    case 10: return s == "change v to ve";
    case 11: return s == "end with ze";
    case 12: return s == "change ie to y";
    case 13: return OneOf(s, {"capitalize first letter", "do not capitalize first letter"});
    }
    return false;
}

// Findings of rules numbered from `rule` on, each rule at most once, in order, joined by "; ".
bool IsPrimaryJoin(Text s, int rule)
{
    for (int r = rule; r <= 13; ++r) {
        for (std::size_t end = 0; end <= s.size(); ++end) {
            const bool last = end == s.size();
            if (!last && s.substr(end, 2) != "; ")
                continue;
            if (!IsPrimaryFinding(r, s.substr(0, end)))
                continue;
            if (last || IsPrimaryJoin(s.substr(end + 2), r + 1))
                return true;
        }
    }
    return false;
}

// Single bytes after a prefix, each distinct, separated by ", ".
bool IsLetterList(Text s, Text prefix)
{
    if (s.substr(0, prefix.size()) != prefix)
        return false;
    s.remove_prefix(prefix.size());
    if (s.empty() || (s.size() - 1) % 3 != 0)
        return false;
    std::string seen;
    for (std::size_t i = 0; i < s.size(); i += 3) {
        if (i > 0 && s.substr(i - 2, 2) != ", ")
            return false;
        if (seen.find(s[i]) != std::string::npos)
            return false;
        seen += s[i];
    }
    return true;
}

bool IsLetterSwap(Text s)
{
    if (s.size() < 6 || (s.size() + 2) % 8 != 0)
        return false;
    for (std::size_t i = 0; i < s.size(); i += 8) {
        if (s.substr(i + 1, 4) != " to " || s[i] == s[i + 5])
            return false;
        if (i + 6 < s.size() && s.substr(i + 6, 2) != ", ")
            return false;
    }
    return true;
}

bool IsSuffixChange(Text s)
{
    for (Text lead : {Text("suffix remove "), Text("suffix add ")})
        if (s.substr(0, lead.size()) == lead && IsSuffix(s.substr(lead.size())))
            return true;
    if (s.substr(0, 7) != "suffix ")
        return false;
    const Text rest = s.substr(7);
    const std::size_t to = rest.find(" to ");
    return to != Text::npos && IsSuffix(rest.substr(0, to)) && IsSuffix(rest.substr(to + 4)) &&
           rest.substr(0, to) != rest.substr(to + 4);
}

bool IsWellFormed(Text s)
{
    return s == "?" || IsPrimaryJoin(s, 1) || IsSuffixChange(s) || IsLetterSwap(s) ||
           IsLetterList(s, "missing letter ") || IsLetterList(s, "extra letter ");
}

// The result rebuilt from the rule operations one by one.
std::string Composed(CSpellingRules& rules)
{
    const std::string primary[] = {
        rules.CheckIeEi(),     rules.CheckFinalE(), rules.CheckYToI(),         rules.CheckDoubleLetters(),
        rules.CheckPluralEnding(), rules.CheckLetterGroups(), rules.CheckBlends(), rules.CheckTch(),
        rules.CheckDge(),      rules.CheckVe(),     rules.CheckZe(),           rules.CheckIeToY(),
        rules.CheckCapital()};
    std::string result;
    for (const std::string& f : primary) {
        if (f.empty())
            continue;
        if (!result.empty())
            result += "; ";
        result += f;
    }
    if (result.empty())
        result = rules.CheckSuffix();
    if (result.empty())
        result = rules.CheckLetterSwap();
    if (result.empty())
        result = rules.CheckMissingLetters();
    if (result.empty())
        result = rules.CheckExtraLetters();
    return result.empty() ? "?" : result;
}

// Mostly any byte; sometimes letters that make the rules fire, with the
// separators of the result mixed in.
std::string RandomText(std::mt19937& rng, bool lettersOnly)
{
    static constexpr Text kLetters = "aeiousytchngfvzjdrlmpkwbAEC ,;";
    const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 40)(rng);
    std::string s(length, '\0');
    for (char& c : s) {
        if (lettersOnly)
            c = kLetters[std::uniform_int_distribution<std::size_t>(0, kLetters.size() - 1)(rng)];
        else
            c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
    }
    return s;
}

TEST(AnalysisOfRandomTexts, AlwaysAnswersWithWellFormedFindings)
{
    std::mt19937 rng(20260612);
    CSpellingRules rules;
    std::string buffer;
    std::vector<std::pair<std::string, std::string>> pairs = {{"", ""}, {"", "a"}, {"a", ""}};
    for (int i = 0; i < 30000; ++i) {
        const bool letters = (i % 2) == 0;
        std::string word = RandomText(rng, letters);
        std::string misspelling = RandomText(rng, letters);
        // Near misses: the misspelling made from the word by one small change.
        if (i % 3 == 0 && !word.empty()) {
            misspelling = word;
            const std::size_t at = std::uniform_int_distribution<std::size_t>(0, word.size() - 1)(rng);
            switch (i % 4) {
            case 0: misspelling.erase(at, 1); break;
            case 1: misspelling.insert(at, 1, word[at]); break;
            case 2: misspelling[at] = RandomText(rng, true).append("x")[0]; break;
            default: std::swap(misspelling[at], misspelling[(at + 1) % word.size()]); break;
            }
        }
        pairs.emplace_back(std::move(word), std::move(misspelling));
    }
    int wellFormed = 0;
    for (const auto& [word, misspelling] : pairs) {
        const std::string result = rules.GetSpellingErrors(word, misspelling);
        ASSERT_FALSE(result.empty());
        ASSERT_TRUE(IsWellFormed(result)) << testing::PrintToString(word) << " / "
                                          << testing::PrintToString(misspelling) << " gave "
                                          << testing::PrintToString(result);
        ASSERT_EQ(result, Composed(rules));
        rules.GetSpellingErrors(std::string_view(word), std::string_view(misspelling), buffer);
        ASSERT_EQ(buffer, result);
        wellFormed += result != "?";
        // Groups are ruled out by a filter of the word's letter pairs; it must never hide one.
        for (std::size_t at = 0; at + 2 <= word.size(); at += 2) {
            const std::string group = word.substr(at, 2 + at % 3 % 2);
            const bool lost = CSpellingRules::CountOccurrences(group, word) >
                              CSpellingRules::CountOccurrences(group, misspelling);
            ASSERT_EQ(rules.LostGroup(group), lost ? group : "") << testing::PrintToString(group);
        }
    }
    // The generator must exercise the rules, not just produce "?".
    EXPECT_GT(wellFormed, 15000);
}

} // namespace
