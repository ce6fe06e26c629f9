// Analyses, letter comparisons and comparisons by sound per second over realistic misspellings, as
// the reports page runs them on every fill, and the heap allocations each analysis makes.
#include "sound/CSpeechEngine.h"
#include "spelling/CLetterComparison.h"
#include "spelling/CSoundComparison.h"
#include "spelling/CSpellingRules.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {
std::atomic<std::size_t> g_allocations{0};
}

#if defined(__GNUC__) && !defined(__clang__)
// GCC takes the free() in the replaced delete for a mismatch with new.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

// Every allocation of the process is counted; the analysis loops read the
// counter around each call.
void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Words of a primary-school spelling list, 3 to 14 letters.
constexpr std::string_view kWords[] = {
    "cat", "dog", "sun", "hat", "cake", "bike", "help", "jump", "book", "tree", "frog", "ship",
    "shop", "when", "said", "them", "from", "form", "give", "live", "have", "rich", "much",
    "such", "each", "thumb", "lamb", "climb", "comb", "knee", "knife", "knives", "knock",
    "write", "wrong", "wrist", "gnome", "sign", "phone", "graph", "night", "light", "thought",
    "bought", "caught", "laugh", "rough", "enough", "church", "watch", "catch", "match",
    "kitchen", "bridge", "badge", "hedge", "fudge", "judge", "sneeze", "freeze", "breeze",
    "prize", "size", "leaves", "wolves", "halves", "shelves", "calves", "loaves", "scarves",
    "boxes", "foxes", "dishes", "wishes", "churches", "horses", "houses", "cats", "dogs",
    "books", "friend", "friends", "believe", "piece", "field", "chief", "thief", "shield",
    "receive", "ceiling", "deceive", "receipt", "weird", "either", "neither", "seize",
    "their", "eight", "weight", "neighbour", "cities", "babies", "ladies", "berries",
    "happiness", "beautiful", "busily", "easily", "happily", "angrily", "tidiness",
    "enjoyment", "employment", "playful", "joyful", "player", "playing", "carrying",
    "hurrying", "worrying", "crying", "lying", "dying", "tying", "flying", "useful",
    "careful", "hopeful", "hopeless", "homeless", "careless", "making", "taking", "hoping",
    "hopping", "running", "sitting", "getting", "shopping", "stopped", "planned", "loving",
    "having", "writing", "driving", "smiling", "quickly", "slowly", "sadly", "kindness",
    "sadness", "darkness", "illness", "fitness", "teacher", "farmer", "painter", "doctor",
    "actor", "visitor", "sailor", "nation", "station", "action", "question", "mention",
    "education", "information", "celebration", "movement", "agreement", "argument",
    "statement", "childhood", "friendship", "membership", "freedom", "kingdom", "wisdom",
    "comfortable", "valuable", "possible", "terrible", "horrible", "sensible", "difference",
    "confidence", "silence", "patience", "emergency", "frequency", "attendance", "distance",
    "balance", "dangerous", "famous", "nervous", "jealous", "foolish", "selfish", "childish",
    "active", "creative", "expensive", "realize", "organize", "apologize", "memorize",
    "committee", "mississippi", "address", "accommodate", "necessary", "embarrass",
    "occasion", "parallel", "tomorrow", "beginning", "different", "February", "Wednesday",
    "Friday", "Monday", "England", "London", "apple", "banana", "orange", "lemon", "cherry",
    "strawberry", "street", "string", "stream", "scream", "scrape", "screen", "score",
    "scarf", "school", "splendid", "spring", "splash", "sprint", "street", "twelve", "twenty",
    "swim", "sweet", "smile", "smell", "snake", "snail", "skip", "skate", "blue", "black",
    "clock", "class", "flag", "flower", "glass", "glue", "plant", "please", "brown", "bread",
    "drum", "dream", "green", "grass", "present", "pretty", "train", "truck", "rain", "paint",
    "play", "stay", "sea", "meat", "boat", "coat", "toe", "goes", "out", "about", "cow",
    "snow", "fruit", "suit", "true", "clue", "rescue", "island", "doubt", "answer", "castle",
    "listen", "whistle", "Wednesday", "government", "environment", "temperature",
    "vegetable", "chocolate", "favourite", "interesting", "dictionary", "library",
    "February", "separate", "definitely", "restaurant", "unfortunately",
};

