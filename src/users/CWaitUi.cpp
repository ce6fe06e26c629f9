#include "users/CWaitUi.h"

#include "model/CBlockingCall.h"
#include "users/CWaitDlg.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

namespace {
int s_waiting = 0;
}

CWaitUi::~CWaitUi()
{
    EndWait();
}

bool CWaitUi::IsWaiting()
{
    return s_waiting > 0;
}

void CWaitUi::BeginWait()
{
    if (!m_waitDlg) {
        // Its own window: the owner may not be on screen yet (the log-in dialog
        // waits for the file before it shows itself).
        m_waitDlg = new CWaitDlg(m_owner && m_owner->isVisible() ? m_owner : nullptr);
        m_waitDlg->show();
    } else {
        m_waitDlg->raise();
        m_waitDlg->activateWindow();
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CWaitUi::Pause(int milliseconds)
{
    // Lists handed over meanwhile, and posted commands, wait for the user file too.
    CBlockingCall blocking;
    ++s_waiting;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    --s_waiting;
}

void CWaitUi::EndWait()
{
    if (m_waitDlg)
        m_waitDlg->close();
}
