#pragma once
#include "model/COwnedList.h"
#include "model/CUser.h"

#include <functional>
#include <string>

// The rules of the log-in dialog over a list of accounts, without any widget: who may
// log in, how a new account is made, how one is deleted. Names and passwords are
// compared exactly, case included, and never trimmed.
class CLogInRules {
public:
    explicit CLogInRules(COwnedList<CUser>& users) : m_users(users) {}

    enum class Result {
        loggedIn,      // an account with that password, a new account, or the empty name
        wrongPassword, // "InCorrect PassWord"; the dialog stays open
        notFound,      // Delete Name only: no such account, nothing happens
        deleted,       // Delete Name only
        keptInList,    // Delete Name only: the name list had no entry for it
        badName,       // OK only: the name can't name the learner's record files
        cannotChange,  // the accounts may not change now (the user file wasn't read whole)
    };

    // Can name be a learner's name? The records are kept in files named after it, so it
    // must not hold "/" or a zero byte, be "." or "..", or be too long for a file name.
    // The empty name (nobody logged in) is fine. why (if given) gets a sentence saying why not.
    static bool IsUsableName(const std::string& name, std::string* why = nullptr);

    // The first account with exactly that name, or null.
    CUser* Find(const std::string& name) const;

    // OK: a name that can't be used is refused first (why, if given, says why); a known
    // name needs its password; an unknown, non-empty name becomes a new account (an
    // empty password is stored as a single blank) and marks the list modified, unless
    // changes are not allowed; the empty name logs nobody in.
    Result LogIn(const std::string& name, const std::string& password, std::string* why = nullptr);

    // Delete Name: a known name with its password is deleted, provided the name list
    // shown to the user lets go of it: removeFromNameList(name) is asked first and
    // returns whether it found and removed an entry (the dialog's combo box searches
    // ignoring case). A deletion marks the list modified. With changes not allowed, a
    // known name with its password gives cannotChange.
    Result DeleteName(const std::string& name, const std::string& password,
                      const std::function<bool(const std::string&)>& removeFromNameList);

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    // Accounts may be added and deleted (the default).
    void SetChangesAllowed(bool allowed) { m_changesAllowed = allowed; }

private:
    COwnedList<CUser>& m_users;
    bool m_modified = false;
    bool m_changesAllowed = true;
};
