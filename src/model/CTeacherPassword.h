#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The teacher's password, which opens the class view of the reports page. It lies in the
// user folder in a file of its own, "Kelto4.tpw", beside the user file (which stays as it
// is): one line holding libsodium's Argon2id hash string of the password (the salt and the
// cost are part of that string), then a line feed. The password itself is never stored.
// No file means no teacher's password is set. A file that holds anything else is damaged:
// it keeps the class view locked until someone who can write the folder sets a new password.
// Passwords are Windows-1252 text, compared exactly.
class CTeacherPassword {
public:
    static constexpr const char* kFileName = "Kelto4.tpw";
    static constexpr const char* kDamagedSuffix = ".damaged";
    // A hash string is at most 128 bytes; anything much larger is not ours.
    static constexpr std::size_t kMaxFileBytes = 1024;
    // The most memory (KiB) and passes a stored hash may ask for: a planted file must not make
    // a check take the machine's memory. Ours asks for 64 MiB and 2 passes.
    static constexpr unsigned long kMostMemoryKiB = 256 * 1024;
    static constexpr unsigned long kMostPasses = 8;

    // set: a password is set (hash holds it). none: no file. damaged: a file that holds no
    // valid hash, or something else than a file (a folder, a pipe), or one that can't be read.
    enum class State { none, set, damaged };

    // userFolder + "/Kelto4.tpw", Windows-1252 text like the other files' paths.
    static std::string Path(const std::string& userFolder);

    // nativePath: the file system's bytes (CPath::ToNative). Never blocks on a pipe.
    static State Read(const std::string& nativePath, std::string& hash);
    // The same for the file's bytes: set or damaged.
    static State Decode(std::string_view bytes, std::string& hash);
    // Is text (without the line feed) a hash string this program can check?
    static bool IsValidHash(std::string_view text);
    // A new hash string of password with a fresh salt; nothing when the library fails (no memory).
    static std::optional<std::string> Hash(std::string_view password);
    // Does password match hash? False for a hash that is not valid.
    static bool Verify(const std::string& hash, std::string_view password);

    // What Change did, and what the dialog says about it.
    enum class Change { set, removed, wrongOld, notSame, emptyNew, saveFailed };
    // The options page's "Teacher Password...": with a password set, oldPassword must match it;
    // with none set or a damaged file, it is not asked. The new password must equal retyped;
    // an empty new password removes a password that is set, and is refused otherwise (a damaged
    // file stays until a new password replaces it). A damaged file is kept beside as
    // Kelto4.tpw.damaged (".damaged.2", ...) before it is replaced. errorText gets the system's
    // reason for saveFailed.
    static Change ChangePassword(const std::string& nativePath, std::string_view oldPassword,
                                 std::string_view newPassword, std::string_view retyped, std::string* errorText);
    static const char* Message(Change result);

    // What the class view says while a damaged file keeps it locked.
    static constexpr const char* kDamagedText =
        "The teacher's password file (Kelto4.tpw) is damaged or can't be read, so the class view stays "
        "locked. Someone who can change the user folder can set a new teacher's password on the "
        "options page (Teacher Password...).";
    static constexpr const char* kWrongPasswordText = "That is not the teacher's password.";

private:
    static bool Write(const std::string& nativePath, std::string_view password, bool keepDamaged,
                      std::string* errorText);
};
