// A learner's word memory of 10,000 words: building Today's Review from it (target under
// 5 ms), and moving 20 words of a test and saving the memory atomically (under 20 ms).
#include "model/CReviewList.h"
#include "model/CWordMemoryFile.h"
#include "RecordBuilders.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace {

constexpr int kWords = 10000;
const CCalendarDay kToday = *CCalendarDay::FromIso("2026-06-01");

// Five tests of each of 10,000 words on days of the last two months: most are due today.
CWordMemory Memory()
{
    std::mt19937 rng(26);
    std::uniform_int_distribution<int> day(0, 60);
    std::bernoulli_distribution right(0.7);
    CWordMemory memory;
    for (int test = 0; test < 5; ++test)
        for (int i = 0; i < kWords; ++i)
            memory.RecordTest({{"word" + std::to_string(i), right(rng)}}, kToday.AddDays(day(rng) - 60));
    return memory;
}

// A folder on the same disk as the user folder would be, removed afterwards.
class Folder {
public:
    Folder()
        : m_path(std::filesystem::temp_directory_path() / ("kelto4-bench-review-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~Folder() { std::filesystem::remove_all(m_path); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    std::string Path() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

void BM_TodaysReview(benchmark::State& state)
{
    const CWordMemory memory = Memory();
    // Half the words have a recording in the default folder; the current list holds 20 of them.
    Folder sounds;
    for (int i = 0; i < kWords; i += 2)
        std::ofstream(sounds.File("word" + std::to_string(i) + ".wav")) << "RIFF";
    COwnedList<CSpellingList> current;
    for (int i = 0; i < 20; ++i)
        current.push_back(Entry("", "/lists/week1", "word" + std::to_string(i * 7)));
    for (auto _ : state) {
        const COwnedList<CSpellingList> list =
            CReviewList::Build(memory, kToday, current, [&sounds] { return sounds.Path(); });
        benchmark::DoNotOptimize(list.size());
    }
    state.counters["words"] = double(memory.size());
    state.counters["due"] = double(memory.DueCount(kToday));
}
BENCHMARK(BM_TodaysReview)->Unit(benchmark::kMillisecond);

void BM_RememberTestAndSave(benchmark::State& state)
{
    CWordMemory memory = Memory();
    Folder users;
    const std::string path = users.File("Ann.kt5");
    std::vector<CWordMemory::Attempt> test;
    for (int i = 0; i < 20; ++i)
        test.push_back({"word" + std::to_string(i * 499), i % 4 != 0});
    CCalendarDay day = kToday;
    for (auto _ : state) {
        // A new day each time, so every word of the test moves.
        day = day.AddDays(1);
        memory.RecordTest(test, day);
        if (!CWordMemoryFile::Write(path, memory, nullptr))
            state.SkipWithError("the memory could not be saved");
    }
    state.counters["words"] = double(memory.size());
    state.counters["file_bytes"] = double(std::filesystem::file_size(path));
}
BENCHMARK(BM_RememberTestAndSave)->Unit(benchmark::kMillisecond);

} // namespace
