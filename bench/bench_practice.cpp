// Building the practice list from a long history of misspelled words.
#include "RecordBuilders.h"
#include "reports/CPracticeList.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

// 100,000 records over 2,000 words, a few missed far more often than the rest.
COwnedList<CMissed> History()
{
    std::mt19937 rng(16);
    std::geometric_distribution<int> word(0.002);
    COwnedList<CMissed> missed;
    for (int i = 0; i < 100000; ++i) {
        const std::string w = "word" + std::to_string(word(rng) % 2000);
        missed.push_back(Missed("week " + std::to_string(i / 200), "12/06/26, 06:02 PM", w, w + "e"));
    }
    return missed;
}

void BM_BuildPracticeList(benchmark::State& state)
{
    const COwnedList<CMissed> missed = History();
    COwnedList<CSpellingList> current;
    for (int i = 0; i < 20; ++i) {
        current.push_back(Entry("", "/lists/week1", "word" + std::to_string(i * 3)));
    }
    for (auto _ : state) {
        COwnedList<CSpellingList> list =
            CPracticeList::Build(missed, current, [] { return std::string("/nonexistent/Words"); });
        benchmark::DoNotOptimize(list.size());
    }
    state.counters["records"] = static_cast<double>(missed.size());
}
BENCHMARK(BM_BuildPracticeList)->Unit(benchmark::kMillisecond);

} // namespace
