#include "ModelTestSupport.h"

#include "LargestAllocation.h"

namespace {

std::string StoreText(const std::string& text)
{
    std::string bytes;
    CArchive ar(bytes);
    ar << text;
    return bytes;
}

std::string LoadText(const std::string& bytes, size_t* remaining = nullptr)
{
    CArchive ar{std::string_view(bytes)};
    std::string text;
    ar >> text;
    if (remaining)
        *remaining = ar.Remaining();
    return text;
}

std::optional<CArchiveException::Cause> LoadTextCause(const std::string& bytes)
{
    try {
        LoadText(bytes);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return std::nullopt;
}

struct PrefixCase {
    size_t length;
    std::string prefix;
};

void PrintTo(const PrefixCase& c, std::ostream* os) { *os << c.length; }

class TextPrefix : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(TextPrefix, IsWrittenInTheShortestFormAndReadBack)
{
    const PrefixCase& c = GetParam();
    const std::string text(c.length, 'w');
    const std::string bytes = StoreText(text);
    ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
    EXPECT_EQ(Hex(bytes.substr(0, c.prefix.size())), Hex(c.prefix));
    size_t remaining = 1;
    EXPECT_EQ(LoadText(bytes, &remaining), text);
    EXPECT_EQ(remaining, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, TextPrefix,
    ::testing::Values(PrefixCase{0, Bytes({0x00})}, PrefixCase{1, Bytes({0x01})},
                      PrefixCase{254, Bytes({0xFE})}, PrefixCase{255, Bytes({0xFF, 0xFF, 0x00})},
                      PrefixCase{65533, Bytes({0xFF, 0xFD, 0xFF})},
                      PrefixCase{65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
                      PrefixCase{65535, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
                      PrefixCase{100000, Bytes({0xFF, 0xFF, 0xFF, 0xA0, 0x86, 0x01, 0x00})}),
    [](const ::testing::TestParamInfo<PrefixCase>& p) { return "length_" + std::to_string(p.param.length); });

struct CountCase {
    uint32_t count;
    std::string bytes;
};

void PrintTo(const CountCase& c, std::ostream* os) { *os << c.count; }

class Count : public ::testing::TestWithParam<CountCase> {};

TEST_P(Count, IsAWordBelow0xFFFFElseAnEscapedDword)
{
    const CountCase& c = GetParam();
    std::string bytes;
    {
        CArchive ar(bytes);
        ar.WriteCount(c.count);
    }
    EXPECT_EQ(Hex(bytes), Hex(c.bytes));
    CArchive ar{std::string_view(bytes)};
    EXPECT_EQ(ar.ReadCount(), c.count);
    EXPECT_TRUE(ar.AtEnd());
}

INSTANTIATE_TEST_SUITE_P(Boundaries, Count,
                         ::testing::Values(CountCase{0, Bytes({0x00, 0x00})},
                                           CountCase{2, Bytes({0x02, 0x00})},
                                           CountCase{0xFFFE, Bytes({0xFE, 0xFF})},
                                           CountCase{0xFFFF, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
                                           CountCase{0x10000, Bytes({0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00})}),
                         [](const ::testing::TestParamInfo<CountCase>& p) { return "count_" + std::to_string(p.param.count); });

TEST(Integers, AreFourBytesLittleEndian)
{
    std::string bytes;
    {
        CArchive ar(bytes);
        ar << int32_t{-2} << uint32_t{0x01020304} << uint16_t{0xABCD} << uint8_t{0x7F};
    }
    EXPECT_EQ(Hex(bytes), Hex(Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01, 0xCD, 0xAB, 0x7F})));
    CArchive ar{std::string_view(bytes)};
    int32_t i = 0;
    uint32_t d = 0;
    uint16_t w = 0;
    uint8_t b = 0;
    ar >> i >> d >> w >> b;
    EXPECT_EQ(i, -2);
    EXPECT_EQ(d, 0x01020304u);
    EXPECT_EQ(w, 0xABCD);
    EXPECT_EQ(b, 0x7F);
}

// The list of the two words cat and dog, saved by Ann with the sound folder C:\Words.
const std::string kCatDogList = Bytes({
    0x02, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x0D, 0x00,
    0x43, 0x53, 0x70, 0x65, 0x6C, 0x6C, 0x69, 0x6E, 0x67, 0x4C, 0x69, 0x73, 0x74,
    0x03, 0x41, 0x6E, 0x6E, 0x08, 0x43, 0x3A, 0x5C, 0x57, 0x6F, 0x72, 0x64, 0x73, 0x03, 0x63, 0x61, 0x74,
    0x01, 0x80,
    0x03, 0x41, 0x6E, 0x6E, 0x08, 0x43, 0x3A, 0x5C, 0x57, 0x6F, 0x72, 0x64, 0x73, 0x03, 0x64, 0x6F, 0x67,
});

// One result: list week1, 12/06/26, 06:02 PM, 8 right out of 10.
const std::string kWeek1Results = Bytes({
    0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x06, 0x00, 0x43, 0x47, 0x72, 0x61, 0x64, 0x65,
    0x08, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x12,
}) + "12/06/26, 06:02 PM" + Bytes({0x05}) + "week1";

TEST(WorkedExample, CatAndDogListIsThe57BytesGiven)
{
    COwnedList<CSpellingList> list;
    list.push_back(Entry("Ann", "C:\\Words", "cat"));
    list.push_back(Entry("Ann", "C:\\Words", "dog"));
    ASSERT_EQ(kCatDogList.size(), 57u);
    EXPECT_EQ(Hex(Store(list)), Hex(kCatDogList));

    COwnedList<CSpellingList> read;
    EXPECT_EQ(Load(kCatDogList, read), std::nullopt);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]->m_author, "Ann");
    EXPECT_EQ(read[0]->m_soundFolder, "C:\\Words");
    EXPECT_EQ(read[0]->m_word, "cat");
    EXPECT_EQ(read[1]->m_word, "dog");
}

TEST(WorkedExample, Week1ResultsFileIsThe47BytesGiven)
{
    COwnedList<CGrade> list;
    list.push_back(Grade("week1", "12/06/26, 06:02 PM", 8, 10));
    ASSERT_EQ(kWeek1Results.size(), 47u);
    EXPECT_EQ(Hex(Store(list)), Hex(kWeek1Results));

    COwnedList<CGrade> read;
    EXPECT_EQ(Load(kWeek1Results, read), std::nullopt);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->m_listName, "week1");
    EXPECT_EQ(read[0]->m_date, "12/06/26, 06:02 PM");
    EXPECT_EQ(read[0]->m_correct, 8);
    EXPECT_EQ(read[0]->m_words, 10);
}

TEST(ObjectList, OfNoEntriesIsTheCountAlone)
{
    EXPECT_EQ(Hex(Store(COwnedList<CMissed>())), "00 00 ");
    COwnedList<CMissed> read;
    EXPECT_EQ(Load(Bytes({0x00, 0x00}), read), std::nullopt);
    EXPECT_TRUE(read.empty());
}

TEST(ObjectList, LoadingAppendsAtTheTailInFileOrder)
{
    COwnedList<CSpellingList> list;
    list.push_back(Entry("", "", "first"));
    EXPECT_EQ(Load(kCatDogList, list), std::nullopt);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0]->m_word, "first");
    EXPECT_EQ(list[1]->m_word, "cat");
    EXPECT_EQ(list[2]->m_word, "dog");
}

