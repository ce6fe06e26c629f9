#pragma once
#include "users/CUserFileWaiter.h"

#include <QPointer>

#include "users/CWaitDlg.h"
class QWidget;

// The GUI's way of waiting for a busy user file: the wait dialog stays up from the
// first attempt to the last, and between attempts a local event loop keeps every
// window painted while user input stays out (the program waits; it doesn't respond).
class CWaitUi : public CUserFileWaiter {
public:
    explicit CWaitUi(QWidget* owner = nullptr) : m_owner(owner) {}
    ~CWaitUi() override;

    void BeginWait() override;
    void Pause(int milliseconds) override;
    void EndWait() override;

    // The wait dialog while one is shown, else null.
    CWaitDlg* WaitDialog() const { return m_waitDlg; }
    // Whether any copy of CWaitUi is waiting right now (callers then put work off).
    static bool IsWaiting();

private:
    QWidget* m_owner;
    QPointer<CWaitDlg> m_waitDlg;
};
