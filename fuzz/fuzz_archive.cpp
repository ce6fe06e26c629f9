// Any bytes as a Keltora file: read as each kind of object list, and as single objects.
// The reader must fail cleanly (an archive error) or succeed, and what it read must
// store and read back the same.
#include "model/CArchive.h"
#include "model/CGrade.h"
#include "model/CMissed.h"
#include "model/CSpellingList.h"
#include "model/CUser.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {
template <class T>
void readList(std::string_view bytes)
{
    COwnedList<T> list;
    try {
        CArchive ar(CArchive::load, bytes);
        LoadObjectList(ar, list);
    } catch (const CArchiveException&) {
        return;
    }
    std::string stored;
    {
        CArchive out(CArchive::store, stored);
        StoreObjectList(out, list);
    }
    COwnedList<T> again;
    CArchive in(CArchive::load, std::string_view(stored));
    LoadObjectList(in, again);
    if (again.size() != list.size())
        __builtin_trap();
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    readList<CSpellingList>(bytes);
    readList<CGrade>(bytes);
    readList<CMissed>(bytes);
    readList<CUser>(bytes);
    try {
        CArchive ar(CArchive::load, bytes);
        while (!ar.AtEnd())
            ar.ReadObject();
    } catch (const CArchiveException&) {
    }
    return 0;
}
