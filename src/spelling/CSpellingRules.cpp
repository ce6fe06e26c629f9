#include "spelling/CSpellingRules.h"

#include "model/CArchive.h"
#include "model/Cp1252.h"

#include <array>
#include <climits>
#include <cstring>
#include <functional>

namespace {

using Text = std::string_view;

constexpr Text kSuffixes4[] = {"ness", "ence", "ship", "ment", "ency", "hood",
                               "ance", "able", "less", "ible", "lent", "tion"};
constexpr Text kSuffixes3[] = {"ery", "ist", "ion", "dom", "ism", "ize", "ify",
                               "ate", "ial", "ful", "ous", "ish", "ive", "ing"};
constexpr Text kSuffixes2[] = {"er", "or", "en", "ic", "al", "ly", "es", "ed"};

constexpr Text kLetterGroups[] = {"ch", "sh", "th", "wh", "ng", "nk", "ck", "ph",
                                  "gh", "wr", "kn", "gn", "mn", "mb", "ai", "ay",
                                  "ea", "oa", "oe", "ou", "ow", "ue", "ui"};
constexpr Text kBlends[] = {"br", "dr", "fr", "gr", "pr", "tr", "bl", "cl", "fl",
                            "gl", "pl", "sk", "sm", "sn", "sp", "st", "sw", "tw"};

constexpr unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

Text TailOf(Text text, std::size_t n)
{
    return text.size() > n ? text.substr(text.size() - n) : Text{};
}

std::size_t Count(Text pattern, Text text)
{
    const std::size_t m = pattern.size();
    const std::size_t n = text.size();
    if (m == 0 || n < m)
        return 0;
    const char first = pattern[0];
    const char* const base = text.data();
    std::size_t count = 0;
    std::size_t i = 0;
    while (i + m <= n) {
        const void* hit = std::memchr(base + i, first, n - m + 1 - i);
        if (!hit)
            break;
        i = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
        if (std::memcmp(base + i + 1, pattern.data() + 1, m - 1) == 0) {
            ++count;
            i += m;
        } else {
            ++i;
        }
    }
    return count;
}

Text Suffix(Text text)
{
    if (text.size() <= 4)
        return {};
    const Text t4 = TailOf(text, 4);
    for (Text s : kSuffixes4)
        if (t4 == s)
            return s;
    const Text t3 = TailOf(text, 3);
    for (Text s : kSuffixes3)
        if (t3 == s)
            return s;
    const Text t2 = TailOf(text, 2);
    for (Text s : kSuffixes2)
        if (t2 == s)
            return s;
    if (text.back() == 's')
        return "s";
    return {};
}

constexpr unsigned BigramSlot(char a, char b) { return (Byte(a) * 31u + Byte(b)) & 255u; }

// The two texts of one analysis, with the suffixes that three rules need and a
// filter of the word's adjacent letter pairs: most of the 44 groups and blends
// are absent from a given word, and the filter rules them out without a scan.
struct Pair {
    Pair(Text w, Text m) : word(w), miss(m), wordSuffix(Suffix(w)), missSuffix(Suffix(m))
    {
        for (std::size_t i = 1; i < w.size(); ++i) {
            const unsigned slot = BigramSlot(w[i - 1], w[i]);
            wordPairs[slot >> 6] |= std::uint64_t{1} << (slot & 63u);
        }
    }
    Text word;
    Text miss;
    Text wordSuffix;
    Text missSuffix;
    std::array<std::uint64_t, 4> wordPairs{};
    bool BothNonEmpty() const { return !word.empty() && !miss.empty(); }
    // False only when the word cannot contain a text that starts with a and b.
    bool WordMayHave(char a, char b) const
    {
        const unsigned slot = BigramSlot(a, b);
        return (wordPairs[slot >> 6] >> (slot & 63u)) & 1u;
    }
};

bool Lost(const Pair& p, Text group)
{
    if (group.size() >= 2 && !p.WordMayHave(group[0], group[1]))
        return false;
    const std::size_t inWord = Count(group, p.word);
    return inWord != 0 && inWord > Count(group, p.miss);
}

// Starts a new item of a list that is being written from position start.
void Separate(std::string& out, std::size_t start, Text separator)
{
    if (out.size() > start)
        out.append(separator);
}

Text IeEi(const Pair& p)
{
    if (TailOf(p.word, 3) == "ies")
        return {};
    const std::size_t ieWord = Count("ie", p.word);
    const std::size_t eiWord = Count("ei", p.word);
    const std::size_t ieMiss = Count("ie", p.miss);
    const std::size_t eiMiss = Count("ei", p.miss);
    if (ieWord > 0 && eiMiss > 0)
        return "change ei to ie";
    if (ieWord > 0 && ieMiss == 0)
        return "ie";
    if (eiWord > 0 && ieMiss > 0)
        return "change ie to ei";
    if (eiWord > 0 && eiMiss == 0)
        return "ei";
    return {};
}

// The letter before the suffix; the suffix is never the whole text.
char BeforeSuffix(Text text, Text suffix) { return text[text.size() - suffix.size() - 1]; }

bool SameSuffix(const Pair& p)
{
    return !p.wordSuffix.empty() && !p.missSuffix.empty() && p.wordSuffix == p.missSuffix;
}

Text FinalE(const Pair& p)
{
    if (!SameSuffix(p) || TailOf(p.word, 4) == "ying")
        return {};
    const char w = BeforeSuffix(p.word, p.wordSuffix);
    const char m = BeforeSuffix(p.miss, p.missSuffix);
    if (w == 'e' && m != 'e')
        return "keep final e";
    if (w != 'e' && m == 'e')
        return "drop final e";
    return {};
}

Text YToI(const Pair& p)
{
    if (!SameSuffix(p) || TailOf(p.miss, 5) == "ieing")
        return {};
    const char w = BeforeSuffix(p.word, p.wordSuffix);
    const char m = BeforeSuffix(p.miss, p.missSuffix);
    if (w == 'i' && m != 'i')
        return "change y to i";
    if (w == 'y' && m != 'y')
        return "keep the y";
    return {};
}

// Non-overlapping counts of the doubled pair "cc" per letter c, worked out on
// first use so that long texts with many notes stay linear per letter.
class PairCounts {
public:
    explicit PairCounts(Text text) : m_text(text) {}
    std::size_t Of(unsigned char c)
    {
        const unsigned bit = 1u << (c & 31u);
        std::uint32_t& word = m_known[c >> 5];
        if (!(word & bit)) {
            const char pair[2] = {static_cast<char>(c), static_cast<char>(c)};
            m_count[c] = Count(Text(pair, 2), m_text);
            word |= bit;
        }
        return m_count[c];
    }

private:
    Text m_text;
    std::array<std::uint32_t, 8> m_known{};
    std::size_t m_count[256];
};

void DoubleLetters(const Pair& p, std::string& out)
{
    const std::size_t start = out.size();
    const Text w = p.word;
    const Text m = p.miss;
    PairCounts inWord(w);
    PairCounts inMiss(m);
    // Notes are examined from the last to the first.
    for (std::size_t i = w.size() < 2 ? 0 : w.size() - 1; i-- > 0;) {
        if (w[i] != w[i + 1])
            continue;
        const unsigned char c = Byte(w[i]);
        if (inWord.Of(c) > inMiss.Of(c)) {
            Separate(out, start, ", ");
            out.append("double ");
            out.push_back(w[i]);
        }
    }
    for (std::size_t i = m.size() < 2 ? 0 : m.size() - 1; i-- > 0;) {
        if (m[i] != m[i + 1])
            continue;
        if (inWord.Of(Byte(m[i])) == 0) {
            Separate(out, start, ", ");
            out.append("single ");
            out.push_back(m[i]);
        }
    }
}

Text PluralEnding(const Pair& p)
{
    const Text w3 = TailOf(p.word, 3);
    const Text m3 = TailOf(p.miss, 3);
    if (p.BothNonEmpty() && w3 == "ves" && m3 != "ves" && Count("f", m3) > 0)
        return "change ending f or fe to ve";
    const Text w2 = TailOf(p.word, 2);
    const Text m2 = TailOf(p.miss, 2);
    if (w2.empty() || m2.empty())
        return {};
    const bool wordEs = w2 == "es";
    const bool missEs = m2 == "es";
    const bool wordS = w2[1] == 's';
    const bool missS = m2[1] == 's';
    if (wordEs && missS && !missEs)
        return "s to es";
    if (wordEs && !missEs)
        return "ending es";
    if (wordS && !wordEs && missEs)
        return "es to s";
    if (wordS && !missS)
        return "ending s";
    if (!wordS && missS)
        return "no ending s";
    return {};
}

void LetterGroups(const Pair& p, std::string& out)
{
    const std::size_t start = out.size();
    for (Text group : kLetterGroups) {
        if (Lost(p, group)) {
            Separate(out, start, " ");
            out.append(group);
        }
    }
}

void Blends(const Pair& p, std::string& out)
{
    const std::size_t start = out.size();
    if (Lost(p, "scr"))
        out.append("scr");
    else if (Lost(p, "sc"))
        out.append("sc");
    else if (Lost(p, "cr"))
        out.append("cr");
    for (Text blend : kBlends) {
        if (Lost(p, blend)) {
            Separate(out, start, " ");
            out.append(blend);
        }
    }
}

Text Tch(const Pair& p)
{
    if (!p.BothNonEmpty())
        return {};
    const bool wordTch = TailOf(p.word, 3) == "tch";
    const bool missTch = TailOf(p.miss, 3) == "tch";
    if (wordTch && !missTch && TailOf(p.miss, 2) == "ch")
        return "change ch to tch";
    if (!wordTch && missTch && TailOf(p.word, 2) == "ch")
        return "change tch to ch";
    return {};
}

Text Dge(const Pair& p)
{
    if (p.BothNonEmpty() && TailOf(p.word, 3) == "dge" && TailOf(p.miss, 3) != "dge" &&
        TailOf(p.miss, 1) == "j")
        return "change j to dge";
    return {};
}

Text Ve(const Pair& p)
{
    if (p.BothNonEmpty() && TailOf(p.word, 2) == "ve" && TailOf(p.miss, 2) != "ve" &&
        TailOf(p.miss, 1) == "v")
        return "change v to ve";
    return {};
}

Text Ze(const Pair& p)
{
    if (p.BothNonEmpty() && TailOf(p.word, 2) == "ze" && TailOf(p.miss, 2) != "ze")
        return "end with ze";
    return {};
}

Text IeToY(const Pair& p)
{
    if (!p.BothNonEmpty())
        return {};
    const Text w4 = TailOf(p.word, 4);
    if (TailOf(p.word, 3) != "ing" || w4.empty() || w4[0] != 'y')
        return {};
    const Text m4 = TailOf(p.miss, 4);
    if (TailOf(p.miss, 3) != "ing" || (!m4.empty() && m4[0] == 'y'))
        return {};
    const Text m5 = TailOf(p.miss, 5);
    if (m5.empty() || m5.substr(0, 2) != "ie")
        return {};
    return "change ie to y";
}

bool Capitalised(char first) { return Cp1252ToUpper(first) == first; }

Text Capital(const Pair& p)
{
    if (!p.BothNonEmpty())
        return {};
    const bool word = Capitalised(p.word[0]);
    const bool miss = Capitalised(p.miss[0]);
    if (word && !miss)
        return "capitalize first letter";
    if (!word && miss)
        return "do not capitalize first letter";
    return {};
}

void SuffixChange(const Pair& p, std::string& out)
{
    const Text w = p.wordSuffix;
    const Text m = p.missSuffix;
    if (w.empty() && !m.empty()) {
        out.append("suffix remove ").append(m);
    } else if (!w.empty() && m.empty()) {
        out.append("suffix add ").append(w);
    } else if (!w.empty() && w != m) {
        out.append("suffix ").append(m).append(" to ").append(w);
    }
}

void LetterSwap(const Pair& p, std::string& out)
{
    const std::size_t start = out.size();
    const Text w = p.word;
    const Text m = p.miss;
    if (w.size() != m.size())
        return;
    for (std::size_t i = 0; i < w.size(); ++i) {
        if (w[i] == m[i])
            continue;
        Separate(out, start, ", ");
        out.push_back(m[i]);
        out.append(" to ");
        out.push_back(w[i]);
    }
}

// For each byte value in either text: occurrences in the word minus those in
// the misspelling. Only the entries of bytes that occur are ever set or read.
class LetterBalance {
public:
    LetterBalance(Text word, Text miss)
    {
        for (char c : word)
            m_diff[Byte(c)] = 0;
        for (char c : miss)
            m_diff[Byte(c)] = 0;
        for (char c : word)
            ++m_diff[Byte(c)];
        for (char c : miss)
            --m_diff[Byte(c)];
    }
    long long Of(char c) const { return m_diff[Byte(c)]; }

private:
    long long m_diff[256];
};

class ByteSet {
public:
    bool Has(char c) const { return (m_bits[Byte(c) >> 6] >> (Byte(c) & 63u)) & 1u; }
    void Add(char c) { m_bits[Byte(c) >> 6] |= std::uint64_t{1} << (Byte(c) & 63u); }

private:
    std::array<std::uint64_t, 4> m_bits{};
};

void MissingLetters(const Pair& p, std::string& out)
{
    if (p.word.size() <= p.miss.size() || p.miss.empty())
        return;
    const std::size_t start = out.size();
    out.append("missing letter ");
    const std::size_t listStart = out.size();
    const LetterBalance balance(p.word, p.miss);
    ByteSet listed;
    for (char c : p.word) {
        if (balance.Of(c) > 0 && !listed.Has(c)) {
            Separate(out, listStart, ", ");
            out.push_back(c);
            listed.Add(c);
        }
    }
    if (out.size() == listStart)
        out.resize(start);
}

void ExtraLetters(const Pair& p, std::string& out)
{
    if (p.miss.size() <= p.word.size() || p.word.empty())
        return;
    const std::size_t start = out.size();
    out.append("extra letter ");
    const std::size_t listStart = out.size();
    const LetterBalance balance(p.word, p.miss);
    // Bytes that the list text holds so far, its ", " separators included.
    ByteSet inList;
    for (char c : p.miss) {
        if (balance.Of(c) < 0 && !inList.Has(c)) {
            if (out.size() > listStart) {
                out.append(", ");
                inList.Add(',');
                inList.Add(' ');
            }
            out.push_back(c);
            inList.Add(c);
        }
    }
    if (out.size() == listStart)
        out.resize(start);
}

using Findings = std::vector<CSpellingRules::Finding>;

void Note(Findings* findings, CRuleGroups::Rule rule, std::size_t start, const std::string& result)
{
    if (findings)
        findings->push_back({rule, start, result.size() - start});
}

void AppendFinding(std::string& result, Text finding, CRuleGroups::Rule rule, Findings* findings)
{
    if (finding.empty())
        return;
    if (!result.empty())
        result.append("; ");
    const std::size_t start = result.size();
    result.append(finding);
    Note(findings, rule, start, result);
}

void AppendFinding(std::string& result, const Pair& p, void (*check)(const Pair&, std::string&),
                   CRuleGroups::Rule rule, Findings* findings)
{
    const std::size_t mark = result.size();
    if (mark != 0)
        result.append("; ");
    const std::size_t start = result.size();
    check(p, result);
    if (result.size() == start)
        result.resize(mark);
    else
        Note(findings, rule, start, result);
}

// A fallback is tried only while the line is empty, and then stands alone.
void Fallback(std::string& result, const Pair& p, void (*check)(const Pair&, std::string&),
              CRuleGroups::Rule rule, Findings* findings)
{
    if (!result.empty())
        return;
    check(p, result);
    if (!result.empty())
        Note(findings, rule, 0, result);
}

std::string Written(const Pair& p, void (*rule)(const Pair&, std::string&))
{
    std::string out;
    rule(p, out);
    return out;
}

bool PointsInto(Text view, const std::string& s)
{
    const std::less_equal<const char*> le;
    return !view.empty() && le(s.data(), view.data()) && le(view.data(), s.data() + s.size());
}

std::int32_t Saturated(std::size_t n)
{
    return n > static_cast<std::size_t>(INT32_MAX) ? INT32_MAX : static_cast<std::int32_t>(n);
}

} // namespace

