#pragma once
#include <QDialog>

#include <string>

class QLineEdit;

// "Teacher Password": asked before the class view opens, when the user folder has a teacher's
// password. A wrong password is said and the dialog stays open for another try; OK with the
// right one ends it with Accepted.
class CClassUnlockDlg : public QDialog {
    Q_OBJECT
public:
    enum ControlId : int { IDC_PASSWORD = 1080 };
    static constexpr const char* kIntro =
        "The class view shows every learner's results. Type the teacher's password to open it.";

    // hash: the teacher's password as CTeacherPassword keeps it.
    explicit CClassUnlockDlg(std::string hash, QWidget* parent = nullptr);

    // May the class view of userFolder open? Asks for the password when one is set; says so
    // when a damaged password file keeps the view locked.
    static bool Unlock(const std::string& userFolder, QWidget* parent);

protected:
    void accept() override;

private:
    std::string m_hash;
    QLineEdit* m_password;
};
