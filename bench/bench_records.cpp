// Writing and reading a misspelled-words file of 1,000,000 records.
#include "model/CArchive.h"
#include "model/CMissed.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

namespace {
std::atomic<size_t> g_allocated{0};

COwnedList<CMissed> makeRecords(size_t n, size_t* textBytes)
{
    static const char* const words[] = {"friend", "receive", "beautiful", "necessary", "because", "which", "tomorrow"};
    COwnedList<CMissed> list;
    size_t text = 0;
    for (size_t i = 0; i < n; ++i) {
        auto m = std::make_unique<CMissed>();
        m->m_listName = "week" + std::to_string(i % 40);
        m->m_date = "12/06/26, 06:02 PM";
        m->m_word = words[i % 7];
        m->m_misspelling = m->m_word.substr(1);
        text += m->m_listName.size() + m->m_date.size() + m->m_word.size() + m->m_misspelling.size();
        list.push_back(std::move(m));
    }
    *textBytes = text;
    return list;
}

constexpr size_t kRecords = 1000000;
}

void* operator new(size_t size)
{
    g_allocated += size;
    if (void* p = std::malloc(size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

static void BM_WriteMissedFile(benchmark::State& state)
{
    size_t text = 0;
    const COwnedList<CMissed> list = makeRecords(kRecords, &text);
    size_t bytes = 0;
    for (auto _ : state) {
        std::string out;
        CArchive ar(CArchive::store, out);
        StoreObjectList(ar, list);
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations() * bytes));
    state.counters["file_bytes"] = double(bytes);
}
BENCHMARK(BM_WriteMissedFile)->Unit(benchmark::kMillisecond);

static void BM_ReadMissedFile(benchmark::State& state)
{
    size_t text = 0;
    std::string file;
    {
        const COwnedList<CMissed> list = makeRecords(kRecords, &text);
        CArchive ar(CArchive::store, file);
        StoreObjectList(ar, list);
    }
    double perRecord = 0;
    for (auto _ : state) {
        const size_t before = g_allocated;
        COwnedList<CMissed> read;
        CArchive ar(CArchive::load, std::string_view(file));
        LoadObjectList(ar, read);
        perRecord = double(g_allocated - before) / double(read.size());
        benchmark::DoNotOptimize(read.size());
    }
    state.SetBytesProcessed(int64_t(state.iterations() * file.size()));
    state.counters["bytes_allocated_per_record"] = perRecord;
    state.counters["text_bytes_per_record"] = double(text) / double(kRecords);
}
BENCHMARK(BM_ReadMissedFile)->Unit(benchmark::kMillisecond);
