#pragma once
#include <string>

// The folder chooser: "Choose a Directory", starting at the file system's root with
// the mounted volumes at hand; a path can be typed. Construct, call Choose once.
class CBrowseFolder {
public:
    // The chosen folder, or "" when cancelled or when the choice is not a folder.
    std::string Choose();
};