// A list of CGrade records, then two CMissed records whose class takes the given index:
// the second CMissed must refer to it in the short or the long form.
struct ClassIndexCase {
    uint32_t missedClassIndex;
    std::string secondMissedTag;
};

void PrintTo(const ClassIndexCase& c, std::ostream* os) { *os << c.missedClassIndex; }

class ClassIndex : public ::testing::TestWithParam<ClassIndexCase> {};

TEST_P(ClassIndex, UsesTheShortReferenceUpTo32766)
{
    const ClassIndexCase& c = GetParam();
    // CGrade's class takes index 1, its records 2 and on; CMissed's class the next one.
    const uint32_t grades = c.missedClassIndex - 2;
    COwnedList<CObject> list;
    for (uint32_t i = 0; i < grades; ++i)
        list.push_back(std::make_unique<CGrade>());
    list.push_back(Missed("a", "", "", ""));
    list.push_back(Missed("b", "", "", ""));
    const std::string bytes = Store(list);

    const std::string tail = c.secondMissedTag + Bytes({0x01, 'b', 0x00, 0x00, 0x00});
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ(Hex(bytes.substr(bytes.size() - tail.size())), Hex(tail));

    COwnedList<CObject> read;
    EXPECT_EQ(Load(bytes, read), std::nullopt);
    ASSERT_EQ(read.size(), list.size());
    const auto* last = dynamic_cast<const CMissed*>(read.back().get());
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->m_listName, "b");
    EXPECT_NE(dynamic_cast<const CGrade*>(read[grades - 1].get()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, ClassIndex,
    ::testing::Values(ClassIndexCase{3, Bytes({0x03, 0x80})},
                      ClassIndexCase{32766, Bytes({0xFE, 0xFF})},
                      ClassIndexCase{32767, Bytes({0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80})},
                      ClassIndexCase{40000, Bytes({0xFF, 0x7F, 0x40, 0x9C, 0x00, 0x80})}),
    [](const ::testing::TestParamInfo<ClassIndexCase>& p) { return "class_index_" + std::to_string(p.param.missedClassIndex); });

TEST(ObjectReference, IsWrittenAsTheObjectsIndexInShortAndLongForm)
{
    std::string bytes;
    CArchive ar(bytes);
    CMissed missed;
    ar.WriteObject(&missed); // class 1, object 2
    ar.WriteObject(&missed);
    ar.WriteObject(nullptr);
    const std::string shortForm = Bytes({0x02, 0x00, 0x00, 0x00});
    EXPECT_EQ(Hex(bytes.substr(bytes.size() - shortForm.size())), Hex(shortForm));

    std::vector<std::unique_ptr<CMissed>> many(32766);
    for (auto& m : many) {
        m = std::make_unique<CMissed>();
        ar.WriteObject(m.get());
    }
    // The last of them took index 32768.
    ar.WriteObject(many.back().get());
    const std::string longForm = Bytes({0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00});
    EXPECT_EQ(Hex(bytes.substr(bytes.size() - longForm.size())), Hex(longForm));
}

// Class tag of a new CMissed, then its four empty texts.
const std::string kNewMissed = Bytes({0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00}) + "CMissed" + Bytes({0, 0, 0, 0});

struct FaultCase {
    const char* name;
    std::string bytes;
    CArchiveException::Cause cause;
    size_t entriesKept;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class Fault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(Fault, StopsWithItsCauseAndKeepsTheEntriesReadBefore)
{
    const FaultCase& c = GetParam();
    COwnedList<CObject> list;
    EXPECT_EQ(Load(c.bytes, list), std::optional(c.cause));
    EXPECT_EQ(list.size(), c.entriesKept);
}

const std::string kLongName(64, 'C');

INSTANTIATE_TEST_SUITE_P(
    CraftedBytes, Fault,
    ::testing::Values(
        FaultCase{"empty input", "", CArchiveException::endOfFile, 0},
        FaultCase{"half a count", Bytes({0x01}), CArchiveException::endOfFile, 0},
        FaultCase{"count without objects", Bytes({0x01, 0x00}), CArchiveException::endOfFile, 0},
        FaultCase{"count beyond the objects", Bytes({0x02, 0x00}) + kNewMissed, CArchiveException::endOfFile, 1},
        FaultCase{"truncated class name", Bytes({0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00, 'C', 'M'}),
                  CArchiveException::endOfFile, 0},
        FaultCase{"truncated integer field",
                  Bytes({0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x06, 0x00}) + "CGrade" + Bytes({0x08, 0x00, 0x00}),
                  CArchiveException::endOfFile, 0},
        FaultCase{"text longer than the file", Bytes({0x01, 0x00}) + kNewMissed.substr(0, 13) + Bytes({0x05, 'a'}),
                  CArchiveException::endOfFile, 0},
        FaultCase{"unknown class", Bytes({0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x04, 0x00}) + "CBad",
                  CArchiveException::badClass, 0},
        FaultCase{"class name of 64 bytes", Bytes({0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x40, 0x00}) + kLongName,
                  CArchiveException::badClass, 0},
        FaultCase{"class name of 63 bytes, unknown", Bytes({0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x3F, 0x00}) +
                  kLongName.substr(1), CArchiveException::badClass, 0},
        FaultCase{"schema 1", Bytes({0x01, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x07, 0x00}) + "CMissed" + Bytes({0, 0, 0, 0}),
                  CArchiveException::badSchema, 0},
        FaultCase{"class reference before any class", Bytes({0x01, 0x00, 0x01, 0x80}), CArchiveException::badIndex, 0},
        FaultCase{"class reference to an object", Bytes({0x02, 0x00}) + kNewMissed + Bytes({0x02, 0x80}),
                  CArchiveException::badIndex, 1},
        FaultCase{"long class reference to an unknown index",
                  Bytes({0x02, 0x00}) + kNewMissed + Bytes({0xFF, 0x7F, 0x05, 0x00, 0x00, 0x80}),
                  CArchiveException::badIndex, 1},
        FaultCase{"object reference not yet read", Bytes({0x01, 0x00, 0x05, 0x00}), CArchiveException::badIndex, 0},
        FaultCase{"object reference to a class", Bytes({0x02, 0x00}) + kNewMissed + Bytes({0x01, 0x00}),
                  CArchiveException::badIndex, 1},
        FaultCase{"entry named twice", Bytes({0x02, 0x00}) + kNewMissed + Bytes({0x02, 0x00}),
                  CArchiveException::badClass, 1},
        FaultCase{"entry named twice, long form",
                  Bytes({0x02, 0x00}) + kNewMissed + Bytes({0xFF, 0x7F, 0x02, 0x00, 0x00, 0x00}),
                  CArchiveException::badClass, 1},
        FaultCase{"null entry", Bytes({0x01, 0x00, 0x00, 0x00}), CArchiveException::badClass, 0},
        FaultCase{"8-byte length of 2^31",
                  Bytes({0x01, 0x00}) + kNewMissed.substr(0, 13) +
                  Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00}),
                  CArchiveException::generic, 0}),
    NamedCase());

