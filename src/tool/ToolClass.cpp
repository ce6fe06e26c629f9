#include "tool/ToolClass.h"

#include "model/CCalendarDay.h"
#include "model/CPath.h"
#include "reports/CClassStats.h"
#include "reports/CReportExport.h"
#include "sound/CSpeechEngine.h"
#include "spelling/CSoundComparison.h"
#include "tool/ToolSounds.h"

#include <cstring>
#include <ctime>
#include <optional>

int WriteClassTable(const std::string& folder, CCalendarDay today, CSoundComparison& sounds, std::FILE* out,
                    std::FILE* err)
{
    CClassStats stats;
    if (!stats.Compute(CPath::FromNative(folder), today)) {
        std::fprintf(err, "kelto4-tool: %s: %s\n", folder.c_str(), CPath::ToNative(stats.FolderError()).c_str());
        return 2;
    }
    stats.CompareSounds(sounds);
    int result = 0;
    for (const CClassStats::Problem& problem : stats.Problems()) {
        std::fprintf(err, "kelto4-tool: %s\n", CPath::ToNative(problem.text).c_str());
        result = 1;
    }
    if (stats.SoundsUnavailable()) {
        PrintSoundsUnavailable(err, sounds);
        result = 1;
    }
    const std::string text = CReportExport::FromClass(stats);
    if (std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fflush(out) != 0) {
        std::fprintf(err, "kelto4-tool: cannot write the output\n");
        return 2;
    }
    return result;
}

int RunClass(int argc, char** argv)
{
    const bool dated = argc == 3 && std::strcmp(argv[1], "--date") == 0;
    if ((argc != 1 && !dated) || argv[0][0] == '\0') {
        std::fputs("usage: kelto4-tool class USERFOLDER [--date YYYY-MM-DD]\n", stderr);
        return 2;
    }
    const std::optional<CCalendarDay> today =
        dated ? CCalendarDay::FromIso(argv[2]) : CCalendarDay::FromTime(std::time(nullptr));
    if (!today) {
        std::fprintf(stderr, "kelto4-tool: not a date of the form YYYY-MM-DD: %s\n", argv[2]);
        return 2;
    }
    CSpeechEngine engine;
    UseChosenVoice(engine);
    CSoundComparison sounds(engine);
    return WriteClassTable(argv[0], *today, sounds, stdout, stderr);
}
