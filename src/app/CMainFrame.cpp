#include "app/CMainFrame.h"

#include "app/CAboutDlg.h"
#include "app/CKelto4View.h"
#include "app/CPageArea.h"
#include "app/CPageBarImages.h"
#include "document/CKelto4AppCore.h"
#include "document/CKelto4Doc.h"
#include "document/CSampleList.h"
#include "document/CWordFile.h"
#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "model/CReviewList.h"
#include "model/KMessage.h"
#include "options/COptions.h"
#include "platform/CCommandManager.h"
#include "platform/CDialogService.h"
#include "platform/CommandIds.h"
#include "platform/CProfile.h"
#include "platform/CQtText.h"
#include "reports/CPracticeList.h"
#include "reports/CReports.h"
#include "spelling/CWordBank.h"
#include "spelltest/CTest.h"
#include "words/CRuleListDlg.h"
#include "words/CWords.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStandardPaths>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QWhatsThis>

#include <algorithm>

namespace {
const char* const kFilter = "Kelto4 Files (*.ktr)";
const char* const kImportFilter =
    "Word Lists (*.txt *.csv *.tsv *.kvtml *.xml);;Text Files (*.txt);;Spreadsheets (*.csv *.tsv);;"
    "KDE Vocabulary Files (*.kvtml);;All Files (*)";
const char* const kExportFilter = "Text Files (*.txt);;KDE Vocabulary Files (*.kvtml)";

struct PageButton {
    int command;
    const char* caption;
    CPageBarImages::Picture picture;
    const char* whatsThis; // shown after Shift+F1
};
const PageButton kPageButtons[] = {
    {ID_VIEW_START, "Start", CPageBarImages::Start, "Open or make a spelling list, log in, or start a test."},
    {ID_VIEW_WORDS, "Words", CPageBarImages::Words, "Type the words of a list and record how each one sounds."},
    {ID_VIEW_TEST, "Test", CPageBarImages::Test, "Take a spelling test on the list that is open."},
    {ID_VIEW_REPORTS, "Reports", CPageBarImages::Reports, "See your test results and the words you spelled wrong."},
    {ID_VIEW_OPTIONS, "Options", CPageBarImages::Options, "Choose folders, the start picture and other settings."},
    {ID_APP_EXIT, "Exit", CPageBarImages::Exit, "Close Keltora."},
};
}

CMainFrame::CMainFrame(CKelto4Doc* document, QWidget* parent, UrlOpener openUrl)
    : QMainWindow(parent)
    , m_document(document)
    , m_openUrl(openUrl ? std::move(openUrl) : UrlOpener(&QDesktopServices::openUrl))
    , m_commands(new CCommandManager(this))
    , m_pages(new QStackedWidget(this))
{
    setCentralWidget(new CPageArea(m_pages, this));
    setAcceptDrops(true);
    m_recentFiles.ReadList();
    CreateCommands();
    CreatePageBar();
    CreateMenu();
    m_userPane = new QLabel(this);
    m_userPane->setFixedWidth(200);
    m_userPane->setFrameShape(QFrame::StyledPanel);
    statusBar()->addPermanentWidget(m_userPane);
    m_document->AddView(this);

    auto* start = new CKelto4View(m_document, m_pages);
    m_pageViews[PAGE_START] = start;
    m_pages->addWidget(start);
    OnUpdate(nullptr, 0);
}

CMainFrame::~CMainFrame()
{
    m_document->RemoveView(this);
}

