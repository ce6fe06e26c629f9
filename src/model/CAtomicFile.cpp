#include "model/CAtomicFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
void SetError(std::string* errorText, int error, const std::string& path)
{
    if (errorText)
        *errorText = std::string(std::strerror(error)) + ": " + path;
}

// Appends what fd holds to bytes until its end, or until more than limit bytes are
// there; false with errno when a read fails.
bool ReadAll(int fd, std::size_t limit, std::string& bytes)
{
    char buffer[65536];
    while (bytes.size() <= limit) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}
}

int CAtomicFile::CreateTemporary(const std::string& path, std::string& temp, int access)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = TemporaryName(path, counter++);
        const int fd = ::open(temp.c_str(), access | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

bool CAtomicFile::Commit(const std::string& temp, const std::string& target)
{
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return false;
    // Make the rename itself survive a crash.
    const int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    RemoveStaleTemporaries(target);
    return true;
}

bool CAtomicFile::Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string CAtomicFile::LinkTarget(const std::string& path)
{
    std::string current = path;
    // The system gives up after 40 links; so do we.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0)
            return current;
        target.resize(static_cast<size_t>(n));
        if (target.front() != '/') {
            const std::string folder = FolderOf(current);
            target = folder == "." ? target : folder == "/" ? "/" + target : folder + "/" + target;
        }
        current = target;
    }
    return current;
}

bool CAtomicFile::IsWriteProtected(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::access(path.c_str(), W_OK) != 0;
}

bool CAtomicFile::CanReplace(const std::string& path)
{
    const std::string target = LinkTarget(path);
    if (IsWriteProtected(target))
        return false;
    return ::access(FolderOf(target).c_str(), W_OK | X_OK) == 0;
}

bool CAtomicFile::WriteFileAtomically(const std::string& path, const std::string& bytes,
                                      std::string* errorText)
{
    // Renaming over a link would put a plain file in its place; the target is replaced instead.
    const std::string target = LinkTarget(path);
    struct stat old {};
    if (::lstat(target.c_str(), &old) == 0 && S_ISLNK(old.st_mode)) {
        SetError(errorText, ELOOP, path);
        return false;
    }
    const bool hadFile = ::stat(target.c_str(), &old) == 0;
    if (hadFile && S_ISDIR(old.st_mode)) {
        SetError(errorText, EISDIR, path);
        return false;
    }
    // The rename would go through whatever the file's own permissions say.
    if (hadFile && IsWriteProtected(target)) {
        SetError(errorText, EACCES, path);
        return false;
    }

    std::string temp;
    const int fd = CreateTemporary(target, temp, O_WRONLY);
    if (fd < 0) {
        SetError(errorText, errno, path);
        return false;
    }

    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        SetError(errorText, error, path);
        return false;
    };
    if (hadFile && ::fchmod(fd, old.st_mode & 07777) != 0)
        return fail(errno);
    if (!CAtomicFile::WriteAll(fd, bytes))
        return fail(errno);
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        SetError(errorText, error, path);
        return false;
    }
    if (!Commit(temp, target)) {
        const int error = errno;
        ::unlink(temp.c_str());
        SetError(errorText, error, path);
        return false;
    }
    return true;
}

bool CAtomicFile::ReadWholeFile(const std::string& path, std::string& bytes, std::string* errorText)
{
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetError(errorText, errno, path);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        SetError(errorText, EISDIR, path);
        return false;
    }
    if (st.st_size > 0)
        bytes.reserve(static_cast<size_t>(st.st_size));
    if (!ReadAll(fd, bytes.max_size(), bytes)) {
        const int error = errno;
        ::close(fd);
        bytes.clear();
        SetError(errorText, error, path);
        return false;
    }
    ::close(fd);
    return true;
}

CAtomicFile::BoundedRead CAtomicFile::ReadBoundedFile(const std::string& path, std::size_t maxBytes,
                                                      std::string& bytes, std::string* errorText)
{
    bytes.clear();
    // Asked before opening: opening some devices already does something.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int error = errno;
        SetError(errorText, error, path);
        return error == ENOENT || error == ENOTDIR ? BoundedRead::missing : BoundedRead::failed;
    }
    if (!S_ISREG(st.st_mode)) {
        SetError(errorText, S_ISDIR(st.st_mode) ? EISDIR : EINVAL, path);
        return BoundedRead::notRegular;
    }
    // Non-blocking, in case a pipe took the file's place since the question above.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        SetError(errorText, error, path);
        return error == ENOENT ? BoundedRead::missing : BoundedRead::failed;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        SetError(errorText, EINVAL, path);
        return BoundedRead::notRegular;
    }
    bytes.reserve(std::min<std::size_t>(maxBytes, st.st_size > 0 ? std::size_t(st.st_size) : 0));
    if (!ReadAll(fd, maxBytes, bytes)) {
        const int error = errno;
        ::close(fd);
        bytes.clear();
        SetError(errorText, error, path);
        return BoundedRead::failed;
    }
    ::close(fd);
    if (bytes.size() > maxBytes) {
        bytes.resize(maxBytes);
        SetError(errorText, EFBIG, path);
        return BoundedRead::tooLarge;
    }
    return BoundedRead::ok;
}

std::string CAtomicFile::FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool CAtomicFile::WriteAll(int fd, const std::string& bytes)
{
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

std::string CAtomicFile::FreeCopyPath(const std::string& path, const std::string& suffix)
{
    std::string copy = path + suffix;
    for (int n = 2; Exists(copy); ++n)
        copy = path + suffix + "." + std::to_string(n);
    return copy;
}

std::string CAtomicFile::TemporaryName(const std::string& path, unsigned n)
{
    return path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(n);
}

namespace {
// The process id of a temporary name "<file>.tmp<pid>-<n>", or 0 when name isn't one.
pid_t TemporaryOwner(const std::string& name, const std::string& file)
{
    const std::string prefix = file + ".tmp";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    long pid = 0;
    size_t i = prefix.size();
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
        pid = pid * 10 + (name[i] - '0');
        if (pid > 1L << 30)
            return 0;
    }
    if (i == prefix.size() || i >= name.size() || name[i] != '-' || i + 1 == name.size())
        return 0;
    for (++i; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return 0;
    return static_cast<pid_t>(pid);
}
}

void CAtomicFile::RemoveStaleTemporaries(const std::string& path)
{
    const std::string folder = FolderOf(path);
    const std::string file = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const pid_t owner = TemporaryOwner(name, file);
        // A save still running in this or another live process keeps its file.
        if (owner <= 0 || owner == ::getpid() || ::kill(owner, 0) == 0 || errno != ESRCH)
            continue;
        ::unlinkat(::dirfd(dir), name.c_str(), 0);
    }
    ::closedir(dir);
}
