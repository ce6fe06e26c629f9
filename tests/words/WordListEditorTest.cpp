#include "words/CWordListEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Words = std::vector<std::string>;

const auto kName = [](const auto& param) { return std::string(param.param.name); };

CWordListEditor EditorWith(const Words& words)
{
    CWordListEditor editor;
    for (const std::string& w : words)
        editor.Append(w);
    return editor;
}

struct LowerCase {
    std::string text;
    std::string lower;
};
class WindowsLowerCase : public ::testing::TestWithParam<LowerCase> {};

TEST_P(WindowsLowerCase, LowersByTheWindows1252Table)
{
    EXPECT_EQ(CWordListEditor::LowerCase(GetParam().text), GetParam().lower);
}

INSTANTIATE_TEST_SUITE_P(Letters, WindowsLowerCase,
    ::testing::Values(
        LowerCase{"Apple", "apple"},
        LowerCase{"ZEBRA-09_x", "zebra-09_x"},
        LowerCase{"\xC0\xC9\xD6\xDE", "\xE0\xE9\xF6\xFE"},  // Latin-1 capitals
        LowerCase{"\xD7", "\xD7"},                          // multiplication sign is no letter
        LowerCase{"\xDF\xFF", "\xDF\xFF"},                  // sharp s and y diaeresis have no capital here
        LowerCase{"\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"}, // S caron, OE, Z caron, Y diaeresis
        LowerCase{"\x80\x81\x9A", "\x80\x81\x9A"}));

struct Sort {
    const char* name;
    Words before;
    Words after;
};
class CaseIgnoringSort : public ::testing::TestWithParam<Sort> {};

TEST_P(CaseIgnoringSort, SortsAscendingIgnoringCaseAndKeepsEqualWordsInOrder)
{
    CWordListEditor editor = EditorWith(GetParam().before);
    editor.SortIgnoringCase();
    EXPECT_EQ(editor.Words(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Words, CaseIgnoringSort,
    ::testing::Values(
        Sort{"CapitalAmongSmall", {"banana", "Apple", "cherry"}, {"Apple", "banana", "cherry"}},
        Sort{"SmallBeforeCapitalStays", {"apple", "Apple"}, {"apple", "Apple"}},
        Sort{"CapitalBeforeSmallStays", {"Apple", "apple"}, {"Apple", "apple"}},
        Sort{"CaseGroupsKeepTheirOrder", {"b", "a", "B", "A"}, {"a", "A", "b", "B"}},
        Sort{"PrefixFirst", {"apples", "Apple", "app"}, {"app", "Apple", "apples"}},
        // '_' (0x5F) lies between the capitals and the small letters: only lower-case
        // copies put it before "Ant".
        Sort{"LowerCopiesDecide", {"Ant", "_x"}, {"_x", "Ant"}},
        // Bytes compare unsigned: accented letters after z.
        Sort{"AccentsAfterZ", {"\xC9lan", "zebra", "\xE9t\xE9"}, {"zebra", "\xC9lan", "\xE9t\xE9"}},
        Sort{"Reversed", {"e", "d", "c", "b", "a"}, {"a", "b", "c", "d", "e"}},
        Sort{"OneWord", {"Solo"}, {"Solo"}},
        Sort{"Empty", {}, {}}),
    kName);

TEST(CaseIgnoringSortTest, SelectedWordStaysSelectedWhereverItMoves)
{
    CWordListEditor editor = EditorWith({"delta", "Bravo", "charlie", "alpha"});
    int selected = 0;
    EXPECT_TRUE(editor.SortIgnoringCase(&selected));
    EXPECT_EQ(editor.Words()[size_t(selected)], "delta");
    selected = 1;
    EXPECT_FALSE(editor.SortIgnoringCase(&selected));
    EXPECT_EQ(selected, 1);
}

struct Move {
    const char* name;
    int selected;
    Words after;
    int selectedAfter;
};
class MoveUp : public ::testing::TestWithParam<Move> {};
class MoveDown : public ::testing::TestWithParam<Move> {};
class Delete : public ::testing::TestWithParam<Move> {};

TEST_P(MoveUp, MovesTheSelectedWordOnePlaceHigher)
{
    CWordListEditor editor = EditorWith({"one", "two", "three"});
    EXPECT_EQ(editor.MoveUp(GetParam().selected), GetParam().selectedAfter);
    EXPECT_EQ(editor.Words(), GetParam().after);
}
TEST_P(MoveDown, MovesTheSelectedWordOnePlaceLower)
{
    CWordListEditor editor = EditorWith({"one", "two", "three"});
    EXPECT_EQ(editor.MoveDown(GetParam().selected), GetParam().selectedAfter);
    EXPECT_EQ(editor.Words(), GetParam().after);
}
TEST_P(Delete, RemovesTheSelectedWordAndSelectsNothing)
{
    CWordListEditor editor = EditorWith({"one", "two", "three"});
    EXPECT_EQ(editor.Delete(GetParam().selected), GetParam().selectedAfter);
    EXPECT_EQ(editor.Words(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Edges, MoveUp,
    ::testing::Values(Move{"Nothing", -1, {"one", "two", "three"}, -1},
                      Move{"First", 0, {"one", "two", "three"}, 0},
                      Move{"Middle", 1, {"two", "one", "three"}, 0},
                      Move{"Last", 2, {"one", "three", "two"}, 1}),
    kName);
INSTANTIATE_TEST_SUITE_P(Edges, MoveDown,
    ::testing::Values(Move{"Nothing", -1, {"one", "two", "three"}, -1},
                      Move{"First", 0, {"two", "one", "three"}, 1},
                      Move{"Middle", 1, {"one", "three", "two"}, 2},
                      Move{"Last", 2, {"one", "two", "three"}, 2}),
    kName);
INSTANTIATE_TEST_SUITE_P(Edges, Delete,
    ::testing::Values(Move{"Nothing", -1, {"one", "two", "three"}, -1},
                      Move{"First", 0, {"two", "three"}, -1},
                      Move{"Last", 2, {"one", "two"}, -1},
                      Move{"PastTheEnd", 3, {"one", "two", "three"}, -1}),
    kName);

TEST(WordListEditorTest, LoadTakesTheDocumentsWordsInOrderWithoutEmptyOnes)
{
    COwnedList<CSpellingList> entries;
    for (const char* word : {"cat", "", "dog", "Cat"}) {
        entries.push_back(std::make_unique<CSpellingList>());
        entries.back()->m_word = word;
    }
    CWordListEditor editor = EditorWith({"old"});
    editor.Load(entries);
    EXPECT_EQ(editor.Words(), (Words{"cat", "dog", "Cat"}));
}

TEST(WordListEditorTest, EntriesCarryAuthorFolderAndEachWordInOrder)
{
    const CWordListEditor editor = EditorWith({"cat", "dog", "cat"});
    const COwnedList<CSpellingList> entries = editor.BuildEntries("Ann", "/home/ann/Words");
    ASSERT_EQ(entries.size(), 3u);
    const Words expected = {"cat", "dog", "cat"};
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i]->m_author, "Ann");
        EXPECT_EQ(entries[i]->m_soundFolder, "/home/ann/Words");
        EXPECT_EQ(entries[i]->m_word, expected[i]);
    }
    // The working list keeps its words: entries are copies.
    EXPECT_EQ(editor.Count(), 3);
}
}
