// kelto4-shots SOURCE-DIR: takes the user guide's pictures into SOURCE-DIR/docs/images
// and lists them in its pictures.txt. scripts/screenshots builds and runs it; it needs
// no display (QT_QPA_PLATFORM=offscreen) and takes the microphone from the sound server.
#include "app/CMainFrame.h"
#include "document/CKelto4AppCore.h"
#include "model/CCalendarDay.h"
#include "platform/CMnemonicStyle.h"
#include "shots/CSampleClass.h"
#include "shots/CScreenshots.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelto4-shots SOURCE-DIR\n");
        return 2;
    }
    // A home of its own, so the pictures never show (or change) the real settings and learners;
    // always at the same place, so the folders the pages show are the same at every run.
    const QString base = QDir::tempPath() + QStringLiteral("/kelto4-shots");
    struct stat info {};
    if (::lstat(QFile::encodeName(base).constData(), &info) == 0 &&
        (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid())) {
        std::fprintf(stderr, "kelto4-shots: %s belongs to someone else; remove it first\n",
                     QFile::encodeName(base).constData());
        return 1;
    }
    QDir(base).removeRecursively();
    if (!QDir().mkpath(base + QStringLiteral("/parent")) ||
        !QFile::setPermissions(base, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        std::fprintf(stderr, "kelto4-shots: no temporary folder\n");
        return 1;
    }
    QDir home(base + QStringLiteral("/parent"));
    const QByteArray root = QFile::encodeName(home.path());
    for (const char* sub : {"config", "data", "cache", "runtime", "Documents/Words", "users"})
        QDir().mkpath(home.filePath(QString::fromLatin1(sub)));
    setenv("HOME", root.constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    setenv("XDG_CACHE_HOME", (root + "/cache").constData(), 1);
    setenv("XDG_DOCUMENTS_DIR", (root + "/Documents").constData(), 1);
    if (!getenv("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(home.filePath(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setenv("XDG_RUNTIME_DIR", (root + "/runtime").constData(), 1);
    }

    Q_INIT_RESOURCE(kelto4app);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelto4"));
    QApplication::setOrganizationName(QStringLiteral("Tarvel"));
    // The light look of a fresh desktop, whatever the machine that takes the pictures uses.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
    CMnemonicStyle::Install();

    const std::string users = (root + "/users").toStdString();
    std::string error;
    if (!CSampleClass::Write(users, CCalendarDay::FromTime(CScreenshots::PictureDay()), error)) {
        std::fprintf(stderr, "kelto4-shots: the sample learner: %s\n", error.c_str());
        return 1;
    }
    CScreenshots shots(argv[1], users);
    const bool taken = shots.Run();
    QDir(base).removeRecursively();
    return taken ? 0 : 1;
}
