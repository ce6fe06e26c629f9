// The log-in dialog on a real user file, driven through its controls: names that
// can't name a learner's files, saves that fail, and a file that can't be read whole.
#include "CMessageLog.h"
#include "platform/CControlIds.h"
#include "ReadThenFail.h"
#include "users/CLogInDlg.h"
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

#include <unistd.h>

namespace {
using Step = std::function<void(CLogInDlg*)>;

// Runs the dialog modally, handing it to each step in turn while it stays open;
// Cancel after the last step. Returns DoModal's result.
int RunLogIn(const std::string& folder, std::vector<Step> steps,
             const CUserFileAccess& access = CUserFileAccess::System())
{
    CLogInDlg dialog(nullptr, access);
    dialog.m_userFolder = folder;
    size_t next = 0;
    std::function<void()> step = [&] {
        auto* d = qobject_cast<CLogInDlg*>(QApplication::activeModalWidget());
        if (!d) {
            QTimer::singleShot(10, step);
            return;
        }
        if (next == steps.size()) {
            FindControl<QPushButton>(d, 2)->click();
            return;
        }
        steps[next++](d);
        if (d->isVisible())
            QTimer::singleShot(10, step);
    };
    QTimer::singleShot(10, step);
    return dialog.DoModal();
}

Step Press(const QString& name, int button)
{
    return [name, button](CLogInDlg* d) {
        FindControl<QComboBox>(d, CLogInDlg::IDC_USERNAME)->setEditText(name);
        FindControl<QLineEdit>(d, CLogInDlg::IDC_PASSWORD)->setText(QString());
        FindControl<QPushButton>(d, button)->click();
    };
}

std::vector<std::string> Names(const std::string& folder)
{
    CUserFile file;
    file.Open(folder, nullptr);
    std::vector<std::string> names;
    for (const auto& u : file.Users())
        names.push_back(u->m_name);
    return names;
}

QByteArray FileBytes(const QTemporaryDir& dir)
{
    QFile f(dir.filePath(QStringLiteral("Kelto4.lgn")));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

class LogInDialog : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string folder = dir.path().toStdString();
    CMessageLog log;
};
}

TEST_F(LogInDialog, ANameThatCantNameAFileIsRefusedWithTheReason)
{
    const struct {
        QString name;
        const char* reason;
    } cases[] = {
        {QStringLiteral("Ann/Bob"), "\"/\""},
        {QStringLiteral("Ann") + QChar(0) + QStringLiteral("Bob"), "zero character"},
    };
    for (const auto& c : cases) {
        log.Clear();
        EXPECT_EQ(RunLogIn(folder, {Press(c.name, 1)}), IDCANCEL) << c.reason;
        ASSERT_EQ(log.entries.size(), 1u) << c.reason;
        EXPECT_NE(log.entries[0].text.find(c.reason), std::string::npos) << log.entries[0].text;
    }
    EXPECT_TRUE(Names(folder).empty());
}

TEST_F(LogInDialog, AFailedSaveStaysOpenAndIsTriedAgainAtTheNextOK)
{
    const QString away = dir.path() + QStringLiteral(".away");
    bool stayedOpen = false;
    const Step awayWhileSaving = [&](CLogInDlg* d) {
        // The folder is gone at the moment of saving.
        QDir().rename(dir.path(), away);
        Press(QStringLiteral("Ann"), 1)(d);
        stayedOpen = d->isVisible();
        QDir().rename(away, dir.path());
    };
    const int result = RunLogIn(folder, {awayWhileSaving, Press(QStringLiteral("Ann"), 1)});
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_NE(log.entries[0].text.find(std::strerror(ENOENT)), std::string::npos) << log.entries[0].text;
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Names(folder), std::vector<std::string>{"Ann"});
}

TEST_F(LogInDialog, AFileNotReadWholeTakesNoNewNameOrDeletionButLetsItsUsersIn)
{
    {
        CUserFile file;
        file.Open(folder, nullptr);
        CLogInRules(file.Users()).LogIn("Ann", "");
        ASSERT_TRUE(file.Save());
    }
    const QByteArray before = FileBytes(dir);
    const CReadThenFail failing;
    const int result = RunLogIn(folder, {Press(QStringLiteral("Zed"), 1),
                                         Press(QStringLiteral("Ann"), CLogInDlg::IDC_DELETENAME),
                                         Press(QStringLiteral("Ann"), 1)},
                              failing);
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(log.entries.size(), 3u);
    EXPECT_NE(log.entries[0].text.find(std::strerror(EIO)), std::string::npos) << log.entries[0].text;
    EXPECT_EQ(log.entries[1].text, CLogInDlg::kCannotChange);
    EXPECT_EQ(log.entries[2].text, CLogInDlg::kCannotChange);
    EXPECT_EQ(FileBytes(dir), before);
}

TEST_F(LogInDialog, ANewNameWhileTheFileCantBeOpenedLogsInButIsNeverTakenForSaved)
{
    // Kelto4.lgn is a link to nothing: it can't be opened, and waiting won't mend it.
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), dir.filePath(QStringLiteral("Kelto4.lgn"))));
    const CUserFileAccess quick(3, 1);
    EXPECT_EQ(RunLogIn(folder, {Press(QStringLiteral("Zed"), 1)}, quick), IDOK);
    ASSERT_EQ(log.entries.size(), 2u);
    EXPECT_NE(log.entries[0].text.find(std::strerror(ENOENT)), std::string::npos) << log.entries[0].text;
    EXPECT_EQ(log.entries[1].text, CLogInDlg::kNotSaved);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("gone"))));
}
