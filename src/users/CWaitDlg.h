#pragma once
#include "platform/CFormDialog.h"

// "Keltora Loading...": shown, modeless, while the user file is busy in another copy
// of the program. Its OK and Cancel buttons are hidden; Enter and Escape close it.
// It deletes itself when closed, which clears every QPointer to it.
class CWaitDlg : public CFormDialog {
    Q_OBJECT
public:
    explicit CWaitDlg(QWidget* parent = nullptr);

    static constexpr const char* kText =
        "Kelto4 is waiting for the user information file(up to 3 minutes).";

protected:
    // Ending the dialog closes it, and a closed dialog deletes itself.
    void OnOK() override { EndDialog(IDOK); }
    void OnCancel() override { EndDialog(IDCANCEL); }
};
