#pragma once
#include <exception>

// A failure while reading (or, rarely, writing) an archive, with its cause.
class CArchiveException : public std::exception {
public:
    enum Cause { endOfFile, badIndex, badClass, badSchema, generic };

    explicit CArchiveException(Cause cause) : m_cause(cause) {}
    const char* what() const noexcept override { return CauseText(m_cause); }
    // "end of file", "bad index", "bad class", "bad schema" or "generic".
    static const char* CauseText(Cause cause) noexcept;

    Cause m_cause;
};
