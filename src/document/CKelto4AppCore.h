#pragma once
#include "platform/CReadingStyle.h"

#include <string>

// The widget-free half of the application object: the settings with their
// getters and setters, the user folder, and the log-in rules at start-up and when
// logging in again. The GUI application derives from it and supplies the dialog,
// the main window's command queue and its menu bar.
class CKelto4AppCore {
public:
    CKelto4AppCore() = default;
    virtual ~CKelto4AppCore() = default;
    CKelto4AppCore(const CKelto4AppCore&) = delete;
    CKelto4AppCore& operator=(const CKelto4AppCore&) = delete;

    // Where the user file and the per-user record files lie (Windows-1252 text).
    std::string m_userFolder;

    std::string GetDefaultSoundFolder();
    bool SetDefaultSoundFolder(const std::string& folder);
    std::string GetDefaultImage();
    bool SetDefaultImage(const std::string& image);
    int GetDefaultImageStretch();
    bool SetDefaultImageStretch(int stretch);
    std::string GetAuto();
    bool SetAuto(const std::string& name);
    int GetRandomizeList();
    bool SetRandomizeList(int randomize);
    int GetShowMenu();
    bool SetShowMenu(int show);
    std::string GetDefaultUserFolder();
    bool SetDefaultUserFolder(const std::string& folder);
    // "Show Feedback": nonzero = the test page explains a wrong answer (default 1).
    int GetShowFeedback();
    bool SetShowFeedback(int show);
    // "Correct Mistakes": nonzero = a wrong answer is corrected at once and asked again
    // later in the test (default 1).
    int GetCorrectMistakes();
    bool SetCorrectMistakes(int correct);
    // Spoken words: speak a word that has no recording (1) or not (0); the espeak-ng
    // voice ("en-gb"; by default from the desktop's language); words per minute.
    int GetSpeakMissingWords();
    bool SetSpeakMissingWords(int speak);
    static std::string GetVoice();
    bool SetVoice(const std::string& voice);
    int GetSpeechRate();
    bool SetSpeechRate(int wordsPerMinute);
    // Reading: how the texts a learner reads are shown ("Reading Text Size",
    // "Reading Letter Spacing", "Reading Background": the enums' numbers, 0 by
    // default; "Reading Font": a font family, empty for the plain sans-serif).
    CReadingStyle GetReadingStyle();
    bool SetReadingStyle(const CReadingStyle& style);

    std::string LogInAtStart();
    std::string LogInAgain();

    // Creates every missing level of path; true when the whole path exists afterwards.
    static bool CreatePath(const std::string& path);
    // The user's documents folder and the writable shared data folder ("" when unknown).
    static std::string GetDocumentsFolder();
    static std::string GetCommonAppDataFolder();

    // The log-in dialog; false when it was cancelled.
    virtual bool RunLogInDialog(const std::string& userFolder, std::string& name, bool& autoLogIn) = 0;
    // "Change Password" on the user file of userFolder; true when a new password was saved.
    virtual bool RunChangePasswordDialog(const std::string& userFolder) = 0;
    // Queues a command for the main window, which checks its enable rule when it runs.
    virtual void PostCommand(int id) = 0;
    // The main window's menu bar on or off.
    virtual void ShowMenu(bool /*show*/) {}
};
