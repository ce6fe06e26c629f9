#pragma once
#include <string>
#include <string_view>

// Paths are held as Windows-1252 text like every other text; the file system
// wants UTF-8. Joining always puts exactly one "/" between folder and name.
class CPath {
public:
    static std::string Join(std::string_view folder, std::string_view name);
    // The Windows-1252 path as the file system's (UTF-8) bytes.
    static std::string ToNative(std::string_view path);
    static std::string FromNative(std::string_view nativePath);
};
