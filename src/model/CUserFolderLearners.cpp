#include "model/CUserFolderLearners.h"

#include "model/CArchive.h"
#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "model/CSafeFile.h"
#include "model/CSystemError.h"
#include "model/CUser.h"
#include "model/CUserRecordFiles.h"

#include <algorithm>
#include <cerrno>
#include <set>

#include <dirent.h>

void CUserFolderLearners::ReadUserFile()
{
    m_userFile = UserFile::ok;
    m_userFileError.clear();
    std::string bytes;
    if (!CSafeFile::ReadAll(m_nativeUserFilePath, bytes, &m_userFileError, nullptr, kMaxUserFileBytes + 1)) {
        if (errno != ENOENT)
            m_userFile = UserFile::unreadable;
        return;
    }
    if (bytes.size() > kMaxUserFileBytes) {
        m_userFileError = CSystemError::Text(EFBIG);
        m_userFile = UserFile::unreadable;
        return;
    }
    COwnedList<CUser> users;
    try {
        CArchive ar{std::string_view(bytes)};
        if (!bytes.empty()) {
            LoadObjectList(ar, users);
            if (!ar.AtEnd())
                throw CArchiveException(CArchiveException::generic);
        }
    } catch (const CArchiveException&) {
        m_userFile = UserFile::damaged;
    }
    std::set<std::string> seen;
    for (const auto& user : users)
        if (CUserRecordFiles::IsValidFileName(user->m_name) && seen.insert(user->m_name).second)
            m_learners.push_back(user->m_name);
}

bool CUserFolderLearners::List(const std::string& folder, std::initializer_list<std::string_view> extensions,
                               std::string* errorText)
{
    return ListNative(CPath::ToNative(folder), extensions, errorText);
}

bool CUserFolderLearners::ListNative(const std::string& native, std::initializer_list<std::string_view> extensions,
                                     std::string* errorText)
{
    m_nativeUserFilePath = CPath::Join(native, kUserFileName);
    m_userFilePath = CPath::FromNative(m_nativeUserFilePath);
    m_learners.clear();
    m_nativeLearners.clear();
    m_unreadableNames.clear();
    ReadUserFile();

    DIR* dir = ::opendir(native.c_str());
    if (!dir) {
        if (errorText)
            *errorText = CSystemError::Text(errno);
        return false;
    }
    const std::set<std::string> known(m_learners.begin(), m_learners.end());
    std::set<std::string> others;
    std::set<std::string> nativeOthers;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        for (const std::string_view ending : extensions) {
            if (name.size() <= ending.size() || !name.ends_with(ending))
                continue;
            const std::string_view stem = name.substr(0, name.size() - ending.size());
            // A name from another system that Windows-1252 can't hold would read as another file.
            if (!CPath::CanHold(name)) {
                m_unreadableNames.push_back(CPath::FromNative(name));
                nativeOthers.insert(std::string(stem));
                continue;
            }
            std::string learner = CPath::FromNative(stem);
            if (!known.count(learner)) {
                nativeOthers.insert(std::string(stem));
                others.insert(std::move(learner));
            }
        }
    }
    ::closedir(dir);
    for (const std::string& learner : m_learners)
        m_nativeLearners.push_back(CPath::ToNative(learner));
    m_nativeLearners.insert(m_nativeLearners.end(), nativeOthers.begin(), nativeOthers.end());
    m_learners.insert(m_learners.end(), others.begin(), others.end());
    std::sort(m_unreadableNames.begin(), m_unreadableNames.end());
    return true;
}
