#include "spelling/CWordBankMaker.h"

#include <algorithm>
#include <utility>

namespace {
using Text = std::string_view;

bool EndsWith(Text word, Text ending)
{
    return word.size() > ending.size() && word.substr(word.size() - ending.size()) == ending;
}

bool IsVowel(char c)
{
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// A final e stays before an ending that starts with a consonant (hopeless) and goes
// before one that starts with a vowel (making). Endings that start with e (hoped, later)
// swallow the e and teach nothing about it; others (final, basic) are seldom added to a
// word that ends in e.
constexpr Text kConsonantEndings[] = {"ness", "ment", "ship", "hood", "less", "ful", "ly"};
constexpr Text kVowelEndings[] = {"able", "ible", "ing", "ous", "ive"};
// The endings that turn a final y into i (happiness, carried) or keep it (enjoyment, playing).
constexpr Text kYEndings[] = {"ness", "ment", "ship", "hood", "less", "ance", "able", "ful", "ous",
                              "ing", "ly", "er", "ed", "es"};

// Endings that sound alike and are written in place of each other. An -er word is seldom
// one with a suffix (water, corner), so only -or is taken.
constexpr std::pair<Text, Text> kSuffixSwaps[] = {
    {"able", "ible"}, {"ible", "able"}, {"ance", "ence"}, {"ence", "ance"},
    {"ency", "ancy"}, {"tion", "sion"}, {"sion", "tion"}, {"or", "er"},
};

// The stem that an ending was added to is a word of its own of three letters or more.
constexpr std::size_t kShortestStem = 3;

template <std::size_t N>
bool OneOf(Text text, const Text (&set)[N])
{
    return std::find(std::begin(set), std::end(set), text) != std::end(set);
}
}

CWordBankMaker::CWordBankMaker(std::unordered_set<std::string> dictionary)
    : m_dictionary(std::move(dictionary))
{
}

bool CWordBankMaker::IsPlainWord(std::string_view word)
{
    return word.size() >= 3 && std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

bool CWordBankMaker::IsWord(std::string_view word) const
{
    return m_dictionary.count(std::string(word)) != 0;
}

// make -> making is written makeing; hope -> hopeless is written hopless.
std::string CWordBankMaker::FinalE(Text word) const
{
    const std::string suffix = CSpellingRules::FindSuffix(word);
    if (suffix.empty())
        return std::string();
    const Text stem = word.substr(0, word.size() - suffix.size());
    if (stem.size() < kShortestStem)
        return std::string();
    if (OneOf(suffix, kConsonantEndings) && stem.back() == 'e' && IsWord(stem))
        return std::string(stem.substr(0, stem.size() - 1)) + suffix;
    if (OneOf(suffix, kVowelEndings) && stem.back() != 'e' && IsWord(std::string(stem) + "e"))
        return std::string(stem) + "e" + suffix;
    return std::string();
}

// happy -> happiness is written happyness; enjoy -> enjoyment is written enjoiment.
std::string CWordBankMaker::YToI(Text word) const
{
    const std::string suffix = CSpellingRules::FindSuffix(word);
    if (!OneOf(suffix, kYEndings))
        return std::string();
    const Text stem = word.substr(0, word.size() - suffix.size());
    const std::string before(stem.substr(0, stem.size() - 1));
    if (stem.back() == 'i' && IsWord(before + "y"))
        return before + "y" + suffix;
    if (stem.back() == 'y' && IsWord(stem))
        return before + "i" + suffix;
    return std::string();
}

// leaves -> leafs, cities -> citys, boxes -> boxs: the plural made with a plain s.
std::string CWordBankMaker::Plural(Text word) const
{
    const std::string stem(word.substr(0, word.size() >= 3 ? word.size() - 3 : 0));
    if (EndsWith(word, "ves")) {
        // f becomes v after l, after a long vowel and in ar (wolves, leaves, knives,
        // scarves), not in words that merely end in ve (serves, proves, saves).
        const bool vSound = EndsWith(stem, "l") || EndsWith(stem, "ea") || EndsWith(stem, "oa")
            || EndsWith(stem, "ie") || EndsWith(stem, "oo") || EndsWith(stem, "ar");
        if (vSound && IsWord(stem + "f"))
            return stem + "fs";
        if (IsWord(stem + "fe") && EndsWith(stem, "i"))
            return stem + "fes";
        return std::string();
    }
    if (EndsWith(word, "ies"))
        return IsWord(stem + "y") ? stem + "ys" : std::string();
    if (EndsWith(word, "es")) {
        const Text single = word.substr(0, word.size() - 2);
        const bool hissing = EndsWith(single, "s") || EndsWith(single, "x") || EndsWith(single, "z")
            || EndsWith(single, "ch") || EndsWith(single, "sh");
        // goes and does, but not uses (us).
        if (((hissing && single.size() >= kShortestStem) || EndsWith(single, "o")) && IsWord(single))
            return std::string(single) + "s";
    }
    return std::string();
}

// The ie or ei at "at" came with an ending (carried from carry, seeing from see), so it is
// about y to i or a kept e, not about i before e.
bool CWordBankMaker::EndingMade(Text word, std::size_t at) const
{
    for (Text ending : {"ied", "ies", "ier", "iest"})
        if (EndsWith(word, ending) && at == word.size() - ending.size()
            && IsWord(std::string(word.substr(0, at)) + "y"))
            return true;
    return EndsWith(word, "eing") && at == word.size() - 4;
}

std::vector<std::string> CWordBankMaker::Misspellings(CRuleGroups::Rule rule, Text word) const
{
    std::vector<std::string> out;
    const auto add = [&out, word](std::string misspelling) {
        if (!misspelling.empty() && misspelling != word)
            out.push_back(std::move(misspelling));
    };
    const std::string w(word);
    switch (rule) {
    case CRuleGroups::IeEi: {
        const std::size_t ie = w.find("ie"), ei = w.find("ei");
        const std::size_t at = std::min(ie, ei);
        if (at != std::string::npos && !EndingMade(word, at)) {
            std::string m = w;
            std::swap(m[at], m[at + 1]);
            add(m);
        }
        break;
    }
    case CRuleGroups::FinalE: add(FinalE(word)); break;
    case CRuleGroups::YToI: add(YToI(word)); break;
    case CRuleGroups::DoubleLetters:
        // Doubled consonants are what the doubling rules are about (hopping, hoping).
        for (std::size_t i = 0; i + 1 < w.size(); ++i)
            if (w[i] == w[i + 1] && !IsVowel(w[i])) {
                add(w.substr(0, i) + w.substr(i + 1));
                break;
            }
        break;
    case CRuleGroups::PluralEnding: add(Plural(word)); break;
    case CRuleGroups::LetterGroups:
    case CRuleGroups::Blends:
        // A group or blend lost: one of its letters left out (church as curch, street as sreet).
        for (std::size_t i = 0; i < w.size(); ++i)
            add(w.substr(0, i) + w.substr(i + 1));
        break;
    case CRuleGroups::Tch:
        if (EndsWith(word, "tch"))
            add(w.substr(0, w.size() - 3) + "ch");
        break;
    case CRuleGroups::Dge:
        if (EndsWith(word, "dge"))
            add(w.substr(0, w.size() - 3) + "j");
        break;
    case CRuleGroups::Ve:
        if (EndsWith(word, "ve"))
            add(w.substr(0, w.size() - 1));
        break;
    case CRuleGroups::Ze:
        if (EndsWith(word, "ze"))
            add(w.substr(0, w.size() - 1));
        break;
    case CRuleGroups::IeToY:
        // cry -> crying written crieing, as cried is written.
        if (EndsWith(word, "ying") && !IsVowel(w[w.size() - 5]))
            add(w.substr(0, w.size() - 4) + "ieing");
        break;
    case CRuleGroups::Suffix:
        for (const auto& [ending, instead] : kSuffixSwaps)
            if (EndsWith(word, ending)) {
                const std::string stem = w.substr(0, w.size() - ending.size());
                // floor and door end in or without a suffix.
                if (stem.size() >= kShortestStem && !IsVowel(stem.back()))
                    add(stem + std::string(instead));
                break;
            }
        break;
    default: break;
    }
    return out;
}

std::string CWordBankMaker::NamedMisspelling(CRuleGroups::Rule rule, Text word)
{
    for (const std::string& misspelling : Misspellings(rule, word)) {
        m_rules.GetSpellingErrors(word, misspelling, m_result, m_findings);
        if (std::any_of(m_findings.begin(), m_findings.end(),
                        [rule](const CSpellingRules::Finding& f) { return f.rule == rule; }))
            return misspelling;
    }
    return std::string();
}

bool CWordBankMaker::Belongs(CRuleGroups::Rule rule, Text word)
{
    return !NamedMisspelling(rule, word).empty();
}
