#pragma once
#include "platform/CFormView.h"
#include "words/CRecordingWorkflow.h"
#include "words/CWordListEditor.h"

#include <QIcon>

#include <string>

class CMicDlg;
class QLineEdit;
class QListWidget;
class QPushButton;

// Words Page: the author of a list types each word, records it through the microphone,
// listens to it and saves it as the word's sound file, which also adds the word to the
// working list; the list is reordered, sorted and saved here.
class CWords : public CFormView {
    Q_OBJECT
public:
    explicit CWords(CKelto4Doc* document, QWidget* parent = nullptr);
    ~CWords() override;

    void OnInitialUpdate() override;
    void OnUpdate(CDocView* sender, long hint) override;

    // Appends the words of a word list file to the list, as if typed here, and commits
    // them to the document, which is then modified; one message sums up what was taken
    // and what was left out. False (nothing changed) when the file can't be read.
    bool ImportFile(const std::string& nativePath);

protected:
    void OnCommand(int id) override;
    // A word list file dropped on the page is imported; a list (.ktr) is left to the
    // main window, which opens it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // save = true reads the two edits into m_newWord and m_currentFolder; false writes them.
    void DoDataExchange(bool save);
    void SetButtons(CRecordingWorkflow::Event event);
    void ShowWords(int selected);
    int SelectedIndex() const;

    void OnRecord();
    void OnStopRecording();
    void OnPlay();
    void OnSaveSound();
    void OnNewWord();
    void OnRedoRecording();
    void OnDelete();
    void OnUp();
    void OnDown();
    void OnSortAZ();
    void OnSaveList();
    void OnCancelChanges();
    void OnChangeSoundFolder();
    void OnMicSettings();
    void OnSpeak();
    void OnSpeakMissingSounds();
    void ConfigureSpeaker();

    QIcon m_playIcon;
    QIcon m_recordIcon;
    QIcon m_stopIcon;
    CMicDlg* m_pMicDlg = nullptr;
    std::string m_newWord;
    QLineEdit* m_wordEdit = nullptr;
    QListWidget* m_wordListBox = nullptr;
    QPushButton* m_playButton = nullptr;
    QPushButton* m_recordButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    QPushButton* m_saveSoundButton = nullptr;
    QPushButton* m_newWordButton = nullptr;
    QPushButton* m_redoButton = nullptr;
    QPushButton* m_speakButton = nullptr;
    std::string m_previousFolder;
    std::string m_currentFolder;
    // The working list that the list box shows.
    CWordListEditor m_words;
};
