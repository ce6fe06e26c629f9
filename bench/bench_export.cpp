// `kelto4-tool export --missed` on a user folder of 30 learners with 10,000 misspelled-word
// records each: reading the files, the analysis and the comparison by sound of every record and
// the CSV, in rows per second.
#include "model/CUserRecordFiles.h"
#include "RecordBuilders.h"
#include "TempFolder.h"
#include "sound/CSpeechEngine.h"
#include "spelling/CSoundComparison.h"
#include "tool/ToolExport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {
class ClassFolder {
public:
    ClassFolder(int learners, int records)
    {
        static const char* const pairs[][2] = {
            {"friend", "freind"},   {"receive", "recieve"}, {"happiness", "happyness"}, {"church", "curch"},
            {"quickly", "quick"},   {"twelve", "tweleve"},  {"horses", "horss"},        {"watch", "wach"},
            {"bridge", "brij"},     {"sneeze", "sneez"},    {"Friday", "friday"},       {"street", "set"},
            {"making", "makeing"},  {"leaves", "leafs"},    {"cat", "kat"},             {"cake", "cak"}};
        for (int l = 0; l < learners; ++l) {
            COwnedList<CGrade> grades;
            COwnedList<CMissed> missed;
            for (int i = 0; i < records; ++i) {
                const auto& pair = pairs[(i + l) % 16];
                missed.push_back(Missed("week" + std::to_string(i % 30), "12/06/26, 06:02 PM", pair[0],
                                        pair[1] + std::to_string(i % 100)));
            }
            CUserRecordFiles::Save(Path(), "learner" + std::to_string(l), grades, missed, nullptr);
        }
    }
    const std::string& Path() const { return m_folder.Path(); }

private:
    TempFolder m_folder;
};
}

static void BM_ExportMissed(benchmark::State& state)
{
    const ClassFolder folder(int(state.range(0)), int(state.range(1)));
    std::FILE* out = std::fopen("/dev/null", "w");
    std::int64_t rows = 0;
    // espeak-ng can be started only once in a process.
    static CSpeechEngine engine;
    for (auto _ : state) {
        // Each run of the tool starts with no phonemes kept.
        CSoundComparison sounds(engine);
        std::int64_t written = 0;
        if (ExportUserFolder(folder.Path(), true, sounds, out, stderr, &written) != 0)
            state.SkipWithError("the export failed");
        rows += written;
    }
    std::fclose(out);
    state.SetItemsProcessed(rows);
    state.counters["rows/s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ExportMissed)->Args({30, 10000})->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
