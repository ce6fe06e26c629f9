#pragma once
// A read hook for the user file that breaks the disk part-way through a read.
#include <cerrno>
#include <cstddef>
#include <sys/types.h>
#include <unistd.h>

// Reads made through ReadThenFail; set to 0 to start again.
inline int g_reads = 0;

// The first read gets the bytes; the next one meets a failing disk.
inline ssize_t ReadThenFail(int fd, void* buffer, size_t size)
{
    if (g_reads++ == 0)
        return ::read(fd, buffer, size);
    errno = EIO;
    return -1;
}
