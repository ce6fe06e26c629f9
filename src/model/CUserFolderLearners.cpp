#include "model/CUserFolderLearners.h"

#include "model/CArchive.h"
#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "model/CUser.h"
#include "model/CUserRecordFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>

#include <dirent.h>

void CUserFolderLearners::ReadUserFile()
{
    m_userFile = UserFile::ok;
    std::string bytes;
    switch (CAtomicFile::ReadBoundedFile(CPath::ToNative(m_userFilePath), kMaxUserFileBytes, bytes, nullptr)) {
    case CAtomicFile::BoundedRead::ok: break;
    case CAtomicFile::BoundedRead::missing: return;
    case CAtomicFile::BoundedRead::notRegular:
    case CAtomicFile::BoundedRead::tooLarge:
    case CAtomicFile::BoundedRead::failed: m_userFile = UserFile::unreadable; return;
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
    m_userFilePath = CPath::Join(folder, kUserFileName);
    m_learners.clear();
    m_unreadableNames.clear();
    ReadUserFile();

    const std::string native = CPath::ToNative(folder);
    DIR* dir = ::opendir(native.c_str());
    if (!dir) {
        if (errorText)
            *errorText = std::strerror(errno);
        return false;
    }
    const std::set<std::string> known(m_learners.begin(), m_learners.end());
    std::set<std::string> others;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        for (const std::string_view ending : extensions) {
            if (name.size() <= ending.size() || !name.ends_with(ending))
                continue;
            // A name from another system that Windows-1252 can't hold would read as another file.
            if (!CPath::CanHold(name)) {
                m_unreadableNames.push_back(CPath::FromNative(name));
                continue;
            }
            std::string learner = CPath::FromNative(name.substr(0, name.size() - ending.size()));
            if (!known.count(learner))
                others.insert(std::move(learner));
        }
    }
    ::closedir(dir);
    m_learners.insert(m_learners.end(), others.begin(), others.end());
    std::sort(m_unreadableNames.begin(), m_unreadableNames.end());
    return true;
}
