#include "ModelTestSupport.h"

#include "model/CWordMemoryFile.h"

#include <fstream>

namespace {

ToolRun Tool(const TempFolder& folder, const std::string& arguments)
{
    return RunTool(KELTO4_TOOL, folder, arguments);
}

// Ann's memory: words asked on 1 June 2026, "bridge" also on 2 June.
void WriteMemory(const TempFolder& folder)
{
    CWordMemory memory;
    const CCalendarDay june1 = *CCalendarDay::FromIso("2026-06-01");
    memory.RecordTest({{"which", false}, {"friend", true}, {"bridge", true}, {"Anchor", false}, {"caf\xE9", true}},
                      june1);
    memory.RecordTest({{"bridge", true}}, june1.AddDays(1));
    ASSERT_TRUE(CWordMemoryFile::Write(folder.File("Ann.kt5"), memory, nullptr));
}

TEST(ToolReview, PrintsTheWordsDueOnTheDayInReviewOrder)
{
    TempFolder folder;
    WriteMemory(folder);
    const std::string ann = "'" + folder.Path() + "' Ann";
    struct {
        const char* date;
        const char* out;
    } const cases[] = {
        {"2026-06-01", ""},
        {"2026-06-02", "Anchor\t1\t2026-06-02\nwhich\t1\t2026-06-02\n"},
        {"2026-06-03", "Anchor\t1\t2026-06-02\nwhich\t1\t2026-06-02\ncaf\xE9\t2\t2026-06-03\nfriend\t2\t2026-06-03\n"},
        {"2026-06-06", "Anchor\t1\t2026-06-02\nwhich\t1\t2026-06-02\ncaf\xE9\t2\t2026-06-03\nfriend\t2\t2026-06-03\n"
                       "bridge\t3\t2026-06-06\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Tool(folder, "review " + ann + " --date " + c.date);
        EXPECT_EQ(run.exitCode, 0) << c.date;
        EXPECT_EQ(run.out, c.out) << c.date;
        EXPECT_EQ(run.err, "") << c.date;
    }
}

TEST(ToolReview, NoMemoryPrintsNothingAndBadInputSaysWhy)
{
    TempFolder folder;
    WriteMemory(folder);
    std::ofstream(folder.File("Bob.kt5"), std::ios::binary) << "KT5M damaged";
    const std::string where = "'" + folder.Path() + "' ";
    struct {
        std::string arguments;
        int exitCode;
        bool saysWhy;
    } const cases[] = {
        {where + "Carl --date 2026-06-06", 0, false},
        {where + "Bob --date 2026-06-06", 1, true},
        {where + "Ann --date 2026-02-30", 2, true},
        {where + "Ann --day 2026-06-06", 2, true},
        {where + "Ann 2026-06-06", 2, true},
        {where + "'../Ann' --date 2026-06-06", 2, true},
    };
    for (const auto& c : cases) {
        const ToolRun run = Tool(folder, "review " + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(!run.err.empty(), c.saysWhy) << c.arguments;
    }
}

TEST(ToolDump, PrintsAWordMemoryOneWordALine)
{
    TempFolder folder;
    WriteMemory(folder);
    ToolRun run = Tool(folder, "dump '" + folder.File("Ann.kt5") + "'");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "which\t1\t1\t2026-06-02\t2026-06-01\t1\t1\n"
                       "friend\t2\t2\t2026-06-03\t2026-06-01\t1\t0\n"
                       "bridge\t3\t3\t2026-06-06\t2026-06-02\t2\t0\n"
                       "Anchor\t1\t1\t2026-06-02\t2026-06-01\t1\t1\n"
                       "caf\xE9\t2\t2\t2026-06-03\t2026-06-01\t1\t0\n");

    std::ofstream(folder.File("Bob.kt5"), std::ios::binary) << Bytes({'K', 'T', '5', 'M', 7, 0, 0, 0});
    run = Tool(folder, "dump '" + folder.File("Bob.kt5") + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "error: written by a newer version of Keltora (file version 7)\n");
}

} // namespace
