#pragma once
#include "platform/CReadingStyle.h"

#include <functional>
#include <string>

class CKelto4Doc;

// The options page's working copies of the settings and the rules that load them
// from, and store them to, the application and the document. Nothing is stored
// until Apply; Load throws every edit away.
class COptionsEditor {
public:
    explicit COptionsEditor(CKelto4Doc& document);

    std::string m_defaultSoundFolder;
    std::string m_defaultImage;
    int m_imageStretch = 0; // 0 = "Stretch", 1 = "Center"
    bool m_autoLogInEnabled = false; // the "Log In Automatically" box can be used
    bool m_autoLogIn = false;
    bool m_randomizeList = false;
    bool m_showMenu = false;
    std::string m_defaultUserFolder;
    bool m_showFeedback = false;
    bool m_correctMistakes = true;
    // Spoken words
    bool m_speakMissingWords = true;
    std::string m_voice;
    int m_speechRate = 150;
    // Reading
    CReadingStyle m_reading;

    void Load();
    // readControls runs after the current sound folder setting is read and before
    // anything is compared, so the page can copy its controls in between.
    void Apply(const std::function<void()>& readControls = {});

    // A chosen folder replaces the edit only when it is a different, non-empty one;
    // true when it did.
    bool ChooseSoundFolder(const std::string& chosen);
    bool ChooseUserFolder(const std::string& chosen);
    void ChoosePicture(const std::string& path);

    // The picture dialog's filter as the program has always named it.
    static const char* const kPictureFilter;
    // A Windows filter ("Name|*.A;*.B|...||") in Qt's form ("Name(*.a *.b);;..."), each
    // pattern matching its extension in any letter case.
    static std::string QtFilterFromWindows(const std::string& windowsFilter);

private:
    CKelto4Doc& m_document;
};
