// The word banks the build made: each rule's words are words whose misspelling of the
// rule's kind the analysis names with that rule; lists are drawn from them at random.
#include "spelling/CSpellingRules.h"
#include "spelling/CWordBank.h"
#include "spelling/CWordBankMaker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace {
const CWordBank& BuiltBank()
{
    static const CWordBank bank = [] {
        CWordBank b;
        std::string error;
        EXPECT_TRUE(b.Load(KELTO4_BANK_FILE, &error)) << error;
        return b;
    }();
    return bank;
}

bool Names(CRuleGroups::Rule rule, const std::string& word, const std::string& misspelling)
{
    CSpellingRules rules;
    std::string text;
    std::vector<CSpellingRules::Finding> findings;
    rules.GetSpellingErrors(word, misspelling, text, findings);
    return std::any_of(findings.begin(), findings.end(), [rule](const auto& f) { return f.rule == rule; });
}

struct BankCase {
    const char* bank;
    int level;
    std::string word;
    std::string misspelling; // the mistake the rule is there to catch
};

void PrintTo(const BankCase& c, std::ostream* os) { *os << c.bank << ": " << c.word; }

class BankWord : public ::testing::TestWithParam<BankCase> {};

TEST_P(BankWord, StandsInItsBankAndItsMisspellingIsNamedWithTheRule)
{
    const BankCase& c = GetParam();
    const CWordBank::Topic* topic = CWordBank::FindTopic(c.bank);
    ASSERT_NE(topic, nullptr);
    const auto& words = BuiltBank().Words(topic->rule, c.level);
    EXPECT_NE(std::find(words.begin(), words.end(), c.word), words.end()) << c.word << " not at level " << c.level;
    EXPECT_TRUE(Names(topic->rule, c.word, c.misspelling)) << c.word << " / " << c.misspelling;
}

