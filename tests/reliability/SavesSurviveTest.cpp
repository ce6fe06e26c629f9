// Saves that are killed at any moment, saves into a full disk, and many copies on one
// user folder: every file on disk is always a whole file, old or new.
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "document/CKelto4Doc.h"
#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "model/CUserRecordFiles.h"
#include "ReliabilityContent.h"
#include "users/CUserFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <spawn.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;
namespace fs = std::filesystem;
using namespace reliability;

namespace {
pid_t Spawn(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

int WaitExit(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

std::string ReadFile(const fs::path& path)
{
    std::string bytes;
    CAtomicFile::ReadWholeFile(path.string(), bytes, nullptr);
    return bytes;
}

int LastRound(const fs::path& log)
{
    std::ifstream in(log);
    int round = -1;
    for (int r; in >> r;)
        round = r;
    return round;
}

// The file must read to its end with the program's own reader and hold exactly the
// contents of round r - 1 or round r.
template <class T>
void ExpectWholeRound(const fs::path& path, int r, const std::string& what,
                      COwnedList<T> (*contents)(int))
{
    const std::string bytes = ReadFile(path);
    COwnedList<T> list;
    bool whole = true;
    try {
        CArchive ar(CArchive::load, bytes);
        LoadObjectList(ar, list);
        whole = ar.AtEnd();
    } catch (const CArchiveException&) {
        whole = false;
    }
    EXPECT_TRUE(whole) << what << " does not read to its end after a kill in round " << r;
    EXPECT_TRUE(bytes == Encode(contents(r)) || (r > 0 && bytes == Encode(contents(r - 1))))
        << what << " holds neither round " << r - 1 << " nor round " << r;
}

std::vector<std::string> Temporaries(const fs::path& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".tmp") != std::string::npos)
            found.push_back(entry.path().filename().string());
    return found;
}

int KillCount()
{
    const char* kills = std::getenv("KELTO4_KILLS");
    return kills && std::atoi(kills) > 0 ? std::atoi(kills) : 30;
}
}

TEST(SavesSurvive, AKillAtAnyMomentLeavesEveryFileWholeAndTheNextSaveClearsTheLeftovers)
{
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    const fs::path log = folder / "rounds.log";
    ASSERT_EQ(WaitExit(Spawn({SAVE_LOOP, folder, log, "0", "1"})), 0);

    std::mt19937 random(20261208);
    int round = 0;
    for (int kill = 0; kill < KillCount(); ++kill) {
        // A killed round is done again from its start, so every file is that round or the one before.
        const int first = round;
        const pid_t pid = Spawn({SAVE_LOOP, folder, log, std::to_string(first), "0"});
        ASSERT_GT(pid, 0);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (LastRound(log) < first + 1 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        ::kill(pid, SIGKILL);
        ASSERT_EQ(WaitExit(pid), -SIGKILL) << "the helper ended before it was killed";
        round = LastRound(log);
        ExpectWholeRound(folder / kListName, round, "the list", &ListFor);
        ExpectWholeRound(folder / "learner.kt3", round, "the results", &GradesFor);
        ExpectWholeRound(folder / "learner.kt4", round, "the misspelled words", &MissedFor);
        ExpectWholeRound(folder / CUserFile::kFileName, round, "the user file", &UsersFor);
        if (HasFailure())
            return;
    }
    ASSERT_EQ(WaitExit(Spawn({SAVE_LOOP, folder, log, std::to_string(round), "1"})), 0);
    EXPECT_EQ(Temporaries(folder), std::vector<std::string>());
}

TEST(SavesSurvive, TemporariesOfALiveSaveAndOtherNamesAreLeftAlone)
{
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    const std::string path = (folder / "list.ktr").string();
    const pid_t sleeper = Spawn({"/bin/sleep", "30"});
    const std::vector<std::string> kept = {"list.ktr.tmp" + std::to_string(sleeper) + "-0", "list.ktr.tmp12x-1",
                                           "list.ktr.tmp", "other.ktr.tmp999999-0", "list.ktr.bak"};
    for (const std::string& name : kept)
        std::ofstream(folder / name) << "x";
    std::ofstream(folder / "list.ktr.tmp999999-3") << "stale";
    ASSERT_TRUE(CAtomicFile::WriteFileAtomically(path, "new", nullptr));
    ::kill(sleeper, SIGKILL);
    WaitExit(sleeper);
    EXPECT_FALSE(fs::exists(folder / "list.ktr.tmp999999-3"));
    for (const std::string& name : kept)
        EXPECT_TRUE(fs::exists(folder / name)) << name;
}

// Two machines that mount one user folder save the same files at the same time: each
// copy runs in PID and UTS namespaces of its own, so it has other process ids and
// another host name, as on another machine. No save of one breaks a save of the other.
TEST(SavesSurvive, TwoMachinesSavingTheSameFilesLeaveEachOthersSavesAlone)
{
    const char* const unshare = "/usr/bin/unshare";
    if (WaitExit(Spawn({unshare, "--pid", "--uts", "--fork", "/bin/true"})) != 0)
        GTEST_SKIP() << "this machine does not let the test make PID and UTS namespaces (it needs root)";
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    const std::string rounds = "300";
    // On machine A the helper is its namespace's first process; on machine B the shell
    // stays first and the helper comes second, so the two use different process ids.
    const pid_t a = Spawn({unshare, "--pid", "--uts", "--fork", "/bin/sh", "-c",
                           "hostname machine-a && exec \"$0\" \"$@\"", SAVE_LOOP, folder.string(),
                           (folder / "a.log").string(), "0", rounds});
    const pid_t b = Spawn({unshare, "--pid", "--uts", "--fork", "/bin/sh", "-c",
                           "hostname machine-b && \"$0\" \"$@\"; exit $?", SAVE_LOOP, folder.string(),
                           (folder / "b.log").string(), "0", rounds});
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    EXPECT_EQ(WaitExit(a), 0) << "a save on machine A failed";
    EXPECT_EQ(WaitExit(b), 0) << "a save on machine B failed";
    EXPECT_EQ(LastRound(folder / "a.log"), 299);
    EXPECT_EQ(LastRound(folder / "b.log"), 299);
    EXPECT_EQ(Temporaries(folder), std::vector<std::string>());
}

namespace {
// A few hundred kilobytes of tmpfs, mounted for the test; needs root.
class FullDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "mounting a small file system needs root";
        folder = fs::path(dir.path().toStdString()) / "disk";
        fs::create_directory(folder);
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=320k") != 0)
            GTEST_SKIP() << "this machine does not let the test mount a tmpfs";
        mounted = true;
    }
    void TearDown() override
    {
        if (mounted)
            ::umount2(folder.c_str(), MNT_DETACH);
    }
    // Takes every free byte.
    void Fill()
    {
        std::FILE* filler = std::fopen((folder / "filler").c_str(), "w");
        ASSERT_NE(filler, nullptr);
        const std::string block(4096, 'f');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
        }
        std::clearerr(filler);
        while (std::fputc('f', filler) != EOF && std::fflush(filler) == 0) {
        }
        std::fclose(filler);
    }
    QTemporaryDir dir;
    fs::path folder;
    bool mounted = false;
};
}

