#pragma once
#include "model/CDocViews.h"
#include "model/CGrade.h"
#include "model/CMissed.h"
#include "model/COwnedList.h"
#include "model/CSpellingList.h"
#include "model/CWordMemory.h"
#include "sound/CSoundRecorder.h"
#include "sound/CSpeaker.h"
#include "spelling/CSoundComparison.h"

#include <ctime>
#include <functional>
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
    // Seconds since the epoch: the day the word memory counts from.
    using Clock = std::function<std::time_t()>;

    // Tests give a fixed clock; the program uses the system's.
    explicit CKelto4Doc(CKelto4AppCore& app, Clock clock = [] { return std::time(nullptr); });
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
    // The logged-in learner's word memory (NAME.kt5): read at log-in, moved and saved at
    // the end of each test (RememberTest). Empty when nobody is logged in.
    CWordMemory m_memory;

    // Logs the start-up user in and reads that user's records.
    void Create();

    CKelto4AppCore& GetApp() const { return m_app; }
    // Compares misspellings by sound in the voice chosen on the options page.
    CSoundComparison& GetSoundComparison();
    void PostCommand(int id);

    // The list's name: the file's name without ".ktr"; before it is saved, the name it was
    // made under (OnNewList) or "Untitled". GetTitle gives it
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
    // A new list of words made by the program (practice, review, a rule's words), named
    // title (Windows-1252) until it is saved: the caption shows it, the records keep it and
    // Save As offers it. Not marked modified.
    void OnNewList(COwnedList<CSpellingList> words, const std::string& title);
    // path: native, as GetPathName.
    bool OnOpenDocument(const std::string& path);
    bool OnSaveDocument(const std::string& path);
    void DeleteContents();
    void Serialize(CArchive& ar);

    void ChangeUser();
    bool LoadUserRecords();
    bool SaveUserRecords();

    // Today by the local calendar.
    CCalendarDay Today() const;
    // Reads the logged-in learner's word memory. A damaged file is kept aside and the
    // memory starts again empty; a file of a newer version, or one that can't be read, is
    // left alone and not written for as long as this learner stays logged in.
    void LoadMemory();
    // Moves the words of a test that has just ended or been stopped by their first
    // attempts, and saves the memory. Nothing for a learner who is not logged in; false
    // when the memory could not be saved (said once per log-in).
    bool RememberTest(const std::vector<CWordMemory::Attempt>& firstAttempts);
    // Today's Review for the logged-in learner: the words due, sound folders found.
    COwnedList<CSpellingList> TodaysReview() const;
    // What Today's Review says when nothing is due.
    std::string NothingToReviewText() const;
    std::size_t WordsDueToday() const;

private:
    // SaveUserRecords, telling the user when records could not be written.
    void SaveUserRecordsOrWarn();
    void OnFailedOpen();

    CKelto4AppCore& m_app;
    Clock m_clock;
    // Through the speaker's engine, which owns espeak-ng's state in this process.
    CSoundComparison m_sounds{m_speaker.Engine()};
    std::string m_pathName;
    std::string m_unsavedTitle;
    bool m_modified = false;
    // Whether the memory may be saved: not over a file this version can't read.
    bool m_memoryWritable = false;
    bool m_memoryWarned = false;
};
