#include "document/CKelto4Doc.h"

#include "document/CKelto4AppCore.h"
#include "model/CArchive.h"
#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "model/CReviewList.h"
#include "model/CSafeFile.h"
#include "model/CUserRecordFiles.h"
#include "model/CWordMemoryFile.h"
#include "model/KMessage.h"
#include "platform/CommandIds.h"

#include <algorithm>
#include <string_view>

CKelto4Doc::CKelto4Doc(CKelto4AppCore& app, Clock clock)
    : m_app(app)
    , m_clock(std::move(clock))
{
}

CSoundComparison& CKelto4Doc::GetSoundComparison()
{
    m_speaker.Configure(m_app.GetVoice(), m_app.GetSpeechRate());
    return m_sounds;
}

CKelto4Doc::~CKelto4Doc()
{
    SaveUserRecordsOrWarn();
}

void CKelto4Doc::Create()
{
    m_userName = m_app.LogInAtStart();
    LoadUserRecords();
    LoadMemory();
    m_recordsChanged = false;
    m_testRunning = false;
}

void CKelto4Doc::PostCommand(int id)
{
    m_app.PostCommand(id);
}

std::string CKelto4Doc::GetNativeTitle() const
{
    if (m_pathName.empty())
        return m_unsavedTitle.empty() ? "Untitled" : CPath::ToNative(m_unsavedTitle);
    const size_t slash = m_pathName.find_last_of('/');
    std::string name = slash == std::string::npos ? m_pathName : m_pathName.substr(slash + 1);
    // Only the list's own extension goes, in any letter case: "Spelling 2.5.ktr" is "Spelling 2.5".
    const std::string_view extension = ".ktr";
    if (name.size() > extension.size() && CPath::HasExtension(name, extension))
        name.resize(name.size() - extension.size());
    return name;
}

std::string CKelto4Doc::GetTitle() const
{
    return CPath::FromNative(GetNativeTitle());
}

void CKelto4Doc::SetPathName(const std::string& path)
{
    m_pathName = path;
}

bool CKelto4Doc::OnNewDocument()
{
    DeleteContents();
    m_pathName.clear();
    m_unsavedTitle.clear();
    m_modified = false;
    m_recorder.SetFolder(m_app.m_userFolder);
    m_picture = m_app.GetDefaultImage();
    m_pictureMode = m_app.GetDefaultImageStretch();
    UpdateAllViews(nullptr, 0);
    return true;
}

void CKelto4Doc::OnNewList(COwnedList<CSpellingList> words, const std::string& title)
{
    OnNewDocument();
    m_wordList = std::move(words);
    m_unsavedTitle = title;
}

bool CKelto4Doc::OnOpenDocument(const std::string& path)
{
    DeleteContents();
    std::string bytes;
    std::string error;
    if (!CAtomicFile::ReadWholeFile(path, bytes, &error)) {
        // A file refused as someone else's link or as no regular file says why.
        const bool refused = CSafeFile::IsRefusal(errno);
        ShowMessage((refused ? error + "\r\n" : std::string()) + "Failed to open document.", MsgIcon::Exclamation);
        OnFailedOpen();
        return false;
    }
    try {
        CArchive ar(CArchive::load, bytes);
        Serialize(ar);
    } catch (const CArchiveException&) {
        DeleteContents();
        ShowMessage("Unexpected file format.", MsgIcon::Exclamation);
        OnFailedOpen();
        return false;
    }
    m_pathName = path;
    m_modified = false;
    if (!m_wordList.empty())
        m_recorder.SetFolder(m_wordList.front()->m_soundFolder);
    PostCommand(ID_VIEW_START);
    return true;
}

// The old list is gone once a read has started; keeping its path would let the next
// Save overwrite that file with the empty list, so the document becomes Untitled.
void CKelto4Doc::OnFailedOpen()
{
    m_pathName.clear();
    m_unsavedTitle.clear();
    m_modified = false;
    UpdateAllViews(nullptr, 0);
}

bool CKelto4Doc::OnSaveDocument(const std::string& path)
{
    std::string bytes;
    {
        CArchive ar(CArchive::store, bytes);
        Serialize(ar);
    }
    std::string error;
    if (!CAtomicFile::WriteFileAtomically(path, bytes, &error)) {
        ShowMessage(error + "\r\nFailed to save document.", MsgIcon::Exclamation);
        return false;
    }
    m_pathName = path;
    m_modified = false;
    return true;
}

void CKelto4Doc::DeleteContents()
{
    m_wordList.clear();
}

void CKelto4Doc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        StoreObjectList(ar, m_wordList);
    } else {
        LoadObjectList(ar, m_wordList);
        UpdateAllViews(nullptr, 0);
    }
}

