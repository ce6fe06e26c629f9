#include "users/CWaitDlg.h"

#include "platform/CQtText.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CWaitDlg::CWaitDlg(QWidget* parent)
    : CFormDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Keltora Loading..."));
    CFormBuilder& c = Controls();
    QLabel* text = c.Label(kText);
    text->setAlignment(Qt::AlignCenter);
    text->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    QPushButton* ok = c.Button(1, "OK");
    QPushButton* cancel = c.Button(2, "Cancel");
    SetDefaultButton(IDOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(ok);
    layout->addWidget(cancel);
    ShowDlgItem(1, false);
    ShowDlgItem(2, false);
}
