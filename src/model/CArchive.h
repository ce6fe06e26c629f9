#pragma once
#include "model/CArchiveException.h"
#include "model/CObject.h"
#include "model/COwnedList.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

// The one binary encoding of every file of the program: little-endian integers,
// length-prefixed Windows-1252 texts, counts, and tagged objects numbered by a
// running index shared by classes and objects. No header: the first bytes are content.
//
//   std::string bytes;
//   { CArchive ar(bytes); StoreObjectList(ar, list); }          // storing
//   CArchive ar{std::string_view(bytes)}; LoadObjectList(ar, list); // loading
//
// A non-const std::string makes a storing archive; pass a std::string_view to load (or
// say it with the tags: CArchive(CArchive::store, buffer), CArchive(CArchive::load, bytes)).
// An archive used in the wrong direction throws CArchiveException(generic).
//
// The loader never reads past the end of its input and checks every length against the
// bytes that remain before it allocates, so any byte string either loads or throws
// CArchiveException.
//
// Back-references: an archive hands out owning pointers, and no list shares an entry, so
// a reference to an object already read is never honoured: ReadObject and the list loader
// refuse it with badClass (a reference to an index not yet read is badIndex). The list
// loader also refuses a null entry with badClass, since lists hold no nulls.
class CArchive {
public:
    struct StoreTag { explicit StoreTag() = default; };
    struct LoadTag { explicit LoadTag() = default; };
    static constexpr StoreTag store{};
    static constexpr LoadTag load{};

    // Storing: appends to buffer, which must outlive the archive.
    explicit CArchive(std::string& buffer) : m_out(&buffer) {}
    CArchive(StoreTag, std::string& buffer) : CArchive(buffer) {}
    // Loading: reads bytes, which must outlive the archive.
    explicit CArchive(std::string_view bytes) : m_pos(bytes.data()), m_end(bytes.data() + bytes.size()) {}
    CArchive(LoadTag, std::string_view bytes) : CArchive(bytes) {}
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_out != nullptr; }
    bool IsLoading() const { return m_out == nullptr; }

    CArchive& operator<<(const std::string& text);
    CArchive& operator<<(int32_t value) { return *this << static_cast<uint32_t>(value); }
    CArchive& operator<<(uint32_t value);
    CArchive& operator<<(uint16_t value);
    CArchive& operator<<(uint8_t value);

    CArchive& operator>>(std::string& text);
    CArchive& operator>>(int32_t& value);
    CArchive& operator>>(uint32_t& value);
    CArchive& operator>>(uint16_t& value);
    CArchive& operator>>(uint8_t& value);

    // Number of objects of a list: a word below 0xFFFF, else 0xFFFF and a dword.
    void WriteCount(uint32_t count);
    uint32_t ReadCount();

    // A tagged object (null allowed). An object written before in this archive is
    // written as a back-reference to its index.
    void WriteObject(const CObject* object);
    // Writes a tagged object known not to have been written before (an entry of an owned
    // list), without remembering it for back-references.
    void WriteOwnedObject(const CObject& object);
    // A tagged object of any registered class; null for the null reference.
    std::unique_ptr<CObject> ReadObject();
    // A tagged object that must be a T (or derive from it), else badClass; null for null.
    template <class T>
    std::unique_ptr<T> ReadObjectOf();
    // One entry of an object list: a non-null object for which accepts() holds, else badClass.
    std::unique_ptr<CObject> ReadListEntry(bool (*accepts)(const CObject&));

    bool AtEnd() const { return m_pos == m_end; }
    size_t Remaining() const { return static_cast<size_t>(m_end - m_pos); }

    template <class T>
    static bool IsA(const CObject& object)
    {
        if constexpr (std::is_same_v<T, CObject>)
            return true;
        else
            return dynamic_cast<const T*>(&object) != nullptr;
    }

private:
    void NeedStoring() const;
    void NeedLoading() const;
    void Need(uint64_t bytes) const
    {
        if (bytes > Remaining())
            throw CArchiveException(CArchiveException::endOfFile);
    }
    uint8_t GetU8()
    {
        Need(1);
        return static_cast<uint8_t>(*m_pos++);
    }
    uint16_t GetU16()
    {
        Need(2);
        const auto* p = reinterpret_cast<const unsigned char*>(m_pos);
        m_pos += 2;
        return static_cast<uint16_t>(p[0] | (p[1] << 8));
    }
    uint32_t GetU32()
    {
        Need(4);
        const auto* p = reinterpret_cast<const unsigned char*>(m_pos);
        m_pos += 4;
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    }
    uint64_t GetU64()
    {
        uint64_t low = GetU32();
        return low | (static_cast<uint64_t>(GetU32()) << 32);
    }
    void PutU16(uint16_t v);
    void PutU32(uint32_t v);
    uint64_t ReadTextLength(bool& wide);
    void WriteClassTag(const CObject& object);
    uint32_t TakeIndex();
    std::unique_ptr<CObject> ReadTagged(bool (*accepts)(const CObject&), bool inList);

    std::string* m_out = nullptr;
    const char* m_pos = nullptr;
    const char* m_end = nullptr;
    // Running index: the next class or object written or read takes it.
    uint32_t m_nextIndex = 1;
    // Storing: classes and (WriteObject only) objects already written, with their index.
    std::vector<std::pair<std::string_view, uint32_t>> m_storedClasses;
    std::unordered_map<const CObject*, uint32_t> m_storedObjects;
    // Loading: classes read so far, in index order.
    std::vector<std::pair<uint32_t, const CClassInfo*>> m_loadedClasses;
};

template <class T>
std::unique_ptr<T> CArchive::ReadObjectOf()
{
    std::unique_ptr<CObject> object = ReadTagged(&IsA<T>, false);
    return std::unique_ptr<T>(static_cast<T*>(object.release()));
}

// Writes the count, then every entry from head to tail as a tagged object.
template <class T>
void StoreObjectList(CArchive& ar, const COwnedList<T>& list)
{
    if (list.size() > UINT32_MAX)
        throw CArchiveException(CArchiveException::generic);
    ar.WriteCount(static_cast<uint32_t>(list.size()));
    for (const auto& entry : list) {
        if (entry)
            ar.WriteOwnedObject(*entry);
        else
            ar.WriteObject(nullptr);
    }
}

// Reads an object list, appending each entry at the tail. An entry that is not a T, a
// back-reference or a null throws CArchiveException(badClass); whatever was read before
// any failure stays in the list.
template <class T>
void LoadObjectList(CArchive& ar, COwnedList<T>& list)
{
    const uint32_t count = ar.ReadCount();
    for (uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<CObject> entry = ar.ReadListEntry(&CArchive::IsA<T>);
        list.push_back(std::unique_ptr<T>(static_cast<T*>(entry.release())));
    }
}
