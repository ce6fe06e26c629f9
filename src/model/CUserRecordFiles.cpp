#include "model/CUserRecordFiles.h"

#include "model/CArchive.h"
#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "model/CSafeFile.h"

template <class T>
CUserRecordFiles::ReadResult CUserRecordFiles::DecodeList(const std::string& bytes, COwnedList<T>& list)
{
    try {
        CArchive ar(CArchive::load, bytes);
        LoadObjectList(ar, list);
        // Bytes after the list would be lost by the next save: treat them as damage too.
        return ar.AtEnd() ? CUserRecordFiles::ReadResult::ok : CUserRecordFiles::ReadResult::damaged;
    } catch (const CArchiveException&) {
        return CUserRecordFiles::ReadResult::damaged;
    }
}

namespace {
void AddError(std::string* errorText, const std::string& error)
{
    if (!errorText)
        return;
    if (!errorText->empty())
        errorText->append("\n");
    errorText->append(error);
}
}

std::string CUserRecordFiles::JoinPath(const std::string& folder, const std::string& name)
{
    return CPath::Join(folder, name);
}

bool CUserRecordFiles::IsValidFileName(const std::string& userName)
{
    // A name too long for the file system is let through: opening the file says so.
    const CPath::NameProblem problem = CPath::CheckFileName(userName);
    return problem == CPath::NameProblem::None || problem == CPath::NameProblem::TooLong;
}

std::string CUserRecordFiles::ResultsPath(const std::string& userFolder, const std::string& userName)
{
    return JoinPath(userFolder, userName + kResultsExtension);
}

std::string CUserRecordFiles::MissedPath(const std::string& userFolder, const std::string& userName)
{
    return JoinPath(userFolder, userName + kMissedExtension);
}

template <class T>
CUserRecordFiles::ReadResult CUserRecordFiles::ReadListFile(const std::string& path, COwnedList<T>& list)
{
    return ReadNativeListFile(CPath::ToNative(path), list, nullptr);
}

template <class T>
CUserRecordFiles::ReadResult CUserRecordFiles::ReadNativeListFile(const std::string& nativePath, COwnedList<T>& list,
                                                                   std::string* why)
{
    std::string bytes;
    if (!CSafeFile::ReadAll(nativePath, bytes, why))
        return ReadResult::notOpened;
    return DecodeList(bytes, list);
}

template <class T>
bool CUserRecordFiles::WriteListFile(const std::string& path, const COwnedList<T>& list,
                                     std::string* errorText)
{
    std::string old;
    mode_t mode = 0;
    if (CAtomicFile::ReadWholeFile(CPath::ToNative(path), old, nullptr, &mode)) {
        COwnedList<T> check;
        std::string copy;
        if (DecodeList(old, check) != ReadResult::ok &&
            !CAtomicFile::KeepCopy(CPath::ToNative(path), kDamagedSuffix, old, mode, copy, errorText))
            return false; // the damaged file stays as it is rather than be lost
    }
    std::string bytes;
    {
        CArchive ar(CArchive::store, bytes);
        StoreObjectList(ar, list);
    }
    return CAtomicFile::WriteFileAtomically(CPath::ToNative(path), bytes, errorText);
}

template CUserRecordFiles::ReadResult CUserRecordFiles::DecodeList(const std::string&, COwnedList<CGrade>&);
template CUserRecordFiles::ReadResult CUserRecordFiles::DecodeList(const std::string&, COwnedList<CMissed>&);
template CUserRecordFiles::ReadResult CUserRecordFiles::ReadListFile(const std::string&, COwnedList<CGrade>&);
template CUserRecordFiles::ReadResult CUserRecordFiles::ReadListFile(const std::string&, COwnedList<CMissed>&);
template CUserRecordFiles::ReadResult CUserRecordFiles::ReadNativeListFile(const std::string&, COwnedList<CGrade>&,
                                                                            std::string*);
template CUserRecordFiles::ReadResult CUserRecordFiles::ReadNativeListFile(const std::string&, COwnedList<CMissed>&,
                                                                            std::string*);
template bool CUserRecordFiles::WriteListFile(const std::string&, const COwnedList<CGrade>&, std::string*);
template bool CUserRecordFiles::WriteListFile(const std::string&, const COwnedList<CMissed>&, std::string*);

bool CUserRecordFiles::Load(const std::string& userFolder, const std::string& userName,
                            COwnedList<CGrade>& grades, COwnedList<CMissed>& missed)
{
    // No folder, or a name that can't be a file name: nothing can be opened.
    if (userFolder.empty() || !IsValidFileName(userName))
        return false;
    const bool gradesOpened = ReadListFile(ResultsPath(userFolder, userName), grades) != ReadResult::notOpened;
    const bool missedOpened = ReadListFile(MissedPath(userFolder, userName), missed) != ReadResult::notOpened;
    return gradesOpened && missedOpened;
}

bool CUserRecordFiles::Save(const std::string& userFolder, const std::string& userName,
                            const COwnedList<CGrade>& grades, const COwnedList<CMissed>& missed,
                            std::string* errorText)
{
    if (errorText)
        errorText->clear();
    if (userFolder.empty()) {
        AddError(errorText, "No user folder is set.");
        return false;
    }
    if (!IsValidFileName(userName)) {
        AddError(errorText, "Not a valid file name: " + userName);
        return false;
    }
    std::string error;
    bool ok = WriteListFile(ResultsPath(userFolder, userName), grades, &error);
    if (!ok)
        AddError(errorText, error);
    error.clear();
    if (!WriteListFile(MissedPath(userFolder, userName), missed, &error)) {
        AddError(errorText, error);
        ok = false;
    }
    return ok;
}
