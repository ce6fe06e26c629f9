#include "model/CPath.h"

#include "model/Cp1252.h"

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
