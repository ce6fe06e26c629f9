#include "tool/ToolDump.h"

#include "model/CArchive.h"
#include "model/CAtomicFile.h"
#include "model/CGrade.h"
#include "model/CMissed.h"
#include "model/CPath.h"
#include "model/CSpellingList.h"
#include "model/CTeacherPassword.h"
#include "model/CUser.h"
#include "model/CWordMemoryFile.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
void Field(std::string& line, const std::string& text)
{
    line.push_back('\t');
    line.append(text);
}

// One line per object; texts go out as their raw bytes, so a script sees what the file holds.
std::string DumpLine(const CObject& object)
{
    std::string line = object.GetClassName();
    if (const auto* entry = dynamic_cast<const CSpellingList*>(&object)) {
        Field(line, entry->m_author);
        Field(line, entry->m_soundFolder);
        Field(line, entry->m_word);
    } else if (const auto* grade = dynamic_cast<const CGrade*>(&object)) {
        Field(line, grade->m_listName);
        Field(line, grade->m_date);
        Field(line, std::to_string(grade->m_correct));
        Field(line, std::to_string(grade->m_words));
    } else if (const auto* missed = dynamic_cast<const CMissed*>(&object)) {
        Field(line, missed->m_listName);
        Field(line, missed->m_date);
        Field(line, missed->m_word);
        Field(line, missed->m_misspelling);
    } else if (const auto* user = dynamic_cast<const CUser*>(&object)) {
        Field(line, user->m_name);
        Field(line, user->m_password);
    }
    line.push_back('\n');
    return line;
}

bool IsUserFile(const std::string& path)
{
    return CPath::HasExtension(path, ".lgn");
}

bool Flush()
{
    if (std::fflush(stdout) == 0)
        return true;
    std::fprintf(stderr, "kelto4-tool: cannot write the output\n");
    return false;
}

// A word memory (.kt5): one line per word, its fields in the file's order, days as YYYY-MM-DD.
int DumpWordMemory(const std::string& bytes)
{
    CWordMemory memory;
    const CWordMemoryFile::ReadResult result = CWordMemoryFile::Decode(bytes, memory);
    for (const CWordMemory::Entry& entry : memory.Entries()) {
        std::string line = entry.word;
        Field(line, std::to_string(entry.box));
        Field(line, std::to_string(entry.highestBox));
        Field(line, entry.due.Iso());
        Field(line, entry.lastAsked.Iso());
        Field(line, std::to_string(entry.asked));
        Field(line, std::to_string(entry.missed));
        line.push_back('\n');
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    if (!Flush())
        return 2;
    if (result == CWordMemoryFile::ReadResult::newer) {
        std::fprintf(stderr, "error: written by a newer version of Keltora (file version %u)\n",
                     unsigned(CWordMemoryFile::Version(bytes).value_or(0)));
        return 1;
    }
    if (result != CWordMemoryFile::ReadResult::ok) {
        std::fprintf(stderr, "error: damaged word memory\n");
        return 1;
    }
    return 0;
}

// The teacher's password file (.tpw): the hash's kind and cost, never more of it.
int DumpTeacherPassword(const std::string& bytes)
{
    std::string hash;
    if (CTeacherPassword::Decode(bytes, hash) != CTeacherPassword::State::set) {
        std::fprintf(stderr, "error: not a teacher's password: the file is damaged\n");
        return 1;
    }
    // "$argon2id$v=19$m=65536,t=2,p=1$salt$hash"
    std::vector<std::string> fields;
    for (std::size_t from = 1, to; from <= hash.size(); from = to + 1) {
        to = std::min(hash.find('$', from), hash.size());
        fields.push_back(hash.substr(from, to - from));
    }
    std::printf("%s\t%s\n", fields[0].c_str(), fields[2].c_str());
    return Flush() ? 0 : 2;
}
}

int RunDump(int argc, char** argv)
{
    if (argc != 1) {
        std::fprintf(stderr, "usage: kelto4-tool dump FILE\n");
        return 2;
    }
    const std::string path = argv[0];
    std::string bytes;
    std::string error;
    if (!CAtomicFile::ReadWholeFile(path, bytes, &error)) {
        std::fprintf(stderr, "kelto4-tool: %s\n", CPath::ToNative(error).c_str());
        return 2;
    }
    // Only the user file is created empty before its first account (an empty list);
    // any other file of length zero ends before its count, like the program reads it.
    if (bytes.empty() && IsUserFile(path))
        return 0;
    if (CWordMemoryFile::Version(bytes) || CPath::HasExtension(path, CWordMemoryFile::kExtension))
        return DumpWordMemory(bytes);
    if (CPath::HasExtension(path, ".tpw"))
        return DumpTeacherPassword(bytes);

    COwnedList<CObject> objects;
    const char* failure = nullptr;
    try {
        CArchive ar{std::string_view(bytes)};
        LoadObjectList(ar, objects);
    } catch (const CArchiveException& e) {
        failure = e.what();
    }
    for (const auto& object : objects) {
        const std::string line = DumpLine(*object);
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    if (!Flush())
        return 2;
    if (failure) {
        std::fprintf(stderr, "error: %s\n", failure);
        return 1;
    }
    return 0;
}
