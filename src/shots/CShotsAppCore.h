#pragma once
#include "document/CKelto4AppCore.h"

#include <string>

class CMainFrame;

// The application object's widget-free half for taking pictures: the learner logs in
// without the dialog, and posted commands go to the main window as in the program.
class CShotsAppCore : public CKelto4AppCore {
public:
    explicit CShotsAppCore(std::string learner);
    void SetFrame(CMainFrame* frame) { m_frame = frame; }

    bool RunLogInDialog(const std::string& userFolder, std::string& name, bool& autoLogIn) override;
    bool RunChangePasswordDialog(const std::string& userFolder) override;
    void PostCommand(int id) override;
    void ShowMenu(bool show) override;

private:
    std::string m_learner;
    CMainFrame* m_frame = nullptr;
};
