#pragma once
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

// Listens to the test server's speakers through their monitor and counts the loud
// 10 ms blocks that arrive: proof that a sound reached the sink.
class SinkMonitor {
public:
    SinkMonitor()
    {
        const pa_sample_spec format{PA_SAMPLE_S16LE, 44100, 2};
        pa_buffer_attr attr{};
        attr.maxlength = uint32_t(-1);
        attr.fragsize = 441 * 4;
        m_stream = pa_simple_new(nullptr, "Kelto4 test", PA_STREAM_RECORD, "@DEFAULT_MONITOR@", "Watch", &format,
                                 nullptr, &attr, nullptr);
        if (m_stream)
            m_thread = std::thread([this] {
                std::vector<short> block(441 * 2);
                while (!m_quit && pa_simple_read(m_stream, block.data(), block.size() * sizeof(short), nullptr) >= 0)
                    if (std::any_of(block.begin(), block.end(), [](short v) { return std::abs(v) > 1000; }))
                        ++m_loud;
            });
    }
    ~SinkMonitor()
    {
        m_quit = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_stream)
            pa_simple_free(m_stream);
    }
    bool Running() const { return m_stream != nullptr; }
    // Loud blocks heard since the last call: waits up to a second for the first one
    // (the sink's latency), then until the sound has been quiet for 200 ms.
    int TakeLoud()
    {
        for (int i = 0; i < 100 && m_loud == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        for (int last = -1, i = 0; i < 300 && last != m_loud; ++i) {
            last = m_loud;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        return m_loud.exchange(0);
    }

private:
    pa_simple* m_stream = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_quit{false};
    std::atomic<int> m_loud{0};
};

