#include "document/CKelto4AppCore.h"

#include "model/CPath.h"
#include "model/KMessage.h"
#include "platform/CProfile.h"
#include "sound/CSpeechEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

namespace {
const char* const kSection = "Settings";

std::string textOr(const char* entry, const std::string& fallback)
{
    std::string v = CProfile::GetProfileString(kSection, entry, std::string());
    return v.empty() ? fallback : v;
}
}

std::string CKelto4AppCore::GetDocumentsFolder()
{
    const QString d = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return CPath::FromNative(d.toStdString());
}

std::string CKelto4AppCore::GetCommonAppDataFolder()
{
    const QString d = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return CPath::FromNative(d.toStdString());
}

std::string CKelto4AppCore::GetDefaultSoundFolder()
{
    std::string v = CProfile::GetProfileString(kSection, "DefaultSoundFolder", std::string());
    if (!v.empty())
        return v;
    std::string d = GetDocumentsFolder();
    if (d.empty())
        d = CPath::FromNative((QDir::homePath() + QStringLiteral("/Documents")).toStdString());
    std::string f = CPath::Join(d, "Words");
    if (!CreatePath(f))
        ShowMessage("Unable to locate words directory in \"My Documents\".\n\r Please make sure that there is one.");
    return f;
}

bool CKelto4AppCore::SetDefaultSoundFolder(const std::string& folder)
{
    return CProfile::WriteProfileString(kSection, "DefaultSoundFolder", folder);
}

std::string CKelto4AppCore::GetDefaultImage()
{
    return textOr("DefaultImage", "KTRlogo.jpg");
}

bool CKelto4AppCore::SetDefaultImage(const std::string& image)
{
    return CProfile::WriteProfileString(kSection, "DefaultImage", image);
}

int CKelto4AppCore::GetDefaultImageStretch()
{
    return CProfile::GetProfileInt(kSection, "DefaultImageStretch", 0);
}

bool CKelto4AppCore::SetDefaultImageStretch(int stretch)
{
    return CProfile::WriteProfileInt(kSection, "DefaultImageStretch", stretch);
}

std::string CKelto4AppCore::GetAuto()
{
    return CProfile::GetProfileString(kSection, "Auto", std::string());
}

bool CKelto4AppCore::SetAuto(const std::string& name)
{
    return CProfile::WriteProfileString(kSection, "Auto", name);
}

int CKelto4AppCore::GetRandomizeList()
{
    return CProfile::GetProfileInt(kSection, "Randomize List", 0);
}

bool CKelto4AppCore::SetRandomizeList(int randomize)
{
    return CProfile::WriteProfileInt(kSection, "Randomize List", randomize);
}

int CKelto4AppCore::GetShowMenu()
{
    return CProfile::GetProfileInt(kSection, "Show Menu", 1);
}

bool CKelto4AppCore::SetShowMenu(int show)
{
    return CProfile::WriteProfileInt(kSection, "Show Menu", show);
}

std::string CKelto4AppCore::GetDefaultUserFolder()
{
    std::string v = CProfile::GetProfileString(kSection, "DefaultUserFolder", std::string());
    if (!v.empty())
        return v;
    const std::string common = GetCommonAppDataFolder();
    return common.empty() ? std::string() : CPath::Join(common, "Kelto4");
}

bool CKelto4AppCore::SetDefaultUserFolder(const std::string& folder)
{
    const bool ok = CProfile::WriteProfileString(kSection, "DefaultUserFolder", folder);
    if (ok)
        m_userFolder = folder;
    return ok;
}

int CKelto4AppCore::GetShowFeedback()
{
    return CProfile::GetProfileInt(kSection, "Show Feedback", 1);
}

bool CKelto4AppCore::SetShowFeedback(int show)
{
    return CProfile::WriteProfileInt(kSection, "Show Feedback", show);
}

int CKelto4AppCore::GetCorrectMistakes()
{
    return CProfile::GetProfileInt(kSection, "Correct Mistakes", 1);
}

