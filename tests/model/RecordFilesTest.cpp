#include "ModelTestSupport.h"

#include "model/CAtomicFile.h"
#include "model/CUserRecordFiles.h"

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path)
{
    std::string bytes;
    EXPECT_TRUE(CAtomicFile::ReadWholeFile(path, bytes, nullptr)) << path;
    return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct JoinCase {
    std::string folder;
    std::string joined;
};

void PrintTo(const JoinCase& c, std::ostream* os) { *os << c.folder; }

class JoinPath : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinPath, PutsExactlyOneSlashBetween)
{
    EXPECT_EQ(CUserRecordFiles::JoinPath(GetParam().folder, "Ann.kt3"), GetParam().joined);
}

INSTANTIATE_TEST_SUITE_P(Folders, JoinPath,
                         ::testing::Values(JoinCase{"/data/users", "/data/users/Ann.kt3"},
                                           JoinCase{"/data/users/", "/data/users/Ann.kt3"},
                                           JoinCase{"/data/users//", "/data/users/Ann.kt3"},
                                           JoinCase{"/", "/Ann.kt3"}, JoinCase{"rel", "rel/Ann.kt3"}),
                         [](const ::testing::TestParamInfo<JoinCase>& p) { return "folder_" + CaseName(p.param.folder); });

TEST(RecordFiles, PathsAreNamePlusKt3AndKt4InTheUserFolder)
{
    EXPECT_EQ(CUserRecordFiles::ResultsPath("/u/", "Ann Lee"), "/u/Ann Lee.kt3");
    EXPECT_EQ(CUserRecordFiles::MissedPath("/u", "Ann Lee"), "/u/Ann Lee.kt4");
}

TEST(RecordFiles, NamesThatCannotBeFileNamesAreRefused)
{
    for (const std::string& name : std::vector<std::string>{"", ".", "..", "a/b", "/", "../x", std::string("a\0b", 3)})
        EXPECT_FALSE(CUserRecordFiles::IsValidFileName(name)) << name;
    for (const std::string name : {"Ann", " ", "...", ".hidden", "a\\b", "Zo\xEB", "a.b"})
        EXPECT_TRUE(CUserRecordFiles::IsValidFileName(name)) << name;
}

TEST(RecordFiles, SavedRecordsLoadBackInOrder)
{
    TempFolder folder;
    COwnedList<CGrade> grades;
    grades.push_back(Grade("week2", "12/07/26, 09:00 AM", 10, 10));
    grades.push_back(Grade("week1--Stopped Test", "12/06/26, 06:02 PM", 2, 10));
    COwnedList<CMissed> missed;
    missed.push_back(Missed("week1", "12/06/26, 06:02 PM", "receive", "recieve"));
    std::string error = "stale";
    ASSERT_TRUE(CUserRecordFiles::Save(folder.Path(), "Ann", grades, missed, &error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Ann.kt3", "Ann.kt4"}));
    EXPECT_EQ(ReadFile(folder.File("Ann.kt3")), Store(grades));
    EXPECT_EQ(ReadFile(folder.File("Ann.kt4")), Store(missed));

    COwnedList<CGrade> readGrades;
    COwnedList<CMissed> readMissed;
    ASSERT_TRUE(CUserRecordFiles::Load(folder.Path(), "Ann", readGrades, readMissed));
    ASSERT_EQ(readGrades.size(), 2u);
    EXPECT_EQ(readGrades[0]->m_listName, "week2");
    EXPECT_EQ(readGrades[1]->m_listName, "week1--Stopped Test");
    EXPECT_EQ(readGrades[1]->m_correct, 2);
    ASSERT_EQ(readMissed.size(), 1u);
    EXPECT_EQ(readMissed[0]->m_misspelling, "recieve");
}

TEST(RecordFiles, EmptyListsAreWrittenAsTheCountAlone)
{
    TempFolder folder;
    ASSERT_TRUE(CUserRecordFiles::Save(folder.Path(), "Ann", {}, {}, nullptr));
    EXPECT_EQ(Hex(ReadFile(folder.File("Ann.kt3"))), "00 00 ");
    EXPECT_EQ(Hex(ReadFile(folder.File("Ann.kt4"))), "00 00 ");
}

TEST(RecordFiles, ANewUserHasNoFilesAndEmptyLists)
{
    TempFolder folder;
    COwnedList<CGrade> grades;
    COwnedList<CMissed> missed;
    EXPECT_FALSE(CUserRecordFiles::Load(folder.Path(), "Newcomer", grades, missed));
    EXPECT_TRUE(grades.empty());
    EXPECT_TRUE(missed.empty());
    EXPECT_TRUE(FolderEntries(folder.Path()).empty());
}

TEST(RecordFiles, OneMissingFileStillLoadsTheOther)
{
    TempFolder folder;
    COwnedList<CGrade> grades;
    grades.push_back(Grade("week1", "d", 1, 2));
    WriteFile(folder.File("Ann.kt3"), Store(grades));
    COwnedList<CGrade> readGrades;
    COwnedList<CMissed> readMissed;
    EXPECT_FALSE(CUserRecordFiles::Load(folder.Path(), "Ann", readGrades, readMissed));
    EXPECT_EQ(readGrades.size(), 1u);
}

TEST(RecordFiles, WindowsNamesBecomeUtf8FileNames)
{
    TempFolder folder;
    ASSERT_TRUE(CUserRecordFiles::Save(folder.Path(), "Zo\xEB", {}, {}, nullptr));
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Zo\xC3\xAB.kt3", "Zo\xC3\xAB.kt4"}));
    COwnedList<CGrade> grades;
    COwnedList<CMissed> missed;
    EXPECT_TRUE(CUserRecordFiles::Load(folder.Path(), "Zo\xEB", grades, missed));
}

TEST(RecordFiles, InvalidNamesTouchNoFile)
{
    TempFolder folder;
    fs::create_directory(folder.File("x"));
    WriteFile(folder.File("x/y.kt3"), Store(COwnedList<CGrade>()));
    WriteFile(folder.File("x/y.kt4"), Store(COwnedList<CMissed>()));
    COwnedList<CGrade> grades;
    grades.push_back(Grade("w", "d", 1, 1));
    COwnedList<CMissed> missed;
    for (const std::string name : {"x/y", "..", "."}) {
        EXPECT_FALSE(CUserRecordFiles::Save(folder.Path(), name, grades, missed, nullptr)) << name;
        COwnedList<CGrade> readGrades;
        COwnedList<CMissed> readMissed;
        EXPECT_FALSE(CUserRecordFiles::Load(folder.Path(), name, readGrades, readMissed)) << name;
    }
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"x"}));
    EXPECT_EQ(Hex(ReadFile(folder.File("x/y.kt3"))), "00 00 ");
}

