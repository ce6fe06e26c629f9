#include "model/CArchive.h"

#include "model/Cp1252.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint16_t kNullTag = 0x0000;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
constexpr uint32_t kMaxShortIndex = 0x7FFE;
// The index must stay clear of the class-tag bit.
constexpr uint32_t kMaxIndex = 0x7FFFFFFEu;
constexpr uint16_t kMaxClassNameLength = 63;
constexpr uint64_t kMaxBigLength = 0x7FFFFFFFu;

[[noreturn]] void Fail(CArchiveException::Cause cause)
{
    throw CArchiveException(cause);
}
}

void CArchive::NeedStoring() const
{
    if (!IsStoring())
        Fail(CArchiveException::generic);
}

void CArchive::NeedLoading() const
{
    if (!IsLoading())
        Fail(CArchiveException::generic);
}

void CArchive::PutU16(uint16_t v)
{
    const char bytes[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    m_out->append(bytes, 2);
}

void CArchive::PutU32(uint32_t v)
{
    const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
    m_out->append(bytes, 4);
}

CArchive& CArchive::operator<<(uint32_t value)
{
    NeedStoring();
    PutU32(value);
    return *this;
}

CArchive& CArchive::operator<<(uint16_t value)
{
    NeedStoring();
    PutU16(value);
    return *this;
}

CArchive& CArchive::operator<<(uint8_t value)
{
    NeedStoring();
    m_out->push_back(static_cast<char>(value));
    return *this;
}

CArchive& CArchive::operator<<(const std::string& text)
{
    NeedStoring();
    // Prefix and text in one append: this is the hot path of every file.
    const uint64_t length = text.size();
    char prefix[15];
    size_t n = 0;
    auto put = [&](uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            prefix[n++] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    if (length < 0xFF) {
        put(length, 1);
    } else {
        put(0xFF, 1);
        if (length < 0xFFFE) {
            put(length, 2);
        } else {
            put(0xFFFF, 2);
            if (length < 0xFFFFFFFFu) {
                put(length, 4);
            } else {
                put(0xFFFFFFFFu, 4);
                put(length, 8);
            }
        }
    }
    m_out->append(prefix, n);
    m_out->append(text);
    return *this;
}

CArchive& CArchive::operator>>(uint32_t& value)
{
    NeedLoading();
    value = GetU32();
    return *this;
}

CArchive& CArchive::operator>>(int32_t& value)
{
    NeedLoading();
    value = static_cast<int32_t>(GetU32());
    return *this;
}

CArchive& CArchive::operator>>(uint16_t& value)
{
    NeedLoading();
    value = GetU16();
    return *this;
}

CArchive& CArchive::operator>>(uint8_t& value)
{
    NeedLoading();
    value = GetU8();
    return *this;
}

// Byte; else 0xFF and a word (0xFFFE: wide text, then the prefix again); else 0xFFFF and
// a dword; else 0xFFFFFFFF and an 8-byte length below 2^31.
uint64_t CArchive::ReadTextLength(bool& wide)
{
    wide = false;
    uint8_t b = GetU8();
    if (b < 0xFF)
        return b;
    uint16_t w = GetU16();
    if (w == 0xFFFE) {
        wide = true;
        b = GetU8();
        if (b < 0xFF)
            return b;
        w = GetU16();
    }
    if (w < 0xFFFF)
        return w;
    const uint32_t d = GetU32();
    if (d < 0xFFFFFFFFu)
        return d;
    const uint64_t q = GetU64();
    if (q > kMaxBigLength)
        Fail(CArchiveException::generic);
    return q;
}

CArchive& CArchive::operator>>(std::string& text)
{
    NeedLoading();
    bool wide = false;
    const uint64_t length = ReadTextLength(wide);
    const uint64_t bytes = wide ? 2 * length : length;
    Need(bytes);
    const std::string_view raw(m_pos, static_cast<size_t>(bytes));
    m_pos += bytes;
    if (wide)
        text = Utf16LeToCp1252(raw);
    else
        text.assign(raw);
    return *this;
}

void CArchive::WriteCount(uint32_t count)
{
    NeedStoring();
    if (count < 0xFFFF) {
        PutU16(static_cast<uint16_t>(count));
    } else {
        PutU16(0xFFFF);
        PutU32(count);
    }
}

uint32_t CArchive::ReadCount()
{
    NeedLoading();
    const uint16_t w = GetU16();
    if (w != 0xFFFF)
        return w;
    return GetU32();
}

uint32_t CArchive::TakeIndex()
{
    if (m_nextIndex > kMaxIndex)
        Fail(CArchiveException::generic);
    return m_nextIndex++;
}

void CArchive::WriteClassTag(const CObject& object)
{
    const std::string_view name = object.GetClassName();
    for (const auto& [storedName, index] : m_storedClasses) {
        if (storedName == name) {
            if (index <= kMaxShortIndex) {
                PutU16(static_cast<uint16_t>(kClassTag | index));
            } else {
                PutU16(kBigObjectTag);
                PutU32(kBigClassTag | index);
            }
            return;
        }
    }
    if (name.size() > kMaxClassNameLength)
        Fail(CArchiveException::badClass);
    PutU16(kNewClassTag);
    PutU16(static_cast<uint16_t>(object.GetSchema()));
    PutU16(static_cast<uint16_t>(name.size()));
    m_out->append(name);
    m_storedClasses.emplace_back(name, TakeIndex());
}

void CArchive::WriteOwnedObject(const CObject& object)
{
    NeedStoring();
    WriteClassTag(object);
    TakeIndex();
    // Serialize is shared by both directions; storing only reads the object.
    const_cast<CObject&>(object).Serialize(*this);
}

void CArchive::WriteObject(const CObject* object)
{
    NeedStoring();
    if (!object) {
        PutU16(kNullTag);
        return;
    }
    if (auto it = m_storedObjects.find(object); it != m_storedObjects.end()) {
        if (it->second <= kMaxShortIndex) {
            PutU16(static_cast<uint16_t>(it->second));
        } else {
            PutU16(kBigObjectTag);
            PutU32(it->second);
        }
        return;
    }
    WriteClassTag(*object);
    m_storedObjects.emplace(object, TakeIndex());
    const_cast<CObject&>(*object).Serialize(*this);
}

std::unique_ptr<CObject> CArchive::ReadObject()
{
    return ReadTagged(nullptr, false);
}

std::unique_ptr<CObject> CArchive::ReadListEntry(bool (*accepts)(const CObject&))
{
    return ReadTagged(accepts, true);
}

std::unique_ptr<CObject> CArchive::ReadTagged(bool (*accepts)(const CObject&), bool inList)
{
    NeedLoading();
    const CClassInfo* info = nullptr;
    const uint16_t word = GetU16();
    if (word == kNewClassTag) {
        const uint16_t schema = GetU16();
        const uint16_t nameLength = GetU16();
        if (nameLength > kMaxClassNameLength)
            Fail(CArchiveException::badClass);
        Need(nameLength);
        const std::string name(m_pos, nameLength);
        m_pos += nameLength;
        info = FindRegisteredClass(name);
        if (!info)
            Fail(CArchiveException::badClass);
        if (info->schema != schema)
            Fail(CArchiveException::badSchema);
        m_loadedClasses.emplace_back(TakeIndex(), info);
    } else {
        uint32_t tag;
        if (word == kBigObjectTag)
            tag = GetU32();
        else
            tag = (static_cast<uint32_t>(word & 0x8000) << 16) | (word & 0x7FFFu);
        const uint32_t index = tag & ~kBigClassTag;
        // Class indices are taken in increasing order, so the table is sorted.
        auto it = std::lower_bound(m_loadedClasses.begin(), m_loadedClasses.end(), index,
                                   [](const auto& entry, uint32_t i) { return entry.first < i; });
        const bool isClass = it != m_loadedClasses.end() && it->first == index;
        if (!(tag & kBigClassTag)) {
            if (index == 0) {
                if (inList)
                    Fail(CArchiveException::badClass);
                return nullptr;
            }
            if (index >= m_nextIndex || isClass)
                Fail(CArchiveException::badIndex);
            // A back-reference to an object read before: see the class comment.
            Fail(CArchiveException::badClass);
        }
        if (!isClass)
            Fail(CArchiveException::badIndex);
        info = it->second;
    }
    std::unique_ptr<CObject> object = info->factory();
    if (accepts && !accepts(*object))
        Fail(CArchiveException::badClass);
    TakeIndex();
    object->Serialize(*this);
    return object;
}