INSTANTIATE_TEST_SUITE_P(
    EveryRule, BankWord,
    ::testing::Values(BankCase{"ie-and-ei", 1, "friend", "freind"}, BankCase{"final-e", 1, "careful", "carful"},
                      BankCase{"y-to-i", 2, "happiness", "happyness"}, BankCase{"doubled-letters", 1, "better", "beter"},
                      BankCase{"plurals", 1, "boxes", "boxs"}, BankCase{"letter-groups", 1, "church", "curch"},
                      BankCase{"blends", 1, "street", "sreet"}, BankCase{"tch", 1, "watch", "wach"},
                      BankCase{"dge", 1, "bridge", "brij"}, BankCase{"ve", 1, "give", "giv"},
                      BankCase{"ze", 1, "size", "siz"}, BankCase{"ie-to-y", 1, "lying", "lieing"},
                      BankCase{"suffixes", 1, "visible", "visable"}),
    [](const auto& param) {
        std::string name = param.param.bank;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

// Words that look like a rule's but don't grow that way stay out of its bank.
TEST(WordBank, LeavesOutWordsThatOnlyLookLikeTheRule)
{
    const struct {
        const char* bank;
        const char* word;
    } cases[] = {{"ie-and-ei", "carried"}, {"ie-and-ei", "seeing"}, {"final-e", "doing"},  {"final-e", "floor"},
                 {"plurals", "serves"},    {"plurals", "uses"},     {"suffixes", "water"}, {"suffixes", "door"}};
    for (const auto& c : cases)
        for (int level = 1; level <= CWordBank::kLevels; ++level) {
            const auto& words = BuiltBank().Words(CWordBank::FindTopic(c.bank)->rule, level);
            EXPECT_EQ(std::find(words.begin(), words.end(), c.word), words.end()) << c.bank << ": " << c.word;
        }
}

TEST(WordBank, EveryRuleHasWordsAndNoneIsExcludedOrWrittenOddly)
{
    std::ifstream in(KELTO4_EXCLUSIONS);
    std::vector<std::string> exclusions;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#')
            exclusions.push_back(line);
    ASSERT_FALSE(exclusions.empty());
    for (const CWordBank::Topic& topic : CWordBank::Topics()) {
        std::size_t all = 0;
        for (int level = 1; level <= CWordBank::kLevels; ++level)
            for (const std::string& word : BuiltBank().Words(topic.rule, level)) {
                ++all;
                EXPECT_TRUE(CWordBankMaker::IsPlainWord(word)) << word;
                for (const std::string& e : exclusions)
                    EXPECT_FALSE(e.back() == '*' ? word.rfind(e.substr(0, e.size() - 1), 0) == 0 : word == e)
                        << topic.name << ": " << word << " is excluded by " << e;
            }
        EXPECT_GE(all, 20u) << topic.name;
    }
}

TEST(WordBank, ChoosesDifferentWordsAtRandomTheSameForTheSameSeed)
{
    const std::vector<std::string> words = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    const struct {
        std::size_t asked;
        std::size_t given;
    } cases[] = {{0, 0}, {5, 5}, {10, 10}, {12, 10}};
    for (const auto& c : cases) {
        std::mt19937 first(7), again(7);
        const auto chosen = CWordBank::Choose(words, c.asked, first);
        EXPECT_EQ(chosen.size(), c.given);
        EXPECT_EQ(std::set<std::string>(chosen.begin(), chosen.end()).size(), c.given);
        EXPECT_EQ(CWordBank::Choose(words, c.asked, again), chosen);
    }
}

// A level with too few words takes the rest from the nearest levels, the more common first.
TEST(WordBank, ASmallLevelIsMadeUpFromTheNearestLevels)
{
    CWordBank bank;
    for (const char* w : {"catch", "fetch"})
        bank.Add(CRuleGroups::Tch, 1, w);
    for (const char* w : {"hutch", "notch", "patch"})
        bank.Add(CRuleGroups::Tch, 2, w);
    bank.Add(CRuleGroups::Tch, 3, "crutch");
    const struct {
        int level;
        std::size_t asked;
        std::vector<int> levels; // where the chosen words come from, in order
    } cases[] = {
        {1, 2, {1, 1}},
        {1, 4, {1, 1, 2, 2}},
        {2, 5, {2, 2, 2, 1, 1}},
        {3, 3, {3, 2, 2}},
        {1, 12, {1, 1, 2, 2, 2, 3}},
    };
    const auto levelOf = [&](const std::string& word) {
        for (int level = 1; level <= CWordBank::kLevels; ++level)
            for (const std::string& w : bank.Words(CRuleGroups::Tch, level))
                if (w == word)
                    return level;
        return 0;
    };
    for (const auto& c : cases) {
        std::mt19937 engine(3);
        std::vector<int> levels;
        for (const std::string& word : bank.ChooseForLevel(CRuleGroups::Tch, c.level, c.asked, engine))
            levels.push_back(levelOf(word));
        EXPECT_EQ(levels, c.levels) << "level " << c.level << ", " << c.asked << " words";
    }
}

TEST(WordBank, FileReadsBackAndNamesAreFoundAsTitledOrTyped)
{
    CWordBank bank;
    bank.Add(CRuleGroups::IeEi, 1, "friend");
    bank.Add(CRuleGroups::Tch, 3, "hutch");
    CWordBank again;
    again.Parse(bank.Text() + "nonsense\tline\nie-and-ei\t9\tfield\nze\t1\tSize\n");
    EXPECT_EQ(again.Text(), bank.Text());
    for (const char* name : {"ie-and-ei", "ie and ei", "IE AND EI"})
        EXPECT_EQ(CWordBank::FindTopic(name)->rule, CRuleGroups::IeEi) << name;
    EXPECT_EQ(CWordBank::FindTopic("capital"), nullptr);
    EXPECT_EQ(CWordBank::ListTitle(*CWordBank::TopicOf(CRuleGroups::IeEi), 1), "ie and ei, level 1");
}
}
