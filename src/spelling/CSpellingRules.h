#pragma once
#include "model/CObject.h"
#include "spelling/CRuleGroups.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Names the English spelling rules that a misspelling of a word breaks, as one
// line: findings of the primary rules joined by "; " in rule order, else the
// first fallback finding, else "?". Texts are Windows-1252 bytes, compared
// exactly. The reports page calls this for every misspelled word on each fill,
// so the work is done on views of the two texts and appended into one buffer.
class CSpellingRules : public CObject {
    KELTO4_DECLARE_SERIAL(CSpellingRules)
public:
    CSpellingRules() = default;

    void Serialize(CArchive& ar) override;

    std::string GetSpellingErrors(std::string word, std::string misspelling);
    // The same analysis written into a caller's buffer (cleared first); once the
    // buffer has grown, a call allocates nothing.
    void GetSpellingErrors(std::string_view word, std::string_view misspelling, std::string& result);

    // One finding of an analysis: where it stands in the line and the rule that gave it.
    struct Finding {
        CRuleGroups::Rule rule;
        std::size_t start;
        std::size_t size;
    };
    // The same analysis, also naming each finding's rule (cleared first; none for "?"),
    // so callers need not take the line apart again.
    void GetSpellingErrors(std::string_view word, std::string_view misspelling, std::string& result,
                           std::vector<Finding>& findings);
    // The groups of findings; a misspelling that no rule explains counts as NoRule.
    static CRuleGroups::Set GroupsOf(const std::vector<Finding>& findings);

    // Primary rules, in the order they are tried.
    std::string CheckIeEi() const;
    std::string CheckFinalE() const;
    std::string CheckYToI() const;
    std::string CheckDoubleLetters() const;
    std::string CheckPluralEnding() const;
    std::string CheckLetterGroups() const;
    std::string CheckBlends() const;
    std::string CheckTch() const;
    std::string CheckDge() const;
    std::string CheckVe() const;
    std::string CheckZe() const;
    std::string CheckIeToY() const;
    std::string CheckCapital() const;
    // Fallback rules, tried only while nothing has been found.
    std::string CheckSuffix() const;
    std::string CheckLetterSwap() const;
    std::string CheckMissingLetters() const;
    std::string CheckExtraLetters() const;

    // Non-overlapping occurrences of pattern in text; 0 for an empty pattern.
    static int CountOccurrences(std::string_view pattern, std::string_view text);
    // The suffix text ends with, from the fixed table, or empty (texts of 4 or fewer characters have none).
    static std::string FindSuffix(std::string_view text);
    // group when the word has it more often than the misspelling, else empty.
    std::string LostGroup(std::string_view group) const;

    // The last n characters of a text longer than n characters, else empty.
    static std::string_view Tail(std::string_view text, std::size_t n);

    std::string m_strWord;
    std::string m_strMisspelling;
    // Informative only: the rules use the texts' own sizes, so these saturate
    // at the 32-bit limit instead of wrapping.
    std::int32_t m_nWordLength = 0;
    std::int32_t m_nMisspellingLength = 0;

private:
    void SetTexts(std::string_view word, std::string_view misspelling);
    void Analyse(std::string_view word, std::string_view misspelling, std::string& result,
                 std::vector<Finding>* findings);
};
