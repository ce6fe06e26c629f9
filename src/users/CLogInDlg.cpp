#include "users/CLogInDlg.h"

#include "model/KMessage.h"
#include "platform/CQtText.h"
#include "users/CUserNameBox.h"
#include "users/CWaitUi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {
const CFormControl kTemplate[] = {
    {CFormControl::Label, 0, CLogInDlg::kIntro, 7, 7, 176, 18},
    {CFormControl::Label, 0, "User Name:", 7, 30, 112, 8},
    {CFormControl::ComboBox, CLogInDlg::IDC_USERNAME, nullptr, 7, 40, 112, 13},
    {CFormControl::Label, 0, "Password:", 7, 58, 112, 8},
    {CFormControl::PasswordEdit, CLogInDlg::IDC_PASSWORD, nullptr, 7, 68, 112, 13},
    {CFormControl::CheckBox, CLogInDlg::IDC_AUTOLOGIN, "Log in automatically next time.", 7, 96, 176, 10},
    {CFormControl::Button, 1, "OK", 133, 40, 50, 14},
    {CFormControl::Button, 2, "Cancel", 133, 58, 50, 14},
    {CFormControl::Button, CLogInDlg::IDC_DELETENAME, "Delete Name", 133, 76, 50, 14},
};
}

CLogInDlg::CLogInDlg(QWidget* parent, const CUserFileAccess& access)
    : CFormDialog(parent)
    , m_userFile(access)
{
    setWindowTitle(QStringLiteral("Log in to Kelto4"));
    BuildForm(kTemplate, int(std::size(kTemplate)), 190, 114);
    // Enter means OK, not "add the typed name to the list".
    NameBox()->setInsertPolicy(QComboBox::NoInsert);
}

QComboBox* CLogInDlg::NameBox() const
{
    return qobject_cast<QComboBox*>(GetDlgItem(IDC_USERNAME));
}

bool CLogInDlg::OnInitDialog()
{
    CWaitUi wait(this);
    m_userFile.Open(m_userFolder, &wait);
    FillNames();
    m_autoLogIn = false;
    if (auto* box = qobject_cast<QCheckBox*>(GetDlgItem(IDC_AUTOLOGIN)))
        box->setChecked(false);
    m_rules.SetModified(false);
    m_rules.SetChangesAllowed(!m_userFile.IsReadOnly());
    SetFocusTo(IDC_USERNAME);
    return true;
}

void CLogInDlg::FillNames()
{
    CUserNameBox::Fill(NameBox(), m_userFile.Users());
}

void CLogInDlg::ReadControls()
{
    m_userName = GetDlgItemText(IDC_USERNAME);
    m_password = GetDlgItemText(IDC_PASSWORD);
    auto* box = qobject_cast<QCheckBox*>(GetDlgItem(IDC_AUTOLOGIN));
    m_autoLogIn = box && box->isChecked();
}

void CLogInDlg::OnOK()
{
    ReadControls();
    std::string why;
    const CLogInRules::Result result = m_rules.LogIn(m_userName, m_password, &why);
    if (result == CLogInRules::Result::wrongPassword)
        ShowMessage("InCorrect PassWord");
    else if (result == CLogInRules::Result::badName)
        ShowMessage(why, MsgIcon::Exclamation);
    else if (result == CLogInRules::Result::cannotChange)
        ShowMessage(kCannotChange, MsgIcon::Exclamation);
    // Saved even after a wrong password, so an earlier Delete Name isn't lost. The
    // file stays locked, so a later OK in this dialog saves again; after a failed
    // save the dialog stays open and the next OK tries again.
    bool saved = true;
    if (m_rules.IsModified()) {
        if (!m_userFile.IsOpen()) {
            // Nothing can be written: the learner must not think the change is kept
            // (without a user folder there is no file to speak of).
            if (!m_userFile.Path().empty())
                ShowMessage(kNotSaved, MsgIcon::Exclamation);
            m_rules.SetModified(false);
        } else if (!m_userFile.Save()) {
            ShowMessage("The user information file could not be saved.\r\n" + m_userFile.LastError(),
                        MsgIcon::Exclamation);
            saved = false;
        } else {
            m_rules.SetModified(false);
        }
    }
    if (result == CLogInRules::Result::loggedIn && saved)
        EndDialog(IDOK);
}

void CLogInDlg::OnCommand(int id)
{
    if (id == IDC_DELETENAME)
        OnDeleteName();
}

void CLogInDlg::OnDeleteName()
{
    ReadControls();
    QComboBox* combo = NameBox();
    const CLogInRules::Result result = m_rules.DeleteName(m_userName, m_password, [combo](const std::string& name) {
        // The combo box's own exact search, which ignores case.
        const int at = combo->findText(ToQt(name), Qt::MatchFixedString);
        if (at < 0)
            return false;
        combo->removeItem(at);
        return true;
    });
    if (result == CLogInRules::Result::wrongPassword) {
        ShowMessage("InCorrect PassWord");
    } else if (result == CLogInRules::Result::cannotChange) {
        ShowMessage(kCannotChange, MsgIcon::Exclamation);
    } else if (result == CLogInRules::Result::deleted) {
        m_userName.clear();
        m_password.clear();
        combo->setCurrentIndex(-1);
        SetDlgItemText(IDC_USERNAME, m_userName);
        SetDlgItemText(IDC_PASSWORD, m_password);
    }
}
