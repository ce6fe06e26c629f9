#include "model/CWordMemoryFile.h"

#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "model/CSystemError.h"

#include <cerrno>
#include <cstring>

namespace {
constexpr std::size_t kHeaderBytes = 12;
// Length, box, highest box, two days, two counts: the bytes of a word beside its letters.
constexpr std::size_t kFixedEntryBytes = 2 + 1 + 1 + 4 + 4 + 4 + 4;

void PutUint(std::string& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Reads little-endian numbers and byte runs; past the end it fails and stays failed.
class CReader {
public:
    explicit CReader(std::string_view bytes)
        : m_bytes(bytes)
    {
    }
    uint32_t Uint(int bytes)
    {
        if (!Has(std::size_t(bytes)))
            return 0;
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= uint32_t(static_cast<unsigned char>(m_bytes[m_at + std::size_t(i)])) << (8 * i);
        m_at += std::size_t(bytes);
        return value;
    }
    std::string_view Run(std::size_t length)
    {
        if (!Has(length))
            return {};
        const std::string_view run = m_bytes.substr(m_at, length);
        m_at += length;
        return run;
    }
    std::size_t Left() const { return m_bytes.size() - m_at; }
    bool Failed() const { return m_failed; }

private:
    bool Has(std::size_t n)
    {
        if (m_failed || Left() < n)
            m_failed = true;
        return !m_failed;
    }
    std::string_view m_bytes;
    std::size_t m_at = 0;
    bool m_failed = false;
};

std::optional<CCalendarDay> Day(uint32_t stored)
{
    const int32_t number = static_cast<int32_t>(stored);
    if (number < CCalendarDay::kFirst || number > CCalendarDay::kLast)
        return std::nullopt;
    return CCalendarDay(number);
}
}

std::string CWordMemoryFile::Path(const std::string& userFolder, const std::string& userName)
{
    return CPath::Join(userFolder, userName + kExtension);
}

std::string CWordMemoryFile::Encode(const CWordMemory& memory)
{
    std::string out;
    out.reserve(kHeaderBytes + memory.size() * (kFixedEntryBytes + 12));
    out.append(kMagic, sizeof kMagic);
    PutUint(out, kVersion, 4);
    PutUint(out, memory.size(), 4);
    for (const CWordMemory::Entry& entry : memory.Entries()) {
        PutUint(out, entry.word.size(), 2);
        out.append(entry.word);
        PutUint(out, uint64_t(entry.box), 1);
        PutUint(out, uint64_t(entry.highestBox), 1);
        PutUint(out, uint32_t(entry.due.Number()), 4);
        PutUint(out, uint32_t(entry.lastAsked.Number()), 4);
        PutUint(out, entry.asked, 4);
        PutUint(out, entry.missed, 4);
    }
    return out;
}

std::optional<uint32_t> CWordMemoryFile::Version(std::string_view bytes)
{
    if (bytes.size() < 8 || bytes.compare(0, sizeof kMagic, std::string_view(kMagic, sizeof kMagic)) != 0)
        return std::nullopt;
    CReader reader(bytes.substr(sizeof kMagic));
    return reader.Uint(4);
}

bool CWordMemoryFile::IsNewer(std::string_view bytes)
{
    const std::optional<uint32_t> version = Version(bytes);
    return version && *version > kVersion && *version <= kLastPossibleVersion;
}

CWordMemoryFile::ReadResult CWordMemoryFile::Decode(std::string_view bytes, CWordMemory& memory)
{
    memory.clear();
    if (IsNewer(bytes))
        return ReadResult::newer;
    if (Version(bytes) != kVersion || bytes.size() > kMaxFileBytes)
        return ReadResult::damaged;
    CReader reader(bytes.substr(8));
    const uint32_t count = reader.Uint(4);
    // A count the bytes can't hold is refused before anything is reserved for it.
    if (reader.Failed() || count > reader.Left() / (kFixedEntryBytes + 1))
        return ReadResult::damaged;
    for (uint32_t i = 0; i < count; ++i) {
        CWordMemory::Entry entry;
        const std::size_t length = reader.Uint(2);
        entry.word = reader.Run(length);
        entry.box = int(reader.Uint(1));
        entry.highestBox = int(reader.Uint(1));
        const std::optional<CCalendarDay> due = Day(reader.Uint(4));
        const std::optional<CCalendarDay> lastAsked = Day(reader.Uint(4));
        entry.asked = reader.Uint(4);
        entry.missed = reader.Uint(4);
        if (reader.Failed() || !due || !lastAsked) {
            memory.clear();
            return ReadResult::damaged;
        }
        entry.due = *due;
        entry.lastAsked = *lastAsked;
        // Our writer never leaves an empty or doubled word, nor a count out of step.
        if (!memory.Add(std::move(entry))) {
            memory.clear();
            return ReadResult::damaged;
        }
    }
    if (reader.Left() != 0) {
        memory.clear();
        return ReadResult::damaged;
    }
    return ReadResult::ok;
}

CWordMemoryFile::ReadResult CWordMemoryFile::Read(const std::string& nativePath, CWordMemory& memory,
                                                  std::string* errorText)
{
    memory.clear();
    std::string bytes;
    switch (CAtomicFile::ReadBoundedFile(nativePath, kMaxFileBytes, bytes, errorText)) {
    case CAtomicFile::BoundedRead::ok:
        return Decode(bytes, memory);
    case CAtomicFile::BoundedRead::missing:
        return ReadResult::missing;
    case CAtomicFile::BoundedRead::tooLarge:
        // A later version may well be larger; only the start can tell.
        return IsNewer(bytes) ? ReadResult::newer : ReadResult::damaged;
    case CAtomicFile::BoundedRead::notRegular:
    case CAtomicFile::BoundedRead::failed:
        break;
    }
    return ReadResult::unreadable;
}

bool CWordMemoryFile::Write(const std::string& nativePath, const CWordMemory& memory, std::string* errorText)
{
    // Only the start of what is there is needed to know whether it may be replaced.
    std::string head;
    const CAtomicFile::BoundedRead found = CAtomicFile::ReadBoundedFile(nativePath, kHeaderBytes, head, errorText);
    if (found == CAtomicFile::BoundedRead::notRegular || found == CAtomicFile::BoundedRead::failed)
        return false;
    if (IsNewer(head)) {
        if (errorText)
            *errorText = "A newer version of Keltora wrote " + nativePath + ".";
        return false;
    }
    return CAtomicFile::WriteFileAtomically(nativePath, Encode(memory), errorText);
}

std::string CWordMemoryFile::KeepDamaged(const std::string& nativePath, std::string* errorText)
{
    std::string copy;
    std::string bytes;
    mode_t mode = 0;
    switch (CAtomicFile::ReadBoundedFile(nativePath, kMaxFileBytes, bytes, errorText, &mode)) {
    case CAtomicFile::BoundedRead::ok:
        // A copy, not a move: through a link the link stays and its target is saved over.
        if (!CAtomicFile::KeepCopy(nativePath, kDamagedSuffix, bytes, mode, copy, errorText))
            return std::string();
        return copy;
    case CAtomicFile::BoundedRead::tooLarge:
        // Too large to copy: the file itself goes aside, never over an earlier copy.
        for (int attempt = 0; attempt < 100; ++attempt) {
            copy = CAtomicFile::FreeCopyPath(nativePath, kDamagedSuffix);
            if (CAtomicFile::CommitNew(nativePath, copy))
                return copy;
            if (errno != EEXIST)
                break;
        }
        if (errorText)
            *errorText = CSystemError::About(errno, nativePath);
        return std::string();
    case CAtomicFile::BoundedRead::missing:
    case CAtomicFile::BoundedRead::notRegular:
    case CAtomicFile::BoundedRead::failed:
        break;
    }
    return std::string();
}
