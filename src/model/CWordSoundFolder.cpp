#include "model/CWordSoundFolder.h"

#include "model/CPath.h"

#include <algorithm>

#include <sys/stat.h>

CWordSoundFolder::CWordSoundFolder(const COwnedList<CSpellingList>& currentList,
                                   std::function<std::string()> defaultSoundFolder)
    : m_currentList(currentList)
    , m_askDefault(std::move(defaultSoundFolder))
{
}

std::string CWordSoundFolder::For(const std::string& word)
{
    const auto inList = std::find_if(m_currentList.begin(), m_currentList.end(),
                                     [&word](const auto& entry) { return entry->m_word == word; });
    if (inList != m_currentList.end())
        return (*inList)->m_soundFolder;
    if (!m_defaultFolder)
        m_defaultFolder = m_askDefault ? m_askDefault() : std::string();
    std::string path;
    struct stat st {};
    if (!m_defaultFolder->empty() && CPath::WordSoundPath(*m_defaultFolder, word, path) &&
        ::stat(CPath::ToNative(path).c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return *m_defaultFolder;
    return std::string();
}