std::string Capitalised(std::string s)
{
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z')
        s[0] = static_cast<char>(s[0] - 'a' + 'A');
    else if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z')
        s[0] = static_cast<char>(s[0] - 'A' + 'a');
    return s;
}

bool EndsWith(std::string_view s, std::string_view end)
{
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

// The kinds of slip that learners make: a letter left out, doubled or swapped,
// ie and ei exchanged, a suffix dropped, added or exchanged, a changed capital.
std::vector<std::string> Misspellings(const std::string& w, std::mt19937& rng)
{
    std::vector<std::string> out;
    auto at = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    std::string s = w;
    s.erase(at(w.size()), 1);
    out.push_back(s);
    s = w;
    const std::size_t d = at(w.size());
    s.insert(d, 1, w[d]);
    out.push_back(s);
    s = w;
    const std::size_t x = at(w.size() - 1);
    std::swap(s[x], s[x + 1]);
    out.push_back(s);
    for (std::size_t i = 0; i + 1 < w.size(); ++i) {
        if (w[i] == w[i + 1]) {
            s = w;
            s.erase(i, 1);
            out.push_back(s);
        }
        if ((w[i] == 'i' && w[i + 1] == 'e') || (w[i] == 'e' && w[i + 1] == 'i')) {
            s = w;
            std::swap(s[i], s[i + 1]);
            out.push_back(s);
        }
    }
    static constexpr std::pair<std::string_view, std::string_view> kSuffixSlips[] = {
        {"ness", "less"}, {"less", "ness"}, {"er", "or"}, {"or", "er"}, {"tion", "sion"},
        {"ly", ""}, {"ing", "ng"}, {"ful", "full"}, {"ves", "fs"}, {"es", "s"}, {"s", ""},
        {"tch", "ch"}, {"dge", "j"}, {"ze", "z"}, {"ve", "v"}, {"able", "ible"}, {"ying", "ieing"},
        {"ence", "ance"}, {"ous", "us"}, {"ize", "ise"},
    };
    for (const auto& [from, to] : kSuffixSlips) {
        if (EndsWith(w, from)) {
            s = w.substr(0, w.size() - from.size());
            s += to;
            out.push_back(s);
        }
    }
    if (w.size() <= 8)
        out.push_back(w + "ly");
    out.push_back(w + "s");
    out.push_back(Capitalised(w));
    const std::size_t y = w.find('y');
    if (y != std::string::npos && y + 1 < w.size()) {
        s = w;
        s[y] = 'i';
        out.push_back(s);
    }
    const std::size_t e = w.rfind('e');
    if (e != std::string::npos && e + 1 < w.size()) {
        s = w;
        s.erase(e, 1);
        out.push_back(s);
    }
    return out;
}

struct PairSet {
    std::vector<std::pair<std::string, std::string>> pairs;
    PairSet()
    {
        std::mt19937 rng(1234);
        std::set<std::pair<std::string, std::string>> seen;
        for (int round = 0; round < 2; ++round) {
            for (std::string_view word : kWords) {
                const std::string w(word);
                for (std::string& m : Misspellings(w, rng))
                    if (m != w && seen.emplace(w, m).second)
                        pairs.emplace_back(w, std::move(m));
            }
        }
        std::shuffle(pairs.begin(), pairs.end(), rng);
        if (pairs.size() < 1000) {
            std::fprintf(stderr, "only %zu pairs\n", pairs.size());
            std::abort();
        }
    }
};

const PairSet& Pairs()
{
    static const PairSet set;
    return set;
}

void Report(benchmark::State& state, std::size_t allocations, std::size_t maxPerCall)
{
    state.SetItemsProcessed(state.iterations());
    state.counters["pairs"] = static_cast<double>(Pairs().pairs.size());
    state.counters["allocs_per_call"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
    state.counters["max_allocs_per_call"] = static_cast<double>(maxPerCall);
}

// Calls call(word, misspelling) over the pairs in turn and counts the heap
// allocations of each call.
template <class Call>
void CountAllocations(benchmark::State& state, Call call)
{
    const auto& pairs = Pairs().pairs;
    std::size_t i = 0, allocations = 0, maxPerCall = 0;
    for (auto _ : state) {
        const auto& [word, misspelling] = pairs[i];
        i = i + 1 == pairs.size() ? 0 : i + 1;
        const std::size_t before = g_allocations.load(std::memory_order_relaxed);
        call(word, misspelling);
        const std::size_t made = g_allocations.load(std::memory_order_relaxed) - before;
        allocations += made;
        maxPerCall = std::max(maxPerCall, made);
    }
    Report(state, allocations, maxPerCall);
}

// What the reports page calls: texts by value, the result returned.
void BM_GetSpellingErrors(benchmark::State& state)
{
    CSpellingRules rules;
    // One pass first, so that buffers have grown before anything is counted.
    for (const auto& [word, misspelling] : Pairs().pairs)
        benchmark::DoNotOptimize(rules.GetSpellingErrors(word, misspelling));
    CountAllocations(state, [&](const std::string& word, const std::string& misspelling) {
        std::string result = rules.GetSpellingErrors(word, misspelling);
        benchmark::DoNotOptimize(result.data());
    });
}
BENCHMARK(BM_GetSpellingErrors);

// The same analysis written into one reused buffer.
void BM_GetSpellingErrorsIntoBuffer(benchmark::State& state)
{
    CSpellingRules rules;
    std::string result;
    // One pass first, so that buffers have grown before anything is counted.
    for (const auto& [word, misspelling] : Pairs().pairs)
        rules.GetSpellingErrors(std::string_view(word), std::string_view(misspelling), result);
    CountAllocations(state, [&](const std::string& word, const std::string& misspelling) {
        rules.GetSpellingErrors(std::string_view(word), std::string_view(misspelling), result);
        benchmark::DoNotOptimize(result.data());
    });
}
BENCHMARK(BM_GetSpellingErrorsIntoBuffer);

// The letter comparison of the feedback panel over the same pairs: the result
// vector should be the only allocation of a call.
void BM_CompareLetters(benchmark::State& state)
{
    CountAllocations(state, [](const std::string& word, const std::string& answer) {
        std::vector<CLetterComparison::Step> steps = CLetterComparison::Compare(word, answer);
        benchmark::DoNotOptimize(steps.data());
    });
}
BENCHMARK(BM_CompareLetters);

// espeak-ng can be started only once in a process, so the benchmarks share one engine.
CSpeechEngine& Engine()
{
    static CSpeechEngine engine;
    return engine;
}

// The comparison by sound over every pair, as the progress view makes it for a learner's
// history: each pass starts with no phonemes kept, so every different word and answer goes
// through espeak-ng once (the voice of the tests, the library already started). The target
// is at least 5,000 pairs a second on one core.
void BM_CompareSoundsFresh(benchmark::State& state)
{
    CSpeechEngine& engine = Engine();
    if (!CSoundComparison(engine).IsAvailable()) {
        state.SkipWithError("speech is not available");
        return;
    }
    const auto& pairs = Pairs().pairs;
    std::size_t right = 0;
    for (auto _ : state) {
        CSoundComparison sounds(engine);
        for (const auto& [word, misspelling] : pairs)
            right += sounds.Compare(word, misspelling) == CSoundComparison::Verdict::Right;
    }
    state.SetItemsProcessed(std::int64_t(state.iterations() * pairs.size()));
    state.counters["pairs"] = static_cast<double>(pairs.size());
    state.counters["pairs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * pairs.size()), benchmark::Counter::kIsRate);
    state.counters["sound_right"] = static_cast<double>(right / state.iterations());
}
BENCHMARK(BM_CompareSoundsFresh)->Unit(benchmark::kMillisecond);

// The same pairs again once every text's phonemes are kept: a refill of the reports page.
void BM_CompareSoundsKept(benchmark::State& state)
{
    CSoundComparison sounds(Engine());
    if (!sounds.IsAvailable()) {
        state.SkipWithError("speech is not available");
        return;
    }
    const auto& pairs = Pairs().pairs;
    for (const auto& [word, misspelling] : pairs)
        sounds.Compare(word, misspelling);
    CountAllocations(state, [&](const std::string& word, const std::string& misspelling) {
        benchmark::DoNotOptimize(sounds.Compare(word, misspelling));
    });
}
BENCHMARK(BM_CompareSoundsKept);

} // namespace
