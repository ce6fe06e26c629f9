#include "shots/CScreenshots.h"

#include "app/CMainFrame.h"
#include "document/CKelto4Doc.h"
#include "model/CAtomicFile.h"
#include "model/KMessage.h"
#include "platform/CCommandManager.h"
#include "platform/CControlIds.h"
#include "platform/CFormView.h"
#include "platform/CommandIds.h"
#include "reports/CProgressView.h"
#include "reports/CReports.h"
#include "shots/CPictureManifest.h"
#include "shots/CSampleClass.h"
#include "users/CLogInDlg.h"
#include "words/CMicDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <cstdio>

namespace {
// The controls the walk presses, by the ids the pages give them.
enum : int {
    kWordsEnterWord = 1008, kWordsRecord = 1003, kWordsStop = 1004, kWordsPlay = 1002, kWordsSaveSound = 1005, kWordsNewWord = 1006,
    kWordsMicSettings = 1045,
    kTestStart = 1018, kTestAnswer = 1013, kTestCheck = 1015, kTestNext = 1016,
    kReportsGrades = 1000, kReportsMissed = 1001, kReportsProgress = 1002, kReportsClass = 1003,
    kOptionsTeacherPassword = 1063,
};

// What every picture shows besides its own page: the window, its page bar, the walk and
// its learner.
const std::vector<std::string> kCommonSources = {
    "src/app/CMainFrame.cpp", "src/app/CPageBarImages.cpp", "src/platform/CFormBuilder.cpp",
    "src/shots/CScreenshots.cpp", "src/shots/CSampleClass.cpp",
};

// Lets the event loop run for a while: timers, layouts and the sound server's answers.
void Settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
}

std::time_t CScreenshots::PictureDay()
{
    std::tm day{};
    day.tm_year = 126, day.tm_mon = 5, day.tm_mday = 11, day.tm_hour = 9, day.tm_isdst = -1;
    return std::mktime(&day);
}

CScreenshots::CScreenshots(std::string sourceRoot, std::string userFolder)
    : m_sourceRoot(std::move(sourceRoot))
    , m_app(CSampleClass::kName)
{
    m_app.SetDefaultUserFolder(userFolder);
    m_app.m_userFolder = userFolder;
}

CScreenshots::~CScreenshots()
{
    // The window goes first: the document writes the learner's records as it goes.
    m_frame.reset();
    m_doc.reset();
}

CFormView* CScreenshots::Page(int n) const
{
    return m_frame->Page(n);
}

void CScreenshots::Command(int id)
{
    if (!m_frame->Commands().Execute(id))
        m_messages.push_back("command " + std::to_string(id) + " is not available");
    Settle(100);
}

void CScreenshots::Click(CFormView* page, int id)
{
    auto* button = FindControl<QAbstractButton>(page, id);
    if (!button || !button->isEnabled()) {
        m_messages.push_back("button " + std::to_string(id) + " is missing or disabled");
        return;
    }
    button->click();
    Settle(100);
}

void CScreenshots::Type(CFormView* page, int id, const char* text)
{
    if (auto* edit = FindControl<QLineEdit>(page, id))
        edit->setText(QString::fromLatin1(text));
    else
        m_messages.push_back("no text box " + std::to_string(id));
}

QImage CScreenshots::Window()
{
    m_frame->Commands().UpdateUi();
    Settle(200);
    return m_frame->grab().toImage();
}

QImage CScreenshots::Modal(const std::function<void()>& open, const std::function<void(QWidget*)>& prepare)
{
    QImage picture;
    QElapsedTimer waited;
    waited.start();
    auto* poll = new QTimer;
    poll->setInterval(50);
    QObject::connect(poll, &QTimer::timeout, poll, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) {
            if (waited.elapsed() > 10000)
                poll->stop();
            return;
        }
        poll->stop();
        if (prepare)
            prepare(dialog);
        Settle(300);
        picture = dialog->grab().toImage();
        if (auto* d = qobject_cast<QDialog*>(dialog))
            d->reject();
        else
            dialog->close();
    });
    poll->start();
    open();
    delete poll;
    if (picture.isNull())
        m_messages.push_back("no dialog opened");
    return picture;
}

