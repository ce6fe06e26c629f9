#pragma once
#include "document/CKelto4AppCore.h"

#include <QApplication>
#include <QString>
#include <memory>

class CKelto4Doc;
class CMainFrame;
class QLocalServer;

// The application object: settings and log-in (from CKelto4AppCore), the one
// document, the main window, and the local socket through which a list opened from
// the file manager reaches the copy that is already running.
class CKelto4App : public QApplication, public CKelto4AppCore {
    Q_OBJECT
public:
    CKelto4App(int& argc, char** argv);
    ~CKelto4App() override;

    // The start-up; false ends the program at once.
    bool InitInstance();

    bool RunLogInDialog(const std::string& userFolder, std::string& name, bool& autoLogIn) override;
    bool RunChangePasswordDialog(const std::string& userFolder) override;
    void PostCommand(int id) override;
    void ShowMenu(bool show) override;

    CKelto4Doc* Document() const { return m_document.get(); }
    CMainFrame* MainFrame() const { return m_frame.get(); }

    // Hands a file to a running copy; true when one took it.
    static bool ForwardToRunningCopy(const QString& file);
    // The local socket through which the hand-over goes ("" when the user has no runtime folder).
    static QString HandOverSocket();

private:
    void ListenForShellOpen();
    // Opens a list handed over by another copy, or keeps it until it can be opened.
    void OpenFromShell(const QString& path);

    std::unique_ptr<CKelto4Doc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    QLocalServer* m_server = nullptr;
    QString m_pendingShellOpen;
};
