#include "ModelTestSupport.h"
#include "TimeZone.h"

#include "model/CAtomicFile.h"
#include "model/CReviewList.h"
#include "model/CWordMemoryFile.h"

#include <chrono>
#include <fstream>
#include <sys/stat.h>

namespace {

const CCalendarDay kDay0 = *CCalendarDay::FromIso("2026-06-01");

CCalendarDay Day(int offset)
{
    return kDay0.AddDays(offset);
}

// One test of a schedule: on which day, and each first answer in the order asked.
struct TestTaken {
    int day;
    std::vector<CWordMemory::Attempt> answers;
};

struct ScheduleCase {
    std::string name;
    std::vector<TestTaken> tests;
    // What the memory then holds for "word".
    int box;
    int highestBox;
    int dueDay;
    uint32_t asked;
    uint32_t missed;
    int lastAskedDay;
};

void PrintTo(const ScheduleCase& c, std::ostream* os) { *os << c.name; }

const CWordMemory::Attempt R{"word", true};
const CWordMemory::Attempt W{"word", false};

class Schedule : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(Schedule, EachTestMovesAWordByItsFirstAttemptOfTheDay)
{
    const ScheduleCase& c = GetParam();
    CWordMemory memory;
    for (const TestTaken& test : c.tests)
        memory.RecordTest(test.answers, Day(test.day));
    const CWordMemory::Entry* entry = memory.Find("word");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->box, c.box);
    EXPECT_EQ(entry->highestBox, c.highestBox);
    EXPECT_EQ(entry->due, Day(c.dueDay));
    EXPECT_EQ(entry->asked, c.asked);
    EXPECT_EQ(entry->missed, c.missed);
    EXPECT_EQ(entry->lastAsked, Day(c.lastAskedDay));
}

INSTANTIATE_TEST_SUITE_P(
    , Schedule,
    ::testing::Values(
        ScheduleCase{"new word right goes to box 2 for 2 days", {{0, {R}}}, 2, 2, 2, 1, 0, 0},
        ScheduleCase{"new word wrong stays in box 1 for a day", {{0, {W}}}, 1, 1, 1, 1, 1, 0},
        ScheduleCase{"right on each due day climbs to box 5 and stays there for 16 days",
                     {{0, {R}}, {2, {R}}, {6, {R}}, {14, {R}}, {30, {R}}}, 5, 5, 46, 5, 0, 30},
        ScheduleCase{"right in box 1 after a miss goes to box 2", {{0, {W}}, {1, {R}}}, 2, 2, 3, 2, 1, 1},
        ScheduleCase{"wrong from box 4 falls to box 1 for a day",
                     {{0, {R}}, {2, {R}}, {6, {R}}, {14, {W}}}, 1, 4, 15, 4, 1, 14},
        ScheduleCase{"asked before its day still moves", {{0, {R}}, {1, {R}}}, 3, 3, 5, 2, 0, 1},
        ScheduleCase{"several tests on one day move it once by the first",
                     {{0, {W}}, {0, {R}}, {0, {R}}}, 1, 1, 1, 3, 1, 0},
        ScheduleCase{"a miss later that day keeps the morning's move", {{0, {R}}, {2, {R}}, {2, {W}}}, 3, 3, 6, 3, 1, 2},
        ScheduleCase{"a word twice in one list counts its first answer", {{0, {W, R}}}, 1, 1, 1, 1, 1, 0},
        ScheduleCase{"a stopped test moves the words it asked", {{0, {R}}, {2, {{"other", true}, W}}}, 1, 2, 3, 2, 1, 2}),
    NamedCase());

TEST(WordMemory, EmptyAndOverlongWordsAreNotRemembered)
{
    CWordMemory memory;
    memory.RecordTest({{"", false}, {std::string(CWordMemory::kMaxWordBytes + 1, 'a'), false},
                       {std::string(CWordMemory::kMaxWordBytes, 'a'), true}},
                      kDay0);
    ASSERT_EQ(memory.size(), 1u);
    EXPECT_EQ(memory.Entries()[0].word.size(), CWordMemory::kMaxWordBytes);
}

CWordMemory::Entry Word(const std::string& word, int box, int dueDay, uint32_t missed = 0, int highestBox = 0)
{
    CWordMemory::Entry entry;
    entry.word = word;
    entry.box = box;
    entry.highestBox = std::max(box, highestBox);
    entry.due = Day(dueDay);
    entry.asked = missed + 1;
    entry.missed = missed;
    entry.lastAsked = Day(dueDay - CWordMemory::IntervalDays(box));
    return entry;
}

