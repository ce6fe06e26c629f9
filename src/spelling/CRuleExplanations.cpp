#include "spelling/CRuleExplanations.h"

#include "spelling/CSpellingRules.h"

namespace {

using Rule = CRuleExplanations::Rule;

struct Explanation {
    Rule rule;
    const char* finding; // the whole finding, or nullptr for the rule's general text
    const char* explanation;
    const char* example;
};

// Rules whose finding is one fixed text have a line per text; rules that list
// letters, groups or suffixes have one line for the rule, chosen in ExplainFinding.
constexpr Explanation kExplanations[] = {
    {Rule::IeEi, "change ei to ie", "i comes before e here: i before e, except after c", "friend, believe, piece"},
    {Rule::IeEi, "ie", "this word has ie in it: i before e, except after c", "field, chief, piece"},
    {Rule::IeEi, "change ie to ei", "e comes before i here: i before e, except after c", "receive, ceiling"},
    {Rule::IeEi, "ei", "this word has ei in it, as words do after c", "ceiling, receipt, eight"},
    {Rule::FinalE, "keep final e", "keep the e at the end of the word when the ending starts with a consonant",
     "hope + less = hopeless, use + ful = useful"},
    {Rule::FinalE, "drop final e", "drop the e at the end of the word when the ending starts with a vowel",
     "make + ing = making, love + ing = loving"},
    {Rule::YToI, "change y to i", "a y after a consonant turns into i before an ending",
     "happy + ness = happiness, beauty + ful = beautiful"},
    {Rule::YToI, "keep the y", "keep the y after a vowel, and always before ing",
     "enjoy + ment = enjoyment, carry + ing = carrying"},
    {Rule::PluralEnding, "change ending f or fe to ve", "for more than one, f or fe at the end turns into ves",
     "leaf, leaves; knife, knives"},
    {Rule::PluralEnding, "s to es", "add es, not only s, after s, x, z, ch and sh", "box, boxes; wish, wishes"},
    {Rule::PluralEnding, "ending es", "this word ends with es", "boxes, foxes, wishes"},
    {Rule::PluralEnding, "es to s", "this word ends with s only, not es", "cats, books, dogs"},
    {Rule::PluralEnding, "ending s", "this word ends with s", "cats, dogs, books"},
    {Rule::PluralEnding, "no ending s", "this word does not end with s", "book, cat, freeze"},
    {Rule::LetterGroups, nullptr, "these letters go together as a team in this word: keep every team",
     "church, thought, said"},
    {Rule::Blends, nullptr, "these letters are said quickly together: write each one", "street, splendid, scream"},
    {Rule::Tch, "change ch to tch", "after a short vowel the ending is usually tch", "watch, catch, kitchen"},
    {Rule::Tch, "change tch to ch", "this word ends with ch, not tch", "rich, much, such"},
    {Rule::Dge, "change j to dge", "the j sound at the end of a word is written dge after a short vowel",
     "bridge, badge, hedge"},
    {Rule::Ve, "change v to ve", "English words do not end with v: add an e", "give, have, live"},
    {Rule::Ze, "end with ze", "this word ends with ze", "sneeze, freeze, prize"},
    {Rule::IeToY, "change ie to y", "ie turns into y before ing", "lie, lying; tie, tying"},
    {Rule::Capital, "capitalize first letter", "this word starts with a capital letter", "Friday, London, England"},
    {Rule::Capital, "do not capitalize first letter", "this word starts with a small letter", "apple, table, friend"},
    {Rule::LetterSwap, nullptr, "you typed the first letter of each pair where the word has the second",
     "cat, not kat; form, not from"},
    {Rule::MissingLetters, nullptr, "these letters were left out: put them back in", "cake, not cak"},
    {Rule::ExtraLetters, nullptr, "these letters are not in the word: leave them out", "twelve, not tweleve"},
};

constexpr const char* kDoubleOnly[] = {"these letters are written twice in a row in this word",
                                       "hopping, little, committee"};
constexpr const char* kSingleOnly[] = {"this letter is written only once here, not twice", "hoping, later, cake"};
constexpr const char* kDoubleAndSingle[] = {"write the double letters twice and the single letters once",
                                            "hopping, hoping"};
constexpr const char* kSuffixAdd[] = {"the word has this ending: do not leave it out",
                                      "quick + ly = quickly, play + ing = playing"};
constexpr const char* kSuffixRemove[] = {"the word does not have this ending: leave it off", "quick, help, jump"};
constexpr const char* kSuffixChange[] = {"use the ending after \"to\", not the one before it",
                                         "teacher, sadness, doctor"};

CRuleExplanations::Line MakeLine(Rule rule, std::string_view finding, const char* explanation, const char* example)
{
    return CRuleExplanations::Line{rule, std::string(finding), explanation, example};
}

} // namespace

std::string CRuleExplanations::Line::Text() const
{
    // "\x97" is the dash of Windows-1252.
    return finding + ": " + explanation + " \x97 " + example;
}

CRuleExplanations::Line CRuleExplanations::ExplainFinding(Rule rule, std::string_view finding)
{
    if (rule == Rule::DoubleLetters) {
        const bool doubles = finding.find("double ") != std::string_view::npos;
        const bool singles = finding.find("single ") != std::string_view::npos;
        const char* const* text = doubles && singles ? kDoubleAndSingle : doubles ? kDoubleOnly : kSingleOnly;
        return MakeLine(rule, finding, text[0], text[1]);
    }
    if (rule == Rule::Suffix) {
        const char* const* text = finding.starts_with("suffix add ")      ? kSuffixAdd
                                  : finding.starts_with("suffix remove ") ? kSuffixRemove
                                                                          : kSuffixChange;
        return MakeLine(rule, finding, text[0], text[1]);
    }
    const Explanation* general = nullptr;
    for (const Explanation& e : kExplanations) {
        if (e.rule != rule)
            continue;
        if (e.finding && finding == e.finding)
            return MakeLine(rule, finding, e.explanation, e.example);
        if (!e.finding)
            general = &e;
    }
    if (general)
        return MakeLine(rule, finding, general->explanation, general->example);
    // Every text the analysis can return is in the table; this only guards a
    // finding that a later rule might add.
    return MakeLine(rule, finding, "this spelling rule is broken", "");
}

std::vector<CRuleExplanations::Line> CRuleExplanations::Explain(std::string_view word, std::string_view answer)
{
    CSpellingRules rules;
    std::string line;
    std::vector<CSpellingRules::Finding> findings;
    rules.GetSpellingErrors(word, answer, line, findings);
    std::vector<Line> lines;
    for (const CSpellingRules::Finding& finding : findings)
        lines.push_back(ExplainFinding(finding.rule, std::string_view(line).substr(finding.start, finding.size)));
    return lines;
}
