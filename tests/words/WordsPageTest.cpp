// The words page through its real controls, recording against the test PulseAudio server.
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "model/CPath.h"
#include "PageTestSupport.h"
#include "platform/CDialogService.h"
#include "platform/CommandIds.h"
#include "words/CWords.h"

#include <QDirIterator>
#include <QListWidget>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {
enum { kList = 1001, kPlay = 1002, kRecord = 1003, kStop = 1004, kSaveSound = 1005, kNewWord = 1006, kRedo = 1007,
       kWord = 1008, kChangeFolder = 1009, kFolder = 1010, kSortAZ = 1022, kUp = 1023, kDown = 1024, kDelete = 1025,
       kSaveList = 1, kCancel = 2, kSpeak = 1047, kSpeakMissing = 1048 };

class WordsPage : public ::testing::Test {
protected:
    void Open(const std::vector<std::string>& words = {})
    {
        app.SetDefaultSoundFolder(dir.path().toStdString());
        app.m_userFolder = dir.path().toStdString();
        doc.m_userName = "Ann";
        AddWords(doc, words, dir.path().toStdString());
        doc.m_recorder.SetFolder(dir.path().toStdString());
        page = std::make_unique<CWords>(&doc);
        page->show();
        page->OnInitialUpdate();
    }
    void TearDown() override
    {
        app.SetDefaultSoundFolder("");
        CDialogService::SetAnswerer({});
    }
    QListWidget* List() { return FindControl<QListWidget>(page.get(), kList); }
    std::vector<std::string> Words()
    {
        std::vector<std::string> w;
        for (int i = 0; i < List()->count(); ++i)
            w.push_back(List()->item(i)->text().toStdString());
        return w;
    }
    // Play, Record, Stop Recording, Save Sound, New Word, Redo Recording.
    std::string Buttons()
    {
        std::string s;
        for (int id : {kPlay, kRecord, kStop, kSaveSound, kNewWord, kRedo})
            s += IsEnabled(page.get(), id) ? '1' : '0';
        return s;
    }
    QTemporaryDir dir;
    CTestAppCore app;
    CKelto4Doc doc{app};
    CMessageLog log;
    std::unique_ptr<CWords> page;
};
}

TEST_F(WordsPage, RecordStopPlaySaveFollowsTheWorkflowAndAddsTheWord)
{
    Open();
    EXPECT_EQ(Buttons(), "010000"); // Ready
    TypeInto(page.get(), kWord, QStringLiteral("cat"));
    Click(page.get(), kRecord);
    EXPECT_EQ(Buttons(), "001000"); // Recording
    QThread::msleep(300);
    Click(page.get(), kStop);
    EXPECT_EQ(Buttons(), "100000"); // Recorded
    Click(page.get(), kPlay);
    EXPECT_EQ(Buttons(), "100101"); // Heard
    Click(page.get(), kSaveSound);
    EXPECT_EQ(Buttons(), "000010"); // Saved
    EXPECT_TRUE(log.entries.empty()) << log.entries[0].text;
    EXPECT_EQ(Words(), (std::vector<std::string>{"cat"}));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("cat.wav"))));
    Click(page.get(), kNewWord);
    EXPECT_EQ(Buttons(), "010000");
    EXPECT_EQ(TextOf(page.get(), kWord), "");
}

TEST_F(WordsPage, SaveSoundWithoutAWordSaysSo)
{
    Open();
    Click(page.get(), kRecord);
    QThread::msleep(100);
    Click(page.get(), kStop);
    Click(page.get(), kPlay);
    Click(page.get(), kSaveSound);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].text, "No Word Entered");
    EXPECT_EQ(Buttons(), "100101"); // still Heard
}

TEST_F(WordsPage, AWordWithASlashIsListedButItsSoundFailsAndSavingAgainAddsItTwice)
{
    Open();
    TypeInto(page.get(), kWord, QStringLiteral("a/b"));
    Click(page.get(), kRecord);
    QThread::msleep(100);
    Click(page.get(), kStop);
    Click(page.get(), kPlay);
    Click(page.get(), kSaveSound);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_NE(log.entries[0].text.find("Error trying to Save sound."), std::string::npos);
    Click(page.get(), kSaveSound);
    EXPECT_EQ(Words(), (std::vector<std::string>{"a/b", "a/b"}));
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("a"))).exists());
}

