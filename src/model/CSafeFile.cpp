#include "model/CSafeFile.h"

#include "model/CPath.h"
#include "model/CSystemError.h"

#include <algorithm>
#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <unistd.h>

namespace {
bool Refuse(std::string* why, int error, const std::string& text)
{
    if (why)
        *why = text;
    errno = error;
    return false;
}

bool Refuse(std::string* why, int error)
{
    return Refuse(why, error, CSystemError::Text(error));
}

// What is wrong with a file of this type for reading or replacing, if anything.
bool CheckType(mode_t mode, std::string* why)
{
    if (S_ISREG(mode))
        return true;
    if (S_ISDIR(mode))
        return Refuse(why, EISDIR);
    return Refuse(why, CSafeFile::kNotRegularError, CSafeFile::kNotRegular);
}
}

bool CSafeFile::Resolve(const std::string& nativePath, std::string& target, std::string* why)
{
    const uid_t me = ::geteuid();
    target = nativePath;
    // The system gives up after 40 links; so do we.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        if (st.st_uid != me && st.st_uid != 0)
            return Refuse(why, kForeignLinkError, kForeignLink);
        std::string to(PATH_MAX, '\0');
        const ssize_t n = ::readlink(target.c_str(), to.data(), to.size());
        if (n <= 0)
            return Refuse(why, n < 0 ? errno : ENOENT);
        to.resize(static_cast<size_t>(n));
        if (to.front() != '/') {
            const std::string folder = CPath::FolderOf(target);
            to = folder == "." ? to : folder == "/" ? "/" + to : folder + "/" + to;
        }
        target = to;
    }
    return Refuse(why, ELOOP);
}

int CSafeFile::Open(const std::string& nativePath, int access, std::string* why, struct stat* info)
{
    // A link put in place of the file after it was looked at makes the open fail with
    // ELOOP (O_NOFOLLOW); it is looked at again, a few times.
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string target;
        if (!Resolve(nativePath, target, why))
            return -1;
        struct stat st {};
        // Looked at before the open too: opening a device may already do something.
        if (::lstat(target.c_str(), &st) == 0 && !S_ISLNK(st.st_mode) && !CheckType(st.st_mode, why))
            return -1;
        const int fd = ::open(target.c_str(), access | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ELOOP)
                continue;
            Refuse(why, errno);
            return -1;
        }
        auto fail = [fd] {
            const int error = errno;
            ::close(fd);
            errno = error;
            return -1;
        };
        if (::fstat(fd, &st) != 0) {
            Refuse(why, errno);
            return fail();
        }
        if (!CheckType(st.st_mode, why))
            return fail();
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
            Refuse(why, errno);
            return fail();
        }
        if (info)
            *info = st;
        return fd;
    }
    Refuse(why, ELOOP);
    return -1;
}

bool CSafeFile::ReadAll(const std::string& nativePath, std::string& bytes, std::string* why, mode_t* mode,
                        std::size_t limit)
{
    bytes.clear();
    struct stat st {};
    const int fd = Open(nativePath, O_RDONLY, why, &st);
    if (fd < 0)
        return false;
    if (mode)
        *mode = st.st_mode & 07777;
    if (st.st_size > 0)
        bytes.reserve(std::min(static_cast<size_t>(st.st_size), limit));
    char buffer[65536];
    while (bytes.size() < limit) {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            bytes.clear();
            return Refuse(why, error);
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}
