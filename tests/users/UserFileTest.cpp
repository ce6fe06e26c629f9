// The shared user file: its lock between running copies, its atomic saves, and the
// log-in rules over its accounts.
#include "CMessageLog.h"
#include "ReadThenFail.h"
#include "users/CLogInRules.h"
#include "users/CUserFile.h"
#include "users/CUserFileWaiter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <set>

#include <unistd.h>

namespace {
std::set<std::string> names(const std::string& folder)
{
    CUserFile file;
    file.Open(folder, nullptr);
    std::set<std::string> result;
    for (const auto& u : file.Users())
        result.insert(u->m_name);
    return result;
}
}

TEST(UserFile, AMissingFileIsCreatedEmptyAndANewUserGetsASingleBlankPassword)
{
    QTemporaryDir dir;
    CUserFile file;
    ASSERT_TRUE(file.Open(dir.path().toStdString(), nullptr));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Kelto4.lgn"))));
    CLogInRules rules(file.Users());
    EXPECT_EQ(rules.LogIn("Ann", ""), CLogInRules::Result::loggedIn);
    ASSERT_EQ(file.Users().size(), 1u);
    EXPECT_EQ(file.Users()[0]->m_password, " ");
    EXPECT_TRUE(file.Save());
    file.Close();

    CUserFile again;
    again.Open(dir.path().toStdString(), nullptr);
    CLogInRules later(again.Users());
    EXPECT_EQ(later.LogIn("Ann", " "), CLogInRules::Result::wrongPassword);
    EXPECT_EQ(later.LogIn("Ann", ""), CLogInRules::Result::loggedIn);
    EXPECT_EQ(later.LogIn("ann", "x"), CLogInRules::Result::loggedIn); // another user
    EXPECT_EQ(again.Users().size(), 2u);
}

TEST(UserFile, ASaveAfterAWrongPasswordStillWrites)
{
    QTemporaryDir dir;
    CUserFile file;
    file.Open(dir.path().toStdString(), nullptr);
    CLogInRules rules(file.Users());
    rules.LogIn("Ann", "pw");
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(rules.LogIn("Ann", "wrong"), CLogInRules::Result::wrongPassword);
    rules.LogIn("Bob", "");
    EXPECT_TRUE(file.Save());
    file.Close();
    EXPECT_EQ(names(dir.path().toStdString()), (std::set<std::string>{"Ann", "Bob"}));
}

TEST(UserFile, ABusyFileIsRetriedAndThenGivenUpWithAnEmptyList)
{
    QTemporaryDir dir;
    CUserFile holder;
    ASSERT_TRUE(holder.Open(dir.path().toStdString(), nullptr));
    CLogInRules(holder.Users()).LogIn("Ann", "");
    holder.Save();

    // Another copy of the program holds the lock: a second process must wait.
    QProcess peer;
    peer.start(QStringLiteral(USERFILE_PEER),
               {dir.path(), QStringLiteral("Bob"), QStringLiteral("1")});
    ASSERT_TRUE(peer.waitForStarted());
    QThread::msleep(300);
    EXPECT_EQ(peer.state(), QProcess::Running); // still waiting on the lock
    holder.Close();
    ASSERT_TRUE(peer.waitForFinished(10000));
    EXPECT_EQ(peer.exitCode(), 0);
    EXPECT_EQ(names(dir.path().toStdString()), (std::set<std::string>{"Ann", "Bob0"}));
}

TEST(UserFile, TwoCopiesCreatingUsersAtTheSameTimeLoseNoAccount)
{
    QTemporaryDir dir;
    QProcess a, b;
    a.start(QStringLiteral(USERFILE_PEER), {dir.path(), QStringLiteral("a"), QStringLiteral("25")});
    b.start(QStringLiteral(USERFILE_PEER), {dir.path(), QStringLiteral("b"), QStringLiteral("25")});
    ASSERT_TRUE(a.waitForFinished(60000));
    ASSERT_TRUE(b.waitForFinished(60000));
    EXPECT_EQ(a.exitCode(), 0);
    EXPECT_EQ(b.exitCode(), 0);
    EXPECT_EQ(names(dir.path().toStdString()).size(), 50u);
}

TEST(UserFile, InTheSameProcessASecondOpenFindsTheFileBusy)
{
    QTemporaryDir dir;
    CUserFile first;
    ASSERT_TRUE(first.Open(dir.path().toStdString(), nullptr));
    const CUserFileAccess quick(2, 1);
    CUserFile second(quick);
    EXPECT_FALSE(second.Open(dir.path().toStdString(), nullptr));
    EXPECT_TRUE(second.Users().empty());
}

TEST(LogInRules, DeleteNameNeedsThePasswordAndTheNameListsEntry)
{
    COwnedList<CUser> users;
    CLogInRules rules(users);
    rules.LogIn("Ann", "pw");
    rules.SetModified(false);
    auto found = [](const std::string&) { return true; };
    EXPECT_EQ(rules.DeleteName("Ann", "nope", found), CLogInRules::Result::wrongPassword);
    EXPECT_EQ(rules.DeleteName("Zed", "", found), CLogInRules::Result::notFound);
    EXPECT_FALSE(rules.IsModified());
    EXPECT_EQ(rules.DeleteName("Ann", "pw", found), CLogInRules::Result::deleted);
    EXPECT_TRUE(users.empty());
    EXPECT_TRUE(rules.IsModified());
}

