#pragma once
#include <string>
#include <vector>

// The recent-file list of the File menu: the last files opened or saved, newest first,
// kept in the settings store under "Recent File List" as "File1" ... "File<n>". Paths
// are held as the file system names them (native bytes), so every list can come back.
class CRecentFileList {
public:
    explicit CRecentFileList(int size = 4) : m_size(size) {}

    void ReadList();
    void WriteList() const;

    // Puts path at the head (moving it there if it is in the list) and writes the list.
    void Add(const std::string& path);
    // Drops entry index (0 = newest) and writes the list.
    void Remove(int index);

    int GetSize() const { return m_size; }
    const std::vector<std::string>& Files() const { return m_files; }
    // "&1 name" ... as the File menu shows entry index (native bytes, as the paths).
    std::string MenuText(int index) const;

private:
    int m_size;
    std::vector<std::string> m_files;
};
