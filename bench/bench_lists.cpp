// Lists without typing: importing a long word list file, and making a list from a
// spelling rule (reading the word banks, then drawing the words).
#include "spelling/CWordBank.h"
#include "words/CWordImport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace {
// 100,000 lines of different words, as a long exported vocabulary would be.
std::string WriteLongList()
{
    const std::string path = "/tmp/kelto4-bench-list-" + std::to_string(::getpid()) + ".txt";
    std::ofstream out(path);
    for (int i = 0; i < 100000; ++i)
        out << "word" << i << "\n";
    return path;
}

void BM_ImportTextFile100000Lines(benchmark::State& state)
{
    const std::string path = WriteLongList();
    for (auto _ : state) {
        CWordListEditor list;
        CWordImport import;
        if (!import.Run(path, list))
            state.SkipWithError(import.Error().c_str());
        benchmark::DoNotOptimize(list.Count());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_ImportTextFile100000Lines)->Unit(benchmark::kMillisecond);

void BM_NewListFromRule(benchmark::State& state)
{
    std::mt19937 engine(1);
    for (auto _ : state) {
        CWordBank bank;
        if (!bank.Load(KELTO4_BANK_FILE, nullptr))
            state.SkipWithError("no word banks");
        const auto words = CWordBank::Choose(bank.Words(CRuleGroups::LetterGroups, 3), 40, engine);
        benchmark::DoNotOptimize(words.size());
    }
}
BENCHMARK(BM_NewListFromRule)->Unit(benchmark::kMillisecond);
}
