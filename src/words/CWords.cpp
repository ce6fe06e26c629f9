#include "words/CWords.h"

#include "document/CKelto4AppCore.h"
#include "document/CKelto4Doc.h"
#include "model/CPath.h"
#include "model/KMessage.h"
#include "platform/CBrowseFolder.h"
#include "platform/CControlIds.h"
#include "platform/CommandIds.h"
#include "platform/CQtText.h"
#include "sound/CSpeaker.h"
#include "words/CMicDlg.h"
#include "words/CWordImport.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>

static void InitWordsResources()
{
    Q_INIT_RESOURCE(words);
}

namespace {
enum : int {
    IDC_WORDLIST = 1001,
    IDC_PLAY = 1002,
    IDC_RECORD = 1003,
    IDC_STOP_RECORDING = 1004,
    IDC_SAVE_SOUND = 1005,
    IDC_NEW_WORD = 1006,
    IDC_REDO_RECORDING = 1007,
    IDC_ENTER_WORD = 1008,
    IDC_CHANGE_FOLDER = 1009,
    IDC_SOUND_FOLDER = 1010,
    IDC_ENTER = 1017,
    IDC_SORT_AZ = 1022,
    IDC_UP = 1023,
    IDC_DOWN = 1024,
    IDC_DELETE = 1025,
    IDC_MIC_SETTINGS = 1045,
    IDC_SPEAK = 1047,
    IDC_SPEAK_MISSING = 1048,
    IDC_SAVE_LIST = 1,
    IDC_CANCEL_CHANGES = 2,
};

// Template 103. The list box is the page's own widget, placed at kListBox.
const CFormControl kTemplate[] = {
    {CFormControl::CenterLabel, 0, "Words Page", 7, 3, 306, 11},
    {CFormControl::HLine, 0, nullptr, 8, 15, 306, 1},

    {CFormControl::GroupBox, 0, "Add a New Spelling Word", 5, 18, 186, 197},
    {CFormControl::Label, 0, "1)", 11, 33, 9, 10},
    {CFormControl::Label, 0, "Enter Word", 21, 33, 64, 10},
    {CFormControl::Edit, IDC_ENTER_WORD, nullptr, 90, 31, 95, 13},
    {CFormControl::Label, 0, "2)", 11, 51, 9, 10},
    {CFormControl::Label, 0, "Start Recording", 21, 51, 66, 10},
    {CFormControl::Button, IDC_RECORD, "Record", 90, 48, 46, 15},
    {CFormControl::Button, IDC_SPEAK, "Speak", 139, 48, 46, 15},
    {CFormControl::Label, 0, "3)", 11, 69, 9, 10},
    {CFormControl::Label, 0, "Stop Recording", 21, 69, 66, 10},
    {CFormControl::Button, IDC_STOP_RECORDING, "Stop Recording", 90, 66, 95, 15},
    {CFormControl::Label, 0, "4)", 11, 87, 9, 10},
    {CFormControl::Label, 0, "Play Recording", 21, 87, 66, 10},
    {CFormControl::Button, IDC_PLAY, "Play", 90, 84, 95, 15},
    {CFormControl::Label, 0, "5)", 11, 105, 9, 10},
    {CFormControl::Label, 0, "Add to List", 21, 105, 66, 10},
    {CFormControl::Button, IDC_SAVE_SOUND, "Save Sound", 90, 102, 95, 15},
    {CFormControl::Label, 0, "or", 21, 116, 20, 10},
    {CFormControl::Label, 0, "Redo Sound", 21, 126, 66, 10},
    {CFormControl::Button, IDC_REDO_RECORDING, "Redo Recording", 90, 123, 95, 15},
    {CFormControl::Label, 0, "6)", 11, 144, 9, 10},
    {CFormControl::Label, 0, "Next Word", 21, 144, 66, 10},
    {CFormControl::Button, IDC_NEW_WORD, "New Word", 90, 141, 95, 15},
    {CFormControl::Label, 0, "You can record a sentence with the spelling word.", 11, 159, 174, 18},
    {CFormControl::Button, IDC_MIC_SETTINGS, "Microphone Recording Settings", 11, 178, 174, 15},

    {CFormControl::GroupBox, 0, "Current List", 195, 18, 120, 197},
    {CFormControl::Button, IDC_DELETE, "Delete", 274, 30, 36, 15},
    {CFormControl::Button, IDC_SORT_AZ, "A..Z", 274, 48, 36, 15},
    {CFormControl::Button, IDC_UP, "Up", 274, 66, 36, 15},
    {CFormControl::Button, IDC_DOWN, "Down", 274, 84, 36, 15},
    {CFormControl::ReadOnlyEdit, IDC_SOUND_FOLDER, nullptr, 200, 123, 110, 13, CFormControl::GrowAuto, "Sound Folder"},
    {CFormControl::Button, IDC_CHANGE_FOLDER, "Change Sound Folder", 200, 139, 110, 15},
    {CFormControl::Button, IDC_SAVE_LIST, "Save List", 200, 160, 110, 15},
    {CFormControl::Button, IDC_CANCEL_CHANGES, "Cancel Changes", 200, 178, 110, 15},
    {CFormControl::Button, IDC_SPEAK_MISSING, "Speak Missing Sounds", 200, 196, 110, 15},
    {CFormControl::HiddenDefault, IDC_ENTER, "Enter", 0, 0, 1, 1},
};
constexpr int kListBox[4] = {200, 30, 70, 89};

const char* const kFolderWarning =
    "If the sound folder for the current spelling list is changed incorrectly, \r\n"
    "you may not be able to take a test.";
}

