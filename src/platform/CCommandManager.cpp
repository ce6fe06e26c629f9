#include "platform/CCommandManager.h"

#include "model/CBlockingCall.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QTimer>

CCommandManager::CCommandManager(QObject* parent)
    : QObject(parent)
{
    if (auto* dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CCommandManager::UpdateUi);
}

void CCommandManager::Add(int id, Handler handler, EnableRule rule)
{
    m_commands.insert(id, Command{std::move(handler), std::move(rule)});
}

bool CCommandManager::IsEnabled(int id) const
{
    const auto it = m_commands.constFind(id);
    if (it == m_commands.constEnd() || !it->handler)
        return false;
    return !it->rule || it->rule();
}

bool CCommandManager::Execute(int id)
{
    if (!IsEnabled(id))
        return false;
    // Copy: the handler may replace commands while it runs.
    const Handler handler = m_commands.value(id).handler;
    handler();
    UpdateUi();
    return true;
}

void CCommandManager::Post(int id)
{
    QMetaObject::invokeMethod(this, [this, id] { RunPosted(id); }, Qt::QueuedConnection);
}

void CCommandManager::RunPosted(int id)
{
    // Not inside a call that blocks while the windows paint (a word playing, the wait
    // for the user file): the command would pull the ground from under it.
    if (CBlockingCall::IsRunning()) {
        QTimer::singleShot(20, this, [this, id] { RunPosted(id); });
        return;
    }
    Execute(id);
}

QAction* CCommandManager::Action(int id)
{
    QAction*& action = m_actions[id];
    if (!action) {
        action = new QAction(this);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
        action->setEnabled(IsEnabled(id));
    }
    return action;
}

void CCommandManager::UpdateUi()
{
    for (auto it = m_actions.constBegin(); it != m_actions.constEnd(); ++it) {
        const bool enabled = IsEnabled(it.key());
        if (it.value()->isEnabled() != enabled)
            it.value()->setEnabled(enabled);
    }
}
