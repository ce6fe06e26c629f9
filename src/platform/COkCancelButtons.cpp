#include "platform/COkCancelButtons.h"

#include "platform/CControlIds.h"

#include <QDialog>
#include <QPushButton>

COkCancelButtons::COkCancelButtons(QDialog* dialog)
    : QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog)
{
    SetControlId(button(QDialogButtonBox::Ok), 1);
    SetControlId(button(QDialogButtonBox::Cancel), 2);
    connect(this, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    connect(this, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
}
