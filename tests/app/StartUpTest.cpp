// The real program starting up: CKelto4App with a fresh home, as a user would run it.
// Modal windows are answered by a watcher that looks for them while they run.
#include "app/CKelto4App.h"
#include "app/CMainFrame.h"
#include "CTestAppCore.h"
#include "document/CKelto4Doc.h"
#include "model/CSpellingList.h"
#include "PageTestSupport.h"
#include "TestEnvironment.h"
#include "users/CLogInDlg.h"
#include "users/CUserFile.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
int g_argc = 1;
char g_name[] = "kelto4";
char* g_argv[] = {g_name, nullptr, nullptr};

// Every 20 ms: hands the modal window on top, if any, to the test's answer.
class ModalWatcher {
public:
    explicit ModalWatcher(std::function<void(QWidget*)> answer) : m_answer(std::move(answer))
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                seen << modal->windowTitle();
                m_answer(modal);
            }
        });
        m_timer.start();
    }
    QStringList seen;

private:
    std::function<void(QWidget*)> m_answer;
    QTimer m_timer;
};

std::string UserFolder()
{
    return QDir(QString::fromStdString(UseFreshHome())).filePath(QStringLiteral("data/Kelto4")).toStdString();
}

TEST(StartUp, AFreshHomeAsksForALogInAndTheTypedNameBecomesAnAccount)
{
    CKelto4App app(g_argc, g_argv);
    ModalWatcher watcher([](QWidget* modal) {
        auto* logIn = qobject_cast<CLogInDlg*>(modal);
        ASSERT_NE(logIn, nullptr) << modal->windowTitle().toStdString();
        auto* name = FindControl<QComboBox>(logIn, CLogInDlg::IDC_USERNAME);
        ASSERT_NE(name, nullptr);
        name->setEditText(QStringLiteral("Zoe"));
        FindControl<QPushButton>(logIn, 1)->click();
    });
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(watcher.seen.value(0), "Log in to Kelto4");
    ASSERT_NE(app.MainFrame(), nullptr);
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_EQ(app.Document()->m_userName, "Zoe");
    EXPECT_EQ(app.MainFrame()->UserPane()->text(), "Zoe");
    EXPECT_EQ(app.MainFrame()->windowTitle(), "Untitled - Keltora 3");
    EXPECT_EQ(app.m_userFolder, UserFolder());
    CUserFile file;
    ASSERT_TRUE(file.Open(UserFolder(), nullptr));
    ASSERT_EQ(file.Users().size(), 1u);
    EXPECT_EQ(file.Users().front()->m_name, "Zoe");
    // The box was left clear: no automatic log-in next time.
    EXPECT_EQ(app.GetAuto(), "");
}

TEST(StartUp, CancellingTheLogInStartsWithNobodyLoggedIn)
{
    CKelto4App app(g_argc, g_argv);
    ModalWatcher watcher([](QWidget* modal) {
        if (auto* logIn = qobject_cast<CLogInDlg*>(modal))
            FindControl<QPushButton>(logIn, 2)->click();
    });
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(watcher.seen.size(), 1);
    EXPECT_EQ(app.Document()->m_userName, "");
    EXPECT_EQ(app.MainFrame()->UserPane()->text(), "No User Logged In");
}

TEST(StartUp, AnAutomaticLogInSkipsTheDialog)
{
    {
        QSettings settings(QStringLiteral("Tarvel"), QStringLiteral("Kelto4"));
        settings.setValue(QStringLiteral("Settings/Auto"), QStringLiteral("Ann"));
    }
    CKelto4App app(g_argc, g_argv);
    ModalWatcher watcher([](QWidget* modal) { modal->close(); });
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(watcher.seen.isEmpty()) << watcher.seen.join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(app.Document()->m_userName, "Ann");
    EXPECT_EQ(app.MainFrame()->UserPane()->text(), "Ann");
}

std::string WriteList(const std::string& path, const std::string& word)
{
    CTestAppCore core;
    CKelto4Doc doc(core);
    AddWords(doc, {word});
    EXPECT_TRUE(doc.OnSaveDocument(path));
    return path;
}

