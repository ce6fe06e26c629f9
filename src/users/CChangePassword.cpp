#include "users/CChangePassword.h"

CChangePassword::Result CChangePassword::Change(COwnedList<CUser>& users, const std::string& name,
                                                const std::string& oldPassword, const std::string& newPassword,
                                                const std::string& retypedPassword)
{
    CUser* user = nullptr;
    for (const auto& candidate : users) {
        if (candidate->m_name == name) {
            user = candidate.get();
            break;
        }
    }
    if (!user)
        return UnknownName;
    if (user->EffectivePassword() != oldPassword)
        return WrongPassword;
    if (newPassword != retypedPassword)
        return NotRetyped;
    user->m_password = newPassword;
    return Changed;
}

const char* CChangePassword::Message(Result result)
{
    switch (result) {
    case UnknownName:
        return "Incorrect User Name";
    case WrongPassword:
        return "Incorrect PassWord";
    case NotRetyped:
        return "The New Password is not the same as the Retyped Password";
    case Changed:
        break;
    }
    return nullptr;
}
