#include "document/CSampleList.h"

#include "model/CArchive.h"
#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "model/CSpellingList.h"

const std::vector<std::string>& CSampleList::Words()
{
    static const std::vector<std::string> words = {
        "the", "and", "was", "said", "they", "have", "come", "some", "were", "there", "friend", "because",
    };
    return words;
}

bool CSampleList::WriteList(const std::string& nativeFolder, const std::string& nativeSoundFolder,
                            std::string& error)
{
    COwnedList<CSpellingList> list;
    for (const std::string& word : Words()) {
        auto entry = std::make_unique<CSpellingList>();
        entry->m_soundFolder = CPath::FromNative(nativeSoundFolder);
        entry->m_word = word;
        list.push_back(std::move(entry));
    }
    std::string bytes;
    {
        CArchive ar(bytes);
        StoreObjectList(ar, list);
    }
    const std::string path = nativeFolder + "/" + kFileName;
    return CAtomicFile::WriteFileAtomically(path, bytes, &error);
}

std::string CSampleList::Find()
{
    for (const char* folder : {KELTO4_DATADIR, KELTO4_BUILD_SAMPLE}) {
        const std::string path = std::string(folder) + "/" + kFileName;
        if (CAtomicFile::Exists(path))
            return path;
    }
    return std::string();
}
