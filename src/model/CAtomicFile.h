#pragma once
#include <cstddef>
#include <string>

// Whole-file reads and all-or-nothing writes. Paths are the file system's bytes (CPath::ToNative).
class CAtomicFile {
public:
    // Writes bytes to a temporary file in the same folder, flushes it to disk and renames
    // it over path, so path holds either the old or the new content, never a part. An
    // existing file's permission bits are kept. On failure path is untouched, the
    // temporary file is removed, and errorText (if given) gets the system's reason.
    // A symbolic link is written through: its target gets the new content and the link
    // stays. A write-protected file (see IsWriteProtected) is refused with EACCES.
    static bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                                    std::string* errorText);
    // Reads the whole file into bytes. False (with the reason) when it can't be opened or read.
    static bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* errorText);
    // Reads a file of a shared folder, which anyone may have replaced by something else:
    // only a regular file (or a link to one) is opened, never a pipe or a device, so the
    // read can't block, and at most maxBytes are read. tooLarge leaves the first maxBytes
    // in bytes. errorText (if given) gets the reason of any result but ok.
    enum class BoundedRead { ok, missing, notRegular, tooLarge, failed };
    static BoundedRead ReadBoundedFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                                       std::string* errorText);
    // Is there a file (or anything else) at path?
    static bool Exists(const std::string& path);
    // The file a write to path replaces: path with every symbolic link at its end
    // followed (a relative link is read from the link's folder); path itself when it
    // is no link. A loop of links gives the last link reached.
    static std::string LinkTarget(const std::string& path);
    // Is the existing file at path closed to writing for this user? Also true when it
    // has no write permission for anybody: that is how a file is marked read-only, and
    // the mark holds for an administrator too, who the system would let write anyway.
    // A missing file is not write-protected.
    static bool IsWriteProtected(const std::string& path);
    // Can a save replace the file at path? Not when it is write-protected, nor when its
    // folder can't take the new file.
    static bool CanReplace(const std::string& path);

    // The pieces the user file's own locked replacement shares with the writes above.
    // A new temporary file for path in its folder (see TemporaryName), opened with access
    // (O_WRONLY or O_RDWR) and created with 0666 less the umask; -1 with errno on failure.
    static int CreateTemporary(const std::string& path, std::string& temp, int access);
    // Renames the finished temporary file over target, makes the rename last and removes
    // stale temporaries; false with errno when the rename fails (temp is left to the caller).
    static bool Commit(const std::string& temp, const std::string& target);
    // Writes every byte to fd, retrying after signals.
    static bool WriteAll(int fd, const std::string& bytes);
    // The folder part of path: "." without a slash, "/" for a file in the root.
    static std::string FolderOf(const std::string& path);
    // The first of path + suffix, path + suffix + ".2", ".3"... that names nothing yet, so
    // a copy kept of a damaged file never replaces an earlier one.
    static std::string FreeCopyPath(const std::string& path, const std::string& suffix);
    // The name of the n-th temporary file this process writes for path: path + ".tmp<pid>-<n>".
    static std::string TemporaryName(const std::string& path, unsigned n);
    // Removes the temporary files of path that a save killed half-way left behind: only
    // names of the pattern above, and only those whose process no longer runs.
    static void RemoveStaleTemporaries(const std::string& path);
};
