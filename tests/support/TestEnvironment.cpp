#include "TestEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

std::string UseFreshHome()
{
    static std::string home;
    if (!home.empty())
        return home;
    std::string pattern = (std::filesystem::temp_directory_path() / "kelto4-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::abort();
    home = pattern;
    for (const char* sub : {"config", "data", "cache", "runtime", "Documents"})
        std::filesystem::create_directories(home + "/" + sub);
    std::filesystem::permissions(home + "/runtime", std::filesystem::perms::owner_all);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (home + "/Documents").c_str(), 1);
    // Qt finds the sound server through PULSE_SERVER, which stays as the test run set it.
    if (!getenv("XDG_RUNTIME_DIR"))
        setenv("XDG_RUNTIME_DIR", (home + "/runtime").c_str(), 1);
    return home;
}