TEST(RecordFiles, NoUserFolderMeansNoFiles)
{
    COwnedList<CGrade> grades;
    COwnedList<CMissed> missed;
    std::string error;
    EXPECT_FALSE(CUserRecordFiles::Save("", "Ann", grades, missed, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(CUserRecordFiles::Load("", "Ann", grades, missed));
}

TEST(RecordFiles, SaveIntoAFolderThatIsAFileFailsWithAReason)
{
    TempFolder folder;
    WriteFile(folder.File("plain"), "x");
    std::string error;
    EXPECT_FALSE(CUserRecordFiles::Save(folder.File("plain"), "Ann", {}, {}, &error));
    EXPECT_NE(error.find("Not a directory"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(folder.File("plain")), "x");
}

// A damaged results file: two good records, then bytes that are no record.
std::string DamagedResults()
{
    COwnedList<CGrade> grades;
    grades.push_back(Grade("week2", "d2", 5, 6));
    grades.push_back(Grade("week1", "d1", 3, 4));
    std::string bytes = Store(grades);
    bytes[0] = 3; // announces a third record
    return bytes + Bytes({0x01, 0x80, 0x07});
}

TEST(DamagedFile, KeepsTheRecordsReadBeforeTheFault)
{
    TempFolder folder;
    WriteFile(folder.File("Ann.kt3"), DamagedResults());
    WriteFile(folder.File("Ann.kt4"), Store(COwnedList<CMissed>()));
    COwnedList<CGrade> grades;
    COwnedList<CMissed> missed;
    EXPECT_TRUE(CUserRecordFiles::Load(folder.Path(), "Ann", grades, missed));
    ASSERT_EQ(grades.size(), 2u);
    EXPECT_EQ(grades[0]->m_listName, "week2");
    EXPECT_EQ(grades[1]->m_listName, "week1");
    // Untouched until the next save.
    EXPECT_EQ(ReadFile(folder.File("Ann.kt3")), DamagedResults());
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Ann.kt3", "Ann.kt4"}));
}

TEST(DamagedFile, IsKeptBesideBeforeTheNextSaveReplacesIt)
{
    TempFolder folder;
    WriteFile(folder.File("Ann.kt3"), DamagedResults());
    WriteFile(folder.File("Ann.kt4"), Store(COwnedList<CMissed>()));
    COwnedList<CGrade> grades;
    COwnedList<CMissed> missed;
    CUserRecordFiles::Load(folder.Path(), "Ann", grades, missed);
    grades.push_front(Grade("week3", "d3", 1, 1));
    ASSERT_TRUE(CUserRecordFiles::Save(folder.Path(), "Ann", grades, missed, nullptr));
    EXPECT_EQ(FolderEntries(folder.Path()),
              (std::vector<std::string>{"Ann.kt3", "Ann.kt3.damaged", "Ann.kt4"}));
    EXPECT_EQ(ReadFile(folder.File("Ann.kt3.damaged")), DamagedResults());
    EXPECT_EQ(ReadFile(folder.File("Ann.kt3")), Store(grades));

    // The new file reads to its end, so a later save keeps the old copy as it is.
    grades.pop_front();
    ASSERT_TRUE(CUserRecordFiles::Save(folder.Path(), "Ann", grades, missed, nullptr));
    EXPECT_EQ(ReadFile(folder.File("Ann.kt3.damaged")), DamagedResults());
    EXPECT_EQ(ReadFile(folder.File("Ann.kt3")), Store(grades));

    // A second incident keeps its own copy; the first stays.
    WriteFile(folder.File("Ann.kt3"), DamagedResults() + "x");
    ASSERT_TRUE(CUserRecordFiles::Save(folder.Path(), "Ann", grades, missed, nullptr));
    EXPECT_EQ(ReadFile(folder.File("Ann.kt3.damaged")), DamagedResults());
    EXPECT_EQ(ReadFile(folder.File("Ann.kt3.damaged.2")), DamagedResults() + "x");
}

TEST(DamagedFile, RecordsOfTheWrongClassCountAsDamage)
{
    TempFolder folder;
    COwnedList<CMissed> foreign;
    foreign.push_back(Missed("w", "d", "cat", "kat"));
    WriteFile(folder.File("Ann.kt3"), Store(foreign));
    WriteFile(folder.File("Ann.kt4"), Store(foreign));
    COwnedList<CGrade> grades;
    COwnedList<CMissed> missed;
    EXPECT_TRUE(CUserRecordFiles::Load(folder.Path(), "Ann", grades, missed));
    EXPECT_TRUE(grades.empty());
    EXPECT_EQ(missed.size(), 1u);
    ASSERT_TRUE(CUserRecordFiles::Save(folder.Path(), "Ann", grades, missed, nullptr));
    EXPECT_EQ(ReadFile(folder.File("Ann.kt3.damaged")), Store(foreign));
    EXPECT_FALSE(CAtomicFile::Exists(folder.File("Ann.kt4.damaged")));
}

TEST(AtomicFile, ReplacesContentAndKeepsPermissions)
{
    TempFolder folder;
    const std::string path = folder.File("Kelto4.lgn");
    WriteFile(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(CAtomicFile::WriteFileAtomically(path, "new content", nullptr));
    EXPECT_EQ(ReadFile(path), "new content");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Kelto4.lgn"}));
}

TEST(AtomicFile, ReadOnlyFolderLeavesTheOldFileAndReportsFailure)
{
    TempFolder folder;
    const std::string path = folder.File("Ann.kt3");
    WriteFile(path, "old");
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0555), 0);
    if (::access(folder.Path().c_str(), W_OK) == 0)
        GTEST_SKIP() << "permissions don't stop this user (root); the full-disk test covers the failure path";
    std::string error;
    EXPECT_FALSE(CAtomicFile::WriteFileAtomically(path, "new", &error));
    EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(path), "old");
}

// A full disk, as far as this process is concerned: writes beyond 16 bytes fail with
// EFBIG. Unlike permissions, the limit holds for root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

TEST(AtomicFile, FailedWriteLeavesTheOldFileAndNoTemporary)
{
    TempFolder folder;
    const std::string path = folder.File("Ann.kt4");
    WriteFile(path, "old records");
    std::string error;
    bool written = true;
    {
        FileSizeLimit limit(16);
        written = CAtomicFile::WriteFileAtomically(path, std::string(4096, 'n'), &error);
    }
    EXPECT_FALSE(written);
    EXPECT_NE(error.find("File too large"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(path), "old records");
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Ann.kt4"}));
}

TEST(AtomicFile, FailedRecordSaveReportsAndKeepsTheOldFile)
{
    TempFolder folder;
    COwnedList<CGrade> oldGrades;
    oldGrades.push_back(Grade("week1", "d", 1, 1));
    ASSERT_TRUE(CUserRecordFiles::Save(folder.Path(), "Ann", oldGrades, {}, nullptr));
    COwnedList<CGrade> grades;
    for (int i = 0; i < 100; ++i)
        grades.push_back(Grade("week" + std::to_string(i), "d", i, 100));
    std::string error;
    bool saved = true;
    {
        FileSizeLimit limit(64);
        saved = CUserRecordFiles::Save(folder.Path(), "Ann", grades, {}, &error);
    }
    EXPECT_FALSE(saved);
    EXPECT_NE(error.find("Ann.kt3"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(folder.File("Ann.kt3")), Store(oldGrades));
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Ann.kt3", "Ann.kt4"}));
}

TEST(AtomicFile, ReadingAMissingFileReportsWhy)
{
    std::string bytes = "stale";
    std::string error;
    EXPECT_FALSE(CAtomicFile::ReadWholeFile("/nonexistent/kelto4/file", bytes, &error));
    EXPECT_TRUE(bytes.empty());
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
}

} // namespace
