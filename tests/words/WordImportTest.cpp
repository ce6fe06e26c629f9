// Words taken from the files teachers already have, the entries left out and why, and
// the exported files read back.
#include "TempFolder.h"
#include "document/CWordFile.h"
#include "words/CWordImport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
using Words = std::vector<std::string>;

std::string Data(const std::string& name)
{
    return std::string(KELTO4_WORDS_DATA) + "/" + name;
}

struct Folder : TempFolder {
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(File(name), std::ios::binary) << bytes;
        return File(name);
    }
};

struct FileCase {
    const char* file;
    Words words; // Windows-1252
};

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.file; }

class ImportFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(ImportFile, TakesTheWordsInOrder)
{
    CWordListEditor list;
    CWordImport import;
    ASSERT_TRUE(import.Run(Data(GetParam().file), list)) << import.Error();
    EXPECT_EQ(list.Words(), GetParam().words);
    EXPECT_TRUE(import.SkippedEntries().empty());
}

INSTANTIATE_TEST_SUITE_P(
    FormatsAndEncodings, ImportFile,
    ::testing::Values(FileCase{"one-a-line.txt", {"friend", "piece", "believe"}},
                      FileCase{"bom-crlf-separators.txt", {"friend", "piece", "believe", "receive", "ceiling"}},
                      FileCase{"windows-1252-cr.txt", {"na\xEFve", "caf\xE9", "\x80uro"}},
                      FileCase{"utf16le.txt", {"friend", "na\xEFve"}},
                      FileCase{"quoted.csv", {"friend", "ice cream", "piece"}},
                      FileCase{"semicolons.csv", {"bridge", "badge"}},
                      FileCase{"anki-notes.txt", {"friend", "piece", "salt & pepper"}},
                      FileCase{"week1.kvtml", {"friend", "na\xEFve"}}),
    [](const auto& param) {
        std::string name;
        for (const char c : std::string(param.param.file))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

struct SkipCase {
    const char* what;
    Words inList;
    std::string file; // UTF-8
    Words added;
    std::string summary;
};

void PrintTo(const SkipCase& c, std::ostream* os) { *os << c.what; }

class SkipEntries : public ::testing::TestWithParam<SkipCase> {};

TEST_P(SkipEntries, NamesWhatIsLeftOutAndKeepsTheRest)
{
    const SkipCase& c = GetParam();
    CWordListEditor list;
    for (const std::string& w : c.inList)
        list.Append(w);
    std::vector<std::string> entries;
    std::string error;
    ASSERT_TRUE(CWordFile::Parse(c.file, "list.txt", entries, error));
    CWordImport import;
    import.Take(entries, list);
    Words added(list.Words().begin() + std::ptrdiff_t(c.inList.size()), list.Words().end());
    EXPECT_EQ(added, c.added);
    EXPECT_EQ(import.Summary(), c.summary);
}

const std::string kLong(81, 'a');

INSTANTIATE_TEST_SUITE_P(
    Reasons, SkipEntries,
    ::testing::Values(
        SkipCase{"nothing", {}, "cat\ndog\n", {"cat", "dog"}, "Imported 2 words."},
        SkipCase{"duplicates", {"cat"}, "cat\ndog\ndog\n", {"dog"}, "Imported 1 word; 2 skipped: already in the list."},
        SkipCase{"letters", {}, "\xC5\x81ukasz\nZo\xC3\xAB\n\xE4\xBD\xA0\xE5\xA5\xBD?\n", {"Zo\xEB"},
                 "Imported 1 word; 2 skipped: 2 with letters Keltora can't keep (?ukasz, ?" "?" "?)."},
        SkipCase{"too long", {}, kLong + "\n" + std::string(80, 'b') + "\n", {std::string(80, 'b')},
                 "Imported 1 word; 1 skipped: 1 longer than 80 letters (aaaaaaaaaaaaaaaaaaaaaaaa...)."},
        SkipCase{"control characters", {}, "be\x01" "d\nbed\n", {"bed"},
                 "Imported 1 word; 1 skipped: 1 with characters a word can't have (be\x01" "d)."},
        SkipCase{"mixed", {"cat"}, "cat\n\xC5\x81\xC3\xB3" "d\xC5\xBA\n" + kLong + "\n", {},
                 "Imported 0 words; 3 skipped: 1 already in the list; 1 with letters Keltora can't keep (?\xF3" "d?); "
                 "1 longer than 80 letters (aaaaaaaaaaaaaaaaaaaaaaaa...)."},
        SkipCase{"blank", {}, " \n,,;\n\n", {}, "There are no words in this file."}),
    [](const auto& param) {
        std::string name = param.param.what;
        for (char& ch : name)
            if (ch == ' ')
                ch = '_';
        return name;
    });

TEST(ImportFailure, SaysWhyAndChangesNothing)
{
    Folder folder;
    const std::string fifo = folder.Path() + "/pipe.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string huge = folder.Write("huge.txt", "");
    ASSERT_EQ(::truncate(huge.c_str(), off_t(CWordFile::kMaxFileSize) + 1), 0);
    const struct {
        std::string path;
        std::string error;
    } cases[] = {
        {folder.Path() + "/missing.txt", "No such file or directory\r\nKeltora could not read the words of \"missing.txt\"."},
        {folder.Path(), "is not a file (it is a folder, a pipe or a device)"},
        {fifo, "\"pipe.txt\" is not a file (it is a folder, a pipe or a device)"},
        {huge, "\"huge.txt\" is too large to be a list of words"},
        {folder.Write("picture.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)), "\"picture.png\" is not a list of words"},
        {folder.Write("broken.kvtml", "<?xml version=\"1.0\"?><kvtml version=\"2.0\"><entries><entry>"),
         "\"broken.kvtml\" is a damaged vocabulary file (line 1: "},
        {folder.Write("page.xml", "<html><body>friend</body></html>"), "\"page.xml\" is not a KDE vocabulary file"},
    };
    for (const auto& c : cases) {
        CWordListEditor list;
        list.Append("cat");
        CWordImport import;
        EXPECT_FALSE(import.Run(c.path, list)) << c.path;
        EXPECT_NE(import.Error().find(c.error), std::string::npos) << import.Error();
        EXPECT_EQ(list.Words(), Words{"cat"});
    }
}

TEST(ExportImport, GivesBackTheSameWordsInTheSameOrder)
{
    const Words words = {"friend", "ice cream", "na\xEFve", "\x80uro", "a,b;c", "say \"hi\"", "#hash", "don't",
                         "<b>&amp;</b>", "Friend"};
    Folder folder;
    for (const auto& [name, bytes] : {std::pair{"list.txt", CWordFile::TextFile(words)},
                                      std::pair{"list.kvtml", CWordFile::KvtmlFile(words, "Week 1")}}) {
        CWordListEditor list;
        CWordImport import;
        ASSERT_TRUE(import.Run(folder.Write(name, bytes), list)) << import.Error();
        EXPECT_EQ(list.Words(), words) << name;
    }
}

TEST(ExportImport, KvtmlIsWellFormedWithTheKdeDocumentType)
{
    const std::string kvtml = CWordFile::KvtmlFile({"friend", "piece"}, "Week 1");
    EXPECT_EQ(kvtml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
    EXPECT_NE(kvtml.find("<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">"),
              std::string::npos);
    EXPECT_NE(kvtml.find("<kvtml version=\"2.0\">"), std::string::npos);
    EXPECT_NE(kvtml.find("<entry id=\"1\">"), std::string::npos);
}
}
