#include "users/CUserFile.h"

#include "model/CArchive.h"
#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "model/CSafeFile.h"
#include "model/CSystemError.h"
#include "model/KMessage.h"
#include "users/CUserFileWaiter.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string ErrorText(int error, const std::string& path)
{
    return CSystemError::Text(error) + ": " + path;
}

bool IsBusy(int error)
{
    return error == EAGAIN || error == EACCES;
}

// Does path still name the file open on fd? Not after another copy replaced it.
bool StillNamed(int fd, const std::string& nativePath)
{
    struct stat open {};
    struct stat named {};
    if (::fstat(fd, &open) != 0 || ::stat(nativePath.c_str(), &named) != 0)
        return false;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

bool ReadAll(const CUserFileAccess& access, int fd, std::string& bytes)
{
    bytes.clear();
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return false;
    char buffer[4096];
    for (;;) {
        const ssize_t n = access.Read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        bytes.append(buffer, static_cast<size_t>(n));
    }
}
}

CUserFile::~CUserFile()
{
    Close();
}

void CUserFile::Close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

CUserFile::Attempt CUserFile::TryOpenExisting()
{
    const std::string native = CPath::ToNative(m_path);
    // A file replaced between our open and our lock is simply opened again; the
    // bound only guards against a folder that changes without end.
    for (int replaced = 0; replaced < 16; ++replaced) {
        std::string why;
        const int fd = CSafeFile::Open(native, O_RDWR, &why);
        if (fd < 0) {
            const int error = errno;
            std::string target;
            if (error == ENOENT && CSafeFile::Resolve(native, target, nullptr) && target != native) {
                // No waiting mends a link to nothing, and nothing is created through it.
                m_lastError = why + ": " + m_path + " (a link to " + CPath::FromNative(target) + ")";
                return Attempt::failed;
            }
            if (error == ENOENT)
                return Attempt::missing;
            m_lastError = why + ": " + m_path;
            return Attempt::failed;
        }
        if (!m_access.Lock(fd)) {
            const int error = errno;
            ::close(fd);
            m_lastError = ErrorText(error, m_path);
            return IsBusy(error) ? Attempt::busy : Attempt::failed;
        }
        if (StillNamed(fd, native)) {
            m_fd = fd;
            return Attempt::locked;
        }
        ::close(fd);
    }
    return Attempt::busy;
}

CUserFile::Attempt CUserFile::TryCreate()
{
    const std::string native = CPath::ToNative(m_path);
    const int fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        m_lastError = ErrorText(error, m_path);
        // Another copy created it first: it is an existing, perhaps busy, file now.
        return error == EEXIST ? Attempt::busy : Attempt::failed;
    }
    if (!m_access.Lock(fd)) {
        const int error = errno;
        ::close(fd);
        m_lastError = ErrorText(error, m_path);
        return IsBusy(error) ? Attempt::busy : Attempt::failed;
    }
    if (!StillNamed(fd, native)) {
        ::close(fd);
        return Attempt::busy;
    }
    m_fd = fd;
    return Attempt::locked;
}

bool CUserFile::Open(const std::string& userFolder, CUserFileWaiter* waiter)
{
    Close();
    m_users.clear();
    m_readFailed = false;
    m_readOnly = false;
    m_damagedBytes.clear();
    m_lastError.clear();
    m_path.clear();
    if (userFolder.empty())
        return false;
    m_path = CPath::Join(userFolder, kFileName);

    CUserFileWaiter sleeper;
    if (!waiter)
        waiter = &sleeper;

    Attempt attempt = Attempt::missing;
    if (!CAtomicFile::Exists(CPath::ToNative(m_path))) {
        // A missing file is created at once; only a race with another copy that
        // created it in the same moment leads to waiting.
        attempt = TryCreate();
    }
    if (attempt != Attempt::locked && attempt != Attempt::failed) {
        waiter->BeginWait();
        // Only another copy's lock is worth waiting for; any other failure won't pass.
        const int attempts = m_access.Attempts();
        for (int i = 0; i < attempts; ++i) {
            attempt = TryOpenExisting();
            if (attempt == Attempt::missing)
                attempt = TryCreate();
            if (attempt == Attempt::locked || attempt == Attempt::failed)
                break;
            waiter->Pause(m_access.DelayMs());
        }
        waiter->EndWait();
    }
    if (attempt == Attempt::failed)
        ShowMessage("The user information file could not be opened, so new users and changes can't be saved now.\r\n" +
                        m_lastError,
                    MsgIcon::Exclamation);
    if (!IsOpen())
        return false;
    m_lastError.clear();
    Read();
    return true;
}

