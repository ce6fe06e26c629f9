#pragma once
// Watches the default sink's monitor for the first sound after being armed: the
// benchmarks' stand-in for an ear at the speakers.
#include <benchmark/benchmark.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

// Reads the sink's monitor in 1 ms fragments and notes when sound first arrives
// after being armed. The reading is an upper bound: it includes the monitor's own
// fragment and the wake-up of this thread.
class SinkWatcher {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kRate = 44100;

    static double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }
    static double Median(std::vector<double> ms)
    {
        std::sort(ms.begin(), ms.end());
        const size_t n = ms.size();
        return n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    }

    bool Start()
    {
        const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 2};
        pa_buffer_attr attr{};
        attr.maxlength = uint32_t(-1);
        attr.fragsize = kRate / 1000 * 4;
        int error = 0;
        m_stream = pa_simple_new(nullptr, "Kelto4 bench", PA_STREAM_RECORD, "@DEFAULT_MONITOR@", "Watch", &format,
                                 nullptr, &attr, &error);
        if (!m_stream)
            return false;
        m_thread = std::thread([this] { Loop(); });
        return true;
    }
    ~SinkWatcher()
    {
        m_quit = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_stream)
            pa_simple_free(m_stream);
    }
    void Arm()
    {
        m_heard = false;
        m_armed = true;
    }
    bool WaitHeard(Clock::time_point* at, std::chrono::milliseconds limit)
    {
        const auto end = Clock::now() + limit;
        while (!m_heard && Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        m_armed = false;
        if (!m_heard)
            return false;
        *at = Clock::time_point(Clock::duration(m_heardAt.load()));
        return true;
    }
    // One timed try: waits for quiet, calls start, which begins a sound or returns false
    // with why filled in, and adds the milliseconds from the call until the sink hears
    // the sound to ms. False, with the benchmark stopped, when the try fails.
    template <class Start>
    bool TimeUntilHeard(benchmark::State& state, Start start, std::vector<double>& ms)
    {
        WaitSilence(std::chrono::milliseconds(100));
        Arm();
        const auto called = Clock::now();
        std::string why;
        if (!start(why)) {
            state.SkipWithError(why.c_str());
            return false;
        }
        Clock::time_point heard;
        if (!WaitHeard(&heard, std::chrono::seconds(2))) {
            state.SkipWithError("nothing reached the sink");
            return false;
        }
        ms.push_back(Ms(heard - called));
        state.SetIterationTime(ms.back() / 1000);
        return true;
    }
    // Waits until the monitor has been silent for a while, so the next try starts clean.
    void WaitSilence(std::chrono::milliseconds quiet)
    {
        const auto limit = Clock::now() + std::chrono::seconds(3);
        while (Clock::now() - Clock::time_point(Clock::duration(m_lastSound.load())) < quiet && Clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

private:
    void Loop()
    {
        std::vector<short> block(size_t(kRate / 1000) * 2);
        while (!m_quit) {
            int error = 0;
            if (pa_simple_read(m_stream, block.data(), block.size() * sizeof(short), &error) < 0)
                return;
            const auto now = Clock::now();
            const bool sound = std::any_of(block.begin(), block.end(), [](short s) { return std::abs(s) > 1000; });
            if (!sound)
                continue;
            m_lastSound = now.time_since_epoch().count();
            if (m_armed && !m_heard) {
                m_heardAt = now.time_since_epoch().count();
                m_heard = true;
            }
        }
    }

    pa_simple* m_stream = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_quit{false};
    std::atomic<bool> m_armed{false};
    std::atomic<bool> m_heard{false};
    std::atomic<Clock::rep> m_heardAt{0};
    std::atomic<Clock::rep> m_lastSound{0};
};
