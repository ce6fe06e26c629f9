#pragma once
#include <fstream>
#include <sstream>
#include <string>

// A file of the source tree, whole; empty when it can't be read.
inline std::string ReadSourceFile(const std::string& relativePath)
{
    std::ifstream in(std::string(KELTO4_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