KELTO4_IMPLEMENT_SERIAL(CSpellingRules, 0)

void CSpellingRules::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_strWord;
        ar << m_strMisspelling;
    } else {
        // A damaged archive throws part-way; the object then keeps its old texts whole.
        std::string word;
        std::string misspelling;
        ar >> word;
        ar >> misspelling;
        SetTexts(word, misspelling);
    }
}

void CSpellingRules::SetTexts(std::string_view word, std::string_view misspelling)
{
    if (PointsInto(word, m_strWord) || PointsInto(word, m_strMisspelling) ||
        PointsInto(misspelling, m_strWord) || PointsInto(misspelling, m_strMisspelling)) {
        std::string w(word);
        std::string m(misspelling);
        m_strWord.swap(w);
        m_strMisspelling.swap(m);
    } else {
        m_strWord.assign(word);
        m_strMisspelling.assign(misspelling);
    }
    m_nWordLength = Saturated(m_strWord.size());
    m_nMisspellingLength = Saturated(m_strMisspelling.size());
}

std::string CSpellingRules::GetSpellingErrors(std::string word, std::string misspelling)
{
    // Built in a buffer that keeps its capacity, so that the returned text is
    // the only allocation, and only when it is too long for the string itself.
    thread_local std::string buffer;
    m_strWord.swap(word);
    m_strMisspelling.swap(misspelling);
    GetSpellingErrors(std::string_view(m_strWord), std::string_view(m_strMisspelling), buffer);
    std::string result(buffer);
    if (buffer.capacity() > 4096)
        std::string().swap(buffer);
    return result;
}

