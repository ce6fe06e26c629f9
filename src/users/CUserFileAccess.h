#pragma once
#include <cstddef>

#include <sys/types.h>

// What the user file asks of the system: its reads, its lock, and how often and how far
// apart it tries a file that another copy holds. The program uses System(); a test
// passes its own, with a failing disk, a file system without locks or a shorter wait.
class CUserFileAccess {
public:
    static constexpr int kDefaultAttempts = 36;
    static constexpr int kDefaultDelayMs = 5000;

    explicit CUserFileAccess(int attempts = kDefaultAttempts, int delayMs = kDefaultDelayMs)
        : m_attempts(attempts)
        , m_delayMs(delayMs)
    {
    }
    virtual ~CUserFileAccess() = default;

    // The real calls and the usual wait of three minutes.
    static const CUserFileAccess& System();

    // As read(2).
    virtual ssize_t Read(int fd, void* buffer, size_t size) const;
    // An exclusive lock on the whole file, without waiting; false with errno set.
    virtual bool Lock(int fd) const;

    int Attempts() const { return m_attempts; }
    int DelayMs() const { return m_delayMs; }

private:
    int m_attempts;
    int m_delayMs;
};
