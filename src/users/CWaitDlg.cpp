#include "users/CWaitDlg.h"

#include "platform/CQtText.h"

namespace {
const CFormControl kTemplate[] = {
    {CFormControl::CenterLabel, 0, CWaitDlg::kText, 10, 14, 170, 20},
    {CFormControl::Button, 1, "OK", 20, 44, 50, 14},
    {CFormControl::Button, 2, "Cancel", 120, 44, 50, 14},
};
}

CWaitDlg::CWaitDlg(QWidget* parent)
    : CFormDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Keltora Loading..."));
    BuildForm(kTemplate, int(std::size(kTemplate)), 190, 48);
    ShowDlgItem(1, false);
    ShowDlgItem(2, false);
}
