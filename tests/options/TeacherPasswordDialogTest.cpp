// "Teacher Password..." on the options page: the dialog asks for the old password only when one
// is set, and says what went wrong without closing.
#include "CMessageLog.h"
#include "model/CTeacherPassword.h"
#include "options/CTeacherPasswordDlg.h"
#include "PageTestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace {
struct Attempt {
    QString oldPassword, newPassword, retyped;
};

TEST(TeacherPasswordDialog, AsksTheOldPasswordOnlyWhenOneIsSetAndStaysOpenUntilItIsRight)
{
    struct Case {
        const char* name;
        const char* start; // the file's bytes; "": a password "apple" set; nullptr: no file
        bool oldAsked;
        std::vector<Attempt> attempts; // then Cancel if the dialog is still open
        std::vector<std::string> said;
        const char* password; // the password afterwards; nullptr: none set
    };
    const Case cases[] = {
        {"none set", nullptr, false, {{"", "pear", "pear"}}, {"Teacher Password Set."}, "pear"},
        {"wrong old, then right",
         "",
         true,
         {{"Apple", "pear", "pear"}, {"apple", "pear", "peer"}, {"apple", "pear", "pear"}},
         {"The old teacher's password is not right.", "The new password is not the same as the retyped password.",
          "Teacher Password Set."},
         "pear"},
        {"damaged", "garbage", false, {{"", "fig", "fig"}}, {"Teacher Password Set."}, "fig"},
        {"removed", "", true, {{"apple", "", ""}}, {CTeacherPassword::Message(CTeacherPassword::Change::removed)}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        const std::string path = CTeacherPassword::Path(folder);
        if (c.start && !*c.start)
            ASSERT_EQ(CTeacherPassword::ChangePassword(path, "", "apple", "apple", nullptr), CTeacherPassword::Change::set);
        else if (c.start)
            std::ofstream(path) << c.start;
        CMessageLog log;
        CTeacherPasswordDlg dialog(folder);
        EXPECT_EQ(FindControl<QLineEdit>(&dialog, CTeacherPasswordDlg::IDC_OLDPASSWORD)->isEnabled(), c.oldAsked);
        std::size_t next = 0;
        std::function<void()> step = [&] {
            if (!dialog.isVisible()) {
                QTimer::singleShot(10, step);
                return;
            }
            if (next == c.attempts.size()) {
                FindControl<QPushButton>(&dialog, 2)->click();
                return;
            }
            const Attempt& a = c.attempts[next++];
            FindControl<QLineEdit>(&dialog, CTeacherPasswordDlg::IDC_OLDPASSWORD)->setText(a.oldPassword);
            FindControl<QLineEdit>(&dialog, CTeacherPasswordDlg::IDC_NEWPASSWORD)->setText(a.newPassword);
            FindControl<QLineEdit>(&dialog, CTeacherPasswordDlg::IDC_RETYPED)->setText(a.retyped);
            FindControl<QPushButton>(&dialog, 1)->click();
            if (dialog.isVisible())
                QTimer::singleShot(10, step);
        };
        QTimer::singleShot(10, step);
        EXPECT_EQ(dialog.exec(), QDialog::Accepted);
        EXPECT_EQ(log.Texts(), c.said);
        std::string hash;
        const CTeacherPassword::State state = CTeacherPassword::Read(path, hash);
        EXPECT_EQ(state, c.password ? CTeacherPassword::State::set : CTeacherPassword::State::none);
        if (c.password) {
            EXPECT_TRUE(CTeacherPassword::Verify(hash, c.password));
        }
    }
}
}
