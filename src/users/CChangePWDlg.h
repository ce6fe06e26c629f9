#pragma once
#include "platform/CFormDialog.h"
#include "users/CUserFile.h"
#include "users/CUserNameBox.h"

#include <string>

class QComboBox;

// "Change Password": picks an account of the user file and sets its new password.
// Opens, locks, waits for and saves the user file exactly as the log-in dialog does.
// It ends with OK only when the new password was saved; a failed save is told with
// the system's reason and the dialog stays open.
class CChangePWDlg : public CFormDialog {
    Q_OBJECT
public:
    enum ControlId : int { IDC_USERNAME = CUserNameBox::kControlId, IDC_OLDPASSWORD = 1048, IDC_NEWPASSWORD = 1049, IDC_RETYPED = 1050 };
    static constexpr const char* kIntro = "Select the User Name,\n\rType Old and New Passwords to Change Password";

    // access: how the user file reaches the system (tests give their own).
    explicit CChangePWDlg(QWidget* parent = nullptr, const CUserFileAccess& access = CUserFileAccess::System());

    // Set before DoModal: where the user file lies.
    std::string m_userFolder;

    const CUserFile& UserFile() const { return m_userFile; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    QComboBox* NameBox() const;

    CUserFile m_userFile;
    bool m_modified = false;
};
