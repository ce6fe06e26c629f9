#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "document/CKelto4Doc.h"
#include "model/CAtomicFile.h"
#include "model/CWordMemoryFile.h"
#include "model/ModelTestSupport.h"
#include "options/COptionsEditor.h"
#include "TimeZone.h"

#include <fstream>

namespace {

// 1 June 2026, 09:00 UTC.
constexpr std::time_t kJune1 = 1780304400;
constexpr std::time_t kDay = 24 * 60 * 60;

class Memory : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.m_userFolder = folder.Path();
        app.logIn = [this](const std::string&, std::string& name, bool&) {
            name = learner;
            return !name.empty();
        };
    }
    std::string MemoryFile(const std::string& name = "Ann") const { return folder.File(name + ".kt5"); }
    // The document of a program started now + days, with learner logged in.
    std::unique_ptr<CKelto4Doc> StartProgram(int days = 0)
    {
        auto doc = std::make_unique<CKelto4Doc>(app, [this, days] { return kJune1 + days * kDay + offset; });
        doc->Create();
        return doc;
    }

    TimeZone zone{"UTC0"};
    TempFolder folder;
    CTestAppCore app;
    CMessageLog log;
    std::string learner = "Ann";
    std::time_t offset = 0;
};

TEST_F(Memory, IsReadAtLogInMovedAndSavedAtTheEndOfEachTestAndReviewedWhenDue)
{
    {
        auto doc = StartProgram();
        EXPECT_TRUE(doc->RememberTest({{"which", false}, {"friend", true}}));
        EXPECT_EQ(doc->WordsDueToday(), 0u);
        EXPECT_EQ(doc->NothingToReviewText(), "Nothing to review today.\r\nThe next review is tomorrow.");
        // Nobody logged in: nothing is remembered.
        learner.clear();
        doc->ChangeUser();
        EXPECT_TRUE(doc->m_memory.empty());
        EXPECT_TRUE(doc->RememberTest({{"which", true}}));
    }
    ASSERT_TRUE(CAtomicFile::Exists(MemoryFile()));
    EXPECT_FALSE(CAtomicFile::Exists(MemoryFile("")));

    learner = "Ann";
    const std::string sounds = folder.File("Words");
    ASSERT_TRUE(CKelto4AppCore::CreatePath(sounds));
    app.SetDefaultSoundFolder(sounds);
    std::ofstream(sounds + "/which.wav") << "RIFF";
    auto doc = StartProgram(2);
    EXPECT_EQ(doc->WordsDueToday(), 2u);
    const COwnedList<CSpellingList> review = doc->TodaysReview();
    EXPECT_EQ(WordsOf(review), (std::vector<std::string>{"which", "friend"}));
    EXPECT_EQ(review[0]->m_soundFolder, sounds);
    EXPECT_EQ(review[1]->m_soundFolder, ""); // spoken
    EXPECT_TRUE(log.Texts().empty());
}

TEST_F(Memory, ADamagedFileIsKeptAsideAndTheMemoryStartsAgain)
{
    std::ofstream(MemoryFile(), std::ios::binary) << "KT5M and then nonsense";
    auto doc = StartProgram();
    EXPECT_EQ(log.Texts(), std::vector<std::string>{
                               "The file of words to review for Ann is damaged. Reviews start again from nothing; "
                               "the damaged file is kept as " + MemoryFile() + ".damaged."});
    EXPECT_EQ(Slurp(MemoryFile() + ".damaged"), "KT5M and then nonsense");
    EXPECT_TRUE(doc->m_memory.empty());
    log.Clear();
    doc = StartProgram();
    EXPECT_TRUE(log.Texts().empty());
    EXPECT_TRUE(doc->RememberTest({{"which", true}}));
    CWordMemory saved;
    EXPECT_EQ(CWordMemoryFile::Read(MemoryFile(), saved, nullptr), CWordMemoryFile::ReadResult::ok);
    EXPECT_EQ(saved.size(), 1u);
}

TEST_F(Memory, ANewerFileIsNeitherReadNorWritten)
{
    const std::string newer = Bytes({'K', 'T', '5', 'M', 2, 0, 0, 0}) + "later";
    std::ofstream(MemoryFile(), std::ios::binary) << newer;
    auto doc = StartProgram();
    ASSERT_EQ(log.Texts().size(), 1u);
    EXPECT_NE(log.Texts()[0].find("newer version of Keltora"), std::string::npos);
    // The test still counts for the rest of the day; the file stays as it was.
    EXPECT_FALSE(doc->RememberTest({{"which", false}}));
    EXPECT_EQ(doc->m_memory.size(), 1u);
    EXPECT_EQ(Slurp(MemoryFile()), newer);
    EXPECT_EQ(log.Texts().size(), 1u);
}

TEST_F(Memory, TheDayChangesAtLocalMidnight)
{
    // 23:30 UTC on 1 June is already 2 June ten hours east.
    offset = 14 * 60 * 60 + 30 * 60;
    {
        auto doc = StartProgram();
        doc->RememberTest({{"which", false}});
        EXPECT_EQ(doc->m_memory.Find("which")->lastAsked.Iso(), "2026-06-01");
    }
    TimeZone east("XST-10");
    auto doc = StartProgram();
    doc->RememberTest({{"friend", false}});
    EXPECT_EQ(doc->m_memory.Find("friend")->lastAsked.Iso(), "2026-06-02");
    EXPECT_EQ(doc->WordsDueToday(), 1u);
}

TEST_F(Memory, ListsMadeByTheProgramAreNamedUntilSaved)
{
    auto doc = StartProgram();
    COwnedList<CSpellingList> words;
    words.push_back(Entry("", "", "which"));
    doc->OnNewList(std::move(words), "Review");
    EXPECT_EQ(doc->GetTitle(), "Review");
    EXPECT_EQ(doc->m_wordList.size(), 1u);
    EXPECT_FALSE(doc->IsModified());
    ASSERT_TRUE(doc->OnSaveDocument(folder.File("week 3.ktr")));
    EXPECT_EQ(doc->GetTitle(), "week 3");
    doc->OnNewList({}, "Practice");
    EXPECT_EQ(doc->GetTitle(), "Practice");
    doc->OnNewDocument();
    EXPECT_EQ(doc->GetTitle(), "Untitled");
}

TEST_F(Memory, CorrectMistakesIsOnUntilTheOptionsTurnItOff)
{
    auto doc = StartProgram();
    EXPECT_EQ(app.GetCorrectMistakes(), 1);
    COptionsEditor options(*doc);
    options.Load();
    EXPECT_TRUE(options.m_correctMistakes);
    options.m_correctMistakes = false;
    options.Apply();
    EXPECT_EQ(app.GetCorrectMistakes(), 0);
    options.Load();
    EXPECT_FALSE(options.m_correctMistakes);
}

} // namespace
