#include "users/CLogInRules.h"

#include "model/CPath.h"
#include "model/CUserRecordFiles.h"

#include <algorithm>

bool CLogInRules::IsUsableName(const std::string& name, std::string* why)
{
    static const char* const kProblems[] = {
        nullptr,
        "A user name can't be \".\" or \"..\", because your work is kept in files named after you.",
        "A user name can't hold the character \"/\", because your work is kept in files named after you.",
        "A user name can't hold a zero character, because your work is kept in files named after you.",
        "This user name is too long. Please type a shorter one.",
    };
    if (name.empty())
        return true;
    CPath::NameProblem found = CPath::CheckFileName(name);
    // The longest file named after a learner is a damaged record file's copy.
    if (found == CPath::NameProblem::None)
        found = CPath::CheckFileName(name + CUserRecordFiles::kResultsExtension + CUserRecordFiles::kDamagedSuffix);
    const char* problem = kProblems[int(found)];
    if (problem && why)
        *why = problem;
    return problem == nullptr;
}

CUser* CLogInRules::Find(const std::string& name) const
{
    for (const auto& user : m_users)
        if (user->m_name == name)
            return user.get();
    return nullptr;
}

CLogInRules::Result CLogInRules::LogIn(const std::string& name, const std::string& password, std::string* why)
{
    if (!IsUsableName(name, why))
        return Result::badName;
    if (const CUser* user = Find(name))
        return user->EffectivePassword() == password ? Result::loggedIn : Result::wrongPassword;
    if (!name.empty()) {
        if (!m_changesAllowed)
            return Result::cannotChange;
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
    if (!m_changesAllowed)
        return Result::cannotChange;
    if (removeFromNameList && !removeFromNameList(name))
        return Result::keptInList;
    const auto it = std::find_if(m_users.begin(), m_users.end(),
                                 [user](const std::unique_ptr<CUser>& u) { return u.get() == user; });
    m_users.erase(it);
    m_modified = true;
    return Result::deleted;
}