bool CKelto4AppCore::SetCorrectMistakes(int correct)
{
    return CProfile::WriteProfileInt(kSection, "Correct Mistakes", correct);
}

int CKelto4AppCore::GetSpeakMissingWords()
{
    return CProfile::GetProfileInt(kSection, "Speak Missing Words", 1);
}

bool CKelto4AppCore::SetSpeakMissingWords(int speak)
{
    return CProfile::WriteProfileInt(kSection, "Speak Missing Words", speak);
}

std::string CKelto4AppCore::GetVoice()
{
    return textOr("Voice", CSpeechEngine::DefaultVoiceFor(QLocale::system().name().toStdString()));
}

bool CKelto4AppCore::SetVoice(const std::string& voice)
{
    return CProfile::WriteProfileString(kSection, "Voice", voice);
}

// A rate edited by hand outside 80..300 is taken as the nearest allowed one.
int CKelto4AppCore::GetSpeechRate()
{
    return CSpeechEngine::ClampRate(CProfile::GetProfileInt(kSection, "Speech Rate", CSpeechEngine::kDefaultRate));
}

bool CKelto4AppCore::SetSpeechRate(int wordsPerMinute)
{
    return CProfile::WriteProfileInt(kSection, "Speech Rate", CSpeechEngine::ClampRate(wordsPerMinute));
}

CReadingStyle CKelto4AppCore::GetReadingStyle()
{
    CReadingStyle style;
    style.textSize = CReadingStyle::ToTextSize(CProfile::GetProfileInt(kSection, "Reading Text Size", 0));
    style.spacing = CReadingStyle::ToSpacing(CProfile::GetProfileInt(kSection, "Reading Letter Spacing", 0));
    style.background = CReadingStyle::ToBackground(CProfile::GetProfileInt(kSection, "Reading Background", 0));
    style.font = CProfile::GetProfileString(kSection, "Reading Font", std::string());
    return style;
}

bool CKelto4AppCore::SetReadingStyle(const CReadingStyle& style)
{
    bool ok = CProfile::WriteProfileInt(kSection, "Reading Text Size", int(style.textSize));
    ok = CProfile::WriteProfileInt(kSection, "Reading Letter Spacing", int(style.spacing)) && ok;
    ok = CProfile::WriteProfileInt(kSection, "Reading Background", int(style.background)) && ok;
    return CProfile::WriteProfileString(kSection, "Reading Font", style.font) && ok;
}

std::string CKelto4AppCore::LogInAtStart()
{
    std::string a = GetAuto();
    if (!a.empty())
        return a;
    std::string name;
    bool autoLogIn = false;
    if (!RunLogInDialog(m_userFolder, name, autoLogIn))
        return std::string();
    if (autoLogIn)
        SetAuto(name);
    return name;
}

std::string CKelto4AppCore::LogInAgain()
{
    std::string name;
    bool autoLogIn = false;
    if (!RunLogInDialog(m_userFolder, name, autoLogIn))
        return std::string();
    SetAuto(autoLogIn ? name : std::string());
    return name;
}

// The root "/" plays the part of a drive root: it is never created, and a path that
// is nothing but the root is refused. Every later level is made when missing; a level
// that exists as a file also counts as good, as the walk only asks whether it exists.
bool CKelto4AppCore::CreatePath(const std::string& path)
{
    const size_t length = path.size();
    size_t start = 0;
    while (start < length && path[start] == '/')
        ++start;
    if (start >= length)
        return false;
    bool good = false;
    for (size_t i = start; i < length; ++i) {
        if (path[i] != '/' && i != length - 1)
            continue;
        const QString prefix = QString::fromStdString(CPath::ToNative(path.substr(0, i + 1)));
        if (QFileInfo::exists(prefix))
            good = true;
        else
            good = QDir().mkdir(prefix);
    }
    return good;
}
