// The letter comparison and the rule explanations that the feedback panel shows.
#include "LargestAllocation.h"
#include "spelling/CLetterComparison.h"
#include "spelling/CRuleExplanations.h"
#include "spelling/CSpellingRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using Kind = CLetterComparison::Kind;

// Optimal string alignment distance, written plainly, to check the comparison's cost.
std::size_t Distance(const std::string& a, const std::string& b)
{
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// The steps as kelto4-tool compare writes them (no escapes needed here).
std::string Written(const std::vector<CLetterComparison::Step>& steps)
{
    std::string out;
    for (const auto& s : steps) {
        if (!out.empty())
            out += ' ';
        switch (s.kind) {
        case Kind::Same: out += '='; out += s.word[0]; break;
        case Kind::Changed: out += '~'; out += s.word[0]; out += s.answer[0]; break;
        case Kind::Missing: out += '-'; out += s.word[0]; break;
        case Kind::Extra: out += '+'; out += s.answer[0]; break;
        case Kind::Swapped: out += '^'; out += s.word[0]; out += s.word[1]; break;
        }
    }
    return out;
}

// Replays the steps to both texts and checks that no alignment costs less.
void ExpectSoundAlignment(const std::string& word, const std::string& answer)
{
    const auto steps = CLetterComparison::Compare(word, answer);
    std::string replayedWord, replayedAnswer;
    for (const auto& s : steps) {
        replayedWord += s.WordLetters();
        replayedAnswer += s.AnswerLetters();
        if (s.kind == Kind::Swapped) {
            EXPECT_EQ(s.word[0], s.answer[1]);
            EXPECT_EQ(s.word[1], s.answer[0]);
        }
        if (s.kind == Kind::Changed) {
            EXPECT_NE(s.word[0], s.answer[0]);
        }
    }
    EXPECT_EQ(replayedWord, word);
    EXPECT_EQ(replayedAnswer, answer);
    EXPECT_EQ(CLetterComparison::Cost(steps), Distance(word, answer));
}

struct Pair {
    const char* word;
    const char* answer;
    const char* steps; // under the tie rule
};

const Pair kPairs[] = {
    {"receive", "recieve", "=r =e =c ^ei =v =e"},          // a swap
    {"hopping", "hoping", "=h =o -p =p =i =n =g"},          // a doubled letter missing
    {"cake", "cakee", "=c =a =k +e =e"},                     // an extra final e
    {"twelve", "tweleve", "=t =w =e =l +e =v =e"},
    {"cat", "", "-c -a -t"},                                 // an empty answer
    {"", "cat", "+c +a +t"},                                 // an empty word
    {"", "", ""},
    {"friend", "friend", "=f =r =i =e =n =d"},               // identical texts
    {"cat", "kat", "~ck =a =t"},
    {"form", "from", "=f ^or =m"},
    {"Friday", "friday", "~Ff =r =i =d =a =y"},
};

void PrintTo(const Pair& p, std::ostream* os)
{
    *os << testing::PrintToString(p.word) << " / " << testing::PrintToString(p.answer);
}

class LetterComparison : public testing::TestWithParam<Pair> {};

TEST_P(LetterComparison, AlignsOptimallyAndBreaksTiesTheSameWay)
{
    const Pair& p = GetParam();
    ExpectSoundAlignment(p.word, p.answer);
    EXPECT_EQ(Written(CLetterComparison::Compare(p.word, p.answer)), p.steps);
}

INSTANTIATE_TEST_SUITE_P(Pairs, LetterComparison, testing::ValuesIn(kPairs),
                         [](const testing::TestParamInfo<Pair>& pair) {
                             return std::to_string(pair.index) + "_" + (*pair.param.word ? pair.param.word : "empty") +
                                    "_" + (*pair.param.answer ? pair.param.answer : "empty");
                         });

TEST(LetterComparisonOfRandomBytes, AWordOfFortyLettersReplaysAndIsOptimal)
{
    std::mt19937 rng(16);
    std::uniform_int_distribution<int> byte(0, 255), letter('a', 'e'), length(0, 60);
    const std::string word = "abcdeabcdeedcbaabcdeaabbccddeeaebdcaebdc";
    ASSERT_EQ(word.size(), 40u);
    for (int round = 0; round < 200; ++round) {
        // Few distinct letters make many ties and swaps; any byte makes few.
        std::string answer(std::size_t(length(rng)), '\0');
        for (char& c : answer)
            c = char(round % 2 ? byte(rng) : letter(rng));
        SCOPED_TRACE(round);
        ExpectSoundAlignment(word, answer);
    }
    ExpectSoundAlignment(std::string(300, 'a'), std::string(200, 'b')); // beyond the stack table
}

// The comparison's table grows with the product of the two lengths: texts beyond the
// bound (a paste, a damaged record file) are not compared, and cost no large table.
TEST(LetterComparison, TextsTooLongAreNotComparedAndTakeNoLargeTable)
{
    const struct {
        std::size_t word;
        std::size_t answer;
        bool compared;
    } cases[] = {
        {1000, 1000, true}, {1001, 3, false}, {3, 1001, false}, {0, 20000, false}, {20000, 20000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.word) + " and " + std::to_string(c.answer) + " letters");
        const std::string word(c.word, 'a');
        const std::string answer(c.answer, 'b');
        ResetLargestAllocation();
        const std::vector<CLetterComparison::Step> steps = CLetterComparison::Compare(word, answer);
        EXPECT_EQ(!steps.empty(), c.compared);
        EXPECT_LT(LargestAllocation(), std::size_t(8) << 20);
    }
}

