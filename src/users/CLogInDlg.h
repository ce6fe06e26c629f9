#pragma once
#include "platform/CFormDialog.h"
#include "users/CLogInRules.h"
#include "users/CUserFile.h"
#include "users/CUserNameBox.h"

#include <string>

class QComboBox;

// "Log in to Kelto4": pick or type a user name, type the password, tick "Log in
// automatically next time.". A new name makes a new account; "Delete Name" removes
// one. The user file stays open and locked from OnInitDialog until the dialog is
// destroyed, and is saved at OK whenever the list was changed; when that save fails
// the dialog says why and stays open. A name that can't name the learner's record
// files is refused with the reason.
class CLogInDlg : public CFormDialog {
    Q_OBJECT
public:
    enum ControlId : int {
        IDC_USERNAME = CUserNameBox::kControlId,
        IDC_PASSWORD = 1048,
        IDC_AUTOLOGIN = 1041,
        IDC_DELETENAME = 1047,
    };
    static constexpr const char* kIntro = "Log in to keep a record of your work.\n\rA blank password is OK.";
    // A new name or Delete Name while the user file could not be read whole.
    static constexpr const char* kCannotChange =
        "The user information file could not be read to its end, so no user can be added or deleted now.";
    // A new name or Delete Name while the user file could not be opened at all: the
    // typed name still logs in, this time only.
    static constexpr const char* kNotSaved =
        "The user information file could not be opened, so the change to the user names was not saved. "
        "A new name is logged in this time only and must be typed again next time; a deleted name is still there.";

    // access: how the user file reaches the system (tests give their own).
    explicit CLogInDlg(QWidget* parent = nullptr, const CUserFileAccess& access = CUserFileAccess::System());

    // Set before DoModal: where the user file lies.
    std::string m_userFolder;
    // After OK: the typed name (perhaps empty) and the box.
    std::string m_userName;
    std::string m_password;
    bool m_autoLogIn = false;

    const CUserFile& UserFile() const { return m_userFile; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCommand(int id) override;

private:
    void OnDeleteName();
    void ReadControls();
    void FillNames();
    QComboBox* NameBox() const;

    CUserFile m_userFile;
    CLogInRules m_rules{m_userFile.Users()};
};
