#pragma once
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// The learners of a user folder, in the order the exports and the class view list them:
// the user file's accounts in the file's order, then the learners whom only record files
// name, in name order. The user file is read without its lock: a log-in going on elsewhere
// replaces it whole, so the bytes read are an old or a new list, never a mixture. Only a
// regular file is read, and only so much of it, so a pipe or a huge file in a shared folder
// can't hold the reader up.
class CUserFolderLearners {
public:
    static constexpr const char* kUserFileName = "Kelto4.lgn";
    static constexpr std::size_t kMaxUserFileBytes = std::size_t(16) << 20;

    enum class UserFile {
        ok,        // read to its end, or there is none
        damaged,   // the accounts before the damage are taken; the rest come in name order
        unreadable // can't be read (or is no file): every learner comes in name order
    };

    // folder: Windows-1252 text, as the program holds paths. extensions: the record files that
    // make a learner known (".kt3", ".kt4", ".kt5"). False when the folder can't be listed;
    // errorText (if given) then gets the system's reason.
    bool List(const std::string& folder, std::initializer_list<std::string_view> extensions,
              std::string* errorText = nullptr);
    // The same for a folder as the file system names it.
    bool ListNative(const std::string& nativeFolder, std::initializer_list<std::string_view> extensions,
                    std::string* errorText = nullptr);

    const std::vector<std::string>& Learners() const { return m_learners; }
    // Every learner by the file system's name of the files, in the same order, with those
    // whose names Windows-1252 can't hold among the others: a name made on another system
    // still finds its files.
    const std::vector<std::string>& NativeLearners() const { return m_nativeLearners; }
    UserFile GetUserFile() const { return m_userFile; }
    // Record files whose names Windows-1252 can't hold (written by another system): left out,
    // named here as near as the program can show them.
    const std::vector<std::string>& UnreadableNames() const { return m_unreadableNames; }
    // The user file's path, Windows-1252, for telling what went wrong with it.
    std::string UserFilePath() const { return m_userFilePath; }
    std::string NativeUserFilePath() const { return m_nativeUserFilePath; }
    // Why the user file can't be read, as the system says it.
    const std::string& UserFileError() const { return m_userFileError; }

private:
    void ReadUserFile();

    std::string m_userFilePath;
    std::string m_nativeUserFilePath;
    std::string m_userFileError;
    std::vector<std::string> m_learners;
    std::vector<std::string> m_nativeLearners;
    std::vector<std::string> m_unreadableNames;
    UserFile m_userFile = UserFile::ok;
};
