#include "model/CAtomicFile.h"

#include "model/CPath.h"
#include "model/CSafeFile.h"
#include "model/CSystemError.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool Fail(std::string* errorText, int error, const std::string& path)
{
    if (errorText)
        *errorText = CSystemError::About(error, path);
    errno = error;
    return false;
}

bool Fail(std::string* errorText, const std::string& why, int error, const std::string& path)
{
    if (errorText)
        *errorText = CSystemError::About(why, path);
    errno = error;
    return false;
}

// Makes a rename in folder survive a crash.
void SyncFolder(const std::string& folder)
{
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// Writes bytes to a new temporary file beside target, created with createMode (then given
// old's permission bits, if old is given), and puts it in place with commit. On failure
// no temporary file is left and errno says why.
bool WriteThroughTemporary(const std::string& target, const std::string& bytes, mode_t createMode,
                           const struct stat* old, bool (*commit)(const std::string&, const std::string&))
{
    std::string temp;
    const int fd = CAtomicFile::CreateTemporary(target, temp, O_WRONLY, createMode);
    if (fd < 0)
        return false;
    bool ok = (!old || ::fchmod(fd, old->st_mode & 07777) == 0) && CAtomicFile::WriteAll(fd, bytes)
        && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && !commit(temp, target)) {
        ok = false;
        error = errno;
    }
    if (ok)
        return true;
    ::unlink(temp.c_str());
    errno = error;
    return false;
}
}

int CAtomicFile::CreateTemporary(const std::string& path, std::string& temp, int access, mode_t mode)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = TemporaryName(path, counter++);
        const int fd = ::open(temp.c_str(), access | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
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
    SyncFolder(CPath::FolderOf(target));
    RemoveStaleTemporaries(target);
    return true;
}

bool CAtomicFile::CommitNew(const std::string& temp, const std::string& target)
{
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
        // Older kernels and some network file systems can't rename without replacing; a
        // second name that fails on an existing file does the same there.
        if (errno != EINVAL && errno != ENOSYS)
            return false;
        if (::link(temp.c_str(), target.c_str()) != 0)
            return false;
        ::unlink(temp.c_str());
    }
    SyncFolder(CPath::FolderOf(target));
    RemoveStaleTemporaries(target);
    return true;
}

bool CAtomicFile::Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
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
    std::string target;
    if (!CSafeFile::Resolve(path, target, nullptr))
        return false;
    if (IsWriteProtected(target))
        return false;
    return ::access(CPath::FolderOf(target).c_str(), W_OK | X_OK) == 0;
}

bool CAtomicFile::WriteFileAtomically(const std::string& path, const std::string& bytes,
                                      std::string* errorText)
{
    // Renaming over a link would put a plain file in its place; the target is replaced instead.
    std::string target;
    std::string why;
    if (!CSafeFile::Resolve(path, target, &why))
        return Fail(errorText, why, errno, path);
    struct stat old {};
    const bool hadFile = ::lstat(target.c_str(), &old) == 0;
    if (hadFile && S_ISDIR(old.st_mode))
        return Fail(errorText, EISDIR, path);
    if (hadFile && !S_ISREG(old.st_mode))
        return Fail(errorText, S_ISLNK(old.st_mode) ? CSystemError::Text(ELOOP) : CSafeFile::kNotRegular,
                    S_ISLNK(old.st_mode) ? ELOOP : CSafeFile::kNotRegularError, path);
    // The rename would go through whatever the file's own permissions say.
    if (hadFile && IsWriteProtected(target))
        return Fail(errorText, EACCES, path);
    // Nobody else gets to open the new content before it has the old file's permissions.
    if (!WriteThroughTemporary(target, bytes, hadFile ? 0600 : 0666, hadFile ? &old : nullptr, &Commit))
        return Fail(errorText, errno, path);
    return true;
}

