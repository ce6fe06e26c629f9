#include "app/CKelto4View.h"

#include "document/CKelto4AppCore.h"
#include "document/CKelto4Doc.h"
#include "model/CSafeFile.h"
#include "platform/CControlIds.h"
#include "platform/CommandIds.h"
#include "platform/CQtText.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPushButton>

namespace {
const CFormControl kTemplate[] = {
    {CFormControl::CenterLabel, 0, "Start Page", 7, 7, 306, 11},
    {CFormControl::HLine, 0, nullptr, 8, 18, 306, 1},
    {CFormControl::Button, CKelto4View::IDC_OPEN, "Open a Spelling List", 24, 30, 133, 15},
    {CFormControl::Button, CKelto4View::IDC_CREATE, "Create a New Spelling List", 24, 59, 133, 15},
    {CFormControl::Button, CKelto4View::IDC_TEST, "Take a Spelling Test", 24, 88, 133, 15},
    {CFormControl::Button, CKelto4View::IDC_LOGIN, "Log In as a Different User", 24, 117, 133, 15},
    {CFormControl::CenterMultiLineEdit, CKelto4View::IDC_WELCOME, nullptr, 169, 30, 130, 102, CFormControl::GrowAuto,
     "Welcome"},
};
}

CKelto4View::CKelto4View(CKelto4Doc* document, QWidget* parent)
    : CFormView(document, parent)
{
    BuildForm(kTemplate, int(std::size(kTemplate)), 320, 200);
    m_btnTest = FindControl<QPushButton>(this, IDC_TEST);
    setAutoFillBackground(false);
}

void CKelto4View::OnInitialUpdate()
{
    OnUpdate(nullptr, 0);
    // The main window fits itself to this form before it is first shown (later the
    // user's own size stays) and applies "Show Menu".
    if (QWidget* frame = window(); frame && frame != this) {
        if (!frame->isVisible())
            frame->adjustSize();
        GetDocument()->GetApp().ShowMenu(GetDocument()->GetApp().GetShowMenu() != 0);
    }
}

void CKelto4View::OnUpdate(CDocView*, long)
{
    CKelto4Doc* doc = GetDocument();
    std::string t = "Welcome";
    if (doc->m_userName.empty())
        t += ", no user logged in.\r\nTest data will not be saved.";
    else
        t += " " + doc->m_userName + ".\r\nTest data will be saved.";
    if (doc->m_wordList.empty())
        t += "\r\nThe current spelling list is empty.\r\nPlease open or create a list.";
    m_welcome = t;
    m_btnTest->setEnabled(!doc->m_wordList.empty());
    SetDlgItemText(IDC_WELCOME, m_welcome);
    update();
}

void CKelto4View::OnCommand(int id)
{
    CKelto4Doc* doc = GetDocument();
    switch (id) {
    case IDC_OPEN:
        doc->PostCommand(ID_FILE_OPEN);
        break;
    case IDC_CREATE:
        doc->PostCommand(ID_FILE_NEW);
        doc->PostCommand(ID_VIEW_WORDS);
        break;
    case IDC_TEST:
        doc->PostCommand(ID_VIEW_TEST);
        break;
    case IDC_LOGIN:
        doc->ChangeUser();
        break;
    default:
        break;
    }
}

QString CKelto4View::FindPicture(const std::string& picture)
{
    if (picture.empty())
        return QString();
    const QString name = ToQt(picture);
    if (QFileInfo(name).isFile())
        return name;
    if (QFileInfo(name).isAbsolute())
        return QString();
    for (const QString& folder : {QStringLiteral(KELTO4_DATADIR), QStringLiteral(KELTO4_SOURCE_RES)}) {
        const QString candidate = QDir(folder).filePath(name);
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return QString();
}

// The picture is read again at every paint, as it may change on disk at any time;
// a missing or unreadable one leaves the page plain, without a message.
void CKelto4View::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QString path = FindPicture(GetDocument()->m_picture);
    if (path.isEmpty())
        return;
    // Read as every file the program reads: a pipe put in the picture's place must not
    // hang the page, nor a link of someone else's be followed.
    std::string bytes;
    if (!CSafeFile::ReadAll(PathFromQt(path), bytes, nullptr))
        return;
    const QImage image = QImage::fromData(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (image.isNull())
        return;
    if (GetDocument()->m_pictureMode == 0) {
        painter.drawImage(rect(), image);
    } else {
        // The picture's centre on the page's centre, unscaled, cut where it is larger.
        const int x = (image.width() - width()) / 2;
        const int y = (image.height() - height()) / 2;
        painter.drawImage(QPoint(-x, -y), image);
    }
}
