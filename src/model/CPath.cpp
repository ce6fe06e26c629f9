#include "model/CPath.h"

#include "model/Cp1252.h"

#include <algorithm>
#include <cctype>
#include <climits>

std::string CPath::FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string CPath::Join(std::string_view folder, std::string_view name)
{
    while (!folder.empty() && folder.back() == '/')
        folder.remove_suffix(1);
    std::string result;
    result.reserve(folder.size() + 1 + name.size());
    result.append(folder);
    result.push_back('/');
    result.append(name);
    return result;
}

std::string CPath::ToNative(std::string_view path)
{
    return Cp1252ToUtf8(path);
}

std::string CPath::FromNative(std::string_view nativePath)
{
    return Utf8ToCp1252(nativePath);
}

bool CPath::CanHold(std::string_view nativePath)
{
    return ToNative(FromNative(nativePath)) == nativePath;
}

bool CPath::HasExtension(std::string_view name, std::string_view extension)
{
    if (name.size() < extension.size())
        return false;
    const std::string_view end = name.substr(name.size() - extension.size());
    return std::equal(end.begin(), end.end(), extension.begin(), [](char c, char e) {
        return std::tolower(static_cast<unsigned char>(c)) == std::tolower(static_cast<unsigned char>(e));
    });
}

CPath::NameProblem CPath::CheckFileName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return NameProblem::NotAName;
    if (name.find('/') != std::string_view::npos)
        return NameProblem::Slash;
    if (name.find('\0') != std::string_view::npos)
        return NameProblem::ZeroByte;
    if (ToNative(name).size() > NAME_MAX)
        return NameProblem::TooLong;
    return NameProblem::None;
}

bool CPath::IsSingleFileName(std::string_view name, std::string* why)
{
    static const char* const kProblems[] = {
        nullptr,
        "The name is not a file name.",
        "A sound file name can't hold the character \"/\".",
        "A sound file name can't hold a zero byte.",
        "The name is too long for a file name.",
    };
    const char* problem = kProblems[int(CheckFileName(name))];
    if (problem && why)
        *why = problem;
    return problem == nullptr;
}

bool CPath::WordSoundPath(std::string_view folder, std::string_view word, std::string& path, std::string* why)
{
    std::string name(word);
    name += ".wav";
    if (!IsSingleFileName(name, why))
        return false;
    path = Join(folder, name);
    return true;
}
