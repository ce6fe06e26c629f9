#pragma once
#include "model/CTeacherPassword.h"

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;

// "Teacher Password...": sets, changes or removes the teacher's password of the user folder,
// which the class view on the reports page asks for. With a password set, the old one is asked
// first; with none set, or a damaged password file, only the new one twice. Leaving the new
// password empty removes one that is set. It ends with Accepted once the change is saved and said.
class CTeacherPasswordDlg : public QDialog {
    Q_OBJECT
public:
    enum ControlId : int { IDC_INTRO = 1047, IDC_OLDPASSWORD = 1048, IDC_NEWPASSWORD = 1049, IDC_RETYPED = 1050 };
    static constexpr const char* kNoneText =
        "No teacher's password is set yet, so anybody can open the class view on the reports page. "
        "Type a new password twice to keep the class's results for the teacher.";
    static constexpr const char* kSetText =
        "Type the old teacher's password, then the new one twice. Leave the new password empty to "
        "remove the teacher's password.";
    static constexpr const char* kDamagedText =
        "The teacher's password file is damaged, so the class view is locked. Type a new password twice "
        "to set it again.";

    // userFolder: Windows-1252, where the password file lies.
    explicit CTeacherPasswordDlg(std::string userFolder, QWidget* parent = nullptr);

    CTeacherPassword::State GetState() const { return m_state; }

protected:
    void accept() override;

private:
    std::string m_path;
    CTeacherPassword::State m_state;
    QLabel* m_intro;
    QLineEdit* m_old;
    QLineEdit* m_new;
    QLineEdit* m_retyped;
};
