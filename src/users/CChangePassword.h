#pragma once
#include "model/COwnedList.h"
#include "model/CUser.h"

#include <string>

// The change-password rule over the accounts of the user file: the name must be an
// account (exact case), the old password its password (a stored single blank being
// none), and the new password typed twice alike. Accounts are neither made nor removed.
class CChangePassword {
public:
    enum Result { Changed, UnknownName, WrongPassword, NotRetyped };

    // On Changed the account's password is the new one exactly as typed (an empty
    // one stays empty); otherwise nothing changes.
    static Result Change(COwnedList<CUser>& users, const std::string& name, const std::string& oldPassword,
                         const std::string& newPassword, const std::string& retypedPassword);
    // The message that tells the user why nothing changed; null for Changed.
    static const char* Message(Result result);
};