CWords::CWords(CKelto4Doc* document, QWidget* parent)
    : CFormView(document, parent)
{
    BuildForm(kTemplate, int(std::size(kTemplate)), 320, 218);
    m_wordListBox = new QListWidget(this);
    m_wordListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    m_wordListBox->setSortingEnabled(false);
    PlaceControl(m_wordListBox, IDC_WORDLIST, kListBox[0], kListBox[1], kListBox[2], kListBox[3]);

    m_wordEdit = FindControl<QLineEdit>(this, IDC_ENTER_WORD);
    m_playButton = FindControl<QPushButton>(this, IDC_PLAY);
    m_recordButton = FindControl<QPushButton>(this, IDC_RECORD);
    m_stopButton = FindControl<QPushButton>(this, IDC_STOP_RECORDING);
    m_saveSoundButton = FindControl<QPushButton>(this, IDC_SAVE_SOUND);
    m_newWordButton = FindControl<QPushButton>(this, IDC_NEW_WORD);
    m_redoButton = FindControl<QPushButton>(this, IDC_REDO_RECORDING);
    m_speakButton = FindControl<QPushButton>(this, IDC_SPEAK);
    SetDefaultButton(IDC_ENTER);
    setAcceptDrops(true);
}

CWords::~CWords()
{
    // The dialog clears m_pMicDlg as it goes.
    delete m_pMicDlg;
}

void CWords::DoDataExchange(bool save)
{
    if (save) {
        m_newWord = GetDlgItemText(IDC_ENTER_WORD);
        m_currentFolder = GetDlgItemText(IDC_SOUND_FOLDER);
    } else {
        SetDlgItemText(IDC_ENTER_WORD, m_newWord);
        SetDlgItemText(IDC_SOUND_FOLDER, m_currentFolder);
    }
}

void CWords::SetButtons(CRecordingWorkflow::Event event)
{
    QPushButton* const buttons[] = {m_playButton,    m_recordButton,  m_stopButton,
                                    m_saveSoundButton, m_newWordButton, m_redoButton};
    CRecordingWorkflow::Buttons enabled{};
    for (size_t i = 0; i < enabled.size(); ++i)
        enabled[i] = buttons[i]->isEnabledTo(this);
    enabled = CRecordingWorkflow::Apply(event, enabled);
    for (size_t i = 0; i < enabled.size(); ++i)
        buttons[i]->setEnabled(enabled[i]);
    // Speaking a word takes the place of recording it, so it is offered when Record is.
    m_speakButton->setEnabled(enabled[1]);
}

void CWords::ShowWords(int selected)
{
    m_wordListBox->clear();
    for (const std::string& word : m_words.Words())
        m_wordListBox->addItem(ToQt(word));
    if (selected >= 0 && selected < m_wordListBox->count()) {
        m_wordListBox->setCurrentRow(selected, QItemSelectionModel::ClearAndSelect);
    } else {
        m_wordListBox->clearSelection();
        m_wordListBox->setCurrentRow(-1);
    }
}

int CWords::SelectedIndex() const
{
    const QList<QListWidgetItem*> items = m_wordListBox->selectedItems();
    return items.isEmpty() ? -1 : m_wordListBox->row(items.constFirst());
}

void CWords::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    InitWordsResources();
    m_playIcon = QIcon(QStringLiteral(":/words/play.png"));
    m_recordIcon = QIcon(QStringLiteral(":/words/record.png"));
    m_stopIcon = QIcon(QStringLiteral(":/words/stop.png"));
    m_playButton->setIcon(m_playIcon);
    m_recordButton->setIcon(m_recordIcon);
    m_stopButton->setIcon(m_stopIcon);
    for (QPushButton* button : {m_playButton, m_stopButton, m_saveSoundButton, m_newWordButton, m_redoButton})
        button->setEnabled(false);
}

