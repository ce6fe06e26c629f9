#include "document/CKelto4Doc.h"

#include "document/CKelto4AppCore.h"
#include "model/CArchive.h"
#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "model/CSafeFile.h"
#include "model/CUserRecordFiles.h"
#include "model/KMessage.h"
#include "platform/CommandIds.h"

#include <algorithm>
#include <string_view>

CKelto4Doc::CKelto4Doc(CKelto4AppCore& app)
    : m_app(app)
{
}

CKelto4Doc::~CKelto4Doc()
{
    SaveUserRecordsOrWarn();
}

void CKelto4Doc::Create()
{
    m_userName = m_app.LogInAtStart();
    LoadUserRecords();
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
        return "Untitled";
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
    m_modified = false;
    m_recorder.SetFolder(m_app.m_userFolder);
    m_picture = m_app.GetDefaultImage();
    m_pictureMode = m_app.GetDefaultImageStretch();
    UpdateAllViews(nullptr, 0);
    return true;
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