// Opening faults that waiting can't mend: reported at once, and the file is given up.
namespace {
// A file system without locks: every lock fails with its error.
class CFailingLock : public CUserFileAccess {
public:
    explicit CFailingLock(int error)
        : CUserFileAccess(5, 1)
        , m_error(error)
    {
    }
    bool Lock(int) const override
    {
        errno = m_error;
        return false;
    }

private:
    int m_error;
};

class CountingWaiter : public CUserFileWaiter {
public:
    void Pause(int) override { ++pauses; }
    int pauses = 0;
};

struct OpenFault {
    const char* name;
    int error;
    bool needsNonRoot;
    void (*make)(const QString& path);
    int lockError = 0; // the lock fails with this error
};

void PrintTo(const OpenFault& fault, std::ostream* os)
{
    *os << fault.name;
}

class UnopenableUserFile : public ::testing::TestWithParam<OpenFault> {};
}

TEST_P(UnopenableUserFile, IsReportedAtOnceWithTheReasonAndGivenUp)
{
    const OpenFault& fault = GetParam();
    if (fault.needsNonRoot && ::geteuid() == 0)
        GTEST_SKIP() << "root may open any file, so no permission can be denied";
    QTemporaryDir dir;
    fault.make(dir.filePath(QStringLiteral("Kelto4.lgn")));
    CMessageLog log;
    CountingWaiter waiter;
    const CUserFileAccess locking(5, 1);
    const CFailingLock failing(fault.lockError);
    CUserFile file(fault.lockError ? failing : locking);
    EXPECT_FALSE(file.Open(dir.path().toStdString(), &waiter));
    EXPECT_EQ(waiter.pauses, 0) << "waited for a fault that waiting can't mend";
    EXPECT_TRUE(file.Users().empty());
    EXPECT_FALSE(file.Save());
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].icon, MsgIcon::Exclamation);
    EXPECT_NE(log.entries[0].text.find(std::strerror(fault.error)), std::string::npos) << log.entries[0].text;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, UnopenableUserFile,
    ::testing::Values(
        OpenFault{"AFolderInItsPlace", EISDIR, false, [](const QString& path) { QDir().mkpath(path); }},
        OpenFault{"NoLocksOnTheFileSystem", ENOLCK, false, [](const QString&) {}, ENOLCK},
        OpenFault{"LocksNotSupported", EOPNOTSUPP, false, [](const QString&) {}, EOPNOTSUPP},
        // A link to nothing: no waiting mends it, and nothing is created through it.
        OpenFault{"ADanglingLink", ENOENT, false,
                  [](const QString& path) {
                      QFile::link(path + QStringLiteral(".gone"), path);
                  }},
        OpenFault{"NoPermission", EACCES, true,
                  [](const QString& path) {
                      QFile file(path);
                      file.open(QIODevice::WriteOnly);
                      file.setPermissions(QFileDevice::Permissions());
                  }}),
    [](const ::testing::TestParamInfo<OpenFault>& param) { return std::string(param.param.name); });

// A user file that can't be read to its end is never replaced by what could be read,
// and no copy kept of a bad file is ever written over.
namespace {
QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
}

TEST(UnreadableUserFile, IsNeverWrittenOverAndEveryCopyIsKept)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    {
        CUserFile file;
        file.Open(folder, nullptr);
        CLogInRules rules(file.Users());
        rules.LogIn("Ann", "");
        rules.LogIn("Bob", "pw");
        ASSERT_TRUE(file.Save());
    }
    const QString path = dir.filePath(QStringLiteral("Kelto4.lgn"));
    const QByteArray whole = ReadBytes(path);
    CMessageLog log;
    for (const char* copy : {"Kelto4.lgn.damaged", "Kelto4.lgn.damaged.2"}) {
        const CReadThenFail failing;
        CUserFile file(failing);
        EXPECT_TRUE(file.Open(folder, nullptr));
        EXPECT_TRUE(file.IsReadOnly());
        EXPECT_EQ(file.Users().size(), 2u); // they may still log in
        EXPECT_FALSE(file.Save());
        EXPECT_EQ(ReadBytes(path), whole);
        EXPECT_EQ(ReadBytes(dir.filePath(QString::fromLatin1(copy))), whole);
    }
    ASSERT_EQ(log.entries.size(), 2u);
    EXPECT_NE(log.entries[1].text.find("Kelto4.lgn.damaged.2"), std::string::npos) << log.entries[1].text;
    EXPECT_NE(log.entries[1].text.find(std::strerror(EIO)), std::string::npos) << log.entries[1].text;

    // A damaged archive is kept beside at the next save, after the copies before it.
    QFile bad(path);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write("\x05\x00junk", 6);
    bad.close();
    CUserFile file;
    file.Open(folder, nullptr);
    EXPECT_TRUE(file.ReadFailed());
    EXPECT_FALSE(file.IsReadOnly());
    EXPECT_TRUE(file.Save());
    EXPECT_EQ(ReadBytes(dir.filePath(QStringLiteral("Kelto4.lgn.damaged.3"))), QByteArray("\x05\x00junk", 6));
    EXPECT_EQ(ReadBytes(dir.filePath(QStringLiteral("Kelto4.lgn.damaged"))), whole);
}