void CMainFrame::CreateCommands()
{
    CKelto4Doc* doc = m_document;
    CCommandManager& c = *m_commands;
    auto page = [this](int n) { return [this, n] { if (m_currentPage != n) SwitchToPage(n); }; };
    c.Add(ID_VIEW_START, page(PAGE_START), [this, doc] { return !doc->m_testRunning && m_currentPage != 1; });
    // Only the list's author, or anybody for a list without one, may change it.
    auto mayEdit = [doc] {
        return doc->m_wordList.empty() || doc->m_wordList.front()->m_author.empty()
            || doc->m_wordList.front()->m_author == doc->m_userName;
    };
    c.Add(ID_VIEW_WORDS, page(PAGE_WORDS),
          [this, doc, mayEdit] { return !doc->m_testRunning && m_currentPage != 2 && mayEdit(); });
    c.Add(ID_VIEW_TEST, page(PAGE_TEST),
          [this, doc] { return !doc->m_wordList.empty() && !doc->m_testRunning && m_currentPage != 3; });
    c.Add(ID_VIEW_REPORTS, page(PAGE_REPORTS),
          [this, doc] { return !doc->m_testRunning && m_currentPage != 4 && !doc->m_userName.empty(); });
    c.Add(ID_VIEW_OPTIONS, page(PAGE_OPTIONS), [this, doc] { return !doc->m_testRunning && m_currentPage != 5; });
    c.Add(ID_APP_EXIT, [this] { close(); }, [doc] { return !doc->m_testRunning; });
    c.Add(ID_FILE_NEW, [this] { OnFileNew(); });
    c.Add(ID_PRACTISE_MISSED_WORDS, [this] { OnPractiseMissedWords(); },
          [doc] { return !doc->m_testRunning && !doc->m_userName.empty(); });
    c.Add(ID_FILE_NEW_FROM_RULE, [this] { OnNewListFromRule(); }, [doc] { return !doc->m_testRunning; });
    c.Add(ID_FILE_IMPORT_WORDS, [this] { OnImportWords(); },
          [doc, mayEdit] { return !doc->m_testRunning && mayEdit(); });
    c.Add(ID_FILE_EXPORT_WORDS, [this] { OnExportWords(); },
          [doc] { return !doc->m_testRunning && !doc->m_wordList.empty(); });
    c.Add(ID_TODAYS_REVIEW, [this] { OnTodaysReview(); },
          [doc] { return !doc->m_testRunning && !doc->m_userName.empty(); });
    c.Add(ID_FILE_OPEN, [this] { OnFileOpen(); });
    c.Add(ID_FILE_SAVE, [this] { OnFileSave(); });
    c.Add(ID_FILE_SAVE_AS, [this] { OnFileSaveAs(); });
    for (int i = 0; i < 4; ++i)
        c.Add(ID_FILE_MRU_FILE1 + i, [this, i] { OpenRecentFile(i); },
              [this, i] { return size_t(i) < m_recentFiles.Files().size(); });
    c.Add(ID_APP_ABOUT, [this] { CAboutDlg(this).exec(); });
    auto help = [this] { OpenUserGuide(); };
    c.Add(ID_HELP_FINDER, help);
    c.Add(ID_HELP_GETTING_STARTED, [this] { OpenUserGuide(QStringLiteral("getting-started")); });
    // The list that comes with the program. Where it is installed it can't be changed
    // in place, so an author's edits go to a new file.
    c.Add(ID_HELP_SAMPLE_LIST, [this] {
        const std::string path = CSampleList::Find();
        if (path.empty())
            ShowMessage("The sample list is missing. Please install Keltora again.", MsgIcon::Exclamation);
        else
            OpenDocumentFile(QString::fromStdString(path));
    }, [doc] { return !doc->m_testRunning; });
    c.Add(ID_HELP, help);
    c.Add(ID_DEFAULT_HELP, help);
    c.Add(ID_CONTEXT_HELP, [] { QWhatsThis::enterWhatsThisMode(); });
}

void CMainFrame::OpenUserGuide(const QString& section)
{
    for (const QString& folder : {QStringLiteral(KELTO4_DATADIR), QStringLiteral(KELTO4_SOURCE_DOCS)}) {
        const QString guide = QDir(folder).filePath(QStringLiteral("userguide.html"));
        if (QFileInfo::exists(guide)) {
            QUrl url = QUrl::fromLocalFile(guide);
            if (!section.isEmpty())
                url.setFragment(section);
            if (!m_openUrl(url))
                ShowMessage("No program could show the user guide. Open this file in a web browser: "
                                + FromQt(QDir::toNativeSeparators(guide)),
                            MsgIcon::Exclamation);
            return;
        }
    }
    ShowMessage("The user guide is missing. Please install Keltora again.", MsgIcon::Exclamation);
}