void CKelto4Doc::ChangeUser()
{
    SaveUserRecordsOrWarn();
    m_userName = m_app.LogInAgain();
    m_gradeList.clear();
    m_missedList.clear();
    LoadUserRecords();
    LoadMemory();
    m_recordsChanged = false;
    UpdateAllViews(nullptr, 0);
}

bool CKelto4Doc::LoadUserRecords()
{
    if (m_userName.empty())
        return true;
    return CUserRecordFiles::Load(m_app.m_userFolder, m_userName, m_gradeList, m_missedList);
}

bool CKelto4Doc::SaveUserRecords()
{
    if (m_userName.empty() || !m_recordsChanged)
        return true;
    return CUserRecordFiles::Save(m_app.m_userFolder, m_userName, m_gradeList, m_missedList, nullptr);
}

// Records that can't be written would be lost without a word; say which file and why.
// A name that is no valid file name stays silent, as it always has.
void CKelto4Doc::SaveUserRecordsOrWarn()
{
    if (m_userName.empty() || !m_recordsChanged)
        return;
    if (!CUserRecordFiles::IsValidFileName(m_userName))
        return;
    std::string error;
    if (!CUserRecordFiles::Save(m_app.m_userFolder, m_userName, m_gradeList, m_missedList, &error))
        ShowMessage("The test records of " + m_userName + " could not be saved.\r\n" + error, MsgIcon::Exclamation);
}

CCalendarDay CKelto4Doc::Today() const
{
    return CCalendarDay::FromTime(m_clock());
}

void CKelto4Doc::LoadMemory()
{
    m_memory.clear();
    m_memoryWritable = false;
    m_memoryWarned = false;
    // No folder, or a name no file can carry: there is no memory to read or write.
    if (m_userName.empty() || m_app.m_userFolder.empty() || !CUserRecordFiles::IsValidFileName(m_userName))
        return;
    const std::string path = CPath::ToNative(CWordMemoryFile::Path(m_app.m_userFolder, m_userName));
    const std::string intro = "The file of words to review for " + m_userName;
    std::string error;
    switch (CWordMemoryFile::Read(path, m_memory, &error)) {
    case CWordMemoryFile::ReadResult::ok:
    case CWordMemoryFile::ReadResult::missing:
        m_memoryWritable = true;
        return;
    case CWordMemoryFile::ReadResult::damaged: {
        const std::string copy = CWordMemoryFile::KeepDamaged(path, &error);
        if (copy.empty()) {
            ShowMessage(intro + " is damaged and could not be kept aside. It is left as it is, and "
                                "reviews are not kept for now.\r\n" + error,
                        MsgIcon::Exclamation);
            return;
        }
        m_memoryWritable = true;
        // Empty on disk too, so the next log-in finds nothing to put aside again.
        CWordMemoryFile::Write(path, m_memory, nullptr);
        ShowMessage(intro + " is damaged. Reviews start again from nothing; the damaged file is kept as " +
                        CPath::FromNative(copy) + ".",
                    MsgIcon::Exclamation);
        return;
    }
    case CWordMemoryFile::ReadResult::newer:
        ShowMessage(intro + " was saved by a newer version of Keltora, which this version can't read. "
                            "It is left as it is, and reviews are not kept here.",
                    MsgIcon::Exclamation);
        return;
    case CWordMemoryFile::ReadResult::unreadable:
        ShowMessage(intro + " could not be read. It is left as it is, and reviews are not kept for now.\r\n" +
                        error,
                    MsgIcon::Exclamation);
        return;
    }
}

bool CKelto4Doc::RememberTest(const std::vector<CWordMemory::Attempt>& firstAttempts)
{
    if (m_userName.empty() || firstAttempts.empty())
        return true;
    m_memory.RecordTest(firstAttempts, Today());
    if (!m_memoryWritable)
        return false;
    const std::string path = CPath::ToNative(CWordMemoryFile::Path(m_app.m_userFolder, m_userName));
    std::string error;
    if (CWordMemoryFile::Write(path, m_memory, &error))
        return true;
    // Once is enough: the next tests would only repeat it.
    if (!m_memoryWarned)
        ShowMessage("The words to review for " + m_userName + " could not be saved.\r\n" + error,
                    MsgIcon::Exclamation);
    m_memoryWarned = true;
    return false;
}

COwnedList<CSpellingList> CKelto4Doc::TodaysReview() const
{
    return CReviewList::Build(m_memory, Today(), m_wordList, [this] { return m_app.GetDefaultSoundFolder(); });
}

std::string CKelto4Doc::NothingToReviewText() const
{
    return CReviewList::NothingDueText(m_memory, Today());
}

std::size_t CKelto4Doc::WordsDueToday() const
{
    return m_memory.DueCount(Today());
}
