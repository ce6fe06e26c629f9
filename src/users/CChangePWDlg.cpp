#include "users/CChangePWDlg.h"

#include "model/KMessage.h"
#include "platform/CQtText.h"
#include "users/CChangePassword.h"
#include "users/CLogInRules.h"
#include "users/CUserNameBox.h"
#include "users/CWaitUi.h"

#include <QComboBox>

namespace {
const CFormControl kTemplate[] = {
    {CFormControl::Label, 0, CChangePWDlg::kIntro, 7, 7, 176, 18},
    {CFormControl::Label, 0, "User Name:", 7, 30, 112, 8},
    {CFormControl::ComboBox, CChangePWDlg::IDC_USERNAME, nullptr, 7, 40, 112, 13},
    {CFormControl::Label, 0, "Old Password:", 7, 58, 112, 8},
    {CFormControl::PasswordEdit, CChangePWDlg::IDC_OLDPASSWORD, nullptr, 7, 68, 112, 13},
    {CFormControl::Label, 0, "New Password:", 7, 86, 112, 8},
    {CFormControl::PasswordEdit, CChangePWDlg::IDC_NEWPASSWORD, nullptr, 7, 96, 112, 13},
    {CFormControl::PasswordEdit, CChangePWDlg::IDC_RETYPED, nullptr, 7, 114, 112, 13, CFormControl::GrowAuto,
     "Retyped Password"},
    {CFormControl::Button, 1, "OK", 133, 40, 50, 14},
    {CFormControl::Button, 2, "Cancel", 133, 58, 50, 14},
};
}

CChangePWDlg::CChangePWDlg(QWidget* parent, const CUserFileAccess& access)
    : CFormDialog(parent)
    , m_userFile(access)
{
    setWindowTitle(QStringLiteral("Change Password"));
    BuildForm(kTemplate, int(std::size(kTemplate)), 190, 136);
    NameBox()->setInsertPolicy(QComboBox::NoInsert);
}

QComboBox* CChangePWDlg::NameBox() const
{
    return qobject_cast<QComboBox*>(GetDlgItem(IDC_USERNAME));
}

bool CChangePWDlg::OnInitDialog()
{
    CWaitUi wait(this);
    m_userFile.Open(m_userFolder, &wait);
    CUserNameBox::Fill(NameBox(), m_userFile.Users());
    m_modified = false;
    SetFocusTo(IDC_USERNAME);
    return true;
}

void CChangePWDlg::OnOK()
{
    const std::string name = GetDlgItemText(IDC_USERNAME);
    CUser* user = CLogInRules(m_userFile.Users()).Find(name);
    const std::string previous = user ? user->m_password : std::string();
    const CChangePassword::Result result =
        CChangePassword::Change(m_userFile.Users(), name, GetDlgItemText(IDC_OLDPASSWORD),
                                GetDlgItemText(IDC_NEWPASSWORD), GetDlgItemText(IDC_RETYPED));
    if (result != CChangePassword::Changed) {
        ShowMessage(CChangePassword::Message(result));
        return;
    }
    m_modified = true;
    if (!m_userFile.Save()) {
        // The old password is still the one on disk, so the next try starts from it.
        user->m_password = previous;
        m_modified = false;
        ShowMessage("The user information file could not be saved.\r\n" + m_userFile.LastError(),
                    MsgIcon::Exclamation);
        return;
    }
    m_modified = false;
    m_userFile.Close();
    EndDialog(IDOK);
}
