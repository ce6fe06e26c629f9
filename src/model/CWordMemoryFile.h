#pragma once
#include "model/CWordMemory.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A learner's word memory on disk: userName + ".kt5" in the user folder, beside the record
// files. The bytes (all numbers little-endian; docs/word-memory.md tells them in full):
// "KT5M", the version (uint32, 1), the number of words (uint32), then per word its length
// (uint16, 1 to CWordMemory::kMaxWordBytes) and Windows-1252 bytes, the box and the highest
// box (uint8 each), the due day and the day last asked (int32 days since 1970-01-01), and
// the first attempts asked and missed (uint32 each). Nothing follows the last word.
class CWordMemoryFile {
public:
    static constexpr const char* kExtension = ".kt5";
    static constexpr const char* kDamagedSuffix = ".damaged";
    static constexpr char kMagic[4] = {'K', 'T', '5', 'M'};
    static constexpr uint32_t kVersion = 1;
    // Later versions will count up from kVersion; a larger number is damage, not a version.
    static constexpr uint32_t kLastPossibleVersion = 255;
    // Far more than a lifetime of words; a larger file is damage.
    static constexpr std::size_t kMaxFileBytes = std::size_t(64) << 20;

    // ok: the words are read. missing: no file yet. damaged: bytes that are no memory file
    // (or too many of them). newer: a later Keltora wrote it; this one neither reads nor
    // replaces it. unreadable: the file can't be read, or something else than a file
    // (a pipe, a folder) has its name.
    enum class ReadResult { ok, missing, damaged, newer, unreadable };

    // userFolder + "/" + userName + ".kt5", Windows-1252 text like the record files' paths.
    static std::string Path(const std::string& userFolder, const std::string& userName);

    static std::string Encode(const CWordMemory& memory);
    // memory is emptied first and keeps the words only when the result is ok.
    static ReadResult Decode(std::string_view bytes, CWordMemory& memory);
    // The version the bytes name, when they begin like a memory file.
    static std::optional<uint32_t> Version(std::string_view bytes);
    // Do the bytes begin like a memory file of a version after this one?
    static bool IsNewer(std::string_view bytes);

    // nativePath: the file system's bytes (CPath::ToNative). errorText (if given) gets the
    // reason for unreadable.
    static ReadResult Read(const std::string& nativePath, CWordMemory& memory, std::string* errorText);
    // Saves all or nothing (CAtomicFile). A file of a newer version, or anything else than
    // a file, is never replaced: false with the reason.
    static bool Write(const std::string& nativePath, const CWordMemory& memory, std::string* errorText);
    // Puts a damaged file aside under the first free name path + ".damaged" (".damaged.2",
    // ...), so the next save starts afresh and no earlier copy is replaced. The copy's native
    // path, or empty (with the reason) when it could not be kept.
    static std::string KeepDamaged(const std::string& nativePath, std::string* errorText);
};
