#include "ModelTestSupport.h"

#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace {

ToolRun Dump(const TempFolder& folder, const std::string& file)
{
    return RunTool(KELTO4_TOOL, folder, "dump '" + file + "'", 20);
}

std::string Write(const TempFolder& folder, const std::string& name, const std::string& bytes)
{
    const std::string path = folder.File(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(ToolDump, PrintsOneTabSeparatedLinePerListEntry)
{
    TempFolder folder;
    COwnedList<CSpellingList> list;
    list.push_back(Entry("Ann", "C:\\Words", "cat"));
    list.push_back(Entry("Ann", "C:\\Words", "na\xEFve"));
    const ToolRun run = Dump(folder, Write(folder, "week1.ktr", Store(list)));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "CSpellingList\tAnn\tC:\\Words\tcat\nCSpellingList\tAnn\tC:\\Words\tna\xEFve\n");
    EXPECT_EQ(run.err, "");
}

TEST(ToolDump, PrintsRecordsInFieldOrderAndUsersUnscrambled)
{
    TempFolder folder;
    COwnedList<CGrade> grades;
    grades.push_back(Grade("week1", "12/06/26, 06:02 PM", 8, 10));
    grades.push_back(Grade("week1--Stopped Test", "Time Error", -1, 0));
    COwnedList<CMissed> missed;
    missed.push_back(Missed("week1", "12/06/26, 06:02 PM", "receive", "recieve"));
    COwnedList<CUser> users;
    users.push_back(std::make_unique<CUser>());
    users.back()->m_name = "Ann";
    users.back()->m_password = " ";
    users.push_back(std::make_unique<CUser>());
    users.back()->m_name = "Bob";
    users.back()->m_password = "s3cret";

    ToolRun run = Dump(folder, Write(folder, "Ann.kt3", Store(grades)));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "CGrade\tweek1\t12/06/26, 06:02 PM\t8\t10\nCGrade\tweek1--Stopped Test\tTime Error\t-1\t0\n");
    run = Dump(folder, Write(folder, "Ann.kt4", Store(missed)));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "CMissed\tweek1\t12/06/26, 06:02 PM\treceive\trecieve\n");
    run = Dump(folder, Write(folder, "Kelto4.lgn", Store(users)));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "CUser\tAnn\t \nCUser\tBob\ts3cret\n");
}

TEST(ToolDump, EmptyUserFileIsAnEmptyList)
{
    TempFolder folder;
    const ToolRun run = Dump(folder, Write(folder, "Kelto4.lgn", ""));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
}

struct BrokenCase {
    const char* name;
    std::string bytes;
    std::string out;
    std::string err;
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.name; }

class ToolDumpBroken : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(ToolDumpBroken, PrintsWhatItReadThenTheCauseAndExits1)
{
    TempFolder folder;
    const ToolRun run = Dump(folder, Write(folder, "broken", GetParam().bytes));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, GetParam().out);
    EXPECT_EQ(run.err, GetParam().err);
}

const std::string kOneMissed = Bytes({0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00}) + "CMissed" + Bytes({1, 'w', 1, 'd', 3}) +
                               "cat" + Bytes({3}) + "kat";

INSTANTIATE_TEST_SUITE_P(
    Causes, ToolDumpBroken,
    ::testing::Values(
        BrokenCase{"empty", "", "", "error: end of file\n"},
        BrokenCase{"truncated", Bytes({2, 0}) + kOneMissed + Bytes({0x01, 0x80, 0x01}), "CMissed\tw\td\tcat\tkat\n",
                   "error: end of file\n"},
        BrokenCase{"bad index", Bytes({2, 0}) + kOneMissed + Bytes({0x09, 0x80}), "CMissed\tw\td\tcat\tkat\n",
                   "error: bad index\n"},
        BrokenCase{"bad class", Bytes({1, 0, 0xFF, 0xFF, 0, 0, 4, 0}) + "CDoc", "", "error: bad class\n"},
        BrokenCase{"bad schema", Bytes({1, 0, 0xFF, 0xFF, 2, 0, 7, 0}) + "CMissed", "", "error: bad schema\n"},
        BrokenCase{"generic", Bytes({1, 0}) + kOneMissed.substr(0, 13) +
                   Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80, 0, 0, 0, 0}),
                   "", "error: generic\n"}),
    NamedCase());

TEST(ToolDump, FileThatCannotBeOpenedExits2WithAMessage)
{
    TempFolder folder;
    const ToolRun run = Dump(folder, folder.File("missing.ktr"));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("missing.ktr"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("No such file or directory"), std::string::npos) << run.err;
}

// A pipe, or a device behind a link, is no file of the program's: refused at once, never read.
TEST(ToolDump, APipeOrADeviceIsRefusedAtOnce)
{
    TempFolder folder;
    const std::string pipe = folder.File("pipe.kt3");
    const std::string device = folder.File("device.kt3");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    ASSERT_EQ(::symlink("/dev/null", device.c_str()), 0);
    for (const std::string& file : {pipe, device}) {
        const ToolRun run = Dump(folder, file);
        EXPECT_EQ(run.exitCode, 2) << file;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(file), std::string::npos) << run.err;
    }
}

} // namespace