TEST_F(WordsPage, UpDownAndDeleteDoNothingAtTheEdgesOrWithoutASelection)
{
    Open({"one", "two", "three"});
    Click(page.get(), kUp);
    Click(page.get(), kDelete);
    EXPECT_EQ(Words(), (std::vector<std::string>{"one", "two", "three"}));
    List()->setCurrentRow(0);
    Click(page.get(), kUp);
    EXPECT_EQ(Words(), (std::vector<std::string>{"one", "two", "three"}));
    Click(page.get(), kDown);
    EXPECT_EQ(Words(), (std::vector<std::string>{"two", "one", "three"}));
    List()->setCurrentRow(2);
    Click(page.get(), kDown);
    EXPECT_EQ(Words(), (std::vector<std::string>{"two", "one", "three"}));
    Click(page.get(), kDelete);
    EXPECT_EQ(Words(), (std::vector<std::string>{"two", "one"}));
    EXPECT_EQ(doc.m_wordList.size(), 3u); // the document waits for Save List
}

TEST_F(WordsPage, AToZSortsIgnoringCaseAndKeepsEqualWordsInOrder)
{
    Open({"banana", "apple", "Apple", "cherry"});
    Click(page.get(), kSortAZ);
    EXPECT_EQ(Words(), (std::vector<std::string>{"apple", "Apple", "banana", "cherry"}));
}

TEST_F(WordsPage, SaveListRebuildsTheDocumentsListAndPostsSave)
{
    Open({"cat", "dog"});
    Click(page.get(), kSortAZ);
    Click(page.get(), kSaveList);
    ASSERT_EQ(doc.m_wordList.size(), 2u);
    EXPECT_EQ(doc.m_wordList[0]->m_author, "Ann");
    EXPECT_EQ(doc.m_wordList[0]->m_soundFolder, dir.path().toStdString());
    EXPECT_EQ(app.posted, (std::vector<int>{ID_FILE_SAVE}));
    const std::string path = dir.filePath(QStringLiteral("list.ktr")).toStdString();
    ASSERT_TRUE(doc.OnSaveDocument(path));
    doc.m_wordList.clear();
    ASSERT_TRUE(doc.OnOpenDocument(path));
    ASSERT_EQ(doc.m_wordList.size(), 2u);
    EXPECT_EQ(doc.m_wordList[1]->m_word, "dog");
    EXPECT_EQ(doc.m_wordList[1]->m_author, "Ann");
}

TEST_F(WordsPage, SaveListWithAnEmptyListBoxEmptiesTheDocumentAndWritesNothing)
{
    Open({"cat"});
    List()->setCurrentRow(0);
    Click(page.get(), kDelete);
    Click(page.get(), kSaveList);
    EXPECT_TRUE(doc.m_wordList.empty());
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].text, "No words to save");
    EXPECT_TRUE(app.posted.empty());
}

TEST_F(WordsPage, ChangeSoundFolderThenCancelChangesRestoresItAndClearsTheModifiedFlag)
{
    Open({"cat"});
    QTemporaryDir other;
    CDialogService::SetAnswerer([&](const CDialogService::Request&) -> std::optional<QVariant> { return QVariant(other.path()); });
    Click(page.get(), kChangeFolder);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].text,
              "If the sound folder for the current spelling list is changed incorrectly, \r\nyou may not be able to take a test.");
    EXPECT_EQ(TextOf(page.get(), kFolder), other.path().toStdString());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_recorder.GetFolder(), other.path().toStdString());
    Click(page.get(), kCancel);
    EXPECT_EQ(TextOf(page.get(), kFolder), dir.path().toStdString());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_recorder.GetFolder(), dir.path().toStdString());
}

