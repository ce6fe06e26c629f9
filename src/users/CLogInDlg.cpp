#include "users/CLogInDlg.h"

#include "model/KMessage.h"
#include "platform/CQtText.h"
#include "users/CUserNameBox.h"
#include "users/CWaitUi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CLogInDlg::CLogInDlg(QWidget* parent, const CUserFileAccess& access)
    : CFormDialog(parent)
    , m_userFile(access)
{
    setWindowTitle(QStringLiteral("Log in to Kelto4"));
    CFormBuilder& c = Controls();
    QLabel* intro = c.Label(kIntro);
    QComboBox* name = c.ComboBox(IDC_USERNAME);
    QLabel* nameLabel = c.Label("User Name:", name);
    QLineEdit* password = c.PasswordEdit(IDC_PASSWORD);
    QLabel* passwordLabel = c.Label("Password:", password);
    QCheckBox* autoLogIn = c.CheckBox(IDC_AUTOLOGIN, "Log in automatically next time.");
    QPushButton* ok = c.Button(1, "OK");
    QPushButton* cancel = c.Button(2, "Cancel");
    QPushButton* deleteName = c.Button(IDC_DELETENAME, "Delete Name");
    SetDefaultButton(IDOK);
    CFormBuilder::SetMnemonic(name, QLatin1Char('U'));
    CFormBuilder::SetMnemonic(password, QLatin1Char('P'));
    CFormBuilder::SetMnemonic(autoLogIn, QLatin1Char('A'));
    CFormBuilder::SetMnemonic(deleteName, QLatin1Char('D'));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {ok, cancel, deleteName})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addSpacing(6);
    for (QWidget* w : {static_cast<QWidget*>(nameLabel), static_cast<QWidget*>(name),
                       static_cast<QWidget*>(passwordLabel), static_cast<QWidget*>(password),
                       static_cast<QWidget*>(autoLogIn)})
        layout->addWidget(w);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    name->setMinimumWidth(fontMetrics().averageCharWidth() * 28);
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
