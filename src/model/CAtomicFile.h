#pragma once
#include <string>

#include <sys/types.h>

// Whole-file reads and all-or-nothing writes. Paths are the file system's bytes
// (CPath::ToNative); error texts are the program's Windows-1252 text, the reason
// followed by the path. Files are opened as CSafeFile does: a symbolic link is
// followed only when it belongs to this user or to root, and only regular files are
// read or replaced.
class CAtomicFile {
public:
    // Writes bytes to a temporary file in the same folder, flushes it to disk and renames
    // it over path, so path holds either the old or the new content, never a part. An
    // existing file's permission bits are kept. On failure path is untouched, the
    // temporary file is removed, and errorText (if given) gets the reason.
    // A symbolic link is written through: its target gets the new content and the link
    // stays. A write-protected file (see IsWriteProtected) is refused with EACCES.
    static bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                                    std::string* errorText);
    // Writes bytes to path only where nothing is: the last step fails with EEXIST, and
    // path keeps what it holds, when a file (or a link) appeared there meanwhile. The
    // new file gets mode's permission bits less the umask, never more.
    static bool WriteNewFile(const std::string& path, const std::string& bytes, mode_t mode,
                             std::string* errorText);
    // Keeps bytes beside path in the first of path + suffix, + ".2", + ".3"... that names
    // nothing, never replacing an earlier copy; with at most mode's permission bits, so
    // a copy is never readable by more people than the file it copies. copyPath gets
    // the name chosen.
    static bool KeepCopy(const std::string& path, const std::string& suffix, const std::string& bytes,
                         mode_t mode, std::string& copyPath, std::string* errorText);
    // Reads the whole regular file into bytes. False (with the reason) when it can't be
    // opened or read, is no regular file, or is a link that belongs to someone else.
    // mode (if given) gets the file's permission bits.
    static bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* errorText,
                              mode_t* mode = nullptr);
    // Reads a file of a shared folder, as ReadWholeFile does, and at most maxBytes of it.
    // tooLarge leaves the first maxBytes in bytes; notRegular is a pipe, a device, a
    // socket or a folder; failed covers a link of someone else's too. errorText (if given)
    // gets the reason of any result but ok; mode (if given) the permission bits of a file
    // that was read, whole or not.
    enum class BoundedRead { ok, missing, notRegular, tooLarge, failed };
    static BoundedRead ReadBoundedFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                                       std::string* errorText, mode_t* mode = nullptr);
    // Is there a file (or anything else) at path?
    static bool Exists(const std::string& path);
    // Is the existing file at path closed to writing for this user? Also true when it
    // has no write permission for anybody: that is how a file is marked read-only, and
    // the mark holds for an administrator too, who the system would let write anyway.
    // A missing file is not write-protected.
    static bool IsWriteProtected(const std::string& path);
    // Can a save replace the file at path? Not when it is write-protected, is a link
    // that belongs to someone else, nor when its folder can't take the new file.
    static bool CanReplace(const std::string& path);

    // The pieces the user file's own locked replacement shares with the writes above.
    // A new temporary file for path in its folder (see TemporaryName), opened with access
    // (O_WRONLY or O_RDWR), never through a link, and created with mode less the umask;
    // -1 with errno on failure.
    static int CreateTemporary(const std::string& path, std::string& temp, int access, mode_t mode = 0666);
    // Renames the finished temporary file over target, makes the rename last and removes
    // stale temporaries; false with errno when the rename fails (temp is left to the caller).
    static bool Commit(const std::string& temp, const std::string& target);
    // The same, but fails with EEXIST instead of replacing anything at target.
    static bool CommitNew(const std::string& temp, const std::string& target);
    // Writes every byte to fd, retrying after signals.
    static bool WriteAll(int fd, const std::string& bytes);
    // The first of path + suffix, path + suffix + ".2", ".3"... that names nothing yet.
    static std::string FreeCopyPath(const std::string& path, const std::string& suffix);
    // The name of the n-th temporary file this process writes for path:
    // path + ".tmp<pid>-<n>." + HostName(). Several machines may save into one shared
    // folder, and a process id means something only on its own machine.
    static std::string TemporaryName(const std::string& path, unsigned n);
    // This machine's name as it goes into a file name: letters, digits, "-" and "."
    // kept, anything else "_".
    static std::string HostName();
    // Removes the temporary files of path that a save killed half-way left behind: only
    // names of the pattern above written on this machine, and only those whose process
    // no longer runs. A name without a machine (from an older version) counts as this
    // machine's.
    static void RemoveStaleTemporaries(const std::string& path);
};
