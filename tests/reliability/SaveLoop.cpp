// Saves, round after round, a spelling list (the document's save), a learner's two record
// files (SaveUserRecords) and the user file (its own save), each with the contents of
// reliability::*For(round), until it is killed or has done COUNT rounds (0: no end).
// Before a round starts its number is appended to LOG, so whoever kills the helper
// knows which round was under way.
//   reliability_saveloop FOLDER LOG FIRST COUNT
#include "document/CKelto4AppCore.h"
#include "document/CKelto4Doc.h"
#include "model/CPath.h"
#include "ReliabilityContent.h"
#include "users/CUserFile.h"

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {
class LoopApp : public CKelto4AppCore {
public:
    bool RunLogInDialog(const std::string&, std::string&, bool&) override { return false; }
    bool RunChangePasswordDialog(const std::string&) override { return false; }
    void PostCommand(int) override {}
};
}

int main(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    const std::string folder = argv[1];
    const int log = ::open(argv[2], O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const int first = std::atoi(argv[3]);
    const int count = std::atoi(argv[4]);
    if (log < 0)
        return 2;
    const CUserFileAccess patient(200, 5);
    LoopApp app;
    app.m_userFolder = folder;
    CKelto4Doc doc(app);
    doc.m_userName = reliability::kLearner;
    for (int r = first; count == 0 || r < first + count; ++r) {
        const std::string line = std::to_string(r) + "\n";
        if (::write(log, line.data(), line.size()) != ssize_t(line.size()))
            return 3;
        doc.m_wordList = reliability::ListFor(r);
        if (!doc.OnSaveDocument(CPath::Join(folder, reliability::kListName)))
            return 4;
        doc.m_gradeList = reliability::GradesFor(r);
        doc.m_missedList = reliability::MissedFor(r);
        doc.m_recordsChanged = true;
        if (!doc.SaveUserRecords())
            return 5;
        CUserFile users(patient);
        if (!users.Open(folder, nullptr))
            return 6;
        users.Users() = reliability::UsersFor(r);
        if (!users.Save())
            return 7;
    }
    // Nothing more to write at exit: the records on disk are this round's already.
    doc.m_recordsChanged = false;
    return 0;
}
