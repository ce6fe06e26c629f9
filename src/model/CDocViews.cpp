#include "model/CDocViews.h"

#include <algorithm>

void CDocViews::AddView(CDocView* view)
{
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CDocViews::RemoveView(CDocView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CDocViews::UpdateAllViews(CDocView* sender, long hint)
{
    // A view may add or remove views while it updates; walk a copy.
    const std::vector<CDocView*> views = m_views;
    for (CDocView* view : views)
        if (view != sender && std::find(m_views.begin(), m_views.end(), view) != m_views.end())
            view->OnUpdate(sender, hint);
}

void CDocViews::SendInitialUpdate()
{
    const std::vector<CDocView*> views = m_views;
    for (CDocView* view : views)
        if (std::find(m_views.begin(), m_views.end(), view) != m_views.end())
            view->OnInitialUpdate();
}
