#include "platform/CCommandManager.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

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
    QMetaObject::invokeMethod(this, [this, id] { Execute(id); }, Qt::QueuedConnection);
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
