#include "tool/ToolExport.h"

#include "model/CAtomicFile.h"
#include "model/CCsvWriter.h"
#include "model/CPath.h"
#include "model/CUserFolderLearners.h"
#include "model/CUserRecordFiles.h"
#include "sound/CSpeechEngine.h"
#include "spelling/CSoundComparison.h"
#include "spelling/CSpellingRules.h"
#include "tool/ToolSounds.h"

#include <cstring>
#include <span>
#include <vector>

#include <sys/stat.h>

namespace {
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
        CUserFolderLearners folder;
        std::string error;
        const bool listed = folder.ListNative(m_nativeFolder,
                                              {m_missed ? CUserRecordFiles::kMissedExtension
                                                        : CUserRecordFiles::kResultsExtension},
                                              &error);
        if (folder.GetUserFile() == CUserFolderLearners::UserFile::damaged)
            Report(folder.NativeUserFilePath(), "is damaged; the users after the damage are taken in name order");
        else if (folder.GetUserFile() == CUserFolderLearners::UserFile::unreadable)
            Report(folder.NativeUserFilePath(), "can't be read: " + CPath::ToNative(folder.UserFileError()));
        if (!listed) {
            std::fprintf(m_err, "kelto4-tool: %s: %s\n", m_nativeFolder.c_str(), CPath::ToNative(error).c_str());
            return 2;
        }
        // Learners by the file system's name of their files, so that a name Windows-1252
        // can't hold (made on another system) still finds its files.
        const std::vector<std::string>& learners = folder.NativeLearners();

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
