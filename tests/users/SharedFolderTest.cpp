// A user folder (or sound folder) that a whole class can write to: what another
// learner may put there never makes the program harm this user's files, wait for
// ever, or speak in garbled letters.
#include "CMessageLog.h"
#include "CTestAppCore.h"
#include "document/CKelto4Doc.h"
#include "model/CArchive.h"
#include "model/Cp1252.h"
#include "model/CUserRecordFiles.h"
#include "sound/CSoundRecorder.h"
#include "users/CLogInRules.h"
#include "users/CUserFile.h"
#include "WaveFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <future>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr uid_t kSomeoneElse = 65534; // "nobody"
const std::string kForeignLink = "a link that belongs to someone else";
const std::string kNotRegular = "not a regular file";

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

bool Contains(const std::vector<std::string>& texts, const std::string& part)
{
    for (const std::string& text : texts)
        if (text.find(part) != std::string::npos)
            return true;
    return false;
}

std::string Joined(const std::vector<std::string>& texts)
{
    std::string all;
    for (const std::string& text : texts)
        all += "[" + text + "] ";
    return all;
}

std::string EncodedGrades()
{
    COwnedList<CGrade> grades;
    grades.push_back(std::make_unique<CGrade>());
    grades.back()->SetListName("week1");
    std::string bytes;
    CArchive ar(bytes);
    StoreObjectList(ar, grades);
    return bytes;
}

// One step of the program on the shared folder, with the messages it showed.
struct Step {
    const char* name;
    std::vector<std::string> files; // the names the step uses in the shared folder
    // Runs the step; false when it did something it must not (read a refused file).
    std::function<bool(const std::string& folder, CMessageLog& log)> run;
    bool tellsTheUser; // the step shows a message (record files are read silently)
};

void PrintTo(const Step& step, std::ostream* os) { *os << step.name; }

std::string CaseName(const ::testing::TestParamInfo<Step>& info) { return info.param.name; }

bool SaveList(const std::string& folder, CMessageLog&)
{
    CTestAppCore app;
    CKelto4Doc doc(app);
    doc.m_wordList.push_back(std::make_unique<CSpellingList>());
    doc.m_wordList.back()->m_word = "cat";
    return !doc.OnSaveDocument(folder + "/week1.ktr");
}

bool OpenList(const std::string& folder, CMessageLog&)
{
    CTestAppCore app;
    CKelto4Doc doc(app);
    return !doc.OnOpenDocument(folder + "/week1.ktr") && doc.m_wordList.empty();
}

bool SaveRecords(const std::string& folder, CMessageLog&)
{
    CTestAppCore app;
    app.m_userFolder = folder;
    CKelto4Doc doc(app);
    doc.m_userName = "Victim";
    doc.m_gradeList.push_back(std::make_unique<CGrade>());
    doc.m_recordsChanged = true;
    return true; // the document saves them as it ends, and says why it could not
}

bool LoadRecords(const std::string& folder, CMessageLog&)
{
    COwnedList<CGrade> grades;
    COwnedList<CMissed> missed;
    return !CUserRecordFiles::Load(folder, "Victim", grades, missed) && grades.empty() && missed.empty();
}

bool OpenUserFile(const std::string& folder, CMessageLog&)
{
    const CUserFileAccess quick(3, 1);
    CUserFile file(quick);
    return !file.Open(folder, nullptr) && !file.Save();
}

bool PlaySound(const std::string& folder, CMessageLog&)
{
    CSoundRecorder recorder;
    return recorder.Play(folder + "/cat.wav") == 0;
}

bool SaveSound(const std::string& folder, CMessageLog&)
{
    QTemporaryDir own;
    WriteTone(own.filePath(QStringLiteral("TempWord.wav")).toStdString(), 0.1);
    CSoundRecorder recorder;
    recorder.SetFolder(own.path().toStdString());
    return recorder.Save(folder + "/cat.wav") == 0;
}

class ForeignLinks : public ::testing::TestWithParam<Step> {};
class NotRegularFiles : public ::testing::TestWithParam<Step> {};
}

