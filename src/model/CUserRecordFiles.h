#pragma once
#include "model/CGrade.h"
#include "model/CMissed.h"
#include "model/COwnedList.h"

#include <string>

// The two record files of a user in the user folder: name + ".kt3" (results, CGrade) and
// name + ".kt4" (misspelled words, CMissed), each one object list, newest record first.
// Folder, names and paths are Windows-1252 text, like every text of the program; they are
// turned into the file system's bytes only when a file is opened.
// Failures here are silent: they come back as false (and, for saving, a reason).
class CUserRecordFiles {
public:
    // folder + "/" + name with exactly one "/" between them, whatever folder ends with.
    static std::string JoinPath(const std::string& folder, const std::string& name);
    // False for names no file may carry: empty, ".", "..", or holding "/" or a zero byte.
    static bool IsValidFileName(const std::string& userName);
    static std::string ResultsPath(const std::string& userFolder, const std::string& userName);
    static std::string MissedPath(const std::string& userFolder, const std::string& userName);
    // Suffix of the copy kept of a record file that could not be read to its end; a later
    // incident's copy gets ".2", ".3"... after it.
    static constexpr const char* kDamagedSuffix = ".damaged";
    static constexpr const char* kResultsExtension = ".kt3";
    static constexpr const char* kMissedExtension = ".kt4";

    // Reads both files, appending at the tail of each list (callers empty them first).
    // False when a file could not be opened (missing, unreadable, invalid name, no folder);
    // that list is left as it was. A damaged file keeps the records read before the fault.
    static bool Load(const std::string& userFolder, const std::string& userName,
                     COwnedList<CGrade>& grades, COwnedList<CMissed>& missed);
    // Writes both files, each one all or nothing. A file that no longer reads to its end
    // is first kept beside as name + ".damaged", readable by nobody who could not read it.
    // A file that is a link belonging to someone else, or no regular file, is not touched. False when a file could not be written;
    // errorText (if given) then gets the reasons.
    static bool Save(const std::string& userFolder, const std::string& userName,
                     const COwnedList<CGrade>& grades, const COwnedList<CMissed>& missed,
                     std::string* errorText);

    enum class ReadResult { ok, notOpened, damaged };
    // One object list file of T; on damage the entries read before the fault stay appended.
    template <class T>
    static ReadResult ReadListFile(const std::string& path, COwnedList<T>& list);
    // The same for a file's bytes already read; bytes after the list are damage too.
    template <class T>
    static ReadResult DecodeList(const std::string& bytes, COwnedList<T>& list);
    // The same for a path as the file system names it; why (if given) says why a file was
    // not opened (a link of someone else's and anything but a regular file are refused).
    template <class T>
    static ReadResult ReadNativeListFile(const std::string& nativePath, COwnedList<T>& list, std::string* why);
    template <class T>
    static bool WriteListFile(const std::string& path, const COwnedList<T>& list,
                              std::string* errorText);
};
