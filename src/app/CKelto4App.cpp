#include "app/CKelto4App.h"

#include "app/CMainFrame.h"
#include "document/CKelto4Doc.h"
#include "model/CBlockingCall.h"
#include "model/CPath.h"
#include "platform/CCommandManager.h"
#include "platform/CMessageBox.h"
#include "platform/CMnemonicStyle.h"
#include "platform/CQtText.h"
#include "users/CChangePWDlg.h"
#include "users/CLogInDlg.h"

#include <QCommandLineParser>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// One running copy per user and home folder: a second login of the same user with
// another home (or a test with a fresh one) has its own copy. The socket lies in the
// user's own runtime folder, which nobody else may enter; "" when there is none.
QString serverName()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return QString();
    const QByteArray home = QCryptographicHash::hash(QDir::homePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QDir(runtime).filePath(QStringLiteral("kelto4-shell-open-%1").arg(QString::fromLatin1(home)));
}

// Is the program at the other end of the socket run by this user?
bool IsSameUser(qintptr descriptor)
{
    ucred peer {};
    socklen_t length = sizeof peer;
    if (::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0)
        return false;
    return peer.uid == ::geteuid();
}
}

CKelto4App::CKelto4App(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Kelto4"));
    setOrganizationName(QStringLiteral("Tarvel"));
    setApplicationVersion(QStringLiteral("3.0.0"));
    // The application id that joins the window to its desktop entry and software-centre page.
    setDesktopFileName(QStringLiteral("net.tarvel.kelto4"));
    setWindowIcon(QIcon(QStringLiteral(":/kelto4/icons/kelto4-48.png")));
}

// The window goes first: the document writes the user's records as it is destroyed.
CKelto4App::~CKelto4App()
{
    m_frame.reset();
    m_document.reset();
}

bool CKelto4App::InitInstance()
{
    CMessageBox::Install();
    CMnemonicStyle::Install();
    QCommandLineParser parser;
    // The desktop entry runs "kelto4 --shell-open %f"; from the menu %f is empty.
    QCommandLineOption shellOpen(QStringLiteral("shell-open"),
                                 QStringLiteral("Open the list in the copy already running, if there is one."));
    parser.addOption(shellOpen);
    parser.addPositionalArgument(QStringLiteral("list"), QStringLiteral("A spelling list (.ktr) to open."));
    // --help and --version are answered in main(), before there is a display.
    parser.process(arguments());
    const QString file = parser.positionalArguments().value(0);
    if (parser.isSet(shellOpen) && !file.isEmpty() && ForwardToRunningCopy(file))
        return false;

    m_userFolder = GetDefaultUserFolder();
    const std::string common = GetCommonAppDataFolder();
    if (!common.empty())
        CreatePath(CPath::Join(common, "Kelto4"));

    m_document = std::make_unique<CKelto4Doc>(*this);
    m_document->Create();
    m_frame = std::make_unique<CMainFrame>(m_document.get());
    if (file.isEmpty() || !m_frame->OpenDocumentFile(file)) {
        m_document->OnNewDocument();
        m_document->SendInitialUpdate();
    }
    m_frame->adjustSize();
    if (!m_frame->RestorePlacement())
        if (QScreen* screen = m_frame->screen())
            m_frame->move(screen->availableGeometry().center() - m_frame->rect().center());
    m_frame->show();
    ListenForShellOpen();
    return true;
}

bool CKelto4App::RunLogInDialog(const std::string& userFolder, std::string& name, bool& autoLogIn)
{
    CLogInDlg dialog(m_frame.get());
    dialog.m_userFolder = userFolder;
    if (dialog.DoModal() != IDOK)
        return false;
    name = dialog.m_userName;
    autoLogIn = dialog.m_autoLogIn;
    return true;
}

bool CKelto4App::RunChangePasswordDialog(const std::string& userFolder)
{
    CChangePWDlg dialog(QApplication::activeWindow());
    dialog.m_userFolder = userFolder;
    return dialog.DoModal() == QDialog::Accepted;
}

void CKelto4App::PostCommand(int id)
{
    if (m_frame)
        m_frame->Commands().Post(id);
}

void CKelto4App::ShowMenu(bool show)
{
    if (m_frame)
        m_frame->ShowMenu(show);
}

QString CKelto4App::HandOverSocket()
{
    return serverName();
}

bool CKelto4App::ForwardToRunningCopy(const QString& file)
{
    if (serverName().isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(500))
        return false;
    socket.write(QFileInfo(file).absoluteFilePath().toUtf8() + '\n');
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}

void CKelto4App::ListenForShellOpen()
{
    if (serverName().isEmpty())
        return;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(serverName());
    if (!m_server->listen(serverName()))
        return;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        QLocalSocket* socket = m_server->nextPendingConnection();
        if (!socket)
            return;
        if (!IsSameUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            return;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QString path = QString::fromUtf8(socket->readLine()).trimmed();
                if (!path.isEmpty())
                    OpenFromShell(path);
            }
        });
    });
}

void CKelto4App::OpenFromShell(const QString& path)
{
    if (!m_frame)
        return;
    // A list can't be swapped under a running test (or a modal window, or a call that
    // blocks: a word playing, the wait for the user file); it waits until that is done.
    if (m_document->m_testRunning || QApplication::activeModalWidget() || CBlockingCall::IsRunning()) {
        m_pendingShellOpen = path;
        QTimer::singleShot(500, this, [this] {
            const QString pending = m_pendingShellOpen;
            m_pendingShellOpen.clear();
            if (!pending.isEmpty())
                OpenFromShell(pending);
        });
        return;
    }
    m_frame->OpenDocumentFile(path);
    m_frame->raise();
    m_frame->activateWindow();
}
