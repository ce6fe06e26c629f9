// How soon sound starts: from Play being called to the first frame reaching the
// sink, and from Record returning to the first captured frame. Run against the
// private test server (scripts/bench-sound starts one): its null sink "speakers"
// is watched through its monitor source; its pipe source, fed with a tone in 10 ms
// blocks as time passes, stands in for the microphone.
#include "SinkWatcher.h"
#include "sound/CWaveDevice.h"

#include <benchmark/benchmark.h>
#include <pulse/simple.h>
#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kRate = 44100;
constexpr int kTries = 50;

void Summarise(benchmark::State& state, const std::vector<double>& ms)
{
    if (ms.empty())
        return;
    state.counters["median_ms"] = SinkWatcher::Median(ms);
    state.counters["worst_ms"] = *std::max_element(ms.begin(), ms.end());
    state.SetItemsProcessed(int64_t(ms.size()));
}

// A 150 ms stereo tone that starts at full strength on its first frame.
std::string WriteTone()
{
    const std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/kelto4-bench-tone.wav";
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    std::vector<short> frames(size_t(kRate) * 150 / 1000 * 2);
    for (size_t i = 0; i < frames.size() / 2; ++i)
        frames[2 * i] = frames[2 * i + 1] = short(i % 100 < 50 ? 12000 : -12000);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return {};
    sf_writef_short(file, frames.data(), sf_count_t(frames.size() / 2));
    sf_close(file);
    return path;
}


void BM_PlayToFirstFrameAtSink(benchmark::State& state)
{
    const std::string tone = WriteTone();
    SinkWatcher watcher;
    if (tone.empty() || !watcher.Start()) {
        state.SkipWithError("no PulseAudio server or no writable temporary folder");
        return;
    }
    // One untimed play first: an idle null sink sleeps through a block of up to 2 s
    // before it takes up the low latency the watcher asks for.
    {
        CWaveDevice device;
        Clock::time_point ignored;
        watcher.Arm();
        if (device.Open(tone) && device.Play(nullptr))
            watcher.WaitHeard(&ignored, std::chrono::seconds(3));
    }
    std::vector<double> ms;
    for (auto _ : state) {
        CWaveDevice device;
        if (!device.Open(tone)) {
            state.SkipWithError(device.ErrorText().c_str());
            break;
        }
        const auto play = [&](std::string& why) {
            if (device.Play(nullptr))
                return true;
            why = device.ErrorText();
            return false;
        };
        if (!watcher.TimeUntilHeard(state, play, ms))
            break;
    }
    Summarise(state, ms);
}

void BM_RecordToFirstCapturedFrame(benchmark::State& state)
{
    std::vector<double> ms;
    for (auto _ : state) {
        CWaveDevice device;
        device.Open("");
        device.SetFormat(kRate, 2, 16);
        if (!device.Record()) {
            state.SkipWithError(device.ErrorText().c_str());
            break;
        }
        const auto returned = Clock::now();
        const auto limit = returned + std::chrono::seconds(2);
        while (device.Frames() == 0 && Clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        const auto captured = Clock::now();
        device.Stop();
        if (device.Frames() == 0) {
            state.SkipWithError("nothing was captured");
            break;
        }
        ms.push_back(SinkWatcher::Ms(captured - returned));
        state.SetIterationTime(ms.back() / 1000);
    }
    Summarise(state, ms);
}
}

BENCHMARK(BM_PlayToFirstFrameAtSink)->Iterations(kTries)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordToFirstCapturedFrame)->Iterations(kTries)->UseManualTime()->Unit(benchmark::kMillisecond);
