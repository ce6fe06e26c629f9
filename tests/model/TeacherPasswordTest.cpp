// The teacher's password file: the hash, the file's states and the rules for changing it.
#include "model/CAtomicFile.h"
#include "model/CTeacherPassword.h"
#include "ModelTestSupport.h"

#include <fstream>

#include <sys/stat.h>

namespace {
using State = CTeacherPassword::State;
using Change = CTeacherPassword::Change;

TEST(TeacherPassword, HashRoundTripAndWrongPasswords)
{
    struct Case {
        std::string password;
        std::vector<std::string> wrong;
    };
    const Case cases[] = {
        {"apple", {"Apple", "apple "}},
        {"caf\xE9 na\xEFve", {"cafe naive"}},
        {std::string("a\0b", 3), {"a"}},
        {"", {" "}},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> hash = CTeacherPassword::Hash(c.password);
        ASSERT_TRUE(hash);
        EXPECT_TRUE(CTeacherPassword::IsValidHash(*hash)) << *hash;
        EXPECT_TRUE(hash->starts_with("$argon2id$")) << *hash;
        EXPECT_TRUE(CTeacherPassword::Verify(*hash, c.password)) << Hex(c.password);
        for (const std::string& wrong : c.wrong)
            EXPECT_FALSE(CTeacherPassword::Verify(*hash, wrong)) << Hex(c.password) << " / " << Hex(wrong);
    }
    // Salted: the same password never gives the same line twice.
    EXPECT_NE(CTeacherPassword::Hash("apple"), CTeacherPassword::Hash("apple"));
}

TEST(TeacherPassword, AFileThatHoldsNoValidHashIsDamaged)
{
    const std::string hash = *CTeacherPassword::Hash("apple");
    // The same cost written by another program, but asking for 4 GiB of memory a check.
    std::string greedy = hash;
    greedy.replace(greedy.find("m=65536"), 7, "m=4194304");
    struct Case {
        const char* name;
        std::optional<std::string> bytes; // nothing: no file at all
        State state;
    };
    const Case cases[] = {
        {"no file", std::nullopt, State::none},
        {"our line", hash + "\n", State::set},
        {"no line feed", hash, State::damaged},
        {"two line feeds", hash + "\n\n", State::damaged},
        {"empty", "", State::damaged},
        {"cut short", hash.substr(0, hash.size() - 5) + "\n", State::damaged},
        {"not a hash", "apple\n", State::damaged},
        {"too costly", greedy + "\n", State::damaged},
        {"far too large", std::string(CTeacherPassword::kMaxFileBytes + 1, '$'), State::damaged},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = CTeacherPassword::Path(folder.Path());
        if (c.bytes)
            std::ofstream(path, std::ios::binary) << *c.bytes;
        std::string read;
        EXPECT_EQ(CTeacherPassword::Read(path, read), c.state) << c.name;
        EXPECT_EQ(read, c.state == State::set ? hash : "") << c.name;
    }
    // A pipe or a folder in its place is read as damaged, without waiting for a writer.
    TempFolder folder;
    const std::string path = CTeacherPassword::Path(folder.Path());
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    std::string read;
    EXPECT_EQ(CTeacherPassword::Read(path, read), State::damaged);
    ::unlink(path.c_str());
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    EXPECT_EQ(CTeacherPassword::Read(path, read), State::damaged);
}

TEST(TeacherPassword, ChangingNeedsTheOldPasswordUnlessNoneIsSetOrTheFileIsDamaged)
{
    struct Step {
        const char* oldPassword;
        const char* newPassword;
        const char* retyped;
        Change result;
        State after;
    };
    struct Case {
        const char* name;
        const char* start; // the file's bytes; nullptr: no file
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"first password",
         nullptr,
         {{"", "pear", "peer", Change::notSame, State::none},
          {"", "", "", Change::emptyNew, State::none},
          {"anything", "pear", "pear", Change::set, State::set}}},
        {"change and remove",
         nullptr,
         {{"", "pear", "pear", Change::set, State::set},
          {"Pear", "plum", "plum", Change::wrongOld, State::set},
          {"pear", "plum", "plum", Change::set, State::set},
          {"pear", "fig", "fig", Change::wrongOld, State::set},
          {"plum", "", "", Change::removed, State::none}}},
        {"damaged file",
         "garbage",
         {{"", "", "", Change::emptyNew, State::damaged}, {"", "fig", "fig", Change::set, State::set}}},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = CTeacherPassword::Path(folder.Path());
        if (c.start)
            std::ofstream(path, std::ios::binary) << c.start;
        for (const Step& step : c.steps) {
            std::string error;
            EXPECT_EQ(CTeacherPassword::ChangePassword(path, step.oldPassword, step.newPassword, step.retyped, &error),
                      step.result)
                << c.name << ": " << step.newPassword << " " << error;
            std::string hash;
            EXPECT_EQ(CTeacherPassword::Read(path, hash), step.after) << c.name << ": " << step.newPassword;
            if (step.result == Change::set) {
                EXPECT_TRUE(CTeacherPassword::Verify(hash, step.newPassword)) << c.name;
            }
            EXPECT_EQ(Slurp(path).find(step.newPassword[0] ? step.newPassword : "\x01"), std::string::npos);
        }
        // The damaged file is kept beside, not lost.
        if (c.start) {
            EXPECT_EQ(Slurp(path + ".damaged"), c.start) << c.name;
        }
    }
}

TEST(TeacherPassword, ASaveThatFailsLeavesTheOldPassword)
{
    TempFolder folder;
    const std::string path = CTeacherPassword::Path(folder.Path());
    ASSERT_EQ(CTeacherPassword::ChangePassword(path, "", "pear", "pear", nullptr), Change::set);
    // Marked read-only: that holds for an administrator too.
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    std::string error;
    EXPECT_EQ(CTeacherPassword::ChangePassword(path, "pear", "plum", "plum", &error), Change::saveFailed);
    EXPECT_NE(error, "");
    EXPECT_EQ(CTeacherPassword::ChangePassword(path, "pear", "", "", nullptr), Change::saveFailed);
    std::string hash;
    ASSERT_EQ(CTeacherPassword::Read(path, hash), State::set);
    EXPECT_TRUE(CTeacherPassword::Verify(hash, "pear"));
}

TEST(TeacherPassword, ToolDumpNamesTheHashsKindAndCostButNotTheHash)
{
    TempFolder folder;
    const std::string path = CTeacherPassword::Path(folder.Path());
    ASSERT_EQ(CTeacherPassword::ChangePassword(path, "", "pear", "pear", nullptr), Change::set);
    ToolRun run = RunTool(KELTO4_TOOL, folder, "dump '" + path + "'");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "argon2id\tm=65536,t=2,p=1\n");
    std::ofstream(path, std::ios::binary) << "pear\n";
    run = RunTool(KELTO4_TOOL, folder, "dump '" + path + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("damaged"), std::string::npos) << run.err;
}
}