// Every update of the document resets the page: the working list is reloaded and
// unsaved edits are dropped.
void CWords::OnUpdate(CDocView*, long)
{
    CKelto4Doc* doc = GetDocument();
    // A recording still running would go on behind the user's back; drop it.
    doc->m_recorder.Close();
    SetButtons(CRecordingWorkflow::Event::Reset);
    m_newWord.clear();
    m_currentFolder.clear();
    m_previousFolder.clear();
    if (!doc->m_wordList.empty())
        m_currentFolder = doc->m_wordList.front()->m_soundFolder;
    if (m_currentFolder.empty())
        m_currentFolder = doc->GetApp().GetDefaultSoundFolder();
    DoDataExchange(false);
    SetFocusTo(IDC_ENTER_WORD);
    OnCancelChanges();
}

void CWords::OnCommand(int id)
{
    switch (id) {
    case IDC_RECORD: OnRecord(); break;
    case IDC_STOP_RECORDING: OnStopRecording(); break;
    case IDC_PLAY: OnPlay(); break;
    case IDC_SAVE_SOUND: OnSaveSound(); break;
    case IDC_NEW_WORD: OnNewWord(); break;
    case IDC_REDO_RECORDING: OnRedoRecording(); break;
    case IDC_ENTER: break; // Enter lands here so that it never saves the list.
    case IDC_DELETE: OnDelete(); break;
    case IDC_UP: OnUp(); break;
    case IDC_DOWN: OnDown(); break;
    case IDC_SORT_AZ: OnSortAZ(); break;
    case IDC_SAVE_LIST: OnSaveList(); break;
    case IDC_CANCEL_CHANGES: OnCancelChanges(); break;
    case IDC_CHANGE_FOLDER: OnChangeSoundFolder(); break;
    case IDC_MIC_SETTINGS: OnMicSettings(); break;
    case IDC_SPEAK: OnSpeak(); break;
    case IDC_SPEAK_MISSING: OnSpeakMissingSounds(); break;
    default: break;
    }
}

bool CWords::ImportFile(const std::string& nativePath)
{
    CWordImport import;
    if (!import.Run(nativePath, m_words)) {
        ShowMessage(import.Error(), MsgIcon::Exclamation);
        return false;
    }
    if (import.Added() > 0) {
        CKelto4Doc* doc = GetDocument();
        // Committed at once, so that the words are saved with the list and the other pages see them.
        doc->m_wordList = m_words.BuildEntries(doc->m_userName, m_currentFolder);
        doc->SetModifiedFlag(true);
        doc->UpdateAllViews(nullptr, 0);
    }
    ShowMessage(import.Summary(), MsgIcon::Information);
    return true;
}

namespace {
// The first local file of a drop that is not a list (.ktr), or an empty text.
QString DroppedWordFile(const QMimeData* data)
{
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && !url.toLocalFile().endsWith(QLatin1String(".ktr"), Qt::CaseInsensitive))
            return url.toLocalFile();
    return QString();
}
}

