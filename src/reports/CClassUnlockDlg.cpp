#include "reports/CClassUnlockDlg.h"

#include "model/CPath.h"
#include "model/CTeacherPassword.h"
#include "model/KMessage.h"
#include "platform/CControlIds.h"
#include "platform/COkCancelButtons.h"
#include "platform/CQtText.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CClassUnlockDlg::CClassUnlockDlg(std::string hash, QWidget* parent)
    : QDialog(parent)
    , m_hash(std::move(hash))
    , m_password(new QLineEdit)
{
    setWindowTitle(QStringLiteral("Teacher Password"));
    auto* intro = new QLabel(QString::fromLatin1(kIntro));
    intro->setWordWrap(true);
    m_password->setEchoMode(QLineEdit::Password);
    SetControlId(m_password, IDC_PASSWORD);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Teacher's Password:"), m_password);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(fields);
    layout->addWidget(new COkCancelButtons(this));
    // Wide enough for the sentence on two lines, whatever the font.
    intro->setMinimumWidth(intro->fontMetrics().averageCharWidth() * 45);
    m_password->setFocus();
}

void CClassUnlockDlg::accept()
{
    if (!CTeacherPassword::Verify(m_hash, FromQt(m_password->text()))) {
        ShowMessage(CTeacherPassword::kWrongPasswordText, MsgIcon::Exclamation);
        m_password->selectAll();
        m_password->setFocus();
        return;
    }
    QDialog::accept();
}

bool CClassUnlockDlg::Unlock(const std::string& userFolder, QWidget* parent)
{
    std::string hash;
    switch (CTeacherPassword::Read(CPath::ToNative(CTeacherPassword::Path(userFolder)), hash)) {
    case CTeacherPassword::State::none:
        return true;
    case CTeacherPassword::State::damaged:
        ShowMessage(CTeacherPassword::kDamagedText, MsgIcon::Exclamation);
        return false;
    case CTeacherPassword::State::set:
        break;
    }
    CClassUnlockDlg dialog(std::move(hash), parent);
    return dialog.exec() == QDialog::Accepted;
}
