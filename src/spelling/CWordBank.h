#pragma once
#include "spelling/CRuleGroups.h"

#include <array>
#include <cstddef>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// Ready-made words for each spelling rule a word can show, at three levels: 1 the most
// common words, 2 common ones, 3 less common ones. The banks are made while the program
// is built (CWordBankMaker) and read from one text file, a line per word:
// rule name, a tab, the level, a tab, the word.
class CWordBank {
public:
    static constexpr int kLevels = 3;
    static constexpr const char* kFileName = "word-banks.txt";
    // Larger than any bank file the build makes; a bigger file is not ours.
    static constexpr std::size_t kMaxFileSize = 4u << 20;

    struct Topic {
        CRuleGroups::Rule rule;
        const char* name;  // as the command line takes it: "ie-and-ei"
        const char* title; // as lists and the dialog show it: "ie and ei"
    };
    // The rules that have banks, in the analysis' order.
    static const std::vector<Topic>& Topics();
    // The topic called name (its name or its title, any letter case), or null.
    static const Topic* FindTopic(std::string_view name);
    static const Topic* TopicOf(CRuleGroups::Rule rule);
    // The title of a list made from a bank: "ie and ei, level 1".
    static std::string ListTitle(const Topic& topic, int level);

    // Reads a bank file; false with the reason when it can't. Lines that are not
    // rule-level-word lines of a known rule are passed over.
    bool Load(const std::string& nativePath, std::string* error);
    void Parse(std::string_view text);
    // The file's text: every bank, level by level, in the order the words were added.
    std::string Text() const;

    void Add(CRuleGroups::Rule rule, int level, std::string word);
    // Empty for a rule without a bank or a level outside 1..kLevels.
    const std::vector<std::string>& Words(CRuleGroups::Rule rule, int level) const;
    std::size_t Count(CRuleGroups::Rule rule, int level) const { return Words(rule, level).size(); }

    // count different words of words in random order (all of them, shuffled, when there
    // are fewer); the engine decides, so a seed gives the same choice again.
    static std::vector<std::string> Choose(const std::vector<std::string>& words, std::size_t count,
                                           std::mt19937& engine);

    // count words for a list of rule at level: the level's own words first, in random order;
    // where the level has too few, the nearest levels make up the rest (the more common one
    // first), so a small bank still gives the list its size. Fewer only when the whole bank
    // is smaller.
    std::vector<std::string> ChooseForLevel(CRuleGroups::Rule rule, int level, std::size_t count,
                                            std::mt19937& engine) const;
    // The levels ChooseForLevel draws from, in order: level, then the nearest others.
    static std::array<int, kLevels> LevelOrder(int level);

    // The installed bank file, else the one the build made; empty when there is neither.
    static std::string Find();

private:
    std::array<std::array<std::vector<std::string>, kLevels>, CRuleGroups::kCount> m_words;
};
