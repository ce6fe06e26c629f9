#include "spelling/CWordBank.h"

#include "model/CAtomicFile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sys/stat.h>

namespace {
const std::vector<std::string> kNoWords;

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        // "ie-and-ei" and "ie and ei" name the same rule.
        const auto norm = [](char c) {
            return c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        };
        if (norm(a[i]) != norm(b[i]))
            return false;
    }
    return true;
}

bool IsBankWord(std::string_view word)
{
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}
}

const std::vector<CWordBank::Topic>& CWordBank::Topics()
{
    static const std::vector<Topic> topics = {
        {CRuleGroups::IeEi, "ie-and-ei", "ie and ei"},
        {CRuleGroups::FinalE, "final-e", "final e"},
        {CRuleGroups::YToI, "y-to-i", "y to i"},
        {CRuleGroups::DoubleLetters, "doubled-letters", "doubled letters"},
        {CRuleGroups::PluralEnding, "plurals", "plurals"},
        {CRuleGroups::LetterGroups, "letter-groups", "letter groups"},
        {CRuleGroups::Blends, "blends", "blends"},
        {CRuleGroups::Tch, "tch", "tch"},
        {CRuleGroups::Dge, "dge", "dge"},
        {CRuleGroups::Ve, "ve", "ve"},
        {CRuleGroups::Ze, "ze", "ze"},
        {CRuleGroups::IeToY, "ie-to-y", "ie to y"},
        {CRuleGroups::Suffix, "suffixes", "suffixes"},
    };
    return topics;
}

const CWordBank::Topic* CWordBank::FindTopic(std::string_view name)
{
    for (const Topic& topic : Topics())
        if (SameName(name, topic.name) || SameName(name, topic.title))
            return &topic;
    return nullptr;
}

const CWordBank::Topic* CWordBank::TopicOf(CRuleGroups::Rule rule)
{
    for (const Topic& topic : Topics())
        if (topic.rule == rule)
            return &topic;
    return nullptr;
}

std::string CWordBank::ListTitle(const Topic& topic, int level)
{
    return std::string(topic.title) + ", level " + std::to_string(level);
}

bool CWordBank::Load(const std::string& nativePath, std::string* error)
{
    // A pipe or device is refused before anything waits on it.
    std::string text;
    if (CAtomicFile::ReadBoundedFile(nativePath, kMaxFileSize, text, error) != CAtomicFile::BoundedRead::ok)
        return false;
    Parse(text);
    return true;
}

void CWordBank::Parse(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos || tab2 != tab1 + 2)
            continue;
        const Topic* topic = FindTopic(line.substr(0, tab1));
        const int level = line[tab1 + 1] - '0';
        const std::string_view word = line.substr(tab2 + 1);
        if (topic && level >= 1 && level <= kLevels && IsBankWord(word))
            Add(topic->rule, level, std::string(word));
    }
}

std::string CWordBank::Text() const
{
    std::string text;
    for (const Topic& topic : Topics())
        for (int level = 1; level <= kLevels; ++level)
            for (const std::string& word : Words(topic.rule, level)) {
                text += topic.name;
                text += '\t';
                text += char('0' + level);
                text += '\t';
                text += word;
                text += '\n';
            }
    return text;
}

void CWordBank::Add(CRuleGroups::Rule rule, int level, std::string word)
{
    if (rule >= 0 && rule < CRuleGroups::kCount && level >= 1 && level <= kLevels)
        m_words[std::size_t(rule)][std::size_t(level - 1)].push_back(std::move(word));
}

const std::vector<std::string>& CWordBank::Words(CRuleGroups::Rule rule, int level) const
{
    if (rule < 0 || rule >= CRuleGroups::kCount || level < 1 || level > kLevels)
        return kNoWords;
    return m_words[std::size_t(rule)][std::size_t(level - 1)];
}

std::vector<std::string> CWordBank::Choose(const std::vector<std::string>& words, std::size_t count,
                                           std::mt19937& engine)
{
    // A partial Fisher-Yates shuffle over the positions: count steps, whatever the bank's size.
    std::vector<std::size_t> order(words.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const std::size_t n = std::min(count, words.size());
    std::vector<std::string> chosen;
    chosen.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::uniform_int_distribution<std::size_t> pick(i, order.size() - 1);
        std::swap(order[i], order[pick(engine)]);
        chosen.push_back(words[order[i]]);
    }
    return chosen;
}

std::array<int, CWordBank::kLevels> CWordBank::LevelOrder(int level)
{
    std::array<int, kLevels> order{};
    for (int i = 0; i < kLevels; ++i)
        order[std::size_t(i)] = i + 1;
    std::stable_sort(order.begin(), order.end(),
                     [level](int a, int b) { return std::abs(a - level) < std::abs(b - level); });
    return order;
}

std::vector<std::string> CWordBank::ChooseForLevel(CRuleGroups::Rule rule, int level, std::size_t count,
                                                   std::mt19937& engine) const
{
    std::vector<std::string> chosen;
    for (const int from : LevelOrder(level)) {
        if (chosen.size() >= count)
            break;
        const std::vector<std::string> more = Choose(Words(rule, from), count - chosen.size(), engine);
        chosen.insert(chosen.end(), more.begin(), more.end());
    }
    return chosen;
}

std::string CWordBank::Find()
{
    for (const char* folder : {KELTO4_DATADIR, KELTO4_BUILD_BANKS}) {
        const std::string path = std::string(folder) + "/" + kFileName;
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            return path;
    }
    return std::string();
}
