// The CSV that "Export..." and `kelto4-tool export` write, and the class export run on
// record files and a user file that the program itself wrote.
#include "model/CCsvWriter.h"
#include "model/CUserRecordFiles.h"
#include "model/ModelTestSupport.h"
#include "reports/CReportExport.h"
#include "reports/CReportRows.h"
#include "sound/CSpeechEngine.h"
#include "spelling/CSoundComparison.h"
#include "users/CUserFile.h"

#include <cstdio>
#include <fstream>

#include <sys/stat.h>

namespace {
TEST(CsvWriter, QuotesWhatNeedsItAndWritesUtf8)
{
    CCsvWriter csv;
    csv.Field("plain");
    csv.Field("a,b");
    csv.Field("say \"hi\"");
    csv.Field("two\r\nlines");
    csv.Field("cr\rlf\n");
    csv.Field("caf\xE9 \x80 na\xEFve");
    csv.Field("");
    csv.EndRow();
    csv.Number(-12);
    csv.Grade(2, 3);
    csv.Grade(1, 0);
    csv.Date("12/06/26, 06:02 PM");
    csv.Date("Time Error");
    csv.Date("a \"b\", c");
    csv.EndRow();
    EXPECT_EQ(csv.Text(), "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",\"cr\rlf\n\","
                          "caf\xC3\xA9 \xE2\x82\xAC na\xC3\xAFve,\r\n"
                          "-12,67,,2026-12-06 18:02,Time Error,\"a \"\"b\"\", c\"\r\n");
}

TEST(PageExport, MisspelledWordsEndWithHowTheySound)
{
    COwnedList<CGrade> grades;
    COwnedList<CMissed> missed;
    const char* const pairs[][2] = {{"birds", "berds"}, {"stop", "stog"}, {"birds", "brids"}};
    for (const auto& pair : pairs)
        missed.push_back(Missed("week1", "12/06/26, 06:02 PM", pair[0], pair[1]));
    bool changed = false;
    CReportRows rows;
    rows.Attach(grades, missed, changed);
    rows.Update();
    rows.ShowMisspelled();
    CSpeechEngine engine;
    CSoundComparison sounds(engine);
    EXPECT_EQ(CReportExport::FromRows(rows, sounds),
              "\xEF\xBB\xBFWord,Misspelling,Spelling Errors,Spelling List,Date,Sounds\r\n"
              "birds,berds,e to i,week1,2026-12-06 18:02,right\r\n"
              "stop,stog,g to p,week1,2026-12-06 18:02,close\r\n"
              "birds,brids,\"r to i, i to r\",week1,2026-12-06 18:02,different\r\n");
}

// A learner's answer is any text; a spreadsheet program must never run it as a formula.
TEST(CsvWriter, TextThatLooksLikeAFormulaGetsAnApostropheAndNumbersStayNumbers)
{
    const struct {
        const char* text;
        const char* written;
    } cases[] = {
        {"=HYPERLINK(\"http://x.example\")", "\"'=HYPERLINK(\"\"http://x.example\"\")\""},
        {"+1+cmd|' /C calc'!A0", "'+1+cmd|' /C calc'!A0"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\tab", "'\tab"},
        {"\r=1", "\"'\r=1\""},
        {"a=b", "a=b"},
        {"'quoted", "'quoted"},
        {"", ""},
    };
    for (const auto& c : cases) {
        CCsvWriter csv;
        csv.Field(c.text);
        csv.Number(-12);
        csv.Grade(1, 3);
        csv.EndRow();
        EXPECT_EQ(csv.Text(), std::string(c.written) + ",-12,33\r\n") << c.text;
    }
}

ToolRun Export(const TempFolder& scratch, const std::string& arguments)
{
    return RunTool(KELTO4_TOOL, scratch, "export " + arguments);
}

class ClassExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Written as the program writes them: the user file through its lock, the record
        // files as the document saves them.
        CUserFile users;
        ASSERT_TRUE(users.Open(folder.Path(), nullptr));
        for (const char* name : {"Zoe", "Andr\xE9"}) {
            users.Users().push_back(std::make_unique<CUser>());
            users.Users().back()->m_name = name;
            users.Users().back()->m_password = " ";
        }
        ASSERT_TRUE(users.Save());
        users.Close();

        COwnedList<CGrade> grades;
        COwnedList<CMissed> missed;
        grades.push_back(Grade("week2", "12/07/26, 09:15 AM", 9, 10));
        grades.push_back(Grade("week1--Stopped Test", "Time Error", 1, 10));
        missed.push_back(Missed("week2", "12/07/26, 09:15 AM", "friend", "freind"));
        Save("Zoe", grades, missed);
        grades.clear();
        missed.clear();
        grades.push_back(Grade("spelling, \"hard\"", "12/06/26, 12:00 AM", 2, 3));
        missed.push_back(Missed("spelling, \"hard\"", "12/06/26, 12:00 AM", "horses", "horss"));
        missed.push_back(Missed("spelling, \"hard\"", "12/06/26, 12:00 AM", "caf\xE9", "cafe"));
        Save("Andr\xE9", grades, missed);
        grades.clear();
        missed.clear();
        // Not in the user file: comes after the listed learners, in name order.
        grades.push_back(Grade("week1", "12/05/26, 12:00 PM", 3, 3));
        Save("Bob", grades, missed);
        Save("Amy", grades, missed);
    }
    void Save(const std::string& name, const COwnedList<CGrade>& grades, const COwnedList<CMissed>& missed)
    {
        ASSERT_TRUE(CUserRecordFiles::Save(folder.Path(), name, grades, missed, nullptr));
    }
    std::string Quoted() const { return "'" + folder.Path() + "'"; }

