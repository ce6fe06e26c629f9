#include "options/CTeacherPasswordDlg.h"

#include "model/CPath.h"
#include "model/KMessage.h"
#include "platform/CControlIds.h"
#include "platform/CFormBuilder.h"
#include "platform/COkCancelButtons.h"
#include "platform/CQtText.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CTeacherPasswordDlg::CTeacherPasswordDlg(std::string userFolder, QWidget* parent)
    : QDialog(parent)
    , m_path(userFolder.empty() ? std::string() : CPath::ToNative(CTeacherPassword::Path(userFolder)))
    , m_state(CTeacherPassword::State::none)
    , m_intro(new QLabel)
{
    CFormBuilder c(this, nullptr);
    m_old = c.PasswordEdit(IDC_OLDPASSWORD);
    m_new = c.PasswordEdit(IDC_NEWPASSWORD);
    m_retyped = c.PasswordEdit(IDC_RETYPED);
    setWindowTitle(QStringLiteral("Teacher Password"));
    std::string hash;
    if (!m_path.empty())
        m_state = CTeacherPassword::Read(m_path, hash);
    const char* intro = m_state == CTeacherPassword::State::set       ? kSetText
                        : m_state == CTeacherPassword::State::damaged ? kDamagedText
                                                                      : kNoneText;
    m_intro->setText(QString::fromLatin1(intro));
    m_intro->setWordWrap(true);
    SetControlId(m_intro, IDC_INTRO);
    // The sentence on a few lines, however large the desktop's font.
    m_intro->setMinimumWidth(m_intro->fontMetrics().averageCharWidth() * 50);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Old Password:"), m_old);
    fields->addRow(QStringLiteral("&New Password:"), m_new);
    fields->addRow(QStringLiteral("&Retype New Password:"), m_retyped);
    // Only a password that is set has an old one to type.
    m_old->setEnabled(m_state == CTeacherPassword::State::set);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_intro);
    layout->addLayout(fields);
    layout->addWidget(new COkCancelButtons(this));
    (m_old->isEnabled() ? m_old : m_new)->setFocus();
}

void CTeacherPasswordDlg::accept()
{
    if (m_path.empty()) {
        ShowMessage("No users folder is set. Choose one on the options page first.", MsgIcon::Exclamation);
        return;
    }
    std::string error;
    const CTeacherPassword::Change result = CTeacherPassword::ChangePassword(
        m_path, FromQt(m_old->text()), FromQt(m_new->text()), FromQt(m_retyped->text()), &error);
    switch (result) {
    case CTeacherPassword::Change::set:
    case CTeacherPassword::Change::removed:
        ShowMessage(CTeacherPassword::Message(result), MsgIcon::Information);
        QDialog::accept();
        return;
    case CTeacherPassword::Change::saveFailed:
        ShowMessage(std::string(CTeacherPassword::Message(result)) + "\r\n" + CPath::FromNative(error),
                    MsgIcon::Exclamation);
        return;
    case CTeacherPassword::Change::wrongOld:
        m_old->selectAll();
        m_old->setFocus();
        break;
    case CTeacherPassword::Change::notSame:
    case CTeacherPassword::Change::emptyNew:
        m_new->selectAll();
        m_new->setFocus();
        break;
    }
    ShowMessage(CTeacherPassword::Message(result));
}