TEST_F(WordsPage, TheFolderChoosersCancelChangesNothing)
{
    Open();
    CDialogService::SetAnswerer([](const CDialogService::Request&) -> std::optional<QVariant> { return std::nullopt; });
    Click(page.get(), kChangeFolder);
    EXPECT_EQ(TextOf(page.get(), kFolder), dir.path().toStdString());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(WordsPage, AResetDuringARecordingClosesIt)
{
    Open();
    Click(page.get(), kRecord);
    EXPECT_TRUE(doc.m_recorder.IsOpen());
    doc.UpdateAllViews(nullptr, 0);
    EXPECT_FALSE(doc.m_recorder.IsOpen());
    EXPECT_EQ(Buttons(), "010000");
}

TEST_F(WordsPage, AWordThatWouldNameAFileOutsideTheSoundFolderIsListedButItsSoundIsNotWritten)
{
    Open();
    // The list's sounds live in a folder of their own, with a subfolder "a" in it.
    const QString sounds = dir.filePath(QStringLiteral("sounds"));
    ASSERT_TRUE(QDir().mkpath(sounds + QStringLiteral("/a")));
    app.SetDefaultSoundFolder(sounds.toStdString());
    doc.UpdateAllViews(nullptr, 0);
    Click(page.get(), kRecord);
    QThread::msleep(100);
    Click(page.get(), kStop);
    Click(page.get(), kPlay);
    auto files = [this] {
        QStringList all;
        for (QDirIterator it(dir.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            all << it.next();
        all.sort();
        return all;
    };
    const QStringList before = files();
    std::vector<std::string> listed;
    for (const std::string& word : {std::string("../x"), std::string("/x"), std::string("/"), std::string("a/b"),
                                    std::string(300, 'w')}) {
        SCOPED_TRACE(word.substr(0, 20));
        log.Clear();
        TypeInto(page.get(), kWord, QString::fromStdString(word));
        Click(page.get(), kSaveSound);
        listed.push_back(word);
        std::string path;
        std::string why;
        EXPECT_FALSE(CPath::WordSoundPath(sounds.toStdString(), word, path, &why));
        EXPECT_FALSE(why.empty());
        ASSERT_EQ(log.entries.size(), 1u);
        EXPECT_EQ(log.entries[0].text, why + "\r\nError trying to Save sound.");
        EXPECT_EQ(Buttons(), "100101"); // still Heard
    }
    EXPECT_EQ(Words(), listed);
    EXPECT_EQ(files(), before);
}

TEST_F(WordsPage, SpeakFillsTheTemporaryRecordingAndSaveSoundKeepsItLikeARecording)
{
    Open();
    TypeInto(page.get(), kWord, QStringLiteral("elephant"));
    Click(page.get(), kSpeak);
    EXPECT_EQ(Buttons(), "100000"); // Recorded, as after Stop Recording
    EXPECT_FALSE(IsEnabled(page.get(), kSpeak));
    Click(page.get(), kPlay);
    EXPECT_EQ(Buttons(), "100101"); // Heard
    Click(page.get(), kSaveSound);
    EXPECT_EQ(Buttons(), "000010"); // Saved
    Click(page.get(), kNewWord);
    EXPECT_TRUE(IsEnabled(page.get(), kSpeak));
    EXPECT_TRUE(log.entries.empty()) << log.entries[0].text;
    EXPECT_EQ(Words(), (std::vector<std::string>{"elephant"}));

    const std::string path = dir.filePath(QStringLiteral("elephant.wav")).toStdString();
    std::ifstream raw(path, std::ios::binary);
    char riff[4] = {};
    raw.read(riff, 4);
    EXPECT_EQ(std::string(riff, 4), "RIFF");
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(f, nullptr);
    std::vector<short> samples(size_t(info.frames * info.channels));
    sf_readf_short(f, samples.data(), info.frames);
    sf_close(f);
    EXPECT_EQ(info.samplerate, 44100);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const double seconds = double(info.frames) / 44100.0;
    EXPECT_GE(seconds, 0.2);
    EXPECT_LE(seconds, 3.0);
    EXPECT_GT(*std::max_element(samples.begin(), samples.end()), 3000);
}

TEST_F(WordsPage, SpeakWithoutAWordOrWithAnOverlongOneSaysWhyAndChangesNothing)
{
    Open();
    struct Case {
        QString word;
        const char* message;
    } cases[] = {{QString(), "No Word Entered"}, {QString(300, QLatin1Char('a')), "too long"}};
    for (const Case& c : cases) {
        log.Clear();
        TypeInto(page.get(), kWord, c.word);
        Click(page.get(), kSpeak);
        ASSERT_EQ(log.entries.size(), 1u) << c.message;
        EXPECT_NE(log.entries[0].text.find(c.message), std::string::npos) << log.entries[0].text;
        EXPECT_EQ(Buttons(), "010000"); // still Ready
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("TempWord.wav"))));
}

TEST_F(WordsPage, SpeakMissingSoundsWritesOnlyTheMissingFilesAndLeavesARecordingAlone)
{
    const std::string recording = dir.filePath(QStringLiteral("cat.wav")).toStdString();
    std::ofstream(recording, std::ios::binary) << "a recording";
    Open({"cat", "dog", "a/b", "owl"});
    Click(page.get(), kSpeakMissing);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].text, "2 spoken sound files were written.\r\n"
                                   "1 word already had a sound file and was left as it was.\r\n"
                                   "1 word was skipped because it can't be used as a file name.");
    std::ifstream in(recording, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "a recording");
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("dog.wav"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("owl.wav"))));
    EXPECT_EQ(Words(), (std::vector<std::string>{"cat", "dog", "a/b", "owl"}));
    EXPECT_EQ(Buttons(), "010000");
}