    TempFolder folder;
    TempFolder scratch;
};

TEST_F(ClassExport, ResultsOfEveryLearnerInUserFileOrderThenOthersByName)
{
    // Another copy holding the user file's lock doesn't keep the export waiting.
    CUserFile held;
    ASSERT_TRUE(held.Open(folder.Path(), nullptr));
    const ToolRun run = Export(scratch, Quoted());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "\xEF\xBB\xBFUser,Spelling List,Date,# Correct,# Words,Grade\r\n"
                       "Zoe,week2,2026-12-07 09:15,9,10,90\r\n"
                       "Zoe,week1--Stopped Test,Time Error,1,10,10\r\n"
                       "Andr\xC3\xA9,\"spelling, \"\"hard\"\"\",2026-12-06 00:00,2,3,67\r\n"
                       "Amy,week1,2026-12-05 12:00,3,3,100\r\n"
                       "Bob,week1,2026-12-05 12:00,3,3,100\r\n");
}

TEST_F(ClassExport, MisspelledWordsWithTheirRulesAndDamagedFilesOnStandardError)
{
    // A damaged file keeps the records before the fault, is named, and makes the exit 1.
    const std::string zoe = Slurp(CUserRecordFiles::MissedPath(folder.Path(), "Zoe"));
    std::ofstream(CUserRecordFiles::MissedPath(folder.Path(), "Zoe"), std::ios::binary)
        << zoe.substr(0, zoe.size() - 1);
    std::ofstream(CUserRecordFiles::MissedPath(folder.Path(), "Cid"), std::ios::binary) << "\x02";

    const ToolRun run = Export(scratch, "--missed " + Quoted());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "\xEF\xBB\xBFUser,Spelling List,Date,Word,Misspelling,Spelling Errors,Sounds\r\n"
                       "Andr\xC3\xA9,\"spelling, \"\"hard\"\"\",2026-12-06 00:00,horses,horss,single s; s to es,different\r\n"
                       "Andr\xC3\xA9,\"spelling, \"\"hard\"\"\",2026-12-06 00:00,caf\xC3\xA9,cafe,e to \xC3\xA9,right\r\n");
    EXPECT_NE(run.err.find(folder.Path() + "/Zoe.kt4"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(folder.Path() + "/Cid.kt4"), std::string::npos) << run.err;

    const ToolRun missing = Export(scratch, "'" + folder.File("nowhere") + "'");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(Export(scratch, "").exitCode, 0);
}

TEST_F(ClassExport, WithoutSpeechTheSoundsColumnIsEmptyAndSaidSoOnce)
{
    // espeak-ng looks here first for its data.
    setenv("ESPEAK_DATA_PATH", scratch.Path().c_str(), 1);
    const ToolRun run = Export(scratch, "--missed " + Quoted());
    unsetenv("ESPEAK_DATA_PATH");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find(",horss,single s; s to es,\r\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(",cafe,e to \xC3\xA9,\r\n"), std::string::npos) << run.out;
    const std::size_t said = run.err.find("sounds can't be compared");
    EXPECT_NE(said, std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("sounds can't be compared", said + 1), std::string::npos) << run.err;
}

// Record files of learners whose names Windows-1252 can't hold, made on another system:
// every one is exported, under the name the file system gives, in UTF-8.
TEST_F(ClassExport, ALearnerWhoseNameWindows1252CantHoldIsExportedByTheFilesName)
{
    const struct {
        const char* fileName;
        const char* exported;
    } cases[] = {
        {"\xC5\x81ukasz", "\xC5\x81ukasz"},  // Lukasz with a stroke
        {"\xE5\xAD\xA6", "\xE5\xAD\xA6"},     // a Chinese name
        {"bad\xFF\xFE", "bad??"},            // no UTF-8 at all
    };
    const std::string bytes = Slurp(CUserRecordFiles::ResultsPath(folder.Path(), "Bob"));
    for (const auto& c : cases) {
        std::ofstream(folder.File(std::string(c.fileName) + ".kt3"), std::ios::binary) << bytes;
        const ToolRun run = Export(scratch, Quoted());
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.out.find(std::string("\r\n") + c.exported + ",week1,2026-12-05 12:00,3,3,100\r\n"),
                  std::string::npos)
            << run.out;
        std::remove(folder.File(std::string(c.fileName) + ".kt3").c_str());
    }
}

// A pipe in place of a record file or of the user file is named at once; the export
// neither waits on it nor stops.
TEST_F(ClassExport, APipeInsteadOfAFileIsNamedAtOnceAndTheRestIsExported)
{
    for (const char* file : {"Zoe.kt3", "Kelto4.lgn"}) {
        std::remove(folder.File(file).c_str());
        ASSERT_EQ(::mkfifo(folder.File(file).c_str(), 0666), 0);
        const ToolRun run = RunTool(KELTO4_TOOL, scratch, "export " + Quoted(), 10);
        EXPECT_EQ(run.exitCode, 1) << file << " " << run.err;
        EXPECT_NE(run.err.find(folder.File(file) + " can't be read: This is not a regular file"), std::string::npos)
            << run.err;
        EXPECT_NE(run.out.find("Bob,week1"), std::string::npos) << run.out;
    }
}
}
