#pragma once
#include "shots/CShotsAppCore.h"

#include <QImage>

#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CKelto4Doc;
class CMainFrame;
class CFormView;
class QWidget;

// Takes the user guide's pictures: the real main window with the sample learner logged
// in, walked through its pages and dialogs by their commands and buttons, as a parent
// would go. Each picture is saved as PNG and listed in the manifest with its sources.
class CScreenshots {
public:
    // The main window's size in every picture of it.
    static constexpr int kWidth = 1000;
    static constexpr int kHeight = 700;
    // Thursday 11 June 2026, 09:00: the day every picture is taken on.
    static std::time_t PictureDay();

    // The sample learner's user folder must exist; sourceRoot is the source tree, whose
    // docs/images receives the pictures and the manifest.
    CScreenshots(std::string sourceRoot, std::string userFolder);
    ~CScreenshots();
    CScreenshots(const CScreenshots&) = delete;
    CScreenshots& operator=(const CScreenshots&) = delete;

    // Takes every picture in order (each step goes on from the one before); false when one
    // could not be taken or saved, or the program showed a message on the way.
    bool Run();

private:
    struct Picture {
        const char* file;
        // The files that lay out what the picture shows, beside those of every picture.
        std::vector<std::string> sources;
        std::function<QImage()> take;
    };
    std::vector<Picture> Pictures();

    QImage Window();
    // Runs open, which shows a modal dialog and waits for it; the dialog is pictured
    // (after prepare, if given) and closed.
    QImage Modal(const std::function<void()>& open, const std::function<void(QWidget*)>& prepare = {});
    CFormView* Page(int n) const;
    void Command(int id);
    void Click(CFormView* page, int id);
    void Type(CFormView* page, int id, const char* text);

    std::string m_sourceRoot;
    CShotsAppCore m_app;
    std::unique_ptr<CKelto4Doc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    std::vector<std::string> m_messages;
};