TEST(Fault, ForeignClassInATypedListIsRefusedAndKeepsTheEntriesBefore)
{
    COwnedList<CObject> mixed;
    mixed.push_back(Entry("Ann", "C:\\Words", "cat"));
    mixed.push_back(Grade("week1", "", 1, 2));
    mixed.push_back(Entry("Ann", "C:\\Words", "dog"));
    COwnedList<CSpellingList> read;
    EXPECT_EQ(Load(Store(mixed), read), std::optional(CArchiveException::badClass));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->m_word, "cat");
}

TEST(Fault, RecordsOfAnotherClassAreNotRecords)
{
    COwnedList<CMissed> missed;
    missed.push_back(Missed("week1", "d", "cat", "kat"));
    COwnedList<CGrade> read;
    EXPECT_EQ(Load(Store(missed), read), std::optional(CArchiveException::badClass));
    EXPECT_TRUE(read.empty());
}

TEST(Fault, CausesHaveTheirTexts)
{
    EXPECT_STREQ(CArchiveException(CArchiveException::endOfFile).what(), "end of file");
    EXPECT_STREQ(CArchiveException(CArchiveException::badIndex).what(), "bad index");
    EXPECT_STREQ(CArchiveException(CArchiveException::badClass).what(), "bad class");
    EXPECT_STREQ(CArchiveException(CArchiveException::badSchema).what(), "bad schema");
    EXPECT_STREQ(CArchiveException(CArchiveException::generic).what(), "generic");
}

