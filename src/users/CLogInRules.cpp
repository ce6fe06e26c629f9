#include "users/CLogInRules.h"

#include <algorithm>

CUser* CLogInRules::Find(const std::string& name) const
{
    for (const auto& user : m_users)
        if (user->m_name == name)
            return user.get();
    return nullptr;
}

CLogInRules::Result CLogInRules::LogIn(const std::string& name, const std::string& password)
{
    if (const CUser* user = Find(name))
        return user->EffectivePassword() == password ? Result::loggedIn : Result::wrongPassword;
    if (!name.empty()) {
        auto user = std::make_unique<CUser>();
        user->m_name = name;
        user->m_password = password.empty() ? std::string(" ") : password;
        m_users.push_back(std::move(user));
        m_modified = true;
    }
    return Result::loggedIn;
}

CLogInRules::Result CLogInRules::DeleteName(const std::string& name, const std::string& password,
                                            const std::function<bool(const std::string&)>& removeFromNameList)
{
    const CUser* user = Find(name);
    if (!user)
        return Result::notFound;
    if (user->EffectivePassword() != password)
        return Result::wrongPassword;
    if (removeFromNameList && !removeFromNameList(name))
        return Result::keptInList;
    const auto it = std::find_if(m_users.begin(), m_users.end(),
                                 [user](const std::unique_ptr<CUser>& u) { return u.get() == user; });
    m_users.erase(it);
    m_modified = true;
    return Result::deleted;
}