void CUserFile::Read()
{
    m_users.clear();
    std::string bytes;
    if (!ReadAll(m_access, m_fd, bytes)) {
        // Not damage but a fault of the disk or the network: what the file holds beyond
        // it is unknown, so it must not be replaced by what could be read.
        const std::string reason = ErrorText(errno, m_path);
        m_readFailed = true;
        m_readOnly = true;
        std::string text = "The user information file could not be read to its end, so no user can be added, "
                           "deleted or changed until it can be read.";
        std::string copy;
        if (!bytes.empty() && KeepCopy(bytes, copy))
            text += " What could be read is kept in " + copy + ".";
        m_lastError = reason;
        ShowMessage(text + "\r\n" + reason, MsgIcon::Exclamation);
        try {
            CArchive ar(CArchive::load, bytes);
            LoadObjectList(ar, m_users);
        } catch (const CArchiveException&) {
            // The users read before the cut are still good for logging in.
        }
        return;
    }
    if (bytes.empty())
        return;
    try {
        CArchive ar(CArchive::load, bytes);
        LoadObjectList(ar, m_users);
        // Bytes after the list would be lost by the next save: damage as well.
        if (!ar.AtEnd())
            throw CArchiveException(CArchiveException::generic);
    } catch (const CArchiveException&) {
        m_readFailed = true;
        m_damagedBytes = std::move(bytes);
        ShowMessage("Unexpected file format.", MsgIcon::Exclamation);
    }
}

// Keeps bytes in the first free "Kelto4.lgn.damaged[.N]"; an earlier copy is never
// replaced, and the copy is readable by nobody who could not read the file.
bool CUserFile::KeepCopy(const std::string& bytes, std::string& copyPath)
{
    struct stat st {};
    const mode_t mode = ::fstat(m_fd, &st) == 0 ? st.st_mode & 0666 : 0600;
    std::string copy;
    if (!CAtomicFile::KeepCopy(CPath::ToNative(m_path), ".damaged", bytes, mode, copy, &m_lastError))
        return false;
    copyPath = CPath::FromNative(copy);
    return true;
}

bool CUserFile::Save()
{
    m_lastError.clear();
    if (!IsOpen()) {
        m_lastError = "The user file is not open.";
        return false;
    }
    if (m_readOnly) {
        m_lastError = "The user information file could not be read to its end, so it is not written over.";
        return false;
    }
    std::string bytes;
    {
        CArchive ar(CArchive::store, bytes);
        StoreObjectList(ar, m_users);
    }
    // The accounts that could not be read stay on disk beside the new file.
    if (!m_damagedBytes.empty()) {
        std::string copy;
        if (!KeepCopy(m_damagedBytes, copy))
            return false;
        m_damagedBytes.clear();
    }

    // Through a symbolic link of this user's the target is replaced and the link stays.
    std::string native;
    std::string why;
    if (!CSafeFile::Resolve(CPath::ToNative(m_path), native, &why)) {
        m_lastError = why + ": " + m_path;
        return false;
    }
    std::string temp;
    const int fd = CAtomicFile::CreateTemporary(native, temp, O_RDWR, 0600);
    if (fd < 0) {
        m_lastError = ErrorText(errno, m_path);
        return false;
    }
    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        m_lastError = ErrorText(error, m_path);
        return false;
    };
    struct stat old {};
    if (::fstat(m_fd, &old) == 0 && ::fchmod(fd, old.st_mode & 07777) != 0)
        return fail(errno);
    // Locked before it gets the name, so nobody ever finds the new file unlocked.
    if (!m_access.Lock(fd))
        return fail(errno);
    if (!CAtomicFile::WriteAll(fd, bytes) || ::fsync(fd) != 0)
        return fail(errno);
    if (!CAtomicFile::Commit(temp, native))
        return fail(errno);
    ::close(m_fd);
    m_fd = fd;
    m_readFailed = false;
    return true;
}