std::vector<CScreenshots::Picture> CScreenshots::Pictures()
{
    auto test = [this] { return Page(PAGE_TEST); };
    auto reports = [this] { return static_cast<CReports*>(Page(PAGE_REPORTS)); };
    const std::vector<std::string> testPage = {"src/spelltest/CTest.cpp", "src/spelltest/CLineListBox.cpp",
                                               "src/platform/CFeedbackPanel.cpp"};
    const std::vector<std::string> reportsPage = {"src/reports/CReports.cpp", "src/reports/CReportModel.cpp",
                                                  "src/platform/CTableView.cpp"};
    const std::vector<std::string> progress = {"src/reports/CReports.cpp", "src/reports/CProgressView.cpp",
                                               "src/reports/CProgressCharts.cpp", "src/reports/CProgressTable.cpp"};
    const std::vector<std::string> classView = {"src/reports/CReports.cpp", "src/reports/CClassView.cpp",
                                                "src/reports/CClassTables.cpp", "src/reports/CClassTableModel.cpp"};
    return {
        {"login.png", {"src/users/CLogInDlg.cpp", "src/users/CUserNameBox.cpp", "src/platform/CFormDialog.cpp"},
         [this] {
             CLogInDlg dialog(nullptr);
             dialog.m_userFolder = m_app.m_userFolder;
             return Modal([&] { dialog.DoModal(); }, [](QWidget* shown) {
                 if (auto* name = shown->findChild<QComboBox*>())
                     name->setCurrentText(QString::fromLatin1(CSampleClass::kName));
             });
         }},
        {"start.png", {"src/app/CKelto4View.cpp"}, [this] { return Window(); }},
        {"words-record.png", {"src/words/CWords.cpp"},
         [this] {
             // A parent's own list: two words recorded and saved, the third one recording.
             Command(ID_FILE_NEW);
             Command(ID_VIEW_WORDS);
             CFormView* words = Page(PAGE_WORDS);
             for (const char* word : {"sister", "brother"}) {
                 Type(words, kWordsEnterWord, word);
                 Click(words, kWordsRecord);
                 Settle(400);
                 Click(words, kWordsStop);
                 Click(words, kWordsPlay);
                 Click(words, kWordsSaveSound);
                 Click(words, kWordsNewWord);
             }
             Type(words, kWordsEnterWord, "mother");
             Click(words, kWordsRecord);
             Settle(800);
             QImage picture = Window();
             Click(words, kWordsStop);
             return picture;
         }},
        {"mic.png", {"src/words/CMicDlg.cpp", "src/platform/CFormDialog.cpp"},
         [this] {
             Click(Page(PAGE_WORDS), kWordsMicSettings);
             Settle(500);
             for (QWidget* w : QApplication::topLevelWidgets())
                 if (auto* mic = qobject_cast<CMicDlg*>(w); mic && mic->isVisible()) {
                     QImage picture = mic->grab().toImage();
                     mic->close();
                     Settle(100);
                     return picture;
                 }
             m_messages.push_back("the microphone settings did not open");
             return QImage();
         }},
        {"rule-list.png", {"src/words/CRuleListDlg.cpp"},
         [this] { return Modal([this] { Command(ID_FILE_NEW_FROM_RULE); }); }},
        {"reports-grades.png", reportsPage,
         [this] {
             Command(ID_VIEW_REPORTS);
             return Window();
         }},
        {"print-preview.png", {"src/reports/CReports.cpp", "src/reports/CReportPrinter.cpp"},
         [this, reports] {
             return Modal([reports] { reports()->OnFilePrintPreview(); },
                          [](QWidget* preview) { preview->resize(kWidth, kHeight); });
         }},
        {"reports-missed.png", {"src/reports/CReports.cpp", "src/reports/CReportModel.cpp",
                                "src/platform/CTableView.cpp", "src/platform/CFeedbackPanel.cpp"},
         [this, reports] {
             Click(reports(), kReportsMissed);
             reports()->GetListView()->selectRow(0);
             return Window();
         }},
        {"reports-progress.png", progress,
         [this, reports] {
             Click(reports(), kReportsProgress);
             return Window();
         }},
        {"reports-table.png", progress,
         [this, reports] {
             Click(reports(), CProgressView::kShowTableId);
             QImage picture = Window();
             Click(reports(), CProgressView::kShowTableId);
             return picture;
         }},
        {"class.png", classView,
         [this, reports] {
             Click(reports(), kReportsClass);
             // The column of sounds fills in after the rest.
             Settle(1500);
             return Window();
         }},
        {"class-groups.png", classView,
         [this, reports] {
             auto* sections = reports()->findChild<QTabWidget*>();
             for (int i = 0; sections && i < sections->count(); ++i)
                 if (sections->tabText(i).remove(QLatin1Char('&')) == QLatin1String("Group by Rule"))
                     sections->setCurrentIndex(i);
             QImage picture = Window();
             Click(reports(), kReportsGrades);
             return picture;
         }},
        {"options.png", {"src/options/COptions.cpp", "src/platform/CReadingLook.cpp"},
         [this] {
             Command(ID_VIEW_OPTIONS);
             return Window();
         }},
        {"teacher-password.png", {"src/options/CTeacherPasswordDlg.cpp", "src/platform/CFormDialog.cpp"},
         [this] { return Modal([this] { Click(Page(PAGE_OPTIONS), kOptionsTeacherPassword); }); }},
        {"test-start.png", testPage,
         [this, test] {
             Command(ID_HELP_SAMPLE_LIST);
             Command(ID_VIEW_TEST);
             Click(test(), kTestStart);
             Type(test(), kTestAnswer, "the");
             return Window();
         }},
        {"test-wrong.png", testPage,
         [this, test] {
             // the, and, was right; then "said" spelled as it sounds.
             Click(test(), kTestCheck);
             for (const char* word : {"and", "was"}) {
                 Click(test(), kTestNext);
                 Type(test(), kTestAnswer, word);
                 Click(test(), kTestCheck);
             }
             Click(test(), kTestNext);
             Type(test(), kTestAnswer, "sed");
             Click(test(), kTestCheck);
             return Window();
         }},
        {"test-memory.png", testPage,
         [this, test] {
             Type(test(), kTestAnswer, "said");
             Click(test(), kTestCheck);
             return Window();
         }},
    };
}

