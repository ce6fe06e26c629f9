#include "words/CWords.h"

#include "document/CKelto4AppCore.h"
#include "document/CKelto4Doc.h"
#include "model/CPath.h"
#include "model/KMessage.h"
#include "platform/CBrowseFolder.h"
#include "platform/CControlIds.h"
#include "platform/CommandIds.h"
#include "platform/CQtText.h"
#include "platform/CReadingLook.h"
#include "sound/CSpeaker.h"
#include "words/CMicDlg.h"
#include "words/CWordImport.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

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


const char* const kFolderWarning =
    "If the sound folder for the current spelling list is changed incorrectly, \r\n"
    "you may not be able to take a test.";
}

CWords::CWords(CKelto4Doc* document, QWidget* parent)
    : CFormView(document, parent)
{
    // Made in the order Tab visits them: the six steps of a new word, then the list.
    CFormBuilder& c = Controls();
    QLabel* title = c.Title("Words Page");
    QFrame* rule = c.Rule();
    QGroupBox* steps = c.Group("Add a New Spelling Word");
    m_wordEdit = c.Edit(IDC_ENTER_WORD);
    m_recordButton = c.Button(IDC_RECORD, "Record");
    m_speakButton = c.Button(IDC_SPEAK, "Speak");
    m_stopButton = c.Button(IDC_STOP_RECORDING, "Stop Recording");
    m_playButton = c.Button(IDC_PLAY, "Play");
    m_saveSoundButton = c.Button(IDC_SAVE_SOUND, "Save Sound");
    m_redoButton = c.Button(IDC_REDO_RECORDING, "Redo Recording");
    m_newWordButton = c.Button(IDC_NEW_WORD, "New Word");
    QLabel* hint = c.Label("You can record a sentence with the spelling word.");
    QPushButton* mic = c.Button(IDC_MIC_SETTINGS, "Microphone Recording Settings");
    QGroupBox* current = c.Group("Current List");
    m_wordListBox = c.Own(new QListWidget, IDC_WORDLIST);
    m_wordListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    m_wordListBox->setSortingEnabled(false);
    CFormBuilder::Name(m_wordListBox, QStringLiteral("Current List"));
    QPushButton* del = c.Button(IDC_DELETE, "Delete");
    QPushButton* sort = c.Button(IDC_SORT_AZ, "A..Z");
    QPushButton* up = c.Button(IDC_UP, "Up");
    QPushButton* down = c.Button(IDC_DOWN, "Down");
    QLineEdit* folder = c.ReadOnlyEdit(IDC_SOUND_FOLDER);
    CFormBuilder::Name(folder, QStringLiteral("Sound Folder"));
    QPushButton* changeFolder = c.Button(IDC_CHANGE_FOLDER, "Change Sound Folder");
    QPushButton* saveList = c.Button(IDC_SAVE_LIST, "Save List");
    QPushButton* cancel = c.Button(IDC_CANCEL_CHANGES, "Cancel Changes");
    QPushButton* speakMissing = c.Button(IDC_SPEAK_MISSING, "Speak Missing Sounds");
    c.HiddenDefault(IDC_ENTER, "Enter");
    SetDefaultButton(IDC_ENTER);

    // Each step: its number, what to do, and the button that does it, on one line.
    auto* grid = new QGridLayout(steps);
    auto step = [&](int row, const char* number, QLabel* what, QWidget* control) {
        QLabel* n = c.Label(number);
        n->setWordWrap(false);
        what->setWordWrap(false);
        grid->addWidget(n, row, 0);
        grid->addWidget(what, row, 1);
        if (control)
            grid->addWidget(control, row, 2);
    };
    auto* recordRow = new QHBoxLayout;
    recordRow->addWidget(m_recordButton, 1);
    recordRow->addWidget(m_speakButton, 1);
    step(0, "1)", c.Label("Enter Word", m_wordEdit), nullptr);
    step(1, "2)", c.Label("Start Recording"), nullptr);
    grid->addLayout(recordRow, 1, 2);
    step(2, "3)", c.Label("Stop Recording"), m_stopButton);
    step(3, "4)", c.Label("Play Recording"), m_playButton);
    step(4, "5)", c.Label("Add to List"), m_saveSoundButton);
    grid->addWidget(c.Label("or"), 5, 1);
    grid->addWidget(c.Label("Redo Sound"), 6, 1);
    grid->addWidget(m_redoButton, 6, 2);
    step(7, "6)", c.Label("Next Word"), m_newWordButton);
    grid->setRowMinimumHeight(8, 6);
    grid->addWidget(hint, 9, 0, 1, 4);
    grid->addWidget(mic, 10, 0, 1, 4, Qt::AlignLeft);
    grid->setRowStretch(11, 1);
    // The step buttons one column of equal width, at their own size on any screen; the
    // word's field grows a little with the window.
    int widest = 0;
    for (QPushButton* b : {m_stopButton, m_playButton, m_saveSoundButton, m_redoButton, m_newWordButton})
        widest = std::max(widest, b->sizeHint().width());
    widest = std::max(widest, m_recordButton->sizeHint().width() + m_speakButton->sizeHint().width()
                                  + recordRow->spacing());
    for (QPushButton* b : {m_stopButton, m_playButton, m_saveSoundButton, m_redoButton, m_newWordButton})
        b->setFixedWidth(widest);
    m_wordEdit->setMinimumWidth(widest);
    grid->addWidget(m_wordEdit, 0, 2, 1, 2);
    grid->setColumnStretch(3, 1);

    // The list takes the room; its buttons stay beside it, the folder and the list's
    // own commands below.
    auto* listButtons = new QVBoxLayout;
    for (QPushButton* b : {del, sort, up, down})
        listButtons->addWidget(b);
    listButtons->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(m_wordListBox, 1);
    listRow->addLayout(listButtons);
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(saveList);
    saveRow->addWidget(cancel);
    saveRow->addStretch();
    auto* list = new QVBoxLayout(current);
    list->addLayout(listRow, 1);
    list->addWidget(folder);
    list->addWidget(changeFolder, 0, Qt::AlignLeft);
    list->addLayout(saveRow);
    list->addWidget(speakMissing, 0, Qt::AlignLeft);

    auto* layout = new QGridLayout(this);
    layout->addWidget(title, 0, 0, 1, 2);
    layout->addWidget(rule, 1, 0, 1, 2);
    layout->addWidget(steps, 2, 0);
    layout->addWidget(current, 2, 1);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(2, 1);

    const std::pair<QWidget*, char> mnemonics[] = {
        {m_wordEdit, 'W'}, {m_recordButton, 'R'}, {m_speakButton, 'K'}, {m_stopButton, 'T'},
        {m_playButton, 'P'}, {m_saveSoundButton, 'S'}, {m_redoButton, 'D'}, {m_newWordButton, 'N'},
        {mic, 'M'}, {m_wordListBox, 'L'}, {del, 'E'}, {sort, 'Z'}, {up, 'U'}, {down, 'O'},
        {changeFolder, 'G'}, {saveList, 'I'}, {cancel, 'C'}, {speakMissing, 'A'}};
    for (const auto& [control, letter] : mnemonics)
        CFormBuilder::SetMnemonic(control, QLatin1Char(letter));
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
    CReadingLook::Apply(m_wordListBox, doc->GetApp().GetReadingStyle());
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
