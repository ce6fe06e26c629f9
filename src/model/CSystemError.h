#pragma once
#include <string>

// The system's words for an error number, as the program's Windows-1252 text. The
// system speaks the desktop's language in UTF-8 ("Keine Berechtigung", "für"), so the
// text is converted like every other text that comes in from outside.
class CSystemError {
public:
    static std::string Text(int error);
    // Text(error) + ": " + the path, the usual shape of a file's error message.
    static std::string About(int error, const std::string& nativePath);
    // why + ": " + the path, for a reason the program words itself.
    static std::string About(const std::string& why, const std::string& nativePath);
};
