#include "tool/ToolExport.h"

#include "model/CArchive.h"
#include "model/CAtomicFile.h"
#include "model/CCsvWriter.h"
#include "model/CPath.h"
#include "model/CSafeFile.h"
#include "model/CUser.h"
#include "model/CUserRecordFiles.h"
#include "sound/CSpeechEngine.h"
#include "spelling/CSoundComparison.h"
#include "spelling/CSpellingRules.h"
#include "tool/ToolSounds.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <span>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace {
constexpr const char* kUserFileName = "Kelto4.lgn";
constexpr std::size_t kFlushAt = 1 << 16;

class Exporter {
public:
    Exporter(const std::string& folder, bool missed, CSoundComparison& sounds, std::FILE* out, std::FILE* err)
        : m_nativeFolder(folder)
        , m_missed(missed)
        , m_sounds(sounds)
        , m_out(out)
        , m_err(err)
    {
    }

    int Run()
    {
        // Learners by the file system's name of their files, so that a name Windows-1252
        // can't hold (made on another system) still finds its files.
        std::vector<std::string> learners;
        for (const std::string& user : UsersInFileOrder())
            learners.push_back(CPath::ToNative(user));
        std::vector<std::string> others;
        if (!OtherLearners(learners, others))
            return 2;
        learners.insert(learners.end(), others.begin(), others.end());

        m_csv.Text().assign(CCsvWriter::ByteOrderMark());
        const char* const gradeHeaders[] = {"User", "Spelling List", "Date", "# Correct", "# Words", "Grade"};
        const char* const missedHeaders[] = {"User",        "Spelling List",   "Date",  "Word",
                                             "Misspelling", "Spelling Errors", "Sounds"};
        for (const char* header : m_missed ? std::span<const char* const>(missedHeaders)
                                           : std::span<const char* const>(gradeHeaders))
            m_csv.Field(header);
        m_csv.EndRow();
        for (const std::string& learner : learners)
            if (m_missed)
                ExportMissed(learner);
            else
                ExportGrades(learner);
        if (!Flush() || std::fflush(m_out) != 0) {
            std::fprintf(m_err, "kelto4-tool: cannot write the output\n");
            return 2;
        }
        return m_damaged ? 1 : 0;
    }

    std::int64_t Rows() const { return m_rows; }

private:
    void Report(const std::string& nativePath, const std::string& what)
    {
        std::fprintf(m_err, "kelto4-tool: %s %s\n", nativePath.c_str(), what.c_str());
        m_damaged = true;
    }

    // The user file is read without its lock: a log-in going on elsewhere replaces it
    // whole, so the bytes read are an old or a new list, never a mixture.
    std::vector<std::string> UsersInFileOrder()
    {
        std::vector<std::string> names;
        const std::string path = CPath::Join(m_nativeFolder, kUserFileName);
        std::string bytes;
        std::string why;
        if (!CSafeFile::ReadAll(path, bytes, &why)) {
            if (CAtomicFile::Exists(path))
                Report(path, "can't be read: " + CPath::ToNative(why));
            return names;
        }
        COwnedList<CUser> users;
        try {
            CArchive ar{std::string_view(bytes)};
            if (!bytes.empty()) {
                LoadObjectList(ar, users);
                if (!ar.AtEnd())
                    throw CArchiveException(CArchiveException::generic);
            }
        } catch (const CArchiveException&) {
            Report(path, "is damaged; the users after the damage are taken in name order");
        }
        std::set<std::string> seen;
        for (const auto& user : users)
            if (CUserRecordFiles::IsValidFileName(user->m_name) && seen.insert(user->m_name).second)
                names.push_back(user->m_name);
        return names;
    }

