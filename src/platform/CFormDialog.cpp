#include "platform/CFormDialog.h"

#include "platform/CControlIds.h"

#include <QApplication>
#include <QPushButton>

CFormDialog::CFormDialog(QWidget* parent)
    : QDialog(parent)
    , m_builder(this, [this](int id) { Dispatch(id); })
{
    setFont(DialogFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

QFont CFormDialog::DialogFont()
{
    return QApplication::font("QDialog");
}

void CFormDialog::SetDefaultButton(int id)
{
    const auto buttons = findChildren<QPushButton*>();
    for (QPushButton* button : buttons)
        button->setDefault(GetControlId(button) == id);
}

void CFormDialog::Dispatch(int id)
{
    emit commandClicked(id);
    if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
    else
        OnCommand(id);
}

int CFormDialog::DoModal()
{
    if (!OnInitDialog())
        return IDCANCEL;
    const int result = exec();
    return result == QDialog::Rejected ? int(IDCANCEL) : result;
}

QWidget* CFormDialog::GetDlgItem(int id) const
{
    return FindControl<QWidget>(this, id);
}

std::string CFormDialog::GetDlgItemText(int id) const
{
    return CFormBuilder::GetText(GetDlgItem(id));
}

void CFormDialog::SetDlgItemText(int id, const std::string& text)
{
    CFormBuilder::SetText(GetDlgItem(id), text);
}

void CFormDialog::EnableDlgItem(int id, bool enable)
{
    if (QWidget* w = GetDlgItem(id))
        w->setEnabled(enable);
}

void CFormDialog::ShowDlgItem(int id, bool show)
{
    if (QWidget* w = GetDlgItem(id))
        w->setVisible(show);
}

void CFormDialog::SetFocusTo(int id)
{
    if (QWidget* w = GetDlgItem(id))
        w->setFocus(Qt::OtherFocusReason);
}
