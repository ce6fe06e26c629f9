#include "spelling/CSpellingRules.h"

#include "model/CArchive.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

struct Example {
    const char* word;
    const char* misspelling;
    const char* expected;
};

// The worked examples of the analysis, each pair once.
const Example kExamples[] = {
    // joining and fallbacks
    {"friend", "freind", "change ei to ie"},
    {"horses", "horss", "single s; s to es"},
    {"playful", "plaiful", "keep the y; ay"},
    {"quickly", "quick", "suffix add ly"},
    {"cat", "kat", "k to c"},
    {"cake", "cak", "missing letter e"},
    {"twelve", "tweleve", "extra letter e"},
    {"cake", "cake", "?"},
    {"", "", "?"},
    {"", "cat", "?"},
    {"church", "", "ch"},
    {"cake", "", "?"},
    {"Friday", "friday", "capitalize first letter"},
    {"CHURCH", "CURCH", "missing letter H"},
    // word endings and suffixes
    {"useful", "usful", "keep final e"},
    {"hopeless", "hopless", "keep final e"},
    {"making", "makeing", "drop final e"},
    {"loving", "loveing", "drop final e"},
    {"happiness", "happyness", "change y to i"},
    {"beautiful", "beautyful", "change y to i"},
    {"enjoyment", "enjoiment", "keep the y"},
    {"carrying", "carring", "keep the y"},
    {"lying", "lieing", "change ie to y"},
    {"crying", "crieing", "change ie to y"},
    {"leaves", "leafs", "change ending f or fe to ve"},
    {"knives", "knifes", "change ending f or fe to ve"},
    {"wolves", "wolfs", "change ending f or fe to ve"},
    {"boxes", "boxs", "s to es"},
    {"foxes", "fox", "ending es"},
    {"cats", "cates", "es to s"},
    {"cats", "cat", "ending s"},
    {"book", "books", "no ending s"},
    {"boxes", "boxez", "ending es"},
    {"watch", "wach", "change ch to tch"},
    {"rich", "ritch", "change tch to ch"},
    {"bridge", "brij", "change j to dge"},
    {"give", "giv", "change v to ve"},
    {"sneeze", "sneez", "end with ze"},
    {"freeze", "frees", "no ending s; end with ze"},
    {"quick", "quickly", "suffix remove ly"},
    {"sadness", "sadless", "suffix less to ness"},
    {"teacher", "teachor", "suffix or to er"},
    {"playing", "playng", "suffix add ing"},
    {"help", "helped", "suffix remove ed"},
    {"jump", "jumping", "suffix remove ing"},
    // letters, letter groups and capitals
    {"receive", "recieve", "change ie to ei"},
    {"believe", "beleve", "ie"},
    {"ceiling", "celing", "ei"},
    {"friend", "frend", "ie"},
    {"cities", "citeis", "s to es"},
    {"hopping", "hoping", "double p"},
    {"hoping", "hopping", "single p"},
    {"committee", "comitee", "double t, double m"},
    {"cake", "cakke", "single k"},
    {"help", "hellp", "single l"},
    {"church", "curch", "ch"},
    {"thought", "thot", "gh ou"},
    {"said", "sed", "ai"},
    {"when", "wen", "wh"},
    {"thumb", "thum", "mb"},
    {"scream", "seam", "scr"},
    {"score", "sore", "sc"},
    {"splendid", "pendid", "pl sp"},
    {"street", "set", "double e; tr st"},
    {"apple", "Apple", "do not capitalize first letter"},
    {"1st", "1st", "?"},
    {"form", "from", "r to o, o to r"},
    {"banana", "bnana", "missing letter a"},
    {"cat", "cart", "extra letter r"},
    {"friend", "", "ie; fr"},
    {"mississippi", "misisippi", "double s, double s"},
};

void PrintTo(const Example& e, std::ostream* os)
{
    *os << testing::PrintToString(e.word) << " / " << testing::PrintToString(e.misspelling);
}

class AnalysisExample : public testing::TestWithParam<Example> {};

TEST_P(AnalysisExample, NamesTheRulesBroken)
{
    const Example& e = GetParam();
    CSpellingRules rules;
    EXPECT_EQ(rules.GetSpellingErrors(e.word, e.misspelling), e.expected);
}