std::vector<std::string> Words(const std::vector<const CWordMemory::Entry*>& entries)
{
    std::vector<std::string> words;
    for (const CWordMemory::Entry* entry : entries)
        words.push_back(entry->word);
    return words;
}

TEST(TodaysReview, MostOverdueFirstThenLowestBoxThenAlphabeticalAtMostTwenty)
{
    CWordMemory memory;
    for (const CWordMemory::Entry& entry :
         {Word("later", 1, 11), Word("tomorrow", 2, 11), Word("due", 3, 10), Word("Apple", 3, 10), Word("apple", 3, 10),
          Word("banana", 1, 10), Word("old", 5, 2), Word("\xC9lan", 2, 10), Word("zebra", 2, 10)})
        ASSERT_TRUE(memory.Add(entry));
    const std::vector<std::string> order = {"old", "banana", "zebra", "\xC9lan", "Apple", "apple", "due"};
    EXPECT_EQ(Words(memory.DueWords(Day(10))), order);
    EXPECT_EQ(Words(memory.DueWords(Day(10), 3)), std::vector<std::string>(order.begin(), order.begin() + 3));
    EXPECT_EQ(memory.DueCount(Day(10)), order.size());
    EXPECT_EQ(memory.NextDueDay(Day(10)), Day(11));
    EXPECT_EQ(memory.NextDueDay(Day(11)), std::nullopt);

    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(memory.Add(Word("w" + std::to_string(i), 1, 0)));
    const COwnedList<CSpellingList> list = CReviewList::Build(memory, Day(10), {}, [] { return std::string(); });
    ASSERT_EQ(list.size(), CWordMemory::kReviewWords);
    EXPECT_EQ(list[0]->m_word, "w0");
    EXPECT_EQ(list[0]->m_author, "");
}