TEST(StartUp, AListOnTheCommandLineIsOpenedAndLaterOnesReachThisCopy)
{
    {
        QSettings settings(QStringLiteral("Tarvel"), QStringLiteral("Kelto4"));
        settings.setValue(QStringLiteral("Settings/Auto"), QStringLiteral("Ann"));
    }
    const std::string home = UseFreshHome();
    const std::string first = WriteList(home + "/Documents/week1.ktr", "friend");
    const std::string second = WriteList(home + "/Documents/week2.ktr", "receive");
    char path[256];
    snprintf(path, sizeof path, "%s", first.c_str());
    int argc = 2;
    char* argv[] = {g_name, path, nullptr};
    CKelto4App app(argc, argv);
    ASSERT_TRUE(app.InitInstance());
    ASSERT_EQ(app.Document()->m_wordList.size(), 1u);
    EXPECT_EQ(app.Document()->m_wordList.front()->m_word, "friend");
    EXPECT_EQ(app.MainFrame()->windowTitle(), "week1 - Keltora 3");

    // What the file manager does when the program already runs.
    ASSERT_TRUE(CKelto4App::ForwardToRunningCopy(QString::fromStdString(second)));
    auto word = [&app] { return app.Document()->m_wordList.front()->m_word; };
    EXPECT_TRUE(QTest::qWaitFor([&] { return word() == "receive"; }, 1000)) << word();

    // During a test the list waits until the test is over.
    const std::string third = WriteList(home + "/Documents/week3.ktr", "because");
    app.Document()->m_testRunning = true;
    ASSERT_TRUE(CKelto4App::ForwardToRunningCopy(QString::fromStdString(third)));
    QTest::qWait(800);
    EXPECT_EQ(word(), "receive");
    app.Document()->m_testRunning = false;
    EXPECT_TRUE(QTest::qWaitFor([&] { return word() == "because"; }, 2000)) << word();

    // The desktop entry's command: a second program hands the list over and ends.
    const std::string fourth = WriteList(home + "/Documents/week4.ktr", "which");
    QProcess peer;
    peer.start(QStringLiteral(KELTO4_EXE), {QStringLiteral("--shell-open"), QString::fromStdString(fourth)});
    ASSERT_TRUE(peer.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer.state() == QProcess::NotRunning; }, 5000))
        << "the second copy did not end";
    EXPECT_EQ(peer.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return word() == "which"; }, 1000)) << word();
}

TEST(StartUp, TheDesktopEntrysCommandWithoutAListStartsNormally)
{
    {
        QSettings settings(QStringLiteral("Tarvel"), QStringLiteral("Kelto4"));
        settings.setValue(QStringLiteral("Settings/Auto"), QStringLiteral("Ann"));
    }
    char option[] = "--shell-open";
    int argc = 2;
    char* argv[] = {g_name, option, nullptr};
    CKelto4App app(argc, argv);
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_EQ(app.MainFrame()->windowTitle(), "Untitled - Keltora 3");
}

TEST(StartUp, TheHandOverSocketLiesInTheUsersRuntimeFolderAndTakesNoListFromOthers)
{
    {
        QSettings settings(QStringLiteral("Tarvel"), QStringLiteral("Kelto4"));
        settings.setValue(QStringLiteral("Settings/Auto"), QStringLiteral("Ann"));
    }
    CKelto4App app(g_argc, g_argv);
    ASSERT_TRUE(app.InitInstance());
    const QString socket = CKelto4App::HandOverSocket();
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    ASSERT_FALSE(runtime.isEmpty());
    EXPECT_EQ(QFileInfo(socket).absolutePath(), QFileInfo(runtime).absoluteFilePath());
    EXPECT_TRUE(QFileInfo::exists(socket));

    // Another user's program tries to hand a list over.
    const std::string line = WriteList(UseFreshHome() + "/Documents/other.ktr", "stranger") + "\n";
    const QByteArray path = QFile::encodeName(socket);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            ::_exit(1);
        ::_exit(::write(fd, line.data(), line.size()) < 0 ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "only root can act as another user here";
    QTest::qWait(500);
    EXPECT_TRUE(app.Document()->m_wordList.empty());
}
}
