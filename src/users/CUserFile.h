#pragma once
#include "model/COwnedList.h"
#include "model/CUser.h"
#include "users/CUserFileAccess.h"

#include <string>

#include <sys/types.h>

class CUserFileWaiter;

// The shared user file, user folder + "/Kelto4.lgn": one object list of CUser.
// Used by the log-in dialog and the change-password dialog alike:
//
//   CUserFile file;
//   file.Open(userFolder, &waiter);   // locks (waiting if busy), then reads
//   ... look at / change file.Users() ...
//   file.Save();                      // atomic replace; the file stays locked
//   file.Close();                     // or let the destructor do it
//
// Exclusion between running copies (also across machines on NFS) is an exclusive
// fcntl byte-range lock on the open file, held from Open until Close. A copy that
// finds the file locked retries as its CUserFileAccess says (36 times, 5 s apart), behind the waiter;
// any other failure (no permission, a folder in its place, no locks on that file
// system) is told to the user at once and the file is given up.
// Save writes the whole list to a new file in the same folder, locks it, renames it
// over the old path and only then lets go of the old file, so the file is never
// half-written and never unlocked in between. A copy that was waiting on the old
// file and gets its lock after the rename sees that the path now names another file
// and tries again.
class CUserFile {
public:
    static constexpr const char* kFileName = "Kelto4.lgn";

    // access: the system calls and the retry rule for a busy file; it must outlive the file.
    explicit CUserFile(const CUserFileAccess& access = CUserFileAccess::System())
        : m_access(access)
    {
    }
    ~CUserFile();
    CUserFile(const CUserFile&) = delete;
    CUserFile& operator=(const CUserFile&) = delete;

    // Opens and locks folder + "/Kelto4.lgn", creating it empty when missing, and reads
    // its users (any read before is thrown away). With an empty folder, or when the file
    // stays busy or can't be opened, the list is empty and Save writes nothing; a file
    // that can't be opened for any reason but another copy's lock is reported in a
    // message box with the system's reason. A file whose bytes are no valid user list
    // keeps the users read before the fault, and ReadFailed() is true; it is kept as
    // "Kelto4.lgn.damaged" before the next save replaces it. A file that can't be read
    // to its end (an I/O error) is reported, what could be read is kept as such a copy
    // at once, and IsReadOnly() is true: Save refuses to write over it. Copies are
    // never replaced: a later one is "Kelto4.lgn.damaged.2", then ".3" and so on.
    // waiter may be null (sleep). Returns IsOpen().
    bool Open(const std::string& userFolder, CUserFileWaiter* waiter);
    bool IsOpen() const { return m_fd >= 0; }
    bool ReadFailed() const { return m_readFailed; }
    // No account may be added, deleted or changed: the file was not read whole.
    bool IsReadOnly() const { return m_readOnly; }

    // The users in file order; change them freely, then Save.
    COwnedList<CUser>& Users() { return m_users; }
    const COwnedList<CUser>& Users() const { return m_users; }

    // Replaces the file with the whole list. False when no file is open, the file is
    // read-only, or the new file can't be written (LastError() says why; the old file is then untouched). The file
    // stays open and locked, so a later Save in the same dialog writes too.
    bool Save();
    // Unlocks and closes the file; the list stays as it is.
    void Close();

    // The path of the open (or last tried) file, Windows-1252 text; "" without a folder.
    const std::string& Path() const { return m_path; }
    const std::string& LastError() const { return m_lastError; }

private:
    enum class Attempt { locked, busy, missing, failed };
    Attempt TryOpenExisting();
    Attempt TryCreate();
    void Read();
    bool KeepCopy(const std::string& bytes, std::string& copyPath);

    const CUserFileAccess& m_access;
    int m_fd = -1;
    std::string m_path;
    std::string m_lastError;
    bool m_readFailed = false;
    bool m_readOnly = false;
    std::string m_damagedBytes;
    COwnedList<CUser> m_users;
};