std::string ExampleName(const testing::TestParamInfo<Example>& info)
{
    std::string name = std::to_string(info.index) + "_";
    for (const char* p : {info.param.word, info.param.misspelling}) {
        for (const char* c = p; *c; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        if (!*p)
            name += "empty";
        name += '_';
    }
    name.pop_back();
    return name;
}

INSTANTIATE_TEST_SUITE_P(Examples, AnalysisExample, testing::ValuesIn(kExamples), ExampleName);

TEST(CountOccurrences, CountsMatchesWithoutOverlap)
{
    EXPECT_EQ(CSpellingRules::CountOccurrences("ie", "iie"), 1);
    EXPECT_EQ(CSpellingRules::CountOccurrences("ss", "mississippi"), 2);
    EXPECT_EQ(CSpellingRules::CountOccurrences("aa", "aaa"), 1);
    EXPECT_EQ(CSpellingRules::CountOccurrences("aa", "aaaa"), 2);
    EXPECT_EQ(CSpellingRules::CountOccurrences("aba", "ababa"), 1);
    EXPECT_EQ(CSpellingRules::CountOccurrences("cake", "cake"), 1);
    EXPECT_EQ(CSpellingRules::CountOccurrences("e", "tweleve"), 3);
}

TEST(CountOccurrences, IsZeroForEmptyOrShorterText)
{
    EXPECT_EQ(CSpellingRules::CountOccurrences("", "abc"), 0);
    EXPECT_EQ(CSpellingRules::CountOccurrences("", ""), 0);
    EXPECT_EQ(CSpellingRules::CountOccurrences("a", ""), 0);
    EXPECT_EQ(CSpellingRules::CountOccurrences("abc", "ab"), 0);
}

TEST(CountOccurrences, ComparesBytesExactly)
{
    EXPECT_EQ(CSpellingRules::CountOccurrences("ness", "Ness"), 0);
    EXPECT_EQ(CSpellingRules::CountOccurrences("\xE9", "\xE9t\xE9"), 2);
    EXPECT_EQ(CSpellingRules::CountOccurrences(std::string_view("\0a", 2), std::string_view("a\0a\0", 4)), 1);
}

TEST(Tail, IsEmptyUnlessTheTextIsLonger)
{
    EXPECT_EQ(CSpellingRules::Tail("ves", 3), "");
    EXPECT_EQ(CSpellingRules::Tail("aves", 3), "ves");
    EXPECT_EQ(CSpellingRules::Tail("", 1), "");
    EXPECT_EQ(CSpellingRules::Tail("j", 1), "");
    EXPECT_EQ(CSpellingRules::Tail("ij", 1), "j");
    EXPECT_EQ(CSpellingRules::Tail("abc", 0), "");
}

TEST(Tail, DecidesTheEndingRulesForShortTexts)
{
    CSpellingRules rules;
    // "ves" itself has an empty 3-tail, so it is no plural in ves.
    EXPECT_EQ(rules.GetSpellingErrors("ves", "vef"), "ending es");
    // A misspelling of one character has an empty 1-tail.
    EXPECT_EQ(rules.GetSpellingErrors("dodge", "j"), "missing letter d, o, g, e");
    EXPECT_EQ(rules.GetSpellingErrors("dodge", "dj"), "change j to dge");
}

TEST(FindSuffix, TakesTheLongestSuffixOfTextsLongerThanFour)
{
    const std::pair<const char*, const char*> cases[] = {
        {"sing", ""},      {"singing", "ing"}, {"tables", "es"}, {"abcde", ""},
        {"sadness", "ness"}, {"nation", "tion"}, {"cities", "es"}, {"kness", "ness"},
        {"helps", "s"},    {"jumps", "s"},     {"quickly", "ly"}, {"Sadness", "ness"},
        {"SADNESS", ""},   {"", ""},           {"ness", ""},
    };
    for (const auto& [text, suffix] : cases)
        EXPECT_EQ(CSpellingRules::FindSuffix(text), suffix) << text;
}

TEST(LostGroup, ReturnsTheGroupOnlyWhenTheWordHasItMoreOften)
{
    CSpellingRules rules;
    rules.GetSpellingErrors("church", "curch");
    EXPECT_EQ(rules.LostGroup("ch"), "ch");
    EXPECT_EQ(rules.LostGroup("ur"), "");
    EXPECT_EQ(rules.LostGroup("xy"), "");
    EXPECT_EQ(rules.LostGroup(""), "");
    rules.GetSpellingErrors("curch", "church");
    EXPECT_EQ(rules.LostGroup("ch"), "");
}

TEST(CheckDoubleLetters, GivesOneEntryPerNoteOfARun)
{
    CSpellingRules rules;
    rules.GetSpellingErrors("baaa", "ba");
    // Two notes of "aa" in the run, and the word has one more "aa" than the misspelling.
    EXPECT_EQ(rules.CheckDoubleLetters(), "double a, double a");
    rules.GetSpellingErrors("bet", "beeet");
    EXPECT_EQ(rules.CheckDoubleLetters(), "single e, single e");
}

TEST(CheckDoubleLetters, ListsDoublesBeforeSinglesEachFromTheEnd)
{
    CSpellingRules rules;
    rules.GetSpellingErrors("aabbc", "ccdde");
    EXPECT_EQ(rules.CheckDoubleLetters(), "double b, double a, single d, single c");
}

TEST(CheckLetterSwap, GivesEveryDifferingPositionInOrder)
{
    CSpellingRules rules;
    rules.GetSpellingErrors("abcd", "xbyd");
    EXPECT_EQ(rules.CheckLetterSwap(), "x to a, y to c");
    rules.GetSpellingErrors("abc", "abc");
    EXPECT_EQ(rules.CheckLetterSwap(), "");
    rules.GetSpellingErrors("", "");
    EXPECT_EQ(rules.CheckLetterSwap(), "");
}

TEST(CheckExtraLetters, SkipsLettersThatTheListTextAlreadyHolds)
{
    CSpellingRules rules;
    // After "x, y" the list holds ',' and ' ', so neither is added.
    rules.GetSpellingErrors("ab", "abxy,");
    EXPECT_EQ(rules.CheckExtraLetters(), "extra letter x, y");
    rules.GetSpellingErrors("ab", "abxy ");
    EXPECT_EQ(rules.CheckExtraLetters(), "extra letter x, y");
    // With one entry there is no separator yet, so ',' is still added.
    rules.GetSpellingErrors("ab", "abx,y");
    EXPECT_EQ(rules.CheckExtraLetters(), "extra letter x, ,, y");
    rules.GetSpellingErrors("", "abc");
    EXPECT_EQ(rules.CheckExtraLetters(), "");
}

TEST(CheckMissingLetters, ListsEachLetterOnceInWordOrder)
{
    CSpellingRules rules;
    rules.GetSpellingErrors("abcabc", "b");
    EXPECT_EQ(rules.CheckMissingLetters(), "missing letter a, b, c");
    rules.GetSpellingErrors("abc", "");
    EXPECT_EQ(rules.CheckMissingLetters(), "");
}

struct CapitalCase {
    const char* word;
    const char* misspelling;
    const char* expected;
};

// Capitals by the Windows-1252 table, not by the process locale.
TEST(CheckCapital, FollowsTheWindows1252Table)
{
    const CapitalCase cases[] = {
        {"\xE9" "cole", "\xC9" "cole", "do not capitalize first letter"},
        {"\xC9" "cole", "\xE9" "cole", "capitalize first letter"},
        {"\x8A" "a", "\x9A" "a", "capitalize first letter"},
        {"\x9C" "a", "\x8C" "a", "do not capitalize first letter"},
        {"\x8E" "a", "\x9E" "a", "capitalize first letter"},
        {"\x9F" "a", "\xFF" "a", "capitalize first letter"},
        {"\xFE" "a", "\xDE" "a", "do not capitalize first letter"},
        // sharp s, the division sign and digits have no capital: they count as capitalised
        {"\xDF" "a", "a", "capitalize first letter"},
        {"\xF7" "a", "a", "capitalize first letter"},
        {"1st", "ast", "capitalize first letter"},
        {"\xDF" "a", "\xC0" "a", ""},
        {"", "A", ""},
        {"a", "", ""},
    };
    CSpellingRules rules;
    for (const CapitalCase& c : cases) {
        rules.GetSpellingErrors(c.word, c.misspelling);
        EXPECT_EQ(rules.CheckCapital(), c.expected) << c.word << " / " << c.misspelling;
    }
}

TEST(GetSpellingErrors, OverwritesTheFieldsOnEveryCall)
{
    CSpellingRules rules;
    EXPECT_EQ(rules.GetSpellingErrors("committee", "comitee"), "double t, double m");
    EXPECT_EQ(rules.m_strWord, "committee");
    EXPECT_EQ(rules.m_nWordLength, 9);
    EXPECT_EQ(rules.m_nMisspellingLength, 7);
    EXPECT_EQ(rules.GetSpellingErrors("cat", "kat"), "k to c");
    EXPECT_EQ(rules.m_strMisspelling, "kat");
    EXPECT_EQ(rules.m_nWordLength, 3);
}

TEST(GetSpellingErrors, BufferFormGivesTheSameText)
{
    CSpellingRules rules;
    std::string buffer = "left over";
    for (const Example& e : kExamples) {
        rules.GetSpellingErrors(std::string_view(e.word), std::string_view(e.misspelling), buffer);
        EXPECT_EQ(buffer, e.expected) << e.word << " / " << e.misspelling;
    }
}

TEST(GetSpellingErrors, AcceptsViewsOfItsOwnTexts)
{
    CSpellingRules rules;
    rules.GetSpellingErrors("form", "from");
    std::string buffer;
    // Exchanged: the word is now "from".
    rules.GetSpellingErrors(std::string_view(rules.m_strMisspelling), std::string_view(rules.m_strWord), buffer);
    EXPECT_EQ(rules.m_strWord, "from");
    EXPECT_EQ(rules.m_strMisspelling, "form");
    // "from" has the blend "fr" that "form" lacks.
    EXPECT_EQ(buffer, "fr");
}

TEST(GetSpellingErrors, StaysLinearOnLongRuns)
{
    // Each of the 99,999 notes gives an entry; counting them afresh each time
    // would take minutes.
    CSpellingRules rules;
    const std::string word(100000, 'a');
    const std::string result = rules.GetSpellingErrors(word, word.substr(1));
    const std::string entry = "double a, ";
    ASSERT_EQ(result.size(), 99999 * entry.size() - 2);
    EXPECT_EQ(result.substr(0, 18), "double a, double a");
}

TEST(Serialize, StoresTheTwoTextsAsArchiveStrings)
{
    CSpellingRules rules;
    rules.GetSpellingErrors("friend", "freind");
    std::string bytes;
    {
        CArchive ar(CArchive::store, bytes);
        rules.Serialize(ar);
    }
    EXPECT_EQ(bytes, std::string("\x06" "friend" "\x06" "freind"));

    CSpellingRules loaded;
    CArchive in(CArchive::load, bytes);
    loaded.Serialize(in);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(loaded.m_strWord, "friend");
    EXPECT_EQ(loaded.m_strMisspelling, "freind");
    EXPECT_EQ(loaded.m_nWordLength, 6);
    EXPECT_EQ(loaded.m_nMisspellingLength, 6);
}

TEST(Serialize, KeepsTheOldTextsWhenTheArchiveEndsEarly)
{
    CSpellingRules rules;
    rules.GetSpellingErrors("cat", "kat");
    const std::string bytes = "\x04" "cake" "\x05" "ca";
    CArchive in(CArchive::load, bytes);
    EXPECT_THROW(rules.Serialize(in), CArchiveException);
    EXPECT_EQ(rules.m_strWord, "cat");
    EXPECT_EQ(rules.m_strMisspelling, "kat");
    EXPECT_EQ(rules.m_nWordLength, 3);
}

TEST(Serialize, ClassIsCreatedByNameWithSchemaZero)
{
    CSpellingRules rules;
    rules.GetSpellingErrors("when", "wen");
    std::string bytes;
    {
        CArchive ar(CArchive::store, bytes);
        ar.WriteObject(&rules);
    }
    CArchive in(CArchive::load, bytes);
    std::unique_ptr<CObject> object = in.ReadObject();
    auto* loaded = dynamic_cast<CSpellingRules*>(object.get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_STREQ(loaded->GetClassName(), "CSpellingRules");
    EXPECT_EQ(loaded->GetSchema(), 0u);
    EXPECT_EQ(loaded->m_strWord, "when");
    EXPECT_EQ(loaded->GetSpellingErrors(loaded->m_strWord, loaded->m_strMisspelling), "wh");
}

} // namespace
