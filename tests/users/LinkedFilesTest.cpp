// Every file the program saves, reached through a symbolic link: the new content goes
// to the link's target and the link stays a link.
#include "CTestAppCore.h"
#include "document/CKelto4Doc.h"
#include "model/CUserRecordFiles.h"
#include "users/CLogInRules.h"
#include "users/CUserFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void SaveList(const std::string& folder, const std::string& word)
{
    CTestAppCore app;
    CKelto4Doc doc(app);
    auto entry = std::make_unique<CSpellingList>();
    entry->m_word = word;
    doc.m_wordList.push_back(std::move(entry));
    EXPECT_TRUE(doc.OnSaveDocument(folder + "/week1.ktr"));
}

void SaveRecords(const std::string& folder, const std::string& word)
{
    COwnedList<CGrade> grades;
    grades.push_back(std::make_unique<CGrade>());
    grades.back()->SetListName(word);
    COwnedList<CMissed> missed;
    missed.push_back(std::make_unique<CMissed>());
    missed.back()->SetListName(word);
    EXPECT_TRUE(CUserRecordFiles::Save(folder, "Ann", grades, missed, nullptr));
}

void SaveUsers(const std::string& folder, const std::string& name)
{
    CUserFile file;
    ASSERT_TRUE(file.Open(folder, nullptr));
    CLogInRules(file.Users()).LogIn(name, "");
    EXPECT_TRUE(file.Save()) << file.LastError();
}

struct LinkedCase {
    const char* name;
    std::vector<std::string> files;
    void (*save)(const std::string& folder, const std::string& word);
};

void PrintTo(const LinkedCase& c, std::ostream* os) { *os << c.name; }

class LinkedFiles : public ::testing::TestWithParam<LinkedCase> {};
}

TEST_P(LinkedFiles, AreSavedToTheTargetAndTheLinkStays)
{
    QTemporaryDir dir;
    const std::string real = dir.filePath(QStringLiteral("real")).toStdString();
    const std::string links = dir.filePath(QStringLiteral("links")).toStdString();
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(real)) && QDir().mkdir(QString::fromStdString(links)));
    GetParam().save(real, "first");
    std::vector<std::string> before;
    for (const std::string& file : GetParam().files) {
        before.push_back(Slurp(real + "/" + file));
        ASSERT_EQ(::symlink(("../real/" + file).c_str(), (links + "/" + file).c_str()), 0);
    }
    GetParam().save(links, "second");
    for (size_t i = 0; i < GetParam().files.size(); ++i) {
        const std::string link = links + "/" + GetParam().files[i];
        struct stat st {};
        ASSERT_EQ(::lstat(link.c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << link;
        EXPECT_NE(Slurp(real + "/" + GetParam().files[i]), before[i]) << link;
    }
    QStringList expected;
    for (const std::string& file : GetParam().files)
        expected << QString::fromStdString(file);
    EXPECT_EQ(QDir(QString::fromStdString(links)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
              expected);
}

INSTANTIATE_TEST_SUITE_P(Files, LinkedFiles,
                         ::testing::Values(LinkedCase{"List", {"week1.ktr"}, SaveList},
                                           LinkedCase{"RecordFiles", {"Ann.kt3", "Ann.kt4"}, SaveRecords},
                                           LinkedCase{"UserFile", {"Kelto4.lgn"}, SaveUsers}),
                         [](const auto& p) { return std::string(p.param.name); });
