#pragma once
#include "model/CDocViews.h"
#include "model/CGrade.h"
#include "model/CMissed.h"
#include "model/COwnedList.h"
#include "model/CSpellingList.h"
#include "sound/CSoundRecorder.h"
#include "sound/CSpeaker.h"
#include "spelling/CSoundComparison.h"

#include <string>
#include <vector>

class CArchive;
class CKelto4AppCore;

// The one list document: the current spelling list, the logged-in user and that
// user's records, the sound recorder, the start page's picture settings and the
// two flags the pages share. Pages read it directly and change it only through
// their commands; every change they make is announced with UpdateAllViews.
class CKelto4Doc : public CDocViews {
public:
    explicit CKelto4Doc(CKelto4AppCore& app);
    ~CKelto4Doc();
    CKelto4Doc(const CKelto4Doc&) = delete;
    CKelto4Doc& operator=(const CKelto4Doc&) = delete;

    COwnedList<CSpellingList> m_wordList;
    COwnedList<CGrade> m_gradeList;
    COwnedList<CMissed> m_missedList;
    std::string m_userName;
    bool m_recordsChanged = false;
    CSoundRecorder m_recorder;
    // Speaks words that have no recording, through m_recorder.
    CSpeaker m_speaker{m_recorder};
    bool m_testRunning = false;
    std::string m_picture;
    int m_pictureMode = 1;

    // Logs the start-up user in and reads that user's records.
    void Create();

    CKelto4AppCore& GetApp() const { return m_app; }
    // Compares misspellings by sound in the voice chosen on the options page.
    CSoundComparison& GetSoundComparison();
    void PostCommand(int id);

    // The list's name: the file's name without ".ktr", or "Untitled". GetTitle gives it
    // as Windows-1252 text (the name the records keep); GetNativeTitle as the file system
    // names it (the caption).
    std::string GetTitle() const;
    std::string GetNativeTitle() const;
    // The list's file as the file system names it (native bytes, not Windows-1252):
    // a name that Windows-1252 can't hold must still save to the same file.
    const std::string& GetPathName() const { return m_pathName; }
    void SetPathName(const std::string& path);
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }

    bool OnNewDocument();
    // path: native, as GetPathName.
    bool OnOpenDocument(const std::string& path);
    bool OnSaveDocument(const std::string& path);
    void DeleteContents();
    void Serialize(CArchive& ar);

    void ChangeUser();
    bool LoadUserRecords();
    bool SaveUserRecords();

private:
    // SaveUserRecords, telling the user when records could not be written.
    void SaveUserRecordsOrWarn();
    void OnFailedOpen();

    CKelto4AppCore& m_app;
    // Through the speaker's engine, which owns espeak-ng's state in this process.
    CSoundComparison m_sounds{m_speaker.Engine()};
    std::string m_pathName;
    bool m_modified = false;
};
