#pragma once
#include "model/CArchive.h"
#include "model/CUser.h"
#include "RecordBuilders.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <string>
#include <sstream>
#include <sys/wait.h>

// Bytes written as numbers, as the tables of the file formats give them.
inline std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

inline std::string Hex(const std::string& bytes)
{
    std::string out;
    char buffer[4];
    for (unsigned char c : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X ", c);
        out += buffer;
    }
    return out;
}

// A test name from a case's description: letters and digits kept, the rest "_".
inline std::string CaseName(const std::string& text)
{
    std::string name;
    for (char c : text)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

// Parameter names for cases that carry a `name` field.
struct NamedCase {
    template <class T>
    std::string operator()(const ::testing::TestParamInfo<T>& info) const
    {
        return CaseName(info.param.name);
    }
};

template <class T>
std::string Store(const COwnedList<T>& list)
{
    std::string bytes;
    CArchive ar(bytes);
    StoreObjectList(ar, list);
    return bytes;
}

// Loads an object list of T; the cause of the failure, if any.
template <class T>
std::optional<CArchiveException::Cause> Load(const std::string& bytes, COwnedList<T>& list)
{
    try {
        CArchive ar{std::string_view(bytes)};
        LoadObjectList(ar, list);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return std::nullopt;
}

// What a run of kelto4-tool gave: its exit code and its two outputs.
struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs tool with arguments (already quoted for the shell), its outputs caught in folder;
// killed after timeoutSeconds (if not 0), so that a tool waiting for ever fails the test.
inline ToolRun RunTool(const std::string& tool, const TempFolder& folder, const std::string& arguments,
                       int timeoutSeconds = 0)
{
    const std::string out = folder.File("out"), err = folder.File("err");
    const std::string limit = timeoutSeconds > 0 ? "timeout -s KILL " + std::to_string(timeoutSeconds) + " " : "";
    const std::string command = limit + "'" + tool + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
}
