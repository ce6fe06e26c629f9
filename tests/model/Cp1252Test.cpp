#include "ModelTestSupport.h"

#include "model/Cp1252.h"

#include <gtest/gtest.h>

namespace {

struct ConversionCase {
    std::string cp1252;
    std::string utf8;
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << Hex(c.cp1252); }

class BothWays : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(BothWays, ConvertsEachDirection)
{
    EXPECT_EQ(Cp1252ToUtf8(GetParam().cp1252), GetParam().utf8);
    EXPECT_EQ(Utf8ToCp1252(GetParam().utf8), GetParam().cp1252);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, BothWays,
    ::testing::Values(ConversionCase{"", ""}, ConversionCase{"cat", "cat"},
                      ConversionCase{"na\xEFve", "na\xC3\xAFve"}, ConversionCase{"\x80", "\xE2\x82\xAC"},
                      ConversionCase{"\x8A\x9F", "\xC5\xA0\xC5\xB8"}, ConversionCase{"\x93q\x94", "\xE2\x80\x9Cq\xE2\x80\x9D"},
                      ConversionCase{"\xA0\xFF", "\xC2\xA0\xC3\xBF"}, ConversionCase{std::string(1, '\0'), std::string(1, '\0')},
                      ConversionCase{"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"}),
    [](const ::testing::TestParamInfo<ConversionCase>& p) { return "case_" + std::to_string(p.index); });

TEST(Cp1252, EveryByteSurvivesARoundTripThroughUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

struct LossyCase {
    const char* name;
    std::string utf8;
    std::string cp1252;
};

void PrintTo(const LossyCase& c, std::ostream* os) { *os << c.name; }

class ToCp1252 : public ::testing::TestWithParam<LossyCase> {};

TEST_P(ToCp1252, GivesAQuestionMarkForWhatItLacks)
{
    EXPECT_EQ(Utf8ToCp1252(GetParam().utf8), GetParam().cp1252);
}

INSTANTIATE_TEST_SUITE_P(
    Unmappable, ToCp1252,
    ::testing::Values(LossyCase{"CJK", "a\xE4\xB8\xAD" "b", "a?b"}, LossyCase{"emoji", "\xF0\x9F\x98\x80", "?"},
                      LossyCase{"C1 control without a Windows-1252 byte", "\xC2\x80", "?"},
                      LossyCase{"lone lead byte", "\xC3", "?"}, LossyCase{"lead byte then ASCII", "\xC3(", "?("},
                      LossyCase{"lone continuation", "\xA9x", "?x"}, LossyCase{"overlong", "\xC0\xAF", "??"},
                      LossyCase{"encoded surrogate", "\xED\xA0\x80", "?"},
                      LossyCase{"beyond U+10FFFF", "\xF4\x90\x80\x80", "?"}),
    NamedCase());

TEST(Utf16Le, IsConvertedToWindows1252)
{
    EXPECT_EQ(Utf16LeToCp1252(std::string("c\0a\0t\0", 6)), "cat");
    EXPECT_EQ(Utf16LeToCp1252(std::string("\xAC\x20\xFF\x00", 4)), "\x80\xFF");
    EXPECT_EQ(Utf16LeToCp1252(std::string("\x3D\xD8\x00\xDE", 4)), "?");
    EXPECT_EQ(Utf16LeToCp1252(std::string("\x00\xDC" "a\0", 4)), "?a");
    EXPECT_EQ(Utf16LeToCp1252(std::string("\x3D\xD8", 2)), "?");
    EXPECT_EQ(Utf16LeToCp1252(std::string("a\0b", 3)), "a");
}

} // namespace
