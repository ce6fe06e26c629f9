// The class view on a user folder of 30 learners with 200 results, 2,000 misspelled words and a
// word memory of 400 words each: reading the files and working out every figure (the grid
// included), then the comparison by sound of the class's different misspellings, with no
// phonemes kept (the first showing) and with the phonemes of the last showing kept.
#include "model/CUserRecordFiles.h"
#include "model/CWordMemoryFile.h"
#include "RecordBuilders.h"
#include "TempFolder.h"
#include "reports/CClassStats.h"
#include "sound/CSpeechEngine.h"
#include "spelling/CSoundComparison.h"
#ifdef KELTO4_BENCH_GUI
#include "platform/CControlIds.h"
#include "reports/CClassView.h"

#include <QApplication>
#include <QTabWidget>
#endif

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {
const CCalendarDay kToday = *CCalendarDay::FromIso("2026-12-10");

// The words of the word banks, every so many, so that they are real English words of all lengths.
std::vector<std::string> WordPool(std::size_t size)
{
    std::vector<std::string> all;
    std::ifstream banks(KELTO4_BANK_FILE);
    for (std::string line; std::getline(banks, line);)
        all.push_back(line.substr(line.rfind('\t') + 1));
    std::vector<std::string> pool;
    for (std::size_t i = 0; i < size && !all.empty(); ++i)
        pool.push_back(all[i * all.size() / size]);
    return pool;
}

// A misspelling as children make them: a letter left out, doubled, swapped with the next,
// or a vowel changed.
std::string Misspell(const std::string& word, std::mt19937& random)
{
    std::string w = word;
    const std::size_t at = random() % w.size();
    switch (random() % 4) {
    case 0: w.erase(at, 1); break;
    case 1: w.insert(at, 1, w[at]); break;
    case 2:
        if (at + 1 < w.size())
            std::swap(w[at], w[at + 1]);
        else
            w.push_back('e');
        break;
    default: w[at] = "aeiou"[random() % 5]; break;
    }
    return w == word ? w + "e" : w;
}

class ClassFolder {
public:
    ClassFolder(int learners, int results, int missedPerLearner)
    {
        const std::vector<std::string> pool = WordPool(500);
        std::mt19937 random(29);
        for (int l = 0; l < learners; ++l) {
            COwnedList<CGrade> grades;
            COwnedList<CMissed> missed;
            std::vector<std::string> stamps;
            for (int i = 0; i < results; ++i) {
                // A test a day, the newest yesterday.
                const CCalendarDay day = kToday.AddDays(-1 - i);
                char stamp[40];
                std::snprintf(stamp, sizeof stamp, "%02d/%02d/%02d, %02d:%02d AM", day.Month(), day.Day(), day.Year() % 100,
                              9, l % 60);
                stamps.push_back(stamp);
                grades.push_back(Grade("week" + std::to_string(i % 30), stamp, int(random() % 21), 20));
            }
            for (int i = 0; i < missedPerLearner; ++i) {
                const std::string& word = pool[random() % pool.size()];
                missed.push_back(Missed("week", stamps[std::size_t(i) * stamps.size() / std::size_t(missedPerLearner)],
                                        word, Misspell(word, random)));
            }
            const std::string name = "learner" + std::to_string(l);
            CUserRecordFiles::Save(Path(), name, grades, missed, nullptr);
            CWordMemory memory;
            for (std::size_t w = 0; w < 400; ++w) {
                const int box = 1 + int(random() % 5);
                const uint32_t asked = uint32_t(random() % 10);
                memory.Add({pool[w], box, box, kToday.AddDays(int(random() % 9) - 4), asked, asked / 2, kToday});
            }
            CWordMemoryFile::Write(CWordMemoryFile::Path(Path(), name), memory, nullptr);
        }
    }
    const std::string& Path() const { return m_folder.Path(); }

private:
    TempFolder m_folder;
};

const ClassFolder& TheFolder()
{
    static const ClassFolder folder(30, 200, 2000);
    return folder;
}

// espeak-ng can be started only once in a process.
CSpeechEngine& Engine()
{
    static CSpeechEngine engine;
    return engine;
}
}

static void BM_ClassFigures(benchmark::State& state)
{
    const ClassFolder& folder = TheFolder();
    std::size_t pairs = 0;
    for (auto _ : state) {
        CClassStats stats;
        if (!stats.Compute(folder.Path(), kToday) || stats.Learners().size() != 30)
            state.SkipWithError("the figures failed");
        benchmark::DoNotOptimize(stats.Groups().data());
        pairs = 0;
        for (const CClassStats::Learner& learner : stats.Learners())
            pairs += std::size_t(learner.misspellings);
    }
    state.counters["misspellings"] = double(pairs);
}
BENCHMARK(BM_ClassFigures)->Unit(benchmark::kMillisecond)->Iterations(5);

// Every different misspelling of the class compared by sound; warm keeps the phonemes of the run
// before, as the document's comparison keeps them from one showing of the class view to the next.
static void BM_ClassSounds(benchmark::State& state)
{
    const bool warm = state.range(0) != 0;
    CClassStats stats;
    stats.Compute(TheFolder().Path(), kToday);
    CSoundComparison kept(Engine());
    if (warm)
        stats.CompareSounds(kept);
    for (auto _ : state) {
        state.PauseTiming();
        stats.Compute(TheFolder().Path(), kToday);
        CSoundComparison fresh(Engine());
        state.ResumeTiming();
        stats.CompareSounds(warm ? kept : fresh);
        if (stats.SoundsUnavailable())
            state.SkipWithError("speech is not available");
    }
    state.counters["different"] = double(stats.DifferentMisspellings());
}
BENCHMARK(BM_ClassSounds)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

#ifdef KELTO4_BENCH_GUI
// What the teacher waits for before the table is there: the figures, the four tables filled
// (the grid included) and the first paint. The sounds column follows in steps after it.
static void BM_ClassView(benchmark::State& state)
{
    const ClassFolder& folder = TheFolder();
    CClassView view;
    view.resize(1200, 800);
    view.show();
    // The grid's tab in front: the most cells to paint.
    FindControl<QTabWidget>(&view, CClassView::IDC_SECTIONS)->setCurrentIndex(1);
    for (auto _ : state) {
        CClassStats stats;
        stats.Compute(folder.Path(), kToday);
        view.ShowStats(std::move(stats));
        view.repaint();
        QApplication::processEvents();
        state.PauseTiming();
        view.ShowStats(CClassStats());
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ClassView)->Unit(benchmark::kMillisecond)->Iterations(5);
#endif
