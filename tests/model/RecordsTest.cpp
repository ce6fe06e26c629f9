#include "ModelTestSupport.h"

#include "model/CObject.h"

namespace {

// Every byte value, zero included, in one text.
std::string AllBytes()
{
    std::string text;
    for (int b = 0; b < 256; ++b)
        text.push_back(static_cast<char>(b));
    return text;
}

TEST(RoundTrip, SpellingListEntriesComeBackFieldByField)
{
    COwnedList<CSpellingList> list;
    list.push_back(Entry("Ann", "/home/ann/Words", "receive"));
    list.push_back(Entry("", "", ""));
    list.push_back(Entry(AllBytes(), std::string(300, 'f'), "na\xEFve"));
    COwnedList<CSpellingList> read;
    ASSERT_EQ(Load(Store(list), read), std::nullopt);
    ASSERT_EQ(read.size(), list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(read[i]->m_author, list[i]->m_author);
        EXPECT_EQ(read[i]->m_soundFolder, list[i]->m_soundFolder);
        EXPECT_EQ(read[i]->m_word, list[i]->m_word);
    }
}

TEST(RoundTrip, GradesComeBackFieldByFieldInOrder)
{
    COwnedList<CGrade> list;
    list.push_back(Grade("week1--Stopped Test", "12/06/26, 06:02 PM", 3, 10));
    list.push_back(Grade("", "Time Error", 0, 0));
    list.push_back(Grade(AllBytes(), AllBytes(), INT32_MIN, INT32_MAX));
    COwnedList<CGrade> read;
    ASSERT_EQ(Load(Store(list), read), std::nullopt);
    ASSERT_EQ(read.size(), list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(read[i]->m_listName, list[i]->m_listName);
        EXPECT_EQ(read[i]->m_date, list[i]->m_date);
        EXPECT_EQ(read[i]->m_correct, list[i]->m_correct);
        EXPECT_EQ(read[i]->m_words, list[i]->m_words);
    }
}

TEST(RoundTrip, MissedWordsComeBackFieldByFieldInOrder)
{
    COwnedList<CMissed> list;
    list.push_back(Missed("week1", "12/06/26, 06:02 PM", "receive", "recieve"));
    list.push_back(Missed("", "", "", ""));
    list.push_back(Missed(AllBytes(), "d", std::string(70000, 'w'), AllBytes()));
    COwnedList<CMissed> read;
    ASSERT_EQ(Load(Store(list), read), std::nullopt);
    ASSERT_EQ(read.size(), list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(read[i]->m_listName, list[i]->m_listName);
        EXPECT_EQ(read[i]->m_date, list[i]->m_date);
        EXPECT_EQ(read[i]->m_word, list[i]->m_word);
        EXPECT_EQ(read[i]->m_misspelling, list[i]->m_misspelling);
    }
}

TEST(MissedFile, HoldsTheFourTextsInFieldOrder)
{
    COwnedList<CMissed> list;
    list.push_back(Missed("w1", "d", "cat", "kat"));
    EXPECT_EQ(Hex(Store(list)),
              Hex(Bytes({0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00}) + "CMissed" +
                  Bytes({0x02}) + "w1" + Bytes({0x01}) + "d" + Bytes({0x03}) + "cat" + Bytes({0x03}) + "kat"));
}

TEST(UserRecord, StoresNameAndPasswordScrambledByAFixedOffset)
{
    ASSERT_NE(CUser::kScrambleOffset, 0);
    COwnedList<CUser> list;
    auto user = std::make_unique<CUser>();
    user->m_name = "Ann";
    user->m_password = " ";
    list.push_back(std::move(user));
    const auto k = CUser::kScrambleOffset;
    EXPECT_EQ(Hex(Store(list)),
              Hex(Bytes({0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x05, 0x00}) + "CUser" +
                  Bytes({0x03, 'A' + k, 'n' + k, 'n' + k, 0x01, ' ' + k})));
    // The record in memory keeps its plain text.
    EXPECT_EQ(list[0]->m_name, "Ann");
}

TEST(UserRecord, EveryByteValueSurvivesScramblingAndLoading)
{
    COwnedList<CUser> list;
    auto user = std::make_unique<CUser>();
    user->m_name = AllBytes();
    user->m_password = AllBytes() + AllBytes();
    list.push_back(std::move(user));
    const std::string bytes = Store(list);
    // Stored scrambled: the name's plain bytes stand nowhere in front of the password.
    EXPECT_EQ(bytes.substr(0, 300).find(AllBytes()), std::string::npos);
    COwnedList<CUser> read;
    ASSERT_EQ(Load(bytes, read), std::nullopt);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->m_name, AllBytes());
    EXPECT_EQ(read[0]->m_password, AllBytes() + AllBytes());
}

TEST(UserRecord, StoredSingleBlankCountsAsNoPassword)
{
    CUser user;
    user.m_password = " ";
    EXPECT_EQ(user.EffectivePassword(), "");
    user.m_password = "  ";
    EXPECT_EQ(user.EffectivePassword(), "  ");
    user.m_password = "";
    EXPECT_EQ(user.EffectivePassword(), "");
}

TEST(Registry, CreatesEveryFileClassEmptyFromItsName)
{
    for (const char* name : {"CSpellingList", "CGrade", "CMissed", "CUser"}) {
        SCOPED_TRACE(name);
        auto object = CreateObjectByName(name);
        ASSERT_NE(object, nullptr);
        EXPECT_STREQ(object->GetClassName(), name);
        EXPECT_EQ(object->GetSchema(), 0u);
        unsigned schema = 99;
        EXPECT_TRUE(GetRegisteredSchema(name, schema));
        EXPECT_EQ(schema, 0u);
    }
    auto grade = CreateObjectByName("CGrade");
    const auto* g = dynamic_cast<const CGrade*>(grade.get());
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->m_correct, 0);
    EXPECT_EQ(g->m_words, 0);
    EXPECT_TRUE(g->m_listName.empty());
}

TEST(Registry, KnowsNoOtherName)
{
    unsigned schema = 0;
    for (const char* name : {"", "CObject", "cgrade", "CGrade ", "CKelto4Doc"}) {
        EXPECT_EQ(CreateObjectByName(name), nullptr) << name;
        EXPECT_FALSE(GetRegisteredSchema(name, schema)) << name;
    }
}

} // namespace
