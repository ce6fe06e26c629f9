#include "words/CWaveDevice.h"

#include <pulse/error.h>
#include <pulse/simple.h>
#include <sndfile.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {
const char* const kAppName = "Kelto4";

std::string paText(int error)
{
    return std::string(pa_strerror(error)) + ".";
}
}

CWaveDevice::~CWaveDevice()
{
    StopCapture();
}

bool CWaveDevice::Fail(const std::string& text)
{
    m_error = text;
    return false;
}

size_t CWaveDevice::Frames() const
{
    std::lock_guard<std::mutex> lock(m_samplesMutex);
    return m_channels > 0 ? m_samples.size() / size_t(m_channels) : 0;
}

bool CWaveDevice::Open(const std::string& nativePath)
{
    m_samples.clear();
    if (nativePath.empty()) {
        m_isNew = true;
        return true;
    }
    m_isNew = false;
    SF_INFO info{};
    SNDFILE* file = sf_open(nativePath.c_str(), SFM_READ, &info);
    if (!file)
        return Fail(std::string(sf_strerror(nullptr)) + ".");
    if (info.channels < 1 || info.samplerate < 1 || info.frames < 0) {
        sf_close(file);
        return Fail("The file is not a sound file.");
    }
    m_channels = info.channels;
    m_rate = info.samplerate;
    std::vector<int16_t> block(4096 * size_t(m_channels));
    sf_count_t got;
    while ((got = sf_readf_short(file, block.data(), 4096)) > 0)
        m_samples.insert(m_samples.end(), block.begin(), block.begin() + got * m_channels);
    sf_close(file);
    return true;
}

void CWaveDevice::Load(std::vector<int16_t> samples, int samplesPerSecond, int channels)
{
    StopCapture();
    std::lock_guard<std::mutex> lock(m_samplesMutex);
    m_samples = std::move(samples);
    m_rate = samplesPerSecond;
    m_channels = channels;
    m_isNew = false;
}

bool CWaveDevice::SetFormat(int samplesPerSecond, int channels, int bitsPerSample)
{
    if (!m_isNew || bitsPerSample != 16 || channels < 1 || samplesPerSecond < 1)
        return Fail("The format can only be set on a new 16-bit recording.");
    m_rate = samplesPerSecond;
    m_channels = channels;
    return true;
}

bool CWaveDevice::Record()
{
    if (m_capture)
        return true;
    pa_sample_spec format{PA_SAMPLE_S16LE, uint32_t(m_rate), uint8_t(m_channels)};
    // Small fragments: a word said right after Record returns must not be lost.
    pa_buffer_attr attr{};
    attr.maxlength = uint32_t(-1);
    attr.fragsize = uint32_t(m_rate / 100 * m_channels * 2);
    int error = 0;
    m_capture = pa_simple_new(nullptr, kAppName, PA_STREAM_RECORD, nullptr, "Recording", &format, nullptr, &attr, &error);
    if (!m_capture)
        return Fail(paText(error));
    m_stopCapture = false;
    m_captureThread = std::thread(&CWaveDevice::CaptureLoop, this);
    return true;
}

void CWaveDevice::CaptureLoop()
{
    std::vector<int16_t> block(size_t(m_rate / 100) * size_t(m_channels));
    while (!m_stopCapture) {
        int error = 0;
        if (pa_simple_read(m_capture, block.data(), block.size() * sizeof(int16_t), &error) < 0)
            break;
        std::lock_guard<std::mutex> lock(m_samplesMutex);
        m_samples.insert(m_samples.end(), block.begin(), block.end());
    }
}

void CWaveDevice::StopCapture()
{
    if (!m_capture)
        return;
    m_stopCapture = true;
    if (m_captureThread.joinable())
        m_captureThread.join();
    pa_simple_free(m_capture);
    m_capture = nullptr;
}

bool CWaveDevice::Stop()
{
    StopCapture();
    return true;
}

bool CWaveDevice::Pause()
{
    StopCapture();
    return true;
}

bool CWaveDevice::Delete()
{
    StopCapture();
    m_samples.clear();
    return true;
}

bool CWaveDevice::Play(void (*pump)())
{
    StopCapture();
    pa_sample_spec format{PA_SAMPLE_S16LE, uint32_t(m_rate), uint8_t(m_channels)};
    int error = 0;
    // A short buffer: Play returns soon after the sound ends, not after the server's default 2 s.
    pa_buffer_attr attr{};
    attr.maxlength = uint32_t(-1);
    attr.tlength = uint32_t(m_rate / 20 * m_channels * 2);
    attr.prebuf = uint32_t(-1);
    attr.minreq = uint32_t(-1);
    attr.fragsize = uint32_t(-1);
    pa_simple* playback = pa_simple_new(nullptr, kAppName, PA_STREAM_PLAYBACK, nullptr, "Word", &format, nullptr, &attr, &error);
    if (!playback)
        return Fail(paText(error));
    std::atomic<bool> done{false};
    int playError = 0;
    std::thread player([&] {
        int e = 0;
        if (!m_samples.empty() && pa_simple_write(playback, m_samples.data(), m_samples.size() * sizeof(int16_t), &e) < 0)
            playError = e;
        else if (pa_simple_drain(playback, &e) < 0)
            playError = e;
        done = true;
    });
    // The windows keep painting while the word plays; user input waits.
    while (!done) {
        if (pump)
            pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    player.join();
    pa_simple_free(playback);
    if (playError)
        return Fail(paText(playError));
    return true;
}

// Written beside the target and renamed over it, so no half-written sound is left.
bool CWaveDevice::Save(const std::string& nativePath)
{
    if (nativePath.empty())
        return Fail("No file name was given.");
    std::vector<int16_t> samples;
    {
        std::lock_guard<std::mutex> lock(m_samplesMutex);
        samples = m_samples;
    }
    const std::string temp = nativePath + ".part" + std::to_string(getpid());
    SF_INFO info{};
    info.samplerate = m_rate;
    info.channels = m_channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(temp.c_str(), SFM_WRITE, &info);
    if (!file)
        return Fail(std::string(sf_strerror(nullptr)) + ".");
    const sf_count_t frames = sf_count_t(samples.size() / size_t(m_channels));
    const bool written = sf_writef_short(file, samples.data(), frames) == frames;
    const std::string writeError = written ? std::string() : std::string(sf_strerror(file)) + ".";
    sf_write_sync(file);
    sf_close(file);
    std::error_code ec;
    if (!written || (std::filesystem::rename(temp, nativePath, ec), ec)) {
        std::filesystem::remove(temp, ec);
        return Fail(written ? std::string("The sound file could not be written.") : writeError);
    }
    return true;
}