// One pair for every text the seventeen rules can give.
struct Finding {
    const char* word;
    const char* answer;
    CRuleExplanations::Rule rule;
};

const Finding kFindings[] = {
    {"friend", "freind", CRuleExplanations::IeEi},      {"believe", "beleve", CRuleExplanations::IeEi},
    {"receive", "recieve", CRuleExplanations::IeEi},    {"ceiling", "celing", CRuleExplanations::IeEi},
    {"useful", "usful", CRuleExplanations::FinalE},     {"making", "makeing", CRuleExplanations::FinalE},
    {"happiness", "happyness", CRuleExplanations::YToI}, {"carrying", "carring", CRuleExplanations::YToI},
    {"hopping", "hoping", CRuleExplanations::DoubleLetters},
    {"hoping", "hopping", CRuleExplanations::DoubleLetters},
    {"leaves", "leafs", CRuleExplanations::PluralEnding}, {"boxes", "boxs", CRuleExplanations::PluralEnding},
    {"foxes", "fox", CRuleExplanations::PluralEnding},    {"cats", "cates", CRuleExplanations::PluralEnding},
    {"cats", "cat", CRuleExplanations::PluralEnding},     {"book", "books", CRuleExplanations::PluralEnding},
    {"thought", "thot", CRuleExplanations::LetterGroups}, {"scream", "seam", CRuleExplanations::Blends},
    {"watch", "wach", CRuleExplanations::Tch},            {"rich", "ritch", CRuleExplanations::Tch},
    {"bridge", "brij", CRuleExplanations::Dge},           {"give", "giv", CRuleExplanations::Ve},
    {"sneeze", "sneez", CRuleExplanations::Ze},           {"lying", "lieing", CRuleExplanations::IeToY},
    {"Friday", "friday", CRuleExplanations::Capital},     {"apple", "Apple", CRuleExplanations::Capital},
    {"quickly", "quick", CRuleExplanations::Suffix},      {"quick", "quickly", CRuleExplanations::Suffix},
    {"sadness", "sadless", CRuleExplanations::Suffix},    {"cat", "kat", CRuleExplanations::LetterSwap},
    {"cake", "cak", CRuleExplanations::MissingLetters},   {"twelve", "tweleve", CRuleExplanations::ExtraLetters},
};

TEST(RuleExplanations, EveryRuleAndEachOfItsTextsIsExplainedWithAnExample)
{
    std::set<int> rulesSeen;
    std::set<std::string> explanationsSeen;
    for (const Finding& f : kFindings) {
        SCOPED_TRACE(std::string(f.word) + " / " + f.answer);
        const auto lines = CRuleExplanations::Explain(f.word, f.answer);
        ASSERT_FALSE(lines.empty());
        // The findings, joined as the analysis joins them, are the analysis's own line.
        std::string joined;
        for (const auto& line : lines) {
            joined += (joined.empty() ? "" : "; ") + line.finding;
            EXPECT_FALSE(line.explanation.empty());
            EXPECT_FALSE(line.example.empty());
            EXPECT_EQ(line.Text(), line.finding + ": " + line.explanation + " \x97 " + line.example);
        }
        EXPECT_EQ(joined, CSpellingRules().GetSpellingErrors(f.word, f.answer));
        const auto mine = std::find_if(lines.begin(), lines.end(), [&f](const auto& l) { return l.rule == f.rule; });
        ASSERT_NE(mine, lines.end());
        rulesSeen.insert(f.rule);
        explanationsSeen.insert(mine->explanation);
    }
    EXPECT_EQ(int(rulesSeen.size()), CRuleExplanations::kRuleCount);
    // Each pair above stands for a different text, and each text has its own explanation.
    EXPECT_EQ(explanationsSeen.size(), std::size(kFindings));
}

TEST(RuleExplanations, NothingFoundMeansNoLines)
{
    EXPECT_TRUE(CRuleExplanations::Explain("cake", "").empty());
    EXPECT_TRUE(CRuleExplanations::Explain("cake", "cake").empty());
    const auto fallback = CRuleExplanations::Explain("form", "from");
    ASSERT_EQ(fallback.size(), 1u);
    EXPECT_EQ(fallback[0].rule, CRuleExplanations::LetterSwap);
    EXPECT_EQ(fallback[0].finding, "r to o, o to r");
}

} // namespace
