// The change-password dialog on a real user file, driven through its controls.
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "options/COptions.h"
#include "PageTestSupport.h"
#include "platform/CControlIds.h"
#include "users/CChangePWDlg.h"
#include "users/CLogInRules.h"
#include "users/CUserFile.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>

namespace {
void makeAccount(const std::string& folder, const std::string& name, const std::string& password)
{
    CUserFile file;
    file.Open(folder, nullptr);
    CLogInRules(file.Users()).LogIn(name, password);
    file.Save();
}

QByteArray fileBytes(const QTemporaryDir& dir)
{
    QFile f(dir.filePath(QStringLiteral("Kelto4.lgn")));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

struct Attempt {
    QString name, oldPassword, newPassword, retyped;
};

// Runs the dialog modally, making each attempt in turn and pressing OK; after the
// last attempt, Cancel if the dialog is still open. Returns DoModal's result.
int runDialog(const std::string& folder, std::vector<Attempt> attempts,
              const CUserFileAccess& access = CUserFileAccess::System())
{
    CChangePWDlg dialog(nullptr, access);
    dialog.m_userFolder = folder;
    std::function<void()> step;
    size_t next = 0;
    step = [&] {
        auto* d = qobject_cast<CChangePWDlg*>(QApplication::activeModalWidget());
        if (!d) {
            QTimer::singleShot(10, step);
            return;
        }
        if (next == attempts.size()) {
            FindControl<QPushButton>(d, 2)->click();
            return;
        }
        const Attempt& a = attempts[next++];
        FindControl<QComboBox>(d, CChangePWDlg::IDC_USERNAME)->setEditText(a.name);
        FindControl<QLineEdit>(d, CChangePWDlg::IDC_OLDPASSWORD)->setText(a.oldPassword);
        FindControl<QLineEdit>(d, CChangePWDlg::IDC_NEWPASSWORD)->setText(a.newPassword);
        FindControl<QLineEdit>(d, CChangePWDlg::IDC_RETYPED)->setText(a.retyped);
        FindControl<QPushButton>(d, 1)->click();
        if (d->isVisible())
            QTimer::singleShot(10, step);
    };
    QTimer::singleShot(10, step);
    return dialog.DoModal();
}

class ChangePassword : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string folder = dir.path().toStdString();
    CMessageLog log;
};
}

TEST_F(ChangePassword, AnAccountMadeWithAnEmptyPasswordChangesWithAnEmptyOldOne)
{
    makeAccount(folder, "Ann", "");
    EXPECT_EQ(runDialog(folder, {{"Ann", "", "new", "new"}}), 1);
    EXPECT_TRUE(log.entries.empty());
    CUserFile file;
    file.Open(folder, nullptr);
    EXPECT_EQ(CLogInRules(file.Users()).LogIn("Ann", "new"), CLogInRules::Result::loggedIn);
}

TEST_F(ChangePassword, AnEmptyNewPasswordIsStoredEmptyAndLogsInEmpty)
{
    makeAccount(folder, "Bob", "secret");
    EXPECT_EQ(runDialog(folder, {{"Bob", "secret", "", ""}}), 1);
    CUserFile file;
    file.Open(folder, nullptr);
    ASSERT_EQ(file.Users().size(), 1u);
    EXPECT_EQ(file.Users()[0]->m_password, "");
    EXPECT_EQ(CLogInRules(file.Users()).LogIn("Bob", ""), CLogInRules::Result::loggedIn);
}

TEST_F(ChangePassword, FailuresSayWhyAndCancelLeavesTheFileByteForByte)
{
    makeAccount(folder, "Ann", "pw");
    const QByteArray before = fileBytes(dir);
    EXPECT_EQ(runDialog(folder, {{"ann", "pw", "x", "x"}, {"Ann", "PW", "x", "x"}, {"Ann", "pw", "x", "y"}}), 2);
    ASSERT_EQ(log.entries.size(), 3u);
    EXPECT_EQ(log.entries[0].text, "Incorrect User Name");
    EXPECT_EQ(log.entries[1].text, "Incorrect PassWord");
    EXPECT_EQ(log.entries[2].text, "The New Password is not the same as the Retyped Password");
    EXPECT_EQ(fileBytes(dir), before);
}

TEST_F(ChangePassword, ASecondCopyWaitsForTheLockAndThenGivesUp)
{
    makeAccount(folder, "Ann", "pw");
    CUserFile holder;
    ASSERT_TRUE(holder.Open(folder, nullptr));
    const CUserFileAccess quick(3, 20);
    // The file stays busy: the dialog works with an empty list, so no name is found.
    EXPECT_EQ(runDialog(folder, {{"Ann", "pw", "x", "x"}}, quick), 2);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].text, "Incorrect User Name");
}

// From the options page: a change that could not be saved is told with the reason and
// the dialog stays open; "Password Changed." comes only after the save that worked.
TEST_F(ChangePassword, PasswordChangedOnlyAfterTheSaveSucceeded)
{
    const QString users = dir.filePath(QStringLiteral("users"));
    const QString away = dir.filePath(QStringLiteral("away"));
    QDir().mkpath(users);
    makeAccount(users.toStdString(), "Ann", "pw");
    CTestAppCore app;
    app.m_userFolder = users.toStdString();
    app.changePassword = [](const std::string& userFolder) {
        CChangePWDlg dialog;
        dialog.m_userFolder = userFolder;
        return dialog.DoModal() == QDialog::Accepted;
    };
    CKelto4Doc doc(app);
    doc.m_userName = "Ann";
    COptions page(&doc);
    page.show();
    page.OnInitialUpdate();

    std::vector<std::string> beforeRetry;
    bool stayedOpen = false;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* d = qobject_cast<CChangePWDlg*>(QApplication::activeModalWidget());
        if (!d)
            return;
        timer.stop();
        FindControl<QComboBox>(d, CChangePWDlg::IDC_USERNAME)->setEditText(QStringLiteral("Ann"));
        FindControl<QLineEdit>(d, CChangePWDlg::IDC_OLDPASSWORD)->setText(QStringLiteral("pw"));
        FindControl<QLineEdit>(d, CChangePWDlg::IDC_NEWPASSWORD)->setText(QStringLiteral("new"));
        FindControl<QLineEdit>(d, CChangePWDlg::IDC_RETYPED)->setText(QStringLiteral("new"));
        // The folder is gone at the moment of saving: the new file can't be made.
        QDir().rename(users, away);
        FindControl<QPushButton>(d, 1)->click();
        beforeRetry = log.Texts();
        stayedOpen = d->isVisible();
        QDir().rename(away, users);
        if (stayedOpen)
            FindControl<QPushButton>(d, 1)->click();
    });
    timer.start();
    Click(&page, 1022);

    ASSERT_EQ(beforeRetry.size(), 1u);
    EXPECT_EQ(beforeRetry[0].rfind("The user information file could not be saved.\r\n", 0), 0u) << beforeRetry[0];
    EXPECT_NE(beforeRetry[0].find(std::strerror(ENOENT)), std::string::npos) << beforeRetry[0];
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(log.Texts(), (std::vector<std::string>{beforeRetry[0], "Password Changed."}));
    CUserFile file;
    file.Open(users.toStdString(), nullptr);
    EXPECT_EQ(CLogInRules(file.Users()).LogIn("Ann", "new"), CLogInRules::Result::loggedIn);
}
