#include "app/CRecentFileList.h"

#include "platform/CProfile.h"

#include <algorithm>

namespace {
const char* const kSection = "Recent File List";

std::string EntryName(int index)
{
    return "File" + std::to_string(index + 1);
}
}

void CRecentFileList::ReadList()
{
    m_files.clear();
    for (int i = 0; i < m_size; ++i) {
        std::string path = CProfile::GetProfilePath(kSection, EntryName(i).c_str());
        if (!path.empty() && std::find(m_files.begin(), m_files.end(), path) == m_files.end())
            m_files.push_back(std::move(path));
    }
}

void CRecentFileList::WriteList() const
{
    for (int i = 0; i < m_size; ++i) {
        const size_t at = static_cast<size_t>(i);
        CProfile::WriteProfilePath(kSection, EntryName(i).c_str(), at < m_files.size() ? m_files[at] : std::string());
    }
}

void CRecentFileList::Add(const std::string& path)
{
    if (path.empty())
        return;
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > static_cast<size_t>(m_size))
        m_files.resize(static_cast<size_t>(m_size));
    WriteList();
}

void CRecentFileList::Remove(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_files.size())
        return;
    m_files.erase(m_files.begin() + index);
    WriteList();
}

std::string CRecentFileList::MenuText(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_files.size())
        return std::string();
    // "&" would make the next letter a shortcut key.
    std::string name;
    for (char c : m_files[static_cast<size_t>(index)]) {
        if (c == '&')
            name += '&';
        name += c;
    }
    return "&" + std::to_string(index + 1) + " " + name;
}