// A learner who can write the shared folder makes Victim.kt3 a link to the victim's own
// file: the victim's program neither reads nor replaces that file, nor copies it.
TEST_P(ForeignLinks, AreNeverFollowedAndTouchNothing)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a link owned by another user can only be made by root (chown -h)";
    const Step& step = GetParam();
    QTemporaryDir dir;
    const std::string home = dir.filePath(QStringLiteral("home")).toStdString();
    const std::string shared = dir.filePath(QStringLiteral("shared")).toStdString();
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(home)) && QDir().mkdir(QString::fromStdString(shared)));
    const std::string victim = home + "/thesis";
    // The victim's file is one the program would gladly read: a record list, a sound.
    if (std::string(step.files[0]).ends_with(".wav"))
        WriteTone(victim, 0.1);
    else
        std::ofstream(victim, std::ios::binary) << EncodedGrades();
    ASSERT_EQ(::chmod(victim.c_str(), 0600), 0);
    const std::string before = Slurp(victim);
    for (const std::string& name : step.files) {
        const std::string link = shared + "/" + name;
        ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
        ASSERT_EQ(::lchown(link.c_str(), kSomeoneElse, kSomeoneElse), 0);
    }

    CMessageLog log;
    EXPECT_TRUE(step.run(shared, log)) << "the step went through the link";
    EXPECT_EQ(Slurp(victim), before);
    EXPECT_EQ(ModeOf(victim) & 07777, 0600u);
    for (const std::string& name : step.files)
        EXPECT_TRUE(S_ISLNK(ModeOf(shared + "/" + name))) << name << " is no longer the link";
    QStringList expected;
    for (const std::string& name : step.files)
        expected << QString::fromStdString(name);
    expected.sort();
    EXPECT_EQ(QDir(QString::fromStdString(shared)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
              expected);
    if (step.tellsTheUser) {
        EXPECT_TRUE(Contains(log.Texts(), kForeignLink)) << Joined(log.Texts());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ForeignLinks,
    ::testing::Values(Step{"SaveList", {"week1.ktr"}, SaveList, true},
                      Step{"OpenList", {"week1.ktr"}, OpenList, true},
                      Step{"SaveRecords", {"Victim.kt3", "Victim.kt4"}, SaveRecords, true},
                      Step{"LoadRecords", {"Victim.kt3", "Victim.kt4"}, LoadRecords, false},
                      Step{"OpenUserFile", {"Kelto4.lgn"}, OpenUserFile, true},
                      Step{"PlaySound", {"cat.wav"}, PlaySound, true},
                      Step{"SaveSound", {"cat.wav"}, SaveSound, true}),
    CaseName);

// A file that no longer reads to its end is kept beside as ".damaged": that copy is never
// readable by anybody who could not read the file itself.
TEST(DamagedCopies, AreNoMoreReadableThanTheFileTheyCopy)
{
    const struct {
        const char* file;
        std::function<void(const std::string& folder)> save;
    } cases[] = {
        {"Ann.kt3",
         [](const std::string& folder) {
             COwnedList<CGrade> grades;
             COwnedList<CMissed> missed;
             EXPECT_TRUE(CUserRecordFiles::Save(folder, "Ann", grades, missed, nullptr));
         }},
        {"Kelto4.lgn",
         [](const std::string& folder) {
             CMessageLog log;
             CUserFile file;
             ASSERT_TRUE(file.Open(folder, nullptr));
             EXPECT_TRUE(file.ReadFailed());
             EXPECT_TRUE(file.Save()) << file.LastError();
         }},
    };
    const mode_t oldMask = ::umask(022);
    for (const auto& c : cases) {
        for (const mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0660)}) {
            SCOPED_TRACE(std::string(c.file) + " with mode " + std::to_string(mode));
            QTemporaryDir dir;
            const std::string folder = dir.path().toStdString();
            const std::string path = folder + "/" + c.file;
            std::ofstream(path, std::ios::binary) << std::string("\x05\x00junk", 6);
            ASSERT_EQ(::chmod(path.c_str(), mode), 0);
            c.save(folder);
            const mode_t copy = ModeOf(path + ".damaged") & 07777;
            EXPECT_EQ(Slurp(path + ".damaged"), std::string("\x05\x00junk", 6));
            EXPECT_EQ(copy & ~mode, 0u) << "the copy has mode " << std::oct << copy;
        }
    }
    ::umask(oldMask);
}

