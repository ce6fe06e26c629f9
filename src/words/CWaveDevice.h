#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct pa_simple;

// The sound layer under the recorder: one "device" holds a sound in memory, either
// read from a WAVE file (any format libsndfile reads) or recorded from the default
// PulseAudio source. It records without blocking, plays a whole sound, and writes
// 16-bit PCM WAVE files. Failures return false and leave a text in ErrorText().
class CWaveDevice {
public:
    CWaveDevice() = default;
    ~CWaveDevice();
    CWaveDevice(const CWaveDevice&) = delete;
    CWaveDevice& operator=(const CWaveDevice&) = delete;

    // nativePath empty: a new, empty element for recording.
    bool Open(const std::string& nativePath);
    bool SetFormat(int samplesPerSecond, int channels, int bitsPerSample);
    bool Record();
    bool Stop();
    bool Pause();
    bool Delete();
    // Blocks until the sound has played; pump is called about every 10 ms meanwhile.
    bool Play(void (*pump)());
    bool Save(const std::string& nativePath);
    // Replaces the held sound with interleaved 16-bit samples made elsewhere (a spoken
    // word), so it plays and saves like a recording.
    void Load(std::vector<int16_t> samples, int samplesPerSecond, int channels);

    const std::string& ErrorText() const { return m_error; }
    int Channels() const { return m_channels; }
    int SamplesPerSecond() const { return m_rate; }
    // Frames held so far; safe to ask while a recording runs.
    size_t Frames() const;

private:
    void StopCapture();
    void CaptureLoop();
    bool Fail(const std::string& text);

    std::vector<int16_t> m_samples; // interleaved
    int m_rate = 44100;
    int m_channels = 2;
    bool m_isNew = false;
    pa_simple* m_capture = nullptr;
    std::thread m_captureThread;
    std::atomic<bool> m_stopCapture{false};
    mutable std::mutex m_samplesMutex;
    std::string m_error;
};
