#pragma once
#include "model/KMessage.h"
#include "platform/CFormBuilder.h"

#include <QDialog>

#include <string>

// A dialog whose controls are made through Controls() (see CFormBuilder) and arranged
// with Qt layouts of its own, run the way the program's dialogs run: DoModal calls OnInitDialog, then shows the dialog modally. Button 1
// calls OnOK, button 2 (and Escape, and the close box) OnCancel; any other button,
// check box or radio button calls OnCommand with its id. Enter clicks the default
// button (button 1 unless SetDefaultButton says otherwise).
class CFormDialog : public QDialog {
    Q_OBJECT
public:
    explicit CFormDialog(QWidget* parent = nullptr);

    // IDOK or IDCANCEL (or whatever EndDialog was given).
    int DoModal();

    QWidget* GetDlgItem(int id) const;
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    void EnableDlgItem(int id, bool enable);
    void ShowDlgItem(int id, bool show);
    void SetFocusTo(int id);

    // The dialogs' font: the desktop's dialog font.
    static QFont DialogFont();

signals:
    // A button of the template was clicked; id is its control id.
    void commandClicked(int id);

protected:
    // Makes the dialog's controls, in the order Tab visits them.
    CFormBuilder& Controls() { return m_builder; }
    // Enter clicks this button; normally OK (1).
    void SetDefaultButton(int id);

    // Before the dialog is shown; false ends it at once with IDCANCEL.
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnCommand(int /*id*/) {}
    void EndDialog(int result) { done(result); }

    void reject() override { OnCancel(); }

private:
    void Dispatch(int id);

    CFormBuilder m_builder;
};