void CWords::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedWordFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CWords::dropEvent(QDropEvent* event)
{
    const QString file = DroppedWordFile(event->mimeData());
    if (file.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    ImportFile(QFile::encodeName(file).toStdString());
}

void CWords::OnRecord()
{
    SetButtons(CRecordingWorkflow::Event::Record);
    GetDocument()->m_recorder.Record();
}

void CWords::OnStopRecording()
{
    SetButtons(CRecordingWorkflow::Event::StopRecording);
    GetDocument()->m_recorder.Stop();
}

void CWords::OnPlay()
{
    SetButtons(CRecordingWorkflow::Event::Play);
    GetDocument()->m_recorder.Play(std::string());
}

void CWords::OnSaveSound()
{
    DoDataExchange(true);
    if (m_newWord.empty()) {
        ShowMessage("No Word Entered");
        SetFocusTo(IDC_ENTER_WORD);
        return;
    }
    m_words.Append(m_newWord);
    m_wordListBox->addItem(ToQt(m_newWord));
    // The edit keeps showing the word; only the member becomes the sound file's path.
    const std::string word = m_newWord;
    m_newWord = CPath::Join(m_currentFolder, m_newWord + ".wav");
    // A word that would name a file outside the folder fails with the save message.
    if (GetDocument()->m_recorder.SaveWord(m_currentFolder, word))
        SetButtons(CRecordingWorkflow::Event::Saved);
}

void CWords::OnNewWord()
{
    GetDocument()->m_recorder.Close();
    SetButtons(CRecordingWorkflow::Event::NewWord);
    m_newWord.clear();
    DoDataExchange(false);
    SetFocusTo(IDC_ENTER_WORD);
}

void CWords::OnRedoRecording()
{
    GetDocument()->m_recorder.Close();
    DoDataExchange(true);
    SetButtons(CRecordingWorkflow::Event::RedoRecording);
    DoDataExchange(false);
    SetFocusTo(IDC_ENTER_WORD);
}

void CWords::OnDelete()
{
    const int selected = SelectedIndex();
    if (selected < 0)
        return;
    ShowWords(m_words.Delete(selected));
}

void CWords::OnUp()
{
    const int selected = SelectedIndex();
    if (selected <= 0)
        return;
    ShowWords(m_words.MoveUp(selected));
}

void CWords::OnDown()
{
    const int selected = SelectedIndex();
    if (selected < 0 || selected == m_words.Count() - 1)
        return;
    ShowWords(m_words.MoveDown(selected));
}

void CWords::OnSortAZ()
{
    int selected = SelectedIndex();
    if (m_words.SortIgnoringCase(&selected))
        ShowWords(selected);
}

void CWords::OnSaveList()
{
    CKelto4Doc* doc = GetDocument();
    doc->m_wordList.clear();
    if (m_words.Count() < 1) {
        ShowMessage("No words to save");
        return;
    }
    doc->m_wordList = m_words.BuildEntries(doc->m_userName, m_currentFolder);
    doc->PostCommand(ID_FILE_SAVE);
    doc->UpdateAllViews(nullptr, 0);
}

void CWords::OnCancelChanges()
{
    CKelto4Doc* doc = GetDocument();
    m_words.Load(doc->m_wordList);
    ShowWords(-1);
    if (!m_previousFolder.empty()) {
        const std::string previous = m_previousFolder;
        m_currentFolder = previous;
        DoDataExchange(false);
        doc->m_recorder.SetFolder(previous);
        doc->UpdateAllViews(nullptr, 0);
        doc->SetModifiedFlag(false);
    }
    m_newWord.clear();
    DoDataExchange(false);
}

void CWords::OnChangeSoundFolder()
{
    CKelto4Doc* doc = GetDocument();
    if (!doc->m_wordList.empty())
        ShowMessage(kFolderWarning);
    const std::string old = m_currentFolder;
    const std::string chosen = CBrowseFolder().Choose();
    if (chosen.empty() || chosen == old)
        return;
    doc->m_recorder.SetFolder(chosen);
    doc->UpdateAllViews(nullptr, 0);
    doc->SetModifiedFlag(true);
    m_previousFolder = old;
    m_currentFolder = chosen;
    DoDataExchange(false);
}

void CWords::OnMicSettings()
{
    if (m_pMicDlg) {
        m_pMicDlg->show();
        m_pMicDlg->raise();
        m_pMicDlg->activateWindow();
        return;
    }
    m_pMicDlg = new CMicDlg(this, &m_pMicDlg);
    m_pMicDlg->show();
}

void CWords::ConfigureSpeaker()
{
    CKelto4AppCore& app = GetDocument()->GetApp();
    GetDocument()->m_speaker.Configure(app.GetVoice(), app.GetSpeechRate());
}

void CWords::OnSpeak()
{
    DoDataExchange(true);
    if (m_newWord.empty()) {
        ShowMessage("No Word Entered");
        SetFocusTo(IDC_ENTER_WORD);
        return;
    }
    ConfigureSpeaker();
    // The spoken word becomes the temporary recording; Play and Save Sound follow as after Stop Recording.
    if (GetDocument()->m_speaker.SpeakToTempRecording(m_newWord))
        SetButtons(CRecordingWorkflow::Event::StopRecording);
}

void CWords::OnSpeakMissingSounds()
{
    if (m_words.Count() < 1) {
        ShowMessage("There are no words in the list to speak.");
        return;
    }
    ConfigureSpeaker();
    QProgressDialog progress(QStringLiteral("Speaking the words that have no sound file..."), QStringLiteral("Cancel"),
                             0, m_words.Count(), this);
    progress.setWindowTitle(QStringLiteral("Kelto4"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    const CSpeaker::MissingSounds result = GetDocument()->m_speaker.WriteMissingSounds(
        m_currentFolder, m_words.Words(), [&progress](int done, int) {
            progress.setValue(done);
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.reset();
    ShowMessage(CSpeaker::Summary(result));
}
