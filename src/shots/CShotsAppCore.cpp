#include "shots/CShotsAppCore.h"

#include "app/CMainFrame.h"
#include "platform/CCommandManager.h"

CShotsAppCore::CShotsAppCore(std::string learner)
    : m_learner(std::move(learner))
{
}

bool CShotsAppCore::RunLogInDialog(const std::string&, std::string& name, bool& autoLogIn)
{
    name = m_learner;
    autoLogIn = false;
    return true;
}

bool CShotsAppCore::RunChangePasswordDialog(const std::string&)
{
    return false;
}

void CShotsAppCore::PostCommand(int id)
{
    if (m_frame)
        m_frame->Commands().Post(id);
}

void CShotsAppCore::ShowMenu(bool show)
{
    if (m_frame)
        m_frame->ShowMenu(show);
}