// A pipe (or a device, here through a link of the user's own) where a file is expected
// is refused at once; nothing waits on it.
TEST_P(NotRegularFiles, AreRefusedAtOnce)
{
    const Step& step = GetParam();
    for (const bool pipe : {true, false}) {
        SCOPED_TRACE(pipe ? "a pipe" : "a device");
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        for (const std::string& name : step.files) {
            const std::string path = folder + "/" + name;
            ASSERT_EQ(pipe ? ::mkfifo(path.c_str(), 0666) : ::symlink("/dev/null", path.c_str()), 0);
        }
        CMessageLog log;
        std::packaged_task<bool()> task([&] { return step.run(folder, log); });
        std::future<bool> done = task.get_future();
        std::thread worker(std::move(task));
        if (done.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // The step reads the pipe and will never return: nothing else can be tested.
            ADD_FAILURE() << "the step waits on the pipe";
            std::fprintf(stderr, "%s waits on a pipe\n", step.name);
            std::_Exit(1);
        }
        worker.join();
        EXPECT_TRUE(done.get()) << "the step read what is no regular file";
        if (step.tellsTheUser) {
            EXPECT_TRUE(Contains(log.Texts(), kNotRegular)) << Joined(log.Texts());
        }
        for (const std::string& name : step.files)
            EXPECT_FALSE(S_ISREG(ModeOf(folder + "/" + name))) << name << " was replaced";
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, NotRegularFiles,
                         ::testing::Values(Step{"OpenList", {"week1.ktr"}, OpenList, true},
                                           Step{"LoadRecords", {"Victim.kt3", "Victim.kt4"}, LoadRecords, false},
                                           Step{"SaveRecords", {"Victim.kt3", "Victim.kt4"}, SaveRecords, true},
                                           Step{"OpenUserFile", {"Kelto4.lgn"}, OpenUserFile, true},
                                           Step{"PlaySound", {"cat.wav"}, PlaySound, true}),
                         CaseName);

// On a German desktop the system says "Die Datei ist zu groß": every message that
// carries the system's reason shows it as written, not as "groÃŸ".
TEST(SystemErrors, AreShownInTheDesktopsLanguageAsWritten)
{
    const std::string oldLocale = std::setlocale(LC_ALL, nullptr);
    const char* oldLanguage = std::getenv("LANGUAGE");
    const std::string savedLanguage = oldLanguage ? oldLanguage : "";
    std::setlocale(LC_ALL, "C.UTF-8");
    ::setenv("LANGUAGE", "de", 1);
    const std::string german = std::strerror(EFBIG);
    struct rlimit oldLimit {};
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    const auto restore = [&] {
        ::setrlimit(RLIMIT_FSIZE, &oldLimit);
        std::signal(SIGXFSZ, SIG_DFL);
        if (oldLanguage)
            ::setenv("LANGUAGE", savedLanguage.c_str(), 1);
        else
            ::unsetenv("LANGUAGE");
        std::setlocale(LC_ALL, oldLocale.c_str());
    };
    if (german.find('\xC3') == std::string::npos) {
        restore();
        GTEST_SKIP() << "the system has no German messages here (" << german << ")";
    }
    // Any file longer than a few hundred bytes is "too big" now.
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = oldLimit;
    small.rlim_cur = 300;
    ::setrlimit(RLIMIT_FSIZE, &small);

    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    std::vector<std::string> shown;
    {
        CMessageLog log;
        CTestAppCore app;
        app.m_userFolder = folder;
        {
            CKelto4Doc doc(app);
            for (int i = 0; i < 40; ++i) {
                doc.m_wordList.push_back(std::make_unique<CSpellingList>());
                doc.m_wordList.back()->m_word = "word" + std::to_string(i);
            }
            doc.OnSaveDocument(folder + "/week1.ktr");
            doc.m_userName = "Ann";
            for (int i = 0; i < 40; ++i)
                doc.m_gradeList.push_back(std::make_unique<CGrade>());
            doc.m_recordsChanged = true;
        }
        CUserFile users;
        ASSERT_TRUE(users.Open(folder, nullptr));
        for (int i = 0; i < 40; ++i)
            CLogInRules(users.Users()).LogIn("learner" + std::to_string(i), "");
        EXPECT_FALSE(users.Save());
        shown = log.Texts();
        shown.push_back(users.LastError());
    }
    restore();
    const std::string expected = Utf8ToCp1252(german);
    ASSERT_EQ(shown.size(), 3u) << Joined(shown); // the list, the records, the user file
    for (const std::string& text : shown) {
        EXPECT_NE(text.find(expected), std::string::npos) << text;
        EXPECT_EQ(text.find('\xC3'), std::string::npos) << text;
    }
}