TEST(Fault, Length2To31InATinyFileFailsAtOnceWithoutAllocatingIt)
{
    // A CMissed whose list name announces 2^31 bytes; 22 bytes in all.
    const std::string bytes = Bytes({0x01, 0x00}) + kNewMissed.substr(0, 13) +
                              Bytes({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80});
    ASSERT_EQ(bytes.size(), 22u);
    ResetLargestAllocation();
    COwnedList<CMissed> read;
    EXPECT_EQ(Load(bytes, read), std::optional(CArchiveException::endOfFile));
    EXPECT_LT(LargestAllocation(), 4096u);
}

TEST(Fault, HugeCountInASmallFileAllocatesNothingForIt)
{
    ResetLargestAllocation();
    COwnedList<CMissed> read;
    EXPECT_EQ(Load(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) + kNewMissed, read),
              std::optional(CArchiveException::endOfFile));
    EXPECT_EQ(read.size(), 1u);
    EXPECT_LT(LargestAllocation(), 4096u);
}

struct WideCase {
    const char* name;
    std::string bytes;
    std::string text;
};

void PrintTo(const WideCase& c, std::ostream* os) { *os << c.name; }

class WideText : public ::testing::TestWithParam<WideCase> {};

TEST_P(WideText, IsReadAsWindows1252)
{
    const WideCase& c = GetParam();
    size_t remaining = 1;
    EXPECT_EQ(Hex(LoadText(c.bytes, &remaining)), Hex(c.text));
    EXPECT_EQ(remaining, 0u);
}

