// kelto4-tool words and bank, run as scripts run them.
#include "model/ModelTestSupport.h"

#include <algorithm>

#include <gtest/gtest.h>

#include <fstream>

namespace {
const std::string kData = KELTO4_WORDS_DATA;

struct Case {
    std::string arguments;
    int exitCode;
    std::string out;
    std::string errorStart;
};

void Check(const TempFolder& folder, const Case& c)
{
    const ToolRun run = RunTool(KELTO4_TOOL, folder, c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
    EXPECT_EQ(run.out, c.out) << c.arguments;
    EXPECT_EQ(run.err.rfind(c.errorStart, 0), 0u) << c.arguments << ": " << run.err;
}

TEST(ToolWords, PrintsWhatImportTakesAndTheSkippedEntriesWithTheirReasons)
{
    TempFolder folder;
    std::ofstream(folder.File("skips.txt")) << "cat\ncat\n\xC5\x81ukasz\n";
    const Case cases[] = {
        {"words '" + kData + "/anki-notes.txt'", 0, "friend\npiece\nsalt & pepper\n", ""},
        {"words '" + kData + "/windows-1252-cr.txt'", 0, "na\xC3\xAFve\ncaf\xC3\xA9\n\xE2\x82\xACuro\n", ""},
        {"words '" + folder.File("skips.txt") + "'", 0, "cat\n",
         "skipped: cat: already in the list\nskipped: \xC5\x81ukasz: with letters Keltora can't keep\n"},
        {"words '" + folder.File("missing.txt") + "'", 1, "", "kelto4-tool: No such file or directory: "},
        {"words", 2, "", "usage: kelto4-tool words FILE"},
    };
    for (const Case& c : cases)
        Check(folder, c);
}

TEST(ToolBank, ListsTheRulesWithTheirSizesAndPrintsABanksWords)
{
    TempFolder folder;
    const ToolRun list = RunTool(KELTO4_TOOL, folder, "bank");
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out.rfind("ie-and-ei\t", 0), 0u) << list.out;
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 13);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\t'), 13 * 3);
    const Case cases[] = {
        {"bank tch --level 1", 0, "catch\nmatch\npatch\nscratch\nswitch\nwatch\n", ""},
        {"bank 'TCH' --level 1", 0, "catch\nmatch\npatch\nscratch\nswitch\nwatch\n", ""},
        {"bank capitals", 2, "", "kelto4-tool: there is no word bank \"capitals\""},
        {"bank tch --level 4", 2, "", "usage: kelto4-tool bank"},
    };
    for (const Case& c : cases)
        Check(folder, c);
}
}
