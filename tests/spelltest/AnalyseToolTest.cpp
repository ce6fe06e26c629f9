// Runs the built kelto4-tool analyse and compare as scripts do.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class AnalyseTool : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::path(testing::TempDir()) /
                ("kelto4-analyse-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // arguments are shell words, already quoted.
    ToolRun Analyse(const std::string& arguments, const std::string& input = {})
    {
        return Run("analyse", arguments, input);
    }
    ToolRun Run(const std::string& subcommand, const std::string& arguments, const std::string& input)
    {
        const fs::path in = m_dir / "in", out = m_dir / "out", err = m_dir / "err";
        std::ofstream(in, std::ios::binary) << input;
        const std::string command = std::string("'") + KELTO4_TOOL + "' " + subcommand + " " + arguments + " <'" +
                                    in.string() + "' >'" + out.string() + "' 2>'" + err.string() + "'";
        ToolRun run;
        const int raw = std::system(command.c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadFile(out);
        run.err = ReadFile(err);
        return run;
    }

    fs::path m_dir;
};

TEST_F(AnalyseTool, PrintsOneLinePerInputLineInOrder)
{
    const ToolRun run = Analyse("", "friend\tfreind\n"
                                "horses\thorss\n"
                                "quickly\tquick\n"
                                "cake\tcake\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "change ei to ie\n"
                       "single s; s to es\n"
                       "suffix add ly\n"
                       "?\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(AnalyseTool, LineWithoutTabHasAnEmptyMisspelling)
{
    const ToolRun run = Analyse("", "church\nfriend\n\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "ch\nie; fr\n?\n");
}

TEST_F(AnalyseTool, KeepsBytesAfterTheFirstTabInTheMisspelling)
{
    const ToolRun run = Analyse("", "form\tfrom\tx\n");
    EXPECT_EQ(run.out, "extra letter \t, x\n");
}

TEST_F(AnalyseTool, TakesCrLfAsALineEndAndALastLineWithoutOne)
{
    const ToolRun run = Analyse("", "cat\tkat\r\ncats\tcat");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "k to c\nending s\n");
}

TEST_F(AnalyseTool, PassesWindows1252BytesThrough)
{
    const ToolRun run = Analyse("", "\xE9" "cole\t\xC9" "cole\n" "caf\xE9\tcafe\n");
    EXPECT_EQ(run.out, "do not capitalize first letter\ne to \xE9\n");
}

TEST_F(AnalyseTool, NothingOnStandardInputPrintsNothing)
{
    const ToolRun run = Analyse("");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
}

TEST_F(AnalyseTool, AnalysesAPairGivenAsArguments)
{
    ToolRun run = Analyse("committee comitee");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "double t, double m\n");
    run = Analyse("church ''");
    EXPECT_EQ(run.out, "ch\n");
}

TEST_F(AnalyseTool, WrongArgumentsGiveUsageOnStandardErrorOnly)
{
    for (const char* arguments : {"cat", "cat kat extra"}) {
        const ToolRun run = Analyse(arguments, "cat\tkat\n");
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_NE(run.err.find("usage"), std::string::npos) << arguments;
    }
}

TEST_F(AnalyseTool, CompareWritesTheStepsOfOnePairOrOfEachLineInOrder)
{
    ToolRun run = Run("compare", "receive recieve", "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "=r =e =c ^ei =v =e\n");
    // Missing, extra and changed letters; a blank is "\s", a backslash "\\"; bytes pass through.
    run = Run("compare", "", "hopping\thoping\r\n"
                             "cat\tkat\n"
                             "cat\n"
                             "\tab\n"
                             "a b\ta\\b\n"
                             "caf\xE9\tcafe");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "=h =o -p =p =i =n =g\n"
                       "~ck =a =t\n"
                       "-c -a -t\n"
                       "+a +b\n"
                       "=a ~\\s\\\\ =b\n"
                       "=c =a =f ~\xE9" "e\n");
    EXPECT_EQ(run.err, "");
    run = Run("compare", "cat", "");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
}

TEST_F(AnalyseTool, CompareAnswersAQuestionMarkForTextsTooLongToCompare)
{
    const std::string longWord(20000, 'a');
    const ToolRun run = Run("compare", "", "cat\tkat\n" + longWord + "\t" + longWord + "\ncat\t" + longWord + "\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "~ck =a =t\n?\n?\n");
}

} // namespace
