#pragma once
#include "document/CKelto4AppCore.h"

#include <functional>
#include <string>
#include <vector>

// The application's widget-free half for tests: the log-in dialog is answered by a
// function, posted commands are recorded instead of run.
class CTestAppCore : public CKelto4AppCore {
public:
    // Answers the log-in dialog: fill name and autoLogIn, return false for Cancel.
    // Unset: the dialog is cancelled.
    std::function<bool(const std::string& userFolder, std::string& name, bool& autoLogIn)> logIn;
    // Runs "Change Password"; unset: it is cancelled.
    std::function<bool(const std::string& userFolder)> changePassword;
    std::vector<int> posted;
    std::vector<bool> menuCalls;

    bool RunLogInDialog(const std::string& userFolder, std::string& name, bool& autoLogIn) override
    {
        return logIn ? logIn(userFolder, name, autoLogIn) : false;
    }
    bool RunChangePasswordDialog(const std::string& userFolder) override
    {
        return changePassword ? changePassword(userFolder) : false;
    }
    void PostCommand(int id) override { posted.push_back(id); }
    void ShowMenu(bool show) override { menuCalls.push_back(show); }
};
