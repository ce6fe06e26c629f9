#include "app/CKelto4View.h"

#include "document/CKelto4AppCore.h"
#include "document/CKelto4Doc.h"
#include "model/CReviewList.h"
#include "model/CSafeFile.h"
#include "platform/CControlIds.h"
#include "platform/CommandIds.h"
#include "platform/CQtText.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>


CKelto4View::CKelto4View(CKelto4Doc* document, QWidget* parent)
    : CFormView(document, parent)
{
    // The window first opens at this page's size.
    SetFormSize(320, 200);
    CFormBuilder& c = Controls();
    QLabel* title = c.Title("Start Page");
    QFrame* rule = c.Rule();
    QPushButton* open = c.Button(IDC_OPEN, "Open a Spelling List");
    QPushButton* create = c.Button(IDC_CREATE, "Create a New Spelling List");
    m_btnTest = c.Button(IDC_TEST, "Take a Spelling Test");
    m_btnReview = c.Button(IDC_REVIEW, "Today's Review");
    m_due = c.Label(nullptr);
    SetControlId(m_due, IDC_DUE);
    QPushButton* logIn = c.Button(IDC_LOGIN, "Log In as a Different User");
    QPushButton* fromRule = c.Button(IDC_NEW_FROM_RULE, "New List from a Rule...");
    QTextEdit* welcome = c.MultiLineEdit(IDC_WELCOME, true);
    CFormBuilder::Name(welcome, QStringLiteral("Welcome"));
    CFormBuilder::SetMnemonic(open, QLatin1Char('O'));
    CFormBuilder::SetMnemonic(create, QLatin1Char('C'));
    CFormBuilder::SetMnemonic(m_btnTest, QLatin1Char('T'));
    CFormBuilder::SetMnemonic(m_btnReview, QLatin1Char('V'));
    CFormBuilder::SetMnemonic(logIn, QLatin1Char('L'));
    CFormBuilder::SetMnemonic(fromRule, QLatin1Char('R'));

    // The actions as one column of equal buttons, the welcome beside them; the
    // picture shows around both. Further actions join the column.
    auto* actions = new QVBoxLayout;
    actions->setSpacing(12);
    int widest = 0;
    for (QPushButton* button : {open, create, m_btnTest, m_btnReview, logIn, fromRule})
        widest = std::max(widest, button->sizeHint().width());
    for (QPushButton* button : {open, create, m_btnTest, m_btnReview, logIn, fromRule}) {
        button->setMinimumHeight(button->sizeHint().height() * 3 / 2);
        // On a large screen the buttons grow a little, not across the page.
        button->setMaximumWidth(widest * 3 / 2);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        if (button != m_btnReview) {
            actions->addWidget(button);
            continue;
        }
        // The count right under its button, on paper of its own so that it reads over any picture.
        auto* review = new QVBoxLayout;
        review->setSpacing(2);
        review->addWidget(button);
        review->addWidget(m_due, 0, Qt::AlignHCenter);
        actions->addLayout(review);
    }
    QFont bold = m_due->font();
    bold.setBold(true);
    m_due->setFont(bold);
    m_due->setWordWrap(false);
    m_due->setAutoFillBackground(true);
    m_due->setMargin(3);
    // The title stands on a band of the window's colour: over a bright picture a dark
    // desktop's light letters would fade away.
    title->setAutoFillBackground(true);
    actions->addStretch();
    // The welcome holds a few lines; the picture shows below it.
    const QFontMetrics metrics(font());
    welcome->setMinimumSize(metrics.averageCharWidth() * 26, metrics.lineSpacing() * 6);
    welcome->setMaximumSize(metrics.averageCharWidth() * 48, metrics.lineSpacing() * 8);
    auto* layout = new QGridLayout(this);
    layout->addWidget(title, 0, 0, 1, 5);
    layout->addWidget(rule, 1, 0, 1, 5);
    layout->setRowMinimumHeight(2, 8);
    layout->addLayout(actions, 3, 1);
    layout->addWidget(welcome, 3, 3, Qt::AlignTop);
    layout->setColumnMinimumWidth(2, 16);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 3);
    layout->setColumnStretch(3, 3);
    layout->setColumnStretch(4, 1);
    layout->setRowStretch(3, 1);
    layout->setRowMinimumHeight(4, 8);
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
    // Reviews are kept for a logged-in learner only.
    m_btnReview->setEnabled(!doc->m_userName.empty() && !doc->m_testRunning);
    const std::string due = doc->m_userName.empty() ? std::string() : CReviewList::DueTodayText(doc->WordsDueToday());
    m_due->setText(ToQtDisplay(due));
    m_due->setVisible(!due.empty());
    m_btnReview->setAccessibleDescription(ToQtDisplay(due));
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
    case IDC_NEW_FROM_RULE:
        doc->PostCommand(ID_FILE_NEW_FROM_RULE);
        break;
    case IDC_REVIEW:
        doc->PostCommand(ID_TODAYS_REVIEW);
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