struct TextCase {
    std::string name;
    std::vector<int> dueDays; // of words in box 1, today being day 10
    std::string nothingDue;
    std::string dueToday;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class ReviewTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(ReviewTexts, SayHowManyAreDueAndWhenTheNextComes)
{
    CWordMemory memory;
    int n = 0;
    for (int due : GetParam().dueDays)
        ASSERT_TRUE(memory.Add(Word("w" + std::to_string(n++), 1, due)));
    EXPECT_EQ(CReviewList::NothingDueText(memory, Day(10)), GetParam().nothingDue);
    EXPECT_EQ(CReviewList::DueTodayText(memory.DueCount(Day(10))), GetParam().dueToday);
}

// Day 10 is Thursday 11 June 2026.
INSTANTIATE_TEST_SUITE_P(
    , ReviewTexts,
    ::testing::Values(TextCase{"no words", {}, "Nothing to review today.", ""},
                      TextCase{"next tomorrow", {11, 12}, "Nothing to review today.\r\nThe next review is tomorrow.", ""},
                      TextCase{"next later this year", {20, 13},
                               "Nothing to review today.\r\nThe next review is on Sunday 14 June.", ""},
                      TextCase{"next in another year", {300},
                               "Nothing to review today.\r\nThe next review is on Sunday 28 March 2027.", ""},
                      TextCase{"one due", {10, 11}, "Nothing to review today.\r\nThe next review is tomorrow.",
                               "1 word to review today"},
                      TextCase{"five due", {3, 4, 5, 9, 10}, "Nothing to review today.", "5 words to review today"}),
    NamedCase());

struct StubbornCase {
    uint32_t missed;
    int highestBox;
    bool stubborn;
};

TEST(StubbornWords, MissedFourTimesAndNeverInBoxThreeMostMissedFirst)
{
    const StubbornCase cases[] = {{4, 2, true}, {9, 1, true}, {3, 2, false}, {4, 3, false}, {20, 5, false}};
    CWordMemory memory;
    int n = 0;
    for (const StubbornCase& c : cases) {
        const CWordMemory::Entry entry = Word("w" + std::to_string(n++), 1, 0, c.missed, c.highestBox);
        EXPECT_EQ(CWordMemory::IsStubborn(entry), c.stubborn) << entry.word;
        ASSERT_TRUE(memory.Add(entry));
    }
    EXPECT_EQ(Words(memory.StubbornWords()), (std::vector<std::string>{"w1", "w0"}));
}

TEST(CalendarDay, ReadsAndWritesIsoDatesAndCountsCalendarDays)
{
    EXPECT_EQ(kDay0.Iso(), "2026-06-01");
    EXPECT_EQ(CCalendarDay::FromIso("2024-02-29")->AddDays(1).Iso(), "2024-03-01");
    EXPECT_EQ(CCalendarDay::FromIso("1970-01-01")->Number(), 0);
    EXPECT_EQ(CCalendarDay::FromIso("9999-12-31")->Number(), CCalendarDay::kLast);
    for (const char* bad : {"2026-02-29", "2026-13-01", "2026-6-01", "2026-06-01 ", "1969-12-31", "20260601",
                            "2026-06-0x", ""})
        EXPECT_EQ(CCalendarDay::FromIso(bad), std::nullopt) << bad;
}

TEST(CalendarDay, TodayIsTheLocalCalendarDay)
{
    // 2026-06-11 20:30 UTC is already 12 June ten hours east.
    const std::time_t evening = 1781209800;
    {
        TimeZone utc("UTC0");
        EXPECT_EQ(CCalendarDay::FromTime(evening).Iso(), "2026-06-11");
    }
    TimeZone east("XST-10");
    EXPECT_EQ(CCalendarDay::FromTime(evening).Iso(), "2026-06-12");
}

// The file's bytes of one word, as docs/word-memory.md shows them.
const std::string kOneWordFile = Bytes({'K', 'T', '5', 'M', 1, 0, 0, 0, 1, 0, 0, 0,            // header, 1 word
                                        4, 0, 'c', 'a', 'f', 0xE9, 2, 3,                       // "café", boxes
                                        0x3B, 0x51, 0, 0, 0x39, 0x51, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0}); // days, counts

CWordMemory OneWord()
{
    CWordMemory memory;
    CWordMemory::Entry entry;
    entry.word = "caf\xE9";
    entry.box = 2;
    entry.highestBox = 3;
    entry.due = *CCalendarDay::FromIso("2026-12-08");
    entry.lastAsked = *CCalendarDay::FromIso("2026-12-06");
    entry.asked = 5;
    entry.missed = 1;
    EXPECT_TRUE(memory.Add(entry));
    return memory;
}

TEST(WordMemoryFile, WritesTheDocumentedBytesAndReadsThemBack)
{
    EXPECT_EQ(Hex(CWordMemoryFile::Encode(OneWord())), Hex(kOneWordFile));
    CWordMemory memory;
    for (int i = 0; i < 300; ++i)
        memory.RecordTest({{"w" + std::to_string(i), i % 3 != 0}}, Day(i % 40));
    CWordMemory back;
    ASSERT_EQ(CWordMemoryFile::Decode(CWordMemoryFile::Encode(memory), back), CWordMemoryFile::ReadResult::ok);
    EXPECT_EQ(CWordMemoryFile::Encode(back), CWordMemoryFile::Encode(memory));
}

struct BadBytes {
    std::string name;
    std::string bytes;
    CWordMemoryFile::ReadResult result;
};

void PrintTo(const BadBytes& c, std::ostream* os) { *os << c.name; }

std::string Patched(size_t at, std::initializer_list<int> values)
{
    std::string bytes = kOneWordFile;
    for (int v : values)
        bytes[at++] = static_cast<char>(v);
    return bytes;
}

class DamagedMemory : public ::testing::TestWithParam<BadBytes> {};

TEST_P(DamagedMemory, IsRefusedWholeAndLeavesTheMemoryEmpty)
{
    CWordMemory memory = OneWord();
    EXPECT_EQ(CWordMemoryFile::Decode(GetParam().bytes, memory), GetParam().result);
    EXPECT_TRUE(memory.empty());
}

using R_ = CWordMemoryFile::ReadResult;
INSTANTIATE_TEST_SUITE_P(
    , DamagedMemory,
    ::testing::Values(BadBytes{"empty", "", R_::damaged},
                      BadBytes{"another format", Patched(0, {'K', 'T', '4', 'M'}), R_::damaged},
                      BadBytes{"version 0", Patched(4, {0}), R_::damaged},
                      BadBytes{"newer version", Patched(4, {2}), R_::newer},
                      BadBytes{"a version no Keltora will reach", Patched(4, {' ', 'a', 'n', 'd'}), R_::damaged},
                      BadBytes{"cut in the header", kOneWordFile.substr(0, 10), R_::damaged},
                      BadBytes{"cut in a word", kOneWordFile.substr(0, kOneWordFile.size() - 1), R_::damaged},
                      BadBytes{"bytes after the last word", kOneWordFile + '\0', R_::damaged},
                      BadBytes{"more words than bytes", Patched(8, {0xFF, 0xFF, 0xFF, 0x7F}), R_::damaged},
                      BadBytes{"empty word", Bytes({'K', 'T', '5', 'M', 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0,
                                                     0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}),
                               R_::damaged},
                      BadBytes{"box 0", Patched(18, {0}), R_::damaged},
                      BadBytes{"box 6", Patched(18, {6, 6}), R_::damaged},
                      BadBytes{"highest box below box", Patched(19, {1}), R_::damaged},
                      BadBytes{"day before 1970", Patched(20, {0xFF, 0xFF, 0xFF, 0xFF}), R_::damaged},
                      BadBytes{"more misses than asks", Patched(28, {0}), R_::damaged},
                      BadBytes{"the same word twice", Bytes({'K', 'T', '5', 'M', 1, 0, 0, 0, 2, 0, 0, 0}) +
                                                          kOneWordFile.substr(12) + kOneWordFile.substr(12),
                               R_::damaged}),
    NamedCase());

TEST(WordMemoryFile, ReadsOnlyRegularFilesWithinTheirLimitAndNeverBlocks)
{
    TempFolder folder;
    CWordMemory memory;
    std::string error;
    EXPECT_EQ(CWordMemoryFile::Read(folder.File("none.kt5"), memory, &error), R_::missing);

    std::ofstream(folder.File("Ann.kt5"), std::ios::binary) << kOneWordFile;
    ASSERT_EQ(::symlink(folder.File("Ann.kt5").c_str(), folder.File("link.kt5").c_str()), 0);
    EXPECT_EQ(CWordMemoryFile::Read(folder.File("link.kt5"), memory, &error), R_::ok);
    EXPECT_EQ(memory.size(), 1u);

    // A pipe with no writer would block a plain open for ever.
    ASSERT_EQ(::mkfifo(folder.File("pipe.kt5").c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CWordMemoryFile::Read(folder.File("pipe.kt5"), memory, &error), R_::unreadable);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(memory.empty());
    EXPECT_FALSE(CWordMemoryFile::Write(folder.File("pipe.kt5"), OneWord(), &error));
    struct stat st {};
    ASSERT_EQ(::lstat(folder.File("pipe.kt5").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::mkdir(folder.File("folder.kt5").c_str(), 0700), 0);
    EXPECT_EQ(CWordMemoryFile::Read(folder.File("folder.kt5"), memory, &error), R_::unreadable);

    // Past the limit a file is damage, read no further than the limit.
    ASSERT_EQ(::truncate(folder.File("Ann.kt5").c_str(), off_t(CWordMemoryFile::kMaxFileBytes) + 1), 0);
    EXPECT_EQ(CWordMemoryFile::Read(folder.File("Ann.kt5"), memory, &error), R_::damaged);
}

TEST(WordMemoryFile, ANewerFileIsNeverReplacedAndDamagedOnesAreKeptUnderNumberedNames)
{
    TempFolder folder;
    const std::string path = folder.File("Ann.kt5");
    const std::string newer = Patched(4, {2}) + "fields of a later version";
    std::ofstream(path, std::ios::binary) << newer;
    std::string error;
    EXPECT_FALSE(CWordMemoryFile::Write(path, OneWord(), &error));
    EXPECT_NE(error, "");
    EXPECT_EQ(Slurp(path), newer);

    std::ofstream(path, std::ios::binary) << "damage";
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    EXPECT_EQ(CWordMemoryFile::KeepDamaged(path, &error), path + ".damaged");
    struct stat copy {};
    ASSERT_EQ(::stat((path + ".damaged").c_str(), &copy), 0);
    EXPECT_EQ(copy.st_mode & 0777, 0600u) << "a learner's damaged words are no more readable than the file";
    ASSERT_TRUE(CWordMemoryFile::Write(path, OneWord(), &error)) << error;
    std::ofstream(path, std::ios::binary) << "more damage";
    EXPECT_EQ(CWordMemoryFile::KeepDamaged(path, &error), path + ".damaged.2");
    EXPECT_EQ(Slurp(path + ".damaged"), "damage");
    EXPECT_EQ(Slurp(path + ".damaged.2"), "more damage");
}

} // namespace