CRuleGroups::Set CSpellingRules::GroupsOf(const std::vector<Finding>& findings)
{
    CRuleGroups::Set groups = findings.empty() ? CRuleGroups::Bit(CRuleGroups::NoRule) : 0;
    for (const Finding& finding : findings)
        groups |= CRuleGroups::Bit(finding.rule);
    return groups;
}

void CSpellingRules::GetSpellingErrors(std::string_view word, std::string_view misspelling,
                                       std::string& result)
{
    Analyse(word, misspelling, result, nullptr);
}

void CSpellingRules::GetSpellingErrors(std::string_view word, std::string_view misspelling, std::string& result,
                                       std::vector<Finding>& findings)
{
    findings.clear();
    Analyse(word, misspelling, result, &findings);
}

void CSpellingRules::Analyse(std::string_view word, std::string_view misspelling, std::string& result,
                             std::vector<Finding>* findings)
{
    if (word.data() != m_strWord.data() || word.size() != m_strWord.size() ||
        misspelling.data() != m_strMisspelling.data() || misspelling.size() != m_strMisspelling.size())
        SetTexts(word, misspelling);
    else {
        m_nWordLength = Saturated(m_strWord.size());
        m_nMisspellingLength = Saturated(m_strMisspelling.size());
    }
    const Pair p(m_strWord, m_strMisspelling);
    result.clear();
    AppendFinding(result, IeEi(p), CRuleGroups::IeEi, findings);
    AppendFinding(result, FinalE(p), CRuleGroups::FinalE, findings);
    AppendFinding(result, YToI(p), CRuleGroups::YToI, findings);
    AppendFinding(result, p, DoubleLetters, CRuleGroups::DoubleLetters, findings);
    AppendFinding(result, PluralEnding(p), CRuleGroups::PluralEnding, findings);
    AppendFinding(result, p, LetterGroups, CRuleGroups::LetterGroups, findings);
    AppendFinding(result, p, Blends, CRuleGroups::Blends, findings);
    AppendFinding(result, Tch(p), CRuleGroups::Tch, findings);
    AppendFinding(result, Dge(p), CRuleGroups::Dge, findings);
    AppendFinding(result, Ve(p), CRuleGroups::Ve, findings);
    AppendFinding(result, Ze(p), CRuleGroups::Ze, findings);
    AppendFinding(result, IeToY(p), CRuleGroups::IeToY, findings);
    AppendFinding(result, Capital(p), CRuleGroups::Capital, findings);
    Fallback(result, p, SuffixChange, CRuleGroups::Suffix, findings);
    Fallback(result, p, LetterSwap, CRuleGroups::LetterSwap, findings);
    Fallback(result, p, MissingLetters, CRuleGroups::MissingLetters, findings);
    Fallback(result, p, ExtraLetters, CRuleGroups::ExtraLetters, findings);
    if (result.empty())
        result.assign("?");
}

