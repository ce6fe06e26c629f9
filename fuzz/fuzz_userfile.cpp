// Any bytes as the shared user file: opening it through the user-file code must read
// the accounts or report damage, never crash; what it read must save and read back the same.
#include "model/CAtomicFile.h"
#include "model/KMessage.h"
#include "users/CUserFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
const std::string& Folder()
{
    static const std::string folder = [] {
        std::string path = std::filesystem::temp_directory_path() / ("kelto4-fuzz-users-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        SetMessageHandler([](const std::string&, MsgIcon, MsgButtons) { return int(IDOK); });
        return path;
    }();
    return folder;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& folder = Folder();
    const std::string path = folder + "/" + CUserFile::kFileName;
    std::filesystem::remove(path + ".damaged");
    if (!CAtomicFile::WriteFileAtomically(path, std::string(reinterpret_cast<const char*>(data), size), nullptr))
        return 0;
    // A file that stays busy is tried once.
    static const CUserFileAccess once(1, 0);
    CUserFile file(once);
    if (!file.Open(folder, nullptr) || file.ReadFailed())
        return 0;
    std::vector<std::string> names;
    for (const auto& user : file.Users())
        names.push_back(user->m_name + '\n' + user->m_password);
    if (!file.Save())
        __builtin_trap();
    file.Close();
    CUserFile again(once);
    if (!again.Open(folder, nullptr) || again.ReadFailed() || again.Users().size() != names.size())
        __builtin_trap();
    size_t i = 0;
    for (const auto& user : again.Users())
        if (user->m_name + '\n' + user->m_password != names[i++])
            __builtin_trap();
    return 0;
}
