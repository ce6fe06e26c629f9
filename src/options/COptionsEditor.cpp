#include "options/COptionsEditor.h"

#include "document/CKelto4AppCore.h"
#include "document/CKelto4Doc.h"

#include <cctype>

const char* const COptionsEditor::kPictureFilter = "Pictures |*.BMP;*.JPEG;*.JPG;*.JPE;*.JFIF;*.GIF;*.PNG||";

COptionsEditor::COptionsEditor(CKelto4Doc& document)
    : m_document(document)
{
}

void COptionsEditor::Load()
{
    CKelto4AppCore& app = m_document.GetApp();
    m_defaultSoundFolder = app.GetDefaultSoundFolder();
    m_defaultUserFolder = app.GetDefaultUserFolder();
    m_defaultImage = app.GetDefaultImage();
    m_imageStretch = app.GetDefaultImageStretch();
    m_randomizeList = app.GetRandomizeList() != 0;
    m_showMenu = app.GetShowMenu() != 0;
    m_showFeedback = app.GetShowFeedback() != 0;
    m_correctMistakes = app.GetCorrectMistakes() != 0;
    const std::string a = app.GetAuto();
    // The box says whether anybody logs in automatically, not whether this user does.
    m_autoLogInEnabled = !m_document.m_userName.empty();
    if (m_autoLogInEnabled)
        m_autoLogIn = !a.empty();
    m_speakMissingWords = app.GetSpeakMissingWords() != 0;
    m_voice = app.GetVoice();
    m_speechRate = app.GetSpeechRate();
    m_reading = app.GetReadingStyle();
}

void COptionsEditor::Apply(const std::function<void()>& readControls)
{
    CKelto4AppCore& app = m_document.GetApp();
    const std::string s = app.GetDefaultSoundFolder();
    if (readControls)
        readControls();

    if (m_defaultSoundFolder != s && !m_defaultSoundFolder.empty()) {
        app.SetDefaultSoundFolder(m_defaultSoundFolder);
        m_document.m_recorder.SetFolder(m_defaultSoundFolder);
    }
    if (m_defaultUserFolder != app.GetDefaultUserFolder() && !m_defaultUserFolder.empty())
        app.SetDefaultUserFolder(m_defaultUserFolder);
    if (m_defaultImage != m_document.m_picture && !m_defaultImage.empty()) {
        app.SetDefaultImage(m_defaultImage);
        m_document.m_picture = m_defaultImage;
    }
    if (m_document.m_pictureMode != m_imageStretch) {
        m_document.m_pictureMode = m_imageStretch;
        app.SetDefaultImageStretch(m_imageStretch);
    }
    if (!m_document.m_userName.empty()) {
        // Ticking makes this user the automatic one only when nobody was; clearing
        // ends automatic log-in for whoever had it.
        const bool someoneAutomatic = !app.GetAuto().empty();
        if (someoneAutomatic != m_autoLogIn)
            app.SetAuto(m_autoLogIn ? m_document.m_userName : std::string());
    }
    if ((app.GetRandomizeList() != 0) != m_randomizeList)
        app.SetRandomizeList(m_randomizeList ? 1 : 0);
    if ((app.GetShowMenu() != 0) != m_showMenu) {
        app.SetShowMenu(m_showMenu ? 1 : 0);
        app.ShowMenu(m_showMenu);
    }
    if ((app.GetShowFeedback() != 0) != m_showFeedback)
        app.SetShowFeedback(m_showFeedback ? 1 : 0);
    if ((app.GetCorrectMistakes() != 0) != m_correctMistakes)
        app.SetCorrectMistakes(m_correctMistakes ? 1 : 0);
    if ((app.GetSpeakMissingWords() != 0) != m_speakMissingWords)
        app.SetSpeakMissingWords(m_speakMissingWords ? 1 : 0);
    if (m_voice != app.GetVoice() && !m_voice.empty())
        app.SetVoice(m_voice);
    if (m_speechRate != app.GetSpeechRate())
        app.SetSpeechRate(m_speechRate);
    if (!(m_reading == app.GetReadingStyle()))
        app.SetReadingStyle(m_reading);
    m_document.UpdateAllViews(nullptr, 0);
}

bool COptionsEditor::ChooseSoundFolder(const std::string& chosen)
{
    if (chosen == m_defaultSoundFolder || chosen.empty())
        return false;
    m_defaultSoundFolder = chosen;
    return true;
}

bool COptionsEditor::ChooseUserFolder(const std::string& chosen)
{
    if (chosen == m_defaultUserFolder || chosen.empty())
        return false;
    m_defaultUserFolder = chosen;
    return true;
}

void COptionsEditor::ChoosePicture(const std::string& path)
{
    m_defaultImage = path;
}

std::string COptionsEditor::QtFilterFromWindows(const std::string& windowsFilter)
{
    std::string result;
    size_t pos = 0;
    while (pos < windowsFilter.size()) {
        const size_t nameEnd = windowsFilter.find('|', pos);
        if (nameEnd == std::string::npos || nameEnd == pos)
            break;
        const std::string name = windowsFilter.substr(pos, nameEnd - pos);
        size_t patternsEnd = windowsFilter.find('|', nameEnd + 1);
        if (patternsEnd == std::string::npos)
            patternsEnd = windowsFilter.size();
        const std::string patterns = windowsFilter.substr(nameEnd + 1, patternsEnd - nameEnd - 1);
        pos = patternsEnd + 1;

        // Linux names are case-sensitive and Windows ones are not: "*.JPG" must also
        // find "photo.jpg" and "Photo.Jpg", so each letter becomes a set of both cases.
        std::string qtPatterns;
        bool startOfPattern = true;
        for (const char ch : patterns) {
            if (ch == ';') {
                startOfPattern = true;
                continue;
            }
            if (startOfPattern && !qtPatterns.empty())
                qtPatterns += ' ';
            startOfPattern = false;
            const unsigned char c = static_cast<unsigned char>(ch);
            if (c < 0x80 && std::isalpha(c)) {
                qtPatterns += '[';
                qtPatterns += static_cast<char>(std::toupper(c));
                qtPatterns += static_cast<char>(std::tolower(c));
                qtPatterns += ']';
            } else {
                qtPatterns += ch;
            }
        }
        if (!result.empty())
            result += ";;";
        // Qt reads the patterns from the parentheses at the end; the name stays as written.
        result += name + "(" + qtPatterns + ")";
    }
    return result;
}
