#pragma once
#include "spelling/CRuleGroups.h"

#include <string>
#include <string_view>
#include <vector>

// Says in plain words what each finding of the misspelling analysis means, with
// words that follow the rule, so that a learner sees why an answer was wrong and
// not only that it was. Texts are Windows-1252.
class CRuleExplanations {
public:
    // The rules by their place in the analysis, as the progress charts group them.
    using Rule = CRuleGroups::Rule;
    using enum CRuleGroups::Rule;
    static constexpr int kRuleCount = CRuleGroups::NoRule;

    struct Line {
        Rule rule;
        std::string finding;     // as the analysis names it: "change ie to ei"
        std::string explanation; // "e comes before i here: i before e, except after c"
        std::string example;     // "receive, ceiling"
        // finding: explanation - example, on one line.
        std::string Text() const;
    };

    // Every finding that GetSpellingErrors joins for the pair, in its order, each
    // explained; empty when the analysis finds nothing ("?").
    static std::vector<Line> Explain(std::string_view word, std::string_view answer);
    // One finding of rule, explained.
    static Line ExplainFinding(Rule rule, std::string_view finding);
};
