#include "model/CSystemError.h"

#include "model/CPath.h"

#include <cstring>

std::string CSystemError::Text(int error)
{
    char buffer[256];
    // The GNU strerror_r, which may return a text of its own instead of filling buffer.
    const char* text = ::strerror_r(error, buffer, sizeof buffer);
    return CPath::FromNative(text ? text : "");
}

std::string CSystemError::About(int error, const std::string& nativePath)
{
    return About(Text(error), nativePath);
}

std::string CSystemError::About(const std::string& why, const std::string& nativePath)
{
    return why + ": " + CPath::FromNative(nativePath);
}