TEST_F(FullDisk, SavesFailWithTheReasonAndKeepThePreviousFiles)
{
    CTestAppCore app;
    app.m_userFolder = folder.string();
    CMessageLog messages;
    CKelto4Doc doc(app);
    doc.m_userName = kLearner;
    const std::string listPath = (folder / kListName).string();
    doc.m_wordList = ListFor(1);
    ASSERT_TRUE(doc.OnSaveDocument(listPath));
    doc.m_gradeList = GradesFor(1);
    doc.m_missedList = MissedFor(1);
    ASSERT_TRUE(CUserRecordFiles::Save(folder.string(), kLearner, doc.m_gradeList, doc.m_missedList, nullptr));
    {
        CUserFile users;
        ASSERT_TRUE(users.Open(folder.string(), nullptr));
        users.Users() = UsersFor(1);
        ASSERT_TRUE(users.Save());
    }
    std::map<std::string, std::string> before;
    for (const char* name : {kListName, "learner.kt3", "learner.kt4", CUserFile::kFileName})
        before[name] = ReadFile(folder / name);
    Fill();

    // Large enough that no page left over can hold it.
    auto bigList = ListFor(8);
    for (auto& entry : bigList)
        entry->m_word += std::string(20000, 'w');
    doc.m_wordList = std::move(bigList);
    EXPECT_FALSE(doc.OnSaveDocument(listPath));
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_NE(messages.entries[0].text.find("No space left on device"), std::string::npos) << messages.entries[0].text;

    auto bigMissed = MissedFor(6);
    for (auto& record : bigMissed)
        record->SetMisspelling(std::string(20000, 'm'));
    std::string error;
    EXPECT_FALSE(CUserRecordFiles::Save(folder.string(), kLearner, GradesFor(4), bigMissed, &error));
    EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;

    CUserFile users;
    ASSERT_TRUE(users.Open(folder.string(), nullptr));
    auto bigUsers = UsersFor(5);
    for (auto& user : bigUsers)
        user->m_name += std::string(20000, 'u');
    users.Users() = std::move(bigUsers);
    EXPECT_FALSE(users.Save());
    EXPECT_NE(users.LastError().find("No space left on device"), std::string::npos) << users.LastError();
    users.Close();

    for (const auto& [name, bytes] : before)
        EXPECT_EQ(ReadFile(folder / name), bytes) << name << " changed";
    EXPECT_EQ(Temporaries(folder), std::vector<std::string>());
    doc.m_recordsChanged = false;
}

TEST(ManyCopies, EightCopiesLoggingInAndDeletingLeaveExactlyTheAccountsTheirLogsSay)
{
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    const int copies = 8, rounds = 50, attempts = 400, delayMs = 10;
    std::vector<pid_t> pids;
    for (int i = 0; i < copies; ++i)
        pids.push_back(Spawn({USER_CROWD, folder, std::to_string(i), std::to_string(rounds),
                              (folder / ("copy" + std::to_string(i) + ".log")).string(), std::to_string(attempts),
                              std::to_string(delayMs)}));
    for (pid_t pid : pids)
        EXPECT_EQ(WaitExit(pid), 0) << "a copy could not open or save the user file";

    std::multiset<std::string> expected;
    for (int i = 0; i < copies; ++i) {
        std::ifstream in(folder / ("copy" + std::to_string(i) + ".log"));
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("wait ", 0) == 0)
                EXPECT_LE(std::stol(line.substr(5)), long(attempts) * delayMs) << "copy " << i << " waited too long";
            else if (line[0] == '+')
                expected.insert(line.substr(1));
            else if (line[0] == '-')
                expected.erase(expected.find(line.substr(1)));
        }
    }
    const std::string bytes = ReadFile(folder / CUserFile::kFileName);
    COwnedList<CUser> users;
    CArchive ar(CArchive::load, bytes);
    ASSERT_NO_THROW(LoadObjectList(ar, users));
    EXPECT_TRUE(ar.AtEnd());
    std::multiset<std::string> actual;
    for (const auto& user : users)
        actual.insert(user->m_name);
    EXPECT_EQ(actual, expected);
}
