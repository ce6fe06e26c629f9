// The list of missed words to practise, without widgets.
#include "RecordBuilders.h"
#include "reports/CPracticeList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records newest first, as the document holds them.
COwnedList<CMissed> Records(const std::vector<std::string>& words)
{
    COwnedList<CMissed> list;
    for (const std::string& w : words)
        list.push_back(Missed("", "", w, w + "x"));
    return list;
}

TEST(PracticeList, MostOftenMissedFirstTiesByNewestRecordAtMostTwenty)
{
    std::vector<std::string> words = {"said", "was", "", "said", "they", "was", "because", "they", "said"};
    for (int i = 0; i < 30; ++i)
        words.push_back("w" + std::to_string(i));
    words.push_back("because");
    const COwnedList<CMissed> missed = Records(words);
    const std::vector<std::string> list = CPracticeList::MissedWords(missed);
    ASSERT_EQ(list.size(), CPracticeList::kMaxWords);
    // said 3; was, they and because 2 each, was missed most recently; then the
    // singles in the order of their records. The empty word is never asked.
    const std::vector<std::string> head(list.begin(), list.begin() + 6);
    EXPECT_EQ(head, (std::vector<std::string>{"said", "was", "they", "because", "w0", "w1"}));
    EXPECT_EQ(list.back(), "w15");
}

TEST(PracticeList, SoundFolderFromTheListThenTheDefaultFolderWhenTheFileIsThereElseEmpty)
{
    QTemporaryDir defaults;
    ASSERT_TRUE(defaults.isValid());
    QFile(QDir(defaults.path()).filePath(QStringLiteral("cat.wav"))).open(QIODevice::WriteOnly);
    COwnedList<CSpellingList> current;
    current.push_back(Entry("Mr Reed", "/lists/week1", "friend"));

    int asked = 0;
    const auto defaultFolder = [&] {
        ++asked;
        return defaults.path().toStdString();
    };
    const COwnedList<CSpellingList> list =
        CPracticeList::Build(Records({"friend", "cat", "dog", "cat"}), current, defaultFolder);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0]->m_word, "cat");
    EXPECT_EQ(list[0]->m_soundFolder, defaults.path().toStdString());
    EXPECT_EQ(list[1]->m_word, "friend");
    EXPECT_EQ(list[1]->m_soundFolder, "/lists/week1");
    EXPECT_EQ(list[2]->m_word, "dog");
    EXPECT_EQ(list[2]->m_soundFolder, "");
    for (const auto& e : list)
        EXPECT_EQ(e->m_author, "");
    EXPECT_EQ(asked, 1);

    // Nothing missed: no list, and the default folder is not even looked up.
    asked = 0;
    EXPECT_TRUE(CPracticeList::Build(Records({}), current, defaultFolder).empty());
    EXPECT_TRUE(CPracticeList::Build(Records({"friend"}), current, defaultFolder).size() == 1);
    EXPECT_EQ(asked, 0);
}

} // namespace