std::string CSpellingRules::CheckIeEi() const { return std::string(IeEi(Pair(m_strWord, m_strMisspelling))); }
std::string CSpellingRules::CheckFinalE() const { return std::string(FinalE(Pair(m_strWord, m_strMisspelling))); }
std::string CSpellingRules::CheckYToI() const { return std::string(YToI(Pair(m_strWord, m_strMisspelling))); }
std::string CSpellingRules::CheckDoubleLetters() const { return Written(Pair(m_strWord, m_strMisspelling), DoubleLetters); }
std::string CSpellingRules::CheckPluralEnding() const { return std::string(PluralEnding(Pair(m_strWord, m_strMisspelling))); }
std::string CSpellingRules::CheckLetterGroups() const { return Written(Pair(m_strWord, m_strMisspelling), LetterGroups); }
std::string CSpellingRules::CheckBlends() const { return Written(Pair(m_strWord, m_strMisspelling), Blends); }
std::string CSpellingRules::CheckTch() const { return std::string(Tch(Pair(m_strWord, m_strMisspelling))); }
std::string CSpellingRules::CheckDge() const { return std::string(Dge(Pair(m_strWord, m_strMisspelling))); }
std::string CSpellingRules::CheckVe() const { return std::string(Ve(Pair(m_strWord, m_strMisspelling))); }
std::string CSpellingRules::CheckZe() const { return std::string(Ze(Pair(m_strWord, m_strMisspelling))); }
std::string CSpellingRules::CheckIeToY() const { return std::string(IeToY(Pair(m_strWord, m_strMisspelling))); }
std::string CSpellingRules::CheckCapital() const { return std::string(Capital(Pair(m_strWord, m_strMisspelling))); }
std::string CSpellingRules::CheckSuffix() const { return Written(Pair(m_strWord, m_strMisspelling), SuffixChange); }
std::string CSpellingRules::CheckLetterSwap() const { return Written(Pair(m_strWord, m_strMisspelling), LetterSwap); }
std::string CSpellingRules::CheckMissingLetters() const { return Written(Pair(m_strWord, m_strMisspelling), MissingLetters); }
std::string CSpellingRules::CheckExtraLetters() const { return Written(Pair(m_strWord, m_strMisspelling), ExtraLetters); }

int CSpellingRules::CountOccurrences(std::string_view pattern, std::string_view text)
{
    const std::size_t n = Count(pattern, text);
    return n > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

std::string CSpellingRules::FindSuffix(std::string_view text) { return std::string(Suffix(text)); }

std::string CSpellingRules::LostGroup(std::string_view group) const
{
    return Lost(Pair(m_strWord, m_strMisspelling), group) ? std::string(group) : std::string();
}

std::string_view CSpellingRules::Tail(std::string_view text, std::size_t n) { return TailOf(text, n); }
