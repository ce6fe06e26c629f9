#include "users/CUserFileAccess.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

const CUserFileAccess& CUserFileAccess::System()
{
    static const CUserFileAccess system;
    return system;
}

ssize_t CUserFileAccess::Read(int fd, void* buffer, size_t size) const
{
    return ::read(fd, buffer, size);
}

// Open-file-description locks conflict between any two opens, also inside one process;
// where the kernel or the file system lacks them, classic POSIX record locks (which NFS
// carries to the server) do the same between processes.
bool CUserFileAccess::Lock(int fd) const
{
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
#ifdef F_OFD_SETLK
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0)
        return true;
    if (errno != EINVAL)
        return false;
    lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
#endif
    return ::fcntl(fd, F_SETLK, &lock) == 0;
}
