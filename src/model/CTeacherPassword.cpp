#include "model/CTeacherPassword.h"

#include "model/CAtomicFile.h"
#include "model/CSafeFile.h"
#include "model/CSystemError.h"
#include "model/CPath.h"

#include <sodium.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

namespace {
// The cost of a new hash: libsodium's interactive level (64 MiB, 2 passes), a fraction of a
// second on a school's computer, and slow enough to make guessing from a copied file costly.
constexpr unsigned long long kPasses = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr std::size_t kMemoryBytes = crypto_pwhash_MEMLIMIT_INTERACTIVE;

using HashBuffer = std::array<char, crypto_pwhash_STRBYTES>;

// The hash as the library wants it: zero-terminated in a buffer of its size.
bool ToBuffer(std::string_view text, HashBuffer& buffer)
{
    if (text.size() >= buffer.size() || text.find('\0') != std::string_view::npos)
        return false;
    buffer.fill('\0');
    std::memcpy(buffer.data(), text.data(), text.size());
    return true;
}

// The number after key= in the hash's parameters ("m=65536,t=2,p=1"); false when it is missing.
bool Parameter(std::string_view parameters, std::string_view key, unsigned long& value)
{
    const std::size_t at = parameters.find(key);
    if (at == std::string_view::npos)
        return false;
    value = 0;
    std::size_t i = at + key.size();
    const std::size_t start = i;
    for (; i < parameters.size() && parameters[i] >= '0' && parameters[i] <= '9'; ++i) {
        value = value * 10 + static_cast<unsigned long>(parameters[i] - '0');
        if (value > (1UL << 32))
            return false;
    }
    return i > start;
}
}

std::string CTeacherPassword::Path(const std::string& userFolder)
{
    return CPath::Join(userFolder, kFileName);
}

bool CTeacherPassword::IsValidHash(std::string_view text)
{
    HashBuffer buffer;
    if (!text.starts_with("$argon2") || !ToBuffer(text, buffer))
        return false;
    // "$argon2id$v=19$m=65536,t=2,p=1$salt$hash": the cost follows the third "$".
    std::size_t at = 0;
    for (int field = 0; field < 2 && at != std::string_view::npos; ++field)
        at = text.find('$', at + 1);
    if (at == std::string_view::npos)
        return false;
    const std::string_view parameters = text.substr(at + 1, text.find('$', at + 1) - at - 1);
    unsigned long memory = 0;
    unsigned long passes = 0;
    if (!Parameter(parameters, "m=", memory) || !Parameter(parameters, "t=", passes) || memory > kMostMemoryKiB ||
        passes > kMostPasses)
        return false;
    // A 16-byte salt and a 32-byte hash, as the library writes them: the library itself takes
    // a shorter hash too, and a file cut short would then lock the class for every password.
    const std::size_t hashAt = text.rfind('$');
    const std::size_t saltAt = text.rfind('$', hashAt - 1);
    if (hashAt - saltAt - 1 != kSaltChars || text.size() - hashAt - 1 != kHashChars)
        return false;
    if (sodium_init() < 0)
        return false;
    // -1: the library can't read it (0 or 1 only say whether its cost is today's).
    return crypto_pwhash_str_needs_rehash(buffer.data(), kPasses, kMemoryBytes) != -1;
}

CTeacherPassword::State CTeacherPassword::Read(const std::string& nativePath, std::string& hash)
{
    hash.clear();
    std::string bytes;
    switch (CAtomicFile::ReadBoundedFile(nativePath, kMaxFileBytes, bytes, nullptr)) {
    case CAtomicFile::BoundedRead::missing:
        return State::none;
    case CAtomicFile::BoundedRead::ok:
        break;
    case CAtomicFile::BoundedRead::notRegular:
    case CAtomicFile::BoundedRead::tooLarge:
    case CAtomicFile::BoundedRead::failed:
        return State::damaged;
    }
    return Decode(bytes, hash);
}

CTeacherPassword::State CTeacherPassword::Decode(std::string_view bytes, std::string& hash)
{
    hash.clear();
    if (bytes.size() > kMaxFileBytes || !bytes.ends_with('\n'))
        return State::damaged;
    bytes.remove_suffix(1);
    if (!IsValidHash(bytes))
        return State::damaged;
    hash = bytes;
    return State::set;
}

std::optional<std::string> CTeacherPassword::Hash(std::string_view password)
{
    if (sodium_init() < 0)
        return std::nullopt;
    HashBuffer buffer{};
    if (crypto_pwhash_str(buffer.data(), password.data(), password.size(), kPasses, kMemoryBytes) != 0)
        return std::nullopt;
    return std::string(buffer.data());
}

bool CTeacherPassword::Verify(const std::string& hash, std::string_view password)
{
    HashBuffer buffer;
    if (!IsValidHash(hash) || !ToBuffer(hash, buffer))
        return false;
    return crypto_pwhash_str_verify(buffer.data(), password.data(), password.size()) == 0;
}

bool CTeacherPassword::Write(const std::string& nativePath, std::string_view password, bool keepDamaged,
                             std::string* errorText)
{
    const std::optional<std::string> hash = Hash(password);
    if (!hash) {
        if (errorText)
            *errorText = CSystemError::Text(ENOMEM);
        return false;
    }
    if (keepDamaged) {
        // Only a file's bytes can be kept; a folder or pipe in its place is simply replaced.
        std::string old;
        std::string copy;
        mode_t mode = 0;
        if (CSafeFile::ReadAll(nativePath, old, nullptr, &mode, kMaxFileBytes) &&
            !CAtomicFile::KeepCopy(nativePath, kDamagedSuffix, old, mode, copy, errorText))
            return false;
    }
    return CAtomicFile::WriteFileAtomically(nativePath, *hash + "\n", errorText);
}

CTeacherPassword::Change CTeacherPassword::ChangePassword(const std::string& nativePath, std::string_view oldPassword,
                                                          std::string_view newPassword, std::string_view retyped,
                                                          std::string* errorText)
{
    std::string hash;
    const State state = Read(nativePath, hash);
    if (state == State::set && !Verify(hash, oldPassword))
        return Change::wrongOld;
    if (newPassword != retyped)
        return Change::notSame;
    if (newPassword.empty()) {
        if (state != State::set)
            return Change::emptyNew;
        // A file marked read-only is kept, as a save would keep it.
        const int error = CAtomicFile::IsWriteProtected(nativePath) ? EACCES
                          : ::unlink(nativePath.c_str()) != 0 && errno != ENOENT ? errno
                                                                               : 0;
        if (error != 0) {
            if (errorText)
                *errorText = CSystemError::About(error, nativePath);
            return Change::saveFailed;
        }
        return Change::removed;
    }
    return Write(nativePath, newPassword, state == State::damaged, errorText) ? Change::set : Change::saveFailed;
}

const char* CTeacherPassword::Message(Change result)
{
    switch (result) {
    case Change::set: return "Teacher Password Set.";
    case Change::removed: return "Teacher Password Removed. The class view now opens without a password.";
    case Change::wrongOld: return "The old teacher's password is not right.";
    case Change::notSame: return "The new password is not the same as the retyped password.";
    case Change::emptyNew: return "Type the new teacher's password twice.";
    case Change::saveFailed: return "The teacher's password could not be saved.";
    }
    return "";
}