void CMainFrame::CreatePageBar()
{
    m_wndToolBar = new QToolBar(QStringLiteral("Pages"), this);
    m_wndToolBar->setObjectName(QStringLiteral("PageBar"));
    m_wndToolBar->setOrientation(Qt::Vertical);
    m_wndToolBar->setIconSize(QSize(48, 48));
    m_wndToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_wndToolBar->setMovable(true);
    m_wndToolBar->setAllowedAreas(Qt::LeftToolBarArea);
    for (const PageButton& b : kPageButtons) {
        QAction* action = m_commands->Action(b.command);
        action->setText(QString::fromLatin1(b.caption));
        // The button's caption stays as it is when the menu gives the action a key letter.
        action->setIconText(QString::fromLatin1(b.caption));
        action->setWhatsThis(QString::fromLatin1(b.whatsThis));
        // Our own pictures, so the bar looks the same on every desktop.
        action->setIcon(CPageBarImages::Icon(b.picture));
        m_wndToolBar->addAction(action);
    }
    addToolBar(Qt::LeftToolBarArea, m_wndToolBar);
}

void CMainFrame::CreateMenu()
{
    auto add = [this](QMenu* menu, int id, const char* text, QKeySequence key = {}) {
        QAction* action = m_commands->Action(id);
        if (action->text().isEmpty() || menu->title() != QLatin1String("&View"))
            action->setText(QString::fromLatin1(text));
        if (!key.isEmpty())
            action->setShortcut(key);
        menu->addAction(action);
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, ID_FILE_NEW, "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
    add(file, ID_FILE_NEW_FROM_RULE, "New List from a &Rule...");
    add(file, ID_FILE_OPEN, "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O));
    add(file, ID_FILE_SAVE, "&Save", QKeySequence(Qt::CTRL | Qt::Key_S));
    add(file, ID_FILE_SAVE_AS, "Save &As...");
    file->addSeparator();
    add(file, ID_FILE_IMPORT_WORDS, "&Import Words...");
    add(file, ID_FILE_EXPORT_WORDS, "&Export Words...");
    add(file, ID_TODAYS_REVIEW, "Today's &Review");
    file->addSeparator();
    m_recentMenu = file->addMenu(QStringLiteral("Recent File"));
    file->addSeparator();
    QAction* exit = m_commands->Action(ID_APP_EXIT);
    exit->setText(QStringLiteral("E&xit"));
    file->addAction(exit);
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    for (int id = ID_VIEW_START; id <= ID_VIEW_OPTIONS; ++id)
        view->addAction(m_commands->Action(id));
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    add(help, ID_HELP_FINDER, "&Help Topics");
    add(help, ID_HELP_GETTING_STARTED, "&Getting Started");
    add(help, ID_HELP_SAMPLE_LIST, "Open the Sample List");
    help->addSeparator();
    add(help, ID_APP_ABOUT, "&About Kelto4...");
    // F1 works with or without the menu bar.
    QAction* f1 = m_commands->Action(ID_HELP);
    f1->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(f1);
    QAction* whatsThis = m_commands->Action(ID_CONTEXT_HELP);
    whatsThis->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    addAction(whatsThis);
    for (QAction* a : {m_commands->Action(ID_FILE_NEW), m_commands->Action(ID_FILE_OPEN), m_commands->Action(ID_FILE_SAVE)})
        addAction(a);
    connect(m_recentMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateRecentMenu);
    UpdateRecentMenu();
}

void CMainFrame::UpdateRecentMenu()
{
    m_recentMenu->clear();
    for (int i = 0; i < int(m_recentFiles.Files().size()); ++i) {
        QAction* action = m_commands->Action(ID_FILE_MRU_FILE1 + i);
        action->setText(PathToQt(m_recentFiles.MenuText(i)));
        m_recentMenu->addAction(action);
    }
    m_recentMenu->setEnabled(!m_recentFiles.Files().empty());
}

QMenu* CMainFrame::createPopupMenu()
{
    QMenu* menu = QMainWindow::createPopupMenu();
    if (menu)
        menu->removeAction(m_wndToolBar->toggleViewAction());
    if (menu && menu->isEmpty()) {
        delete menu;
        return nullptr;
    }
    return menu;
}

void CMainFrame::ShowMenu(bool show)
{
    menuBar()->setVisible(show);
}

CFormView* CMainFrame::Page(int n) const
{
    const auto it = m_pageViews.find(n);
    return it == m_pageViews.end() ? nullptr : it->second;
}

CFormView* CMainFrame::CreatePage(int n)
{
    switch (n) {
    case PAGE_WORDS: return new CWords(m_document, m_pages);
    case PAGE_TEST: return new CTest(m_document, m_pages);
    case PAGE_REPORTS: return new CReports(m_document, m_pages);
    case PAGE_OPTIONS: return new COptions(m_document, m_pages);
    default: return nullptr;
    }
}

CFormView* CMainFrame::EnsurePage(int n)
{
    CFormView* page = Page(n);
    if (!page) {
        page = CreatePage(n);
        if (!page)
            return nullptr;
        m_pageViews[n] = page;
        m_pages->addWidget(page);
        page->OnInitialUpdate();
    }
    return page;
}

void CMainFrame::SwitchToPage(int n)
{
    CFormView* page = EnsurePage(n);
    if (!page)
        return;
    m_pages->setCurrentWidget(page);
    // A page that needs more room than the window has makes the window larger, as
    // far as the screen allows; the rest scrolls.
    centralWidget()->updateGeometry();
    m_currentPage = n;
    m_commands->UpdateUi();
}

void CMainFrame::OnUpdate(CDocView*, long)
{
    m_userPane->setText(m_document->m_userName.empty() ? QStringLiteral("No User Logged In")
                                                       : ToQt(m_document->m_userName));
    UpdateCaption();
    m_commands->UpdateUi();
}

void CMainFrame::UpdateCaption()
{
    setWindowTitle(PathToQt(m_document->GetNativeTitle()) + QStringLiteral(" - Keltora 3"));
}

bool CMainFrame::SaveModified()
{
    if (!m_document->IsModified())
        return true;
    const std::string name =
        m_document->GetPathName().empty() ? m_document->GetTitle() : CPath::FromNative(m_document->GetPathName());
    switch (ShowMessage("Save changes to " + name + "?", MsgIcon::Exclamation, MsgButtons::YesNoCancel)) {
    case IDCANCEL: return false;
    case IDYES: return OnFileSave();
    default: return true;
    }
}

void CMainFrame::OnFileNew()
{
    if (!SaveModified())
        return;
    m_document->OnNewDocument();
    m_document->SendInitialUpdate();
    UpdateCaption();
}

void CMainFrame::OnPractiseMissedWords()
{
    CKelto4Doc* doc = m_document;
    COwnedList<CSpellingList> practice = CPracticeList::Build(
        doc->m_missedList, doc->m_wordList, [doc] { return doc->GetApp().GetDefaultSoundFolder(); });
    if (practice.empty()) {
        ShowMessage(CPracticeList::kNoMissedWordsText, MsgIcon::Information);
        return;
    }
    TakeNewList(std::move(practice), CPracticeList::kTitle, ID_VIEW_TEST, false);
}

void CMainFrame::OnTodaysReview()
{
    COwnedList<CSpellingList> review = m_document->TodaysReview();
    if (review.empty()) {
        ShowMessage(m_document->NothingToReviewText(), MsgIcon::Information);
        return;
    }
    TakeNewList(std::move(review), CReviewList::kTitle, ID_VIEW_TEST, false);
}

void CMainFrame::TakeNewList(COwnedList<CSpellingList> words, const std::string& title, int page, bool modified)
{
    if (!SaveModified())
        return;
    m_document->OnNewList(std::move(words), title);
    if (modified)
        m_document->SetModifiedFlag(true);
    m_document->SendInitialUpdate();
    UpdateCaption();
    m_commands->Execute(page);
}

void CMainFrame::OnNewListFromRule()
{
    CWordBank bank;
    const std::string path = CWordBank::Find();
    if (path.empty() || !bank.Load(path, nullptr)) {
        ShowMessage("The word banks are missing. Please install Keltora again.", MsgIcon::Exclamation);
        return;
    }
    CRuleListDlg dialog(bank, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // No author and no sound folder: anybody may change the list, and the words, which
    // have no recordings, are spoken.
    COwnedList<CSpellingList> words;
    for (const std::string& word : dialog.Words()) {
        auto entry = std::make_unique<CSpellingList>();
        entry->m_word = word;
        words.push_back(std::move(entry));
    }
    // The same words can't be drawn again, so leaving asks whether to keep them.
    TakeNewList(std::move(words), dialog.Title(), ID_VIEW_WORDS, true);
}

void CMainFrame::OnImportWords()
{
    const std::optional<QString> path =
        CDialogService::GetOpenFileName(this, QStringLiteral("Import Words"), QString::fromLatin1(kImportFilter));
    if (!path)
        return;
    auto* words = static_cast<CWords*>(EnsurePage(PAGE_WORDS));
    if (words->ImportFile(PathFromQt(*path)) && m_currentPage != PAGE_WORDS)
        m_commands->Execute(ID_VIEW_WORDS);
    UpdateCaption();
}

void CMainFrame::OnExportWords()
{
    std::vector<std::string> words;
    for (const auto& entry : m_document->m_wordList)
        if (!entry->m_word.empty())
            words.push_back(entry->m_word);
    const std::optional<QString> path = CDialogService::GetSaveFileName(
        this, QStringLiteral("Export Words"), QString::fromLatin1(kExportFilter), QStringLiteral("txt"),
        SaveDialogStart(QStringLiteral(".txt")));
    if (!path)
        return;
    QString file = *path;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".txt");
    const bool kvtml = QFileInfo(file).suffix().compare(QLatin1String("kvtml"), Qt::CaseInsensitive) == 0;
    const std::string bytes =
        kvtml ? CWordFile::KvtmlFile(words, m_document->GetTitle()) : CWordFile::TextFile(words);
    std::string error;
    if (!CAtomicFile::WriteFileAtomically(PathFromQt(file), bytes, &error))
        ShowMessage(error + "\r\nThe words could not be exported.", MsgIcon::Exclamation);
}

void CMainFrame::OnFileOpen()
{
    const std::optional<QString> path =
        CDialogService::GetOpenFileName(this, QStringLiteral("Open"), QString::fromLatin1(kFilter));
    if (path)
        OpenDocumentFile(*path);
}

bool CMainFrame::OpenDocumentFile(const QString& path)
{
    if (!SaveModified())
        return false;
    return OpenFile(PathFromQt(QFileInfo(path).absoluteFilePath()));
}

bool CMainFrame::OpenFile(const std::string& path)
{
    if (!m_document->OnOpenDocument(path)) {
        UpdateCaption();
        return false;
    }
    m_recentFiles.Add(path);
    UpdateRecentMenu();
    m_document->SendInitialUpdate();
    UpdateCaption();
    return true;
}

// A recent file that can't be opened any more leaves the list.
void CMainFrame::OpenRecentFile(int index)
{
    if (size_t(index) >= m_recentFiles.Files().size() || !SaveModified())
        return;
    const std::string path = m_recentFiles.Files()[size_t(index)];
    if (OpenFile(path))
        return;
    const auto& files = m_recentFiles.Files();
    const auto at = std::find(files.begin(), files.end(), path);
    if (at != files.end())
        m_recentFiles.Remove(int(at - files.begin()));
    UpdateRecentMenu();
}

bool CMainFrame::DoSave(const std::string& path)
{
    if (!m_document->OnSaveDocument(path))
        return false;
    m_recentFiles.Add(path);
    UpdateRecentMenu();
    UpdateCaption();
    return true;
}

// A list that can't be written (or whose folder can't take it) is not overwritten:
// as in other desktop programs, Save asks for another name instead.
bool CMainFrame::OnFileSave()
{
    const std::string path = m_document->GetPathName();
    if (path.empty() || !CAtomicFile::CanReplace(path))
        return OnFileSaveAs();
    return DoSave(path);
}

// The dialog starts in the list's own folder, or in the documents folder for a list
// that was never saved.
QString CMainFrame::SaveDialogStart(const QString& extension) const
{
    const std::string& current = m_document->GetPathName();
    const QString folder = current.empty()
        ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
        : QFileInfo(PathToQt(current)).absolutePath();
    return QDir(folder).filePath(PathToQt(m_document->GetNativeTitle()) + extension);
}

bool CMainFrame::OnFileSaveAs()
{
    const std::optional<QString> path =
        CDialogService::GetSaveFileName(this, QStringLiteral("Save As"), QString::fromLatin1(kFilter),
                                        QStringLiteral("ktr"), SaveDialogStart(QStringLiteral(".ktr")));
    if (!path)
        return false;
    QString file = *path;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".ktr");
    return DoSave(PathFromQt(file));
}

// The close box always works, also during a test; only unsaved list changes may stop it.
void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    CProfile::WriteProfileBinary(kPlacementSection, kPlacementEntry, saveGeometry());
    event->accept();
}

bool CMainFrame::RestorePlacement()
{
    const QByteArray placement = CProfile::GetProfileBinary(kPlacementSection, kPlacementEntry);
    return !placement.isEmpty() && restoreGeometry(placement);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) {
            OpenDocumentFile(url.toLocalFile());
            break;
        }
}
