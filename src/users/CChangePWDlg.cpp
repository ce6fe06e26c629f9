#include "users/CChangePWDlg.h"

#include "model/KMessage.h"
#include "platform/CQtText.h"
#include "users/CChangePassword.h"
#include "users/CLogInRules.h"
#include "users/CUserNameBox.h"
#include "users/CWaitUi.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CChangePWDlg::CChangePWDlg(QWidget* parent, const CUserFileAccess& access)
    : CFormDialog(parent)
    , m_userFile(access)
{
    setWindowTitle(QStringLiteral("Change Password"));
    CFormBuilder& c = Controls();
    QLabel* intro = c.Label(kIntro);
    QComboBox* name = c.ComboBox(IDC_USERNAME);
    QLabel* nameLabel = c.Label("User Name:", name);
    QLineEdit* oldPassword = c.PasswordEdit(IDC_OLDPASSWORD);
    QLabel* oldLabel = c.Label("Old Password:", oldPassword);
    QLineEdit* newPassword = c.PasswordEdit(IDC_NEWPASSWORD);
    QLabel* newLabel = c.Label("New Password:", newPassword);
    QLineEdit* retyped = c.PasswordEdit(IDC_RETYPED);
    CFormBuilder::Name(retyped, QStringLiteral("Retyped Password"));
    QPushButton* ok = c.Button(1, "OK");
    QPushButton* cancel = c.Button(2, "Cancel");
    SetDefaultButton(IDOK);
    CFormBuilder::SetMnemonic(name, QLatin1Char('U'));
    CFormBuilder::SetMnemonic(oldPassword, QLatin1Char('O'));
    CFormBuilder::SetMnemonic(newPassword, QLatin1Char('N'));
    CFormBuilder::SetMnemonic(retyped, QLatin1Char('R'));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addSpacing(6);
    for (QWidget* w : {static_cast<QWidget*>(nameLabel), static_cast<QWidget*>(name), static_cast<QWidget*>(oldLabel),
                       static_cast<QWidget*>(oldPassword), static_cast<QWidget*>(newLabel),
                       static_cast<QWidget*>(newPassword), static_cast<QWidget*>(retyped)})
        layout->addWidget(w);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    name->setMinimumWidth(fontMetrics().averageCharWidth() * 28);
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
