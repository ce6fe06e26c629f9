#pragma once
#include <string>

// Each test process gets its own HOME and XDG folders under a fresh temporary folder,
// so settings, documents and the shared data folder never touch the real ones.
// Call before QCoreApplication exists; returns the folder.
std::string UseFreshHome();