bool CAtomicFile::WriteNewFile(const std::string& path, const std::string& bytes, mode_t mode,
                               std::string* errorText)
{
    if (!WriteThroughTemporary(path, bytes, mode & 0666, nullptr, &CommitNew))
        return Fail(errorText, errno, path);
    return true;
}

bool CAtomicFile::KeepCopy(const std::string& path, const std::string& suffix, const std::string& bytes,
                           mode_t mode, std::string& copyPath, std::string* errorText)
{
    // Another copy of the program may take the free name first; then the next one is tried.
    for (int attempt = 0; attempt < 100; ++attempt) {
        copyPath = FreeCopyPath(path, suffix);
        if (WriteNewFile(copyPath, bytes, mode, errorText))
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool CAtomicFile::ReadWholeFile(const std::string& path, std::string& bytes, std::string* errorText, mode_t* mode)
{
    std::string why;
    if (!CSafeFile::ReadAll(path, bytes, &why, mode))
        return Fail(errorText, why, errno, path);
    return true;
}

CAtomicFile::BoundedRead CAtomicFile::ReadBoundedFile(const std::string& path, std::size_t maxBytes,
                                                      std::string& bytes, std::string* errorText, mode_t* mode)
{
    std::string why;
    if (CSafeFile::ReadAll(path, bytes, &why, mode, maxBytes + 1)) {
        if (bytes.size() <= maxBytes)
            return BoundedRead::ok;
        bytes.resize(maxBytes);
        Fail(errorText, EFBIG, path);
        return BoundedRead::tooLarge;
    }
    const int error = errno;
    Fail(errorText, why, error, path);
    if (error == ENOENT || error == ENOTDIR)
        return BoundedRead::missing;
    if (error == CSafeFile::kNotRegularError || error == EISDIR)
        return BoundedRead::notRegular;
    return BoundedRead::failed;
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

std::string CAtomicFile::HostName()
{
    char buffer[HOST_NAME_MAX + 1] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0 || buffer[0] == '\0')
        return "localhost";
    std::string name = buffer;
    for (char& c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'
            || c == '.';
        if (!plain)
            c = '_';
    }
    return name;
}

std::string CAtomicFile::TemporaryName(const std::string& path, unsigned n)
{
    return path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(n) + "." + HostName();
}

namespace {
struct TemporaryOwner {
    pid_t pid = 0;        // 0: not a temporary name of the file
    bool hasHost = false; // false: a name from before temporaries named their machine
    std::string host;
};

// Reads "<file>.tmp<pid>-<n>.<host>" (or, from older versions, "<file>.tmp<pid>-<n>").
TemporaryOwner ReadTemporaryName(const std::string& name, const std::string& file)
{
    TemporaryOwner owner;
    const std::string prefix = file + ".tmp";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return owner;
    long pid = 0;
    size_t i = prefix.size();
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
        pid = pid * 10 + (name[i] - '0');
        if (pid > 1L << 30)
            return owner;
    }
    if (i == prefix.size() || i >= name.size() || name[i] != '-')
        return owner;
    const size_t digits = ++i;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9')
        ++i;
    if (i == digits)
        return owner;
    if (i < name.size()) {
        if (name[i] != '.' || i + 1 == name.size())
            return owner;
        owner.hasHost = true;
        owner.host = name.substr(i + 1);
    }
    owner.pid = static_cast<pid_t>(pid);
    return owner;
}
}

void CAtomicFile::RemoveStaleTemporaries(const std::string& path)
{
    const std::string folder = CPath::FolderOf(path);
    const std::string file = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const std::string host = HostName();
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const TemporaryOwner owner = ReadTemporaryName(name, file);
        if (owner.pid <= 0)
            continue;
        // Another machine's process ids say nothing here: its save may still be running.
        if (owner.hasHost && owner.host != host)
            continue;
        // A save still running in this or another live process keeps its file.
        if (owner.pid == ::getpid() || ::kill(owner.pid, 0) == 0 || errno != ESRCH)
            continue;
        ::unlinkat(::dirfd(dir), name.c_str(), 0);
    }
    ::closedir(dir);
}
