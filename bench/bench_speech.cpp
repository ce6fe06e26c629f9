// Spoken words: how soon Listen on a word without a recording is heard, how many
// spoken sound files a second Speak Missing Sounds writes, and that start-up to the
// main window is not slowed. Run against the private test server (scripts/bench-speech
// starts one); its null sink "speakers" is watched through its monitor source. The
// start-up runs need an X display; KELTO4_STARTUP_BASELINE may name the program of a
// build that never speaks, timed alongside for comparison.
#include "SinkWatcher.h"
#include "sound/CSoundRecorder.h"
#include "sound/CSpeaker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <X11/Xlib.h>
#include <pulse/simple.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kRate = 44100;
constexpr int kTries = 50;


// n distinct made-up words of two or three syllables.
std::vector<std::string> Words(size_t n)
{
    const char* const onsets[] = {"b", "c", "d", "f", "g", "h", "l", "m", "n", "p", "r", "s", "t", "v", "w", "sh", "tr", "bl"};
    const char* const vowels[] = {"a", "e", "i", "o", "u", "ee", "oa"};
    std::vector<std::string> syllables;
    for (const char* o : onsets)
        for (const char* v : vowels)
            syllables.push_back(std::string(o) + v);
    std::vector<std::string> words;
    for (size_t i = 0; words.size() < n; ++i)
        words.push_back(syllables[i % syllables.size()] + syllables[(i / syllables.size() + 3 * i) % syllables.size()]
                        + (i % 3 == 0 ? "n" : "t"));
    return words;
}


void BM_ListenToFirstFrameAtSink(benchmark::State& state)
{
    SinkWatcher watcher;
    if (!watcher.Start()) {
        state.SkipWithError("no PulseAudio server");
        return;
    }
    CSoundRecorder recorder;
    CSpeaker speaker(recorder);
    speaker.Configure("en-us", CSpeechEngine::kDefaultRate);
    const std::string missing = QDir::tempPath().toStdString() + "/kelto4-bench-no-such-folder";
    const std::vector<std::string> words = Words(kTries + 1);
    // The first word starts the speech engine (its one-off cost is reported apart); the
    // first Listen wakes the idle null sink, which sleeps through a block of up to 2 s first.
    {
        std::vector<int16_t> samples;
        const auto started = Clock::now();
        speaker.Engine().Synthesize(words[0], samples);
        state.counters["engine_start_ms"] = SinkWatcher::Ms(Clock::now() - started);
    }
    {
        Clock::time_point heard;
        watcher.Arm();
        const auto called = Clock::now();
        if (!speaker.Listen(missing, words[0], true) || !watcher.WaitHeard(&heard, std::chrono::seconds(3))) {
            state.SkipWithError("the first word was not heard");
            return;
        }
        state.counters["wake_sink_ms"] = SinkWatcher::Ms(heard - called);
    }
    std::vector<double> ms;
    size_t next = 1;
    for (auto _ : state) {
        const auto listen = [&](std::string& why) {
            why = "Listen failed";
            return speaker.Listen(missing, words[next++ % words.size()], true);
        };
        if (!watcher.TimeUntilHeard(state, listen, ms))
            break;
    }
    if (ms.empty())
        return;
    state.counters["median_ms"] = SinkWatcher::Median(ms);
    state.counters["worst_ms"] = *std::max_element(ms.begin(), ms.end());
}

void BM_SpokenSoundFilesPerSecond(benchmark::State& state)
{
    const std::vector<std::string> words = Words(1000);
    CSoundRecorder recorder;
    CSpeaker speaker(recorder);
    speaker.Configure("en-us", CSpeechEngine::kDefaultRate);
    std::vector<int16_t> warm;
    speaker.Engine().Synthesize("start", warm);
    for (auto _ : state) {
        state.PauseTiming();
        auto dir = std::make_unique<QTemporaryDir>();
        state.ResumeTiming();
        const CSpeaker::MissingSounds result = speaker.WriteMissingSounds(dir->path().toStdString(), words);
        if (result.written != int(words.size())) {
            state.SkipWithError(("only " + std::to_string(result.written) + " written: " + result.firstError).c_str());
            break;
        }
        state.PauseTiming(); // removing the files is not part of the work
        dir.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(words.size()));
}

// Starts program and times it to the mapping of its first window: the main window, as
// the home it is given logs a user in automatically. -1 when no window appeared.
double TimeStartUp(Display* display, const std::string& program, const std::string& homeVar)
{
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);
    const auto started = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        putenv(const_cast<char*>(homeVar.c_str()));
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    bool mapped = false;
    while (!mapped && Clock::now() - started < std::chrono::seconds(20)) {
        if (!XPending(display)) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        mapped = event.type == MapNotify;
    }
    const auto shown = Clock::now();
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return mapped ? SinkWatcher::Ms(shown - started) : -1;
}

// The program's start-up; with KELTO4_STARTUP_BASELINE set, that program is started
// after each run of this one, so both see the same machine, and the ratio is reported.
void BM_StartUpToMainWindow(benchmark::State& state)
{
    const std::string program = KELTO4_PROGRAM;
    const char* baselineVar = std::getenv("KELTO4_STARTUP_BASELINE");
    const std::string baseline = baselineVar ? baselineVar : "";
    Display* display = XOpenDisplay(nullptr);
    if (!display || program.empty() || access(program.c_str(), X_OK) != 0) {
        state.SkipWithError("no X display, or the program was not built");
        if (display)
            XCloseDisplay(display);
        return;
    }
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral(".config/Tarvel"));
    QFile settings(home.filePath(QStringLiteral(".config/Tarvel/Kelto4.conf")));
    if (!settings.open(QIODevice::WriteOnly) || settings.write("[Settings]\nAuto=Ann\n") < 0) {
        state.SkipWithError("no temporary home");
        XCloseDisplay(display);
        return;
    }
    settings.close();
    const std::string homeVar = "HOME=" + home.path().toStdString();
    std::vector<double> ms;
    std::vector<double> baselineMs;
    for (auto _ : state) {
        const double t = TimeStartUp(display, program, homeVar);
        const double b = baseline.empty() ? 0 : TimeStartUp(display, baseline, homeVar);
        if (t < 0 || b < 0) {
            state.SkipWithError("a main window never appeared");
            break;
        }
        ms.push_back(t);
        if (!baseline.empty())
            baselineMs.push_back(b);
        state.SetIterationTime(t / 1000);
    }
    XCloseDisplay(display);
    if (!ms.empty())
        state.counters["median_ms"] = SinkWatcher::Median(ms);
    if (!baselineMs.empty()) {
        state.counters["never_speaks_median_ms"] = SinkWatcher::Median(baselineMs);
        state.counters["ratio"] = SinkWatcher::Median(ms) / SinkWatcher::Median(baselineMs);
    }
}
}

BENCHMARK(BM_ListenToFirstFrameAtSink)->Iterations(kTries)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpokenSoundFilesPerSecond)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpToMainWindow)->Iterations(25)->UseManualTime()->Unit(benchmark::kMillisecond);
