#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CPulseConnection;
struct pa_stream;

// The sound layer under the recorder: one "device" holds a sound in memory, either
// read from a WAVE file (any format libsndfile reads) or recorded from the default
// PulseAudio source. It records without blocking, plays a whole sound, and writes
// 16-bit PCM WAVE files all or nothing. Files are opened as CSafeFile does (no link of
// someone else's, no pipe or device). Failures return false and leave a text in ErrorText().
// No wait on the sound server is endless: one that stops answering makes the step
// fail with CPulseConnection::kNoAnswer.
class CWaveDevice {
public:
    CWaveDevice();
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
    // Blocks until the sound has played (at most its length and a few seconds);
    // pump is called about every 5 ms meanwhile.
    bool Play(void (*pump)());
    // replace: an existing file gets the new sound (through a link of this user's);
    // newOnly: the save fails, touching nothing, when anything is at nativePath by the
    // time the file is put in place.
    enum class SaveMode { replace, newOnly };
    bool Save(const std::string& nativePath, SaveMode mode = SaveMode::replace);
    // Replaces the held sound with interleaved 16-bit samples made elsewhere (a spoken
    // word), so it plays and saves like a recording.
    void Load(std::vector<int16_t> samples, int samplesPerSecond, int channels);

    const std::string& ErrorText() const { return m_error; }
    int Channels() const { return m_channels; }
    int SamplesPerSecond() const { return m_rate; }
    // Frames held so far; safe to ask while a recording runs.
    size_t Frames() const;

private:
    // askServer: make sure everything the server recorded has arrived (bounded).
    bool StopCapture(bool askServer);
    bool Fail(const std::string& text);
    static void OnCaptured(pa_stream* stream, size_t bytes, void* device);

    std::vector<int16_t> m_samples; // interleaved
    int m_rate = 44100;
    int m_channels = 2;
    bool m_isNew = false;
    // While recording: the connection whose event thread appends to m_samples.
    std::unique_ptr<CPulseConnection> m_pulse;
    pa_stream* m_capture = nullptr;
    mutable std::mutex m_samplesMutex;
    std::string m_error;
};
