#pragma once
#include "spelling/CRuleGroups.h"
#include "spelling/CSpellingRules.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// Decides which words go into which word bank, with the program's own analysis: a word
// belongs to a rule's bank when the misspelling of it that the rule is there to catch
// (friend as freind, hopping as hoping, making as makeing ...) makes the analysis name
// that rule. Stems are looked up in a dictionary, so that only words that really grow
// from a stem (make, making) count for the rules about endings.
class CWordBankMaker {
public:
    explicit CWordBankMaker(std::unordered_set<std::string> dictionary);

    // A word a list for children may hold: three or more lower-case letters a to z,
    // so no names, abbreviations, contractions or digits.
    static bool IsPlainWord(std::string_view word);

    // The misspellings of word of the kind the rule is about, the most telling first;
    // none when the word can't show the rule.
    std::vector<std::string> Misspellings(CRuleGroups::Rule rule, std::string_view word) const;
    // Does one of those misspellings make the analysis name the rule?
    bool Belongs(CRuleGroups::Rule rule, std::string_view word);
    // The rule's first misspelling of word that the analysis names with the rule, or empty.
    std::string NamedMisspelling(CRuleGroups::Rule rule, std::string_view word);

private:
    bool IsWord(std::string_view word) const;
    bool EndingMade(std::string_view word, std::size_t at) const;
    std::string FinalE(std::string_view word) const;
    std::string YToI(std::string_view word) const;
    std::string Plural(std::string_view word) const;

    std::unordered_set<std::string> m_dictionary;
    CSpellingRules m_rules;
    std::string m_result;
    std::vector<CSpellingRules::Finding> m_findings;
};
