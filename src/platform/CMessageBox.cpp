#include "platform/CMessageBox.h"

#include "platform/CQtText.h"

#include <QApplication>
#include <QMessageBox>

void CMessageBox::Install()
{
    SetMessageHandler([](const std::string& text, MsgIcon icon, MsgButtons buttons) {
        return Show(QApplication::activeWindow(), text, icon, buttons);
    });
}

int CMessageBox::Show(QWidget* parent, const std::string& text, MsgIcon icon, MsgButtons buttons)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("Kelto4"));
    box.setText(ToQtDisplay(text));
    switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Stop: box.setIcon(QMessageBox::Critical); break;
    }
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default: return IDOK;
    }
}
