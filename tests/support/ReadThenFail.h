#pragma once
// A user file whose disk breaks part-way through a read.
#include "users/CUserFileAccess.h"

#include <cerrno>
#include <cstddef>
#include <sys/types.h>
#include <unistd.h>

// The first read gets the bytes; every later one meets a failing disk.
class CReadThenFail : public CUserFileAccess {
public:
    ssize_t Read(int fd, void* buffer, size_t size) const override
    {
        if (m_reads++ == 0)
            return ::read(fd, buffer, size);
        errno = EIO;
        return -1;
    }

private:
    mutable int m_reads = 0;
};
