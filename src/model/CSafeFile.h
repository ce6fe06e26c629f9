#pragma once
#include <cerrno>
#include <cstddef>
#include <string>

#include <sys/stat.h>

// Opening files in a folder that other people can write to: a class's shared user
// folder, a sound folder on a file server. A symbolic link is followed only when it
// belongs to the user who runs the program or to root, as the kernel's own
// protected_symlinks rule has it, so a link planted by someone else never makes the
// program read or replace another file of this user. Anything but a regular file (a
// pipe, a device, a socket) is refused before a read could wait on it for ever.
// Paths are the file system's bytes; a reason ("why") is Windows-1252 text without
// the path, to be put before it (CSystemError::About).
class CSafeFile {
public:
    static constexpr const char* kForeignLink =
        "This file is a link that belongs to someone else, so it is not followed";
    static constexpr const char* kNotRegular =
        "This is not a regular file but a pipe, a device or a socket, so it is not opened";
    // The errno values that go with the two refusals above.
    static constexpr int kForeignLinkError = EPERM;
    static constexpr int kNotRegularError = ENXIO;
    static bool IsRefusal(int error) { return error == kForeignLinkError || error == kNotRegularError; }

    // The file that nativePath names: the path with each symbolic link at its end
    // followed (a relative link is read from the link's folder); the path itself when
    // it is no link. Folders on the way are taken as they are. False, with why (if
    // given) and errno, when a link belongs to someone else (kForeignLinkError) or the links go
    // round in a loop (ELOOP). The file need not exist.
    static bool Resolve(const std::string& nativePath, std::string& target, std::string* why);

    // Opens the existing regular file at nativePath for access (O_RDONLY or O_RDWR),
    // following only the links that Resolve follows. It never waits: a pipe, a device
    // or a socket is refused (kNotRegularError) without being read, a folder with EISDIR.
    // The descriptor, or -1 with errno and why (if given). info (if given) gets the
    // file's status.
    static int Open(const std::string& nativePath, int access, std::string* why, struct stat* info = nullptr);
    // Reads the whole regular file, opened as Open does, or its first limit bytes. False,
    // with errno and why (if given), when it can't be opened or read. mode (if given) gets
    // its permission bits.
    static bool ReadAll(const std::string& nativePath, std::string& bytes, std::string* why, mode_t* mode = nullptr,
                        std::size_t limit = std::string::npos);
};