    // Record files of learners that the user file doesn't name, in name order.
    bool OtherLearners(const std::vector<std::string>& known, std::vector<std::string>& others)
    {
        DIR* dir = ::opendir(m_nativeFolder.c_str());
        if (!dir) {
            std::fprintf(m_err, "kelto4-tool: %s: %s\n", m_nativeFolder.c_str(), std::strerror(errno));
            return false;
        }
        const std::set<std::string> skip(known.begin(), known.end());
        const std::string_view ending =
            m_missed ? CUserRecordFiles::kMissedExtension : CUserRecordFiles::kResultsExtension;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name.size() <= ending.size() || !name.ends_with(ending))
                continue;
            const std::string learner(name.substr(0, name.size() - ending.size()));
            if (!skip.count(learner))
                others.push_back(learner);
        }
        ::closedir(dir);
        std::sort(others.begin(), others.end());
        return true;
    }

    // Records read before a fault are still exported.
    template <class T>
    bool Read(const std::string& path, COwnedList<T>& list)
    {
        std::string why;
        switch (CUserRecordFiles::ReadNativeListFile(path, list, &why)) {
        case CUserRecordFiles::ReadResult::ok: return true;
        case CUserRecordFiles::ReadResult::damaged:
            Report(path, "is damaged; only the records before the damage are exported");
            return true;
        case CUserRecordFiles::ReadResult::notOpened:
            // A learner who has taken no test yet has no files; that is no fault.
            if (CAtomicFile::Exists(path))
                Report(path, "can't be read: " + CPath::ToNative(why));
            return false;
        }
        return false;
    }

    std::string RecordPath(const std::string& learner, const char* extension) const
    {
        return CPath::Join(m_nativeFolder, learner + extension);
    }

    // The learner's name as the program knows it, or else as the file system gives it.
    void LearnerField(const std::string& learner)
    {
        if (CPath::CanHold(learner))
            m_csv.Field(CPath::FromNative(learner));
        else
            m_csv.Utf8Field(learner);
    }

    void ExportGrades(const std::string& learner)
    {
        COwnedList<CGrade> grades;
        if (!Read(RecordPath(learner, CUserRecordFiles::kResultsExtension), grades))
            return;
        for (const auto& grade : grades) {
            LearnerField(learner);
            m_csv.Field(grade->m_listName);
            m_csv.Date(grade->m_date);
            m_csv.Number(grade->m_correct);
            m_csv.Number(grade->m_words);
            m_csv.Grade(grade->m_correct, grade->m_words);
            EndRow();
        }
    }

    void ExportMissed(const std::string& learner)
    {
        COwnedList<CMissed> missed;
        if (!Read(RecordPath(learner, CUserRecordFiles::kMissedExtension), missed))
            return;
        for (const auto& record : missed) {
            LearnerField(learner);
            m_csv.Field(record->m_listName);
            m_csv.Date(record->m_date);
            m_csv.Field(record->m_word);
            m_csv.Field(record->m_misspelling);
            m_rules.GetSpellingErrors(record->m_word, record->m_misspelling, m_errors);
            m_csv.Field(m_errors);
            SoundsField(record->m_word, record->m_misspelling);
            EndRow();
        }
    }

    // Left empty where speech is not available, which is said once on err.
    void SoundsField(const std::string& word, const std::string& misspelling)
    {
        const CSoundComparison::Verdict verdict = m_sounds.Compare(word, misspelling);
        if (verdict == CSoundComparison::Verdict::Unavailable && !m_toldUnavailable) {
            PrintSoundsUnavailable(m_err, m_sounds);
            m_toldUnavailable = true;
        }
        m_csv.Field(CSoundComparison::Name(verdict));
    }

    void EndRow()
    {
        m_csv.EndRow();
        ++m_rows;
        if (m_csv.Text().size() >= kFlushAt)
            Flush();
    }

    bool Flush()
    {
        std::string& text = m_csv.Text();
        if (!text.empty() && std::fwrite(text.data(), 1, text.size(), m_out) != text.size())
            m_writeFailed = true;
        text.clear();
        return !m_writeFailed;
    }

    const std::string m_nativeFolder;
    const bool m_missed;
    CSoundComparison& m_sounds;
    std::FILE* const m_out;
    std::FILE* const m_err;
    CCsvWriter m_csv;
    CSpellingRules m_rules;
    std::string m_errors;
    std::int64_t m_rows = 0;
    bool m_damaged = false;
    bool m_writeFailed = false;
    bool m_toldUnavailable = false;
};
}

int ExportUserFolder(const std::string& folder, bool missed, CSoundComparison& sounds, std::FILE* out,
                     std::FILE* err, std::int64_t* rows)
{
    Exporter exporter(folder, missed, sounds, out, err);
    const int result = exporter.Run();
    if (rows)
        *rows = exporter.Rows();
    return result;
}

int RunExport(int argc, char** argv)
{
    bool missed = false;
    if (argc == 2 && std::strcmp(argv[0], "--missed") == 0) {
        missed = true;
        --argc;
        ++argv;
    }
    if (argc != 1 || argv[0][0] == '\0') {
        std::fprintf(stderr, "usage: kelto4-tool export [--missed] USERFOLDER\n");
        return 2;
    }
    CSpeechEngine engine;
    UseChosenVoice(engine);
    CSoundComparison sounds(engine);
    return ExportUserFolder(argv[0], missed, sounds, stdout, stderr);
}
