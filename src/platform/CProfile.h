#pragma once
#include <string>

// The program's settings store: QSettings("Tarvel", "Kelto4"), one group per section.
// Texts are Windows-1252 in memory and stored as readable strings.
class CProfile {
public:
    static std::string GetProfileString(const char* section, const char* entry, const std::string& defaultValue);
    static int GetProfileInt(const char* section, const char* entry, int defaultValue);
    static bool WriteProfileString(const char* section, const char* entry, const std::string& value);
    static bool WriteProfileInt(const char* section, const char* entry, int value);
    // A path kept as the file system names it (native bytes), not as Windows-1252 text.
    static std::string GetProfilePath(const char* section, const char* entry);
    static bool WriteProfilePath(const char* section, const char* entry, const std::string& nativePath);
};
