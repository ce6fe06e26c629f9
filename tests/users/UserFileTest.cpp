// The shared user file: its lock between running copies, its atomic saves, and the
// log-in rules over its accounts.
#include "users/CLogInRules.h"
#include "users/CUserFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <set>

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
    CUserFile::SetRetry(3, 10);
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
    CUserFile::SetRetry(CUserFile::kDefaultAttempts, CUserFile::kDefaultDelayMs);
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
    CUserFile::SetRetry(2, 1);
    CUserFile second;
    EXPECT_FALSE(second.Open(dir.path().toStdString(), nullptr));
    EXPECT_TRUE(second.Users().empty());
    CUserFile::SetRetry(CUserFile::kDefaultAttempts, CUserFile::kDefaultDelayMs);
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