bool CScreenshots::Run()
{
    const MessageHandler previous = SetMessageHandler([this](const std::string& text, MsgIcon, MsgButtons) {
        m_messages.push_back(text);
        return int(IDOK);
    });
    const QString folder = QString::fromStdString(m_sourceRoot + "/docs/images");
    QDir().mkpath(folder);
    std::vector<CPictureManifest::Entry> manifest;
    bool ok = true;
    for (Picture& picture : Pictures()) {
        // The main window comes after the log-in, as in the program.
        if (!m_frame && std::string(picture.file) != "login.png") {
            m_doc = std::make_unique<CKelto4Doc>(m_app, [] { return PictureDay(); });
            m_doc->Create();
            m_frame = std::make_unique<CMainFrame>(m_doc.get());
            m_app.SetFrame(m_frame.get());
            m_doc->OnNewDocument();
            m_doc->SendInitialUpdate();
            m_frame->resize(kWidth, kHeight);
            m_frame->show();
            Settle(200);
        }
        m_messages.clear();
        const QImage image = picture.take();
        const QString path = QDir(folder).filePath(QString::fromLatin1(picture.file));
        if (image.isNull() || !m_messages.empty() || !image.save(path, "PNG")) {
            std::fprintf(stderr, "kelto4-shots: %s was not taken\n", picture.file);
            for (const std::string& m : m_messages)
                std::fprintf(stderr, "  %s\n", m.c_str());
            ok = false;
            continue;
        }
        std::vector<std::string> sources = kCommonSources;
        sources.insert(sources.end(), picture.sources.begin(), picture.sources.end());
        manifest.push_back({picture.file, CPictureManifest::SourcesHash(m_sourceRoot, sources), sources});
        std::printf("%s\n", picture.file);
    }
    SetMessageHandler(previous);
    std::string error;
    const std::string manifestPath = QDir(folder).filePath(QString::fromLatin1(CPictureManifest::kFileName)).toStdString();
    if (ok && !CAtomicFile::WriteFileAtomically(manifestPath, CPictureManifest::Text(manifest), &error)) {
        std::fprintf(stderr, "kelto4-shots: %s: %s\n", manifestPath.c_str(), error.c_str());
        ok = false;
    }
    return ok;
}