std::string WideOf(size_t units)
{
    std::string out;
    for (size_t i = 0; i < units; ++i)
        out += Bytes({'x', 0x00});
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, WideText,
    ::testing::Values(
        WideCase{"byte length", Bytes({0xFF, 0xFE, 0xFF, 0x03, 'c', 0, 'a', 0, 't', 0}), "cat"},
        WideCase{"empty", Bytes({0xFF, 0xFE, 0xFF, 0x00}), ""},
        WideCase{"euro and e acute", Bytes({0xFF, 0xFE, 0xFF, 0x02, 0xAC, 0x20, 0xE9, 0x00}), "\x80\xE9"},
        WideCase{"unmappable", Bytes({0xFF, 0xFE, 0xFF, 0x02, 0x2D, 0x4E, 'a', 0}), "?a"},
        WideCase{"surrogate pair", Bytes({0xFF, 0xFE, 0xFF, 0x03, 0x3D, 0xD8, 0x00, 0xDE, '!', 0}), "?!"},
        WideCase{"word length", Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x01}) + WideOf(256), std::string(256, 'x')},
        WideCase{"word length 0xFFFE", Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF}) + WideOf(65534),
                 std::string(65534, 'x')},
        WideCase{"dword length", Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00}) + WideOf(2), "xx"},
        WideCase{"8-byte length",
                 Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0, 0, 0, 0}) + WideOf(1),
                 "x"}),
    NamedCase());

TEST(EightByteLength, FollowsADwordOf0xFFFFFFFF)
{
    const std::string bytes =
        Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0, 0, 0, 0, 0, 0, 0}) + "abc";
    size_t remaining = 1;
    EXPECT_EQ(LoadText(bytes, &remaining), "abc");
    EXPECT_EQ(remaining, 0u);
}

struct LengthFaultCase {
    const char* name;
    std::string bytes;
    CArchiveException::Cause cause;
};

void PrintTo(const LengthFaultCase& c, std::ostream* os) { *os << c.name; }

class LengthFault : public ::testing::TestWithParam<LengthFaultCase> {};

TEST_P(LengthFault, HasItsCause)
{
    EXPECT_EQ(LoadTextCause(GetParam().bytes), std::optional(GetParam().cause));
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, LengthFault,
    ::testing::Values(
        LengthFaultCase{"8-byte length 2^31", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80, 0, 0, 0, 0}),
                        CArchiveException::generic},
        LengthFaultCase{"8-byte length 2^63", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0x80}),
                        CArchiveException::generic},
        LengthFaultCase{"8-byte length 2^31 - 1, short input",
                        Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0}),
                        CArchiveException::endOfFile},
        LengthFaultCase{"truncated 8-byte length", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 3, 0}),
                        CArchiveException::endOfFile},
        LengthFaultCase{"wide text beyond the input", Bytes({0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b'}),
                        CArchiveException::endOfFile},
        LengthFaultCase{"wide dword length near 2^32",
                        Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}),
                        CArchiveException::endOfFile},
        LengthFaultCase{"one byte short", Bytes({0x03, 'a', 'b'}), CArchiveException::endOfFile},
        LengthFaultCase{"lone 0xFF", Bytes({0xFF}), CArchiveException::endOfFile}),
    NamedCase());

} // namespace
