#include "sound/CWaveDevice.h"

#include "sound/CPulseConnection.h"

#include <pulse/pulseaudio.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {
const char* const kAppName = "Kelto4";
using Clock = CPulseConnection::Clock;

const pa_stream_flags_t kStreamFlags =
    pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_ADJUST_LATENCY | PA_STREAM_AUTO_TIMING_UPDATE);

// A sound being played: fed to the server from its event thread, then drained.
struct Playback {
    CPulseConnection* pulse;
    const char* data;
    size_t bytes;
    size_t sent = 0;
    bool draining = false;
    bool drained = false;
    bool failed = false;
};

void onDrained(pa_stream*, int success, void* user)
{
    auto* playback = static_cast<Playback*>(user);
    (success ? playback->drained : playback->failed) = true;
    playback->pulse->Signal();
}

void startDrain(pa_stream* stream, Playback* playback)
{
    playback->draining = true;
    pa_operation* op = pa_stream_drain(stream, &onDrained, playback);
    if (op)
        pa_operation_unref(op);
    else
        playback->failed = true;
    playback->pulse->Signal();
}

void onWritable(pa_stream* stream, size_t wanted, void* user)
{
    auto* playback = static_cast<Playback*>(user);
    if (playback->sent < playback->bytes) {
        const size_t n = std::min(wanted, playback->bytes - playback->sent);
        if (pa_stream_write(stream, playback->data + playback->sent, n, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
            playback->failed = true;
            playback->pulse->Signal();
            return;
        }
        playback->sent += n;
    }
    if (playback->sent == playback->bytes && !playback->draining)
        startDrain(stream, playback);
}
}

CWaveDevice::CWaveDevice() = default;

CWaveDevice::~CWaveDevice()
{
    StopCapture(false);
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
    StopCapture(false);
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
    auto pulse = std::make_unique<CPulseConnection>();
    if (!pulse->Connect(kAppName, true))
        return Fail(pulse->ErrorText());
    const pa_sample_spec format{PA_SAMPLE_S16LE, uint32_t(m_rate), uint8_t(m_channels)};
    // Small fragments: a word said right after Record returns must not be lost.
    pa_buffer_attr attr{};
    attr.maxlength = uint32_t(-1);
    attr.fragsize = uint32_t(m_rate / 100 * m_channels * 2);
    CPulseConnection::Lock lock(*pulse);
    pa_stream* stream = pa_stream_new(pulse->Context(), "Recording", &format, nullptr);
    if (!stream)
        return Fail(pulse->ServerErrorText());
    pa_stream_set_state_callback(stream, &CPulseConnection::SignalOnStream, pulse.get());
    pa_stream_set_read_callback(stream, &CWaveDevice::OnCaptured, this);
    if (pa_stream_connect_record(stream, nullptr, &attr, kStreamFlags) < 0 || !pulse->WaitReady(stream)) {
        const std::string error = pulse->ErrorText().empty() ? pulse->ServerErrorText() : pulse->ErrorText();
        pa_stream_set_read_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        return Fail(error);
    }
    m_capture = stream;
    m_pulse = std::move(pulse);
    return true;
}

// On the connection's event thread, whenever recorded sound has arrived.
void CWaveDevice::OnCaptured(pa_stream* stream, size_t, void* user)
{
    auto* device = static_cast<CWaveDevice*>(user);
    const void* data = nullptr;
    size_t bytes = 0;
    while (pa_stream_peek(stream, &data, &bytes) == 0 && bytes > 0) {
        if (data) { // a hole (no data) is skipped
            const auto* samples = static_cast<const int16_t*>(data);
            std::lock_guard<std::mutex> lock(device->m_samplesMutex);
            device->m_samples.insert(device->m_samples.end(), samples, samples + bytes / sizeof(int16_t));
        }
        pa_stream_drop(stream);
    }
}

bool CWaveDevice::StopCapture(bool askServer)
{
    if (!m_pulse)
        return true;
    bool answered = true;
    {
        CPulseConnection::Lock lock(*m_pulse);
        if (askServer) {
            // The answer comes after all the sound recorded before it, so nothing is cut off.
            answered = PA_STREAM_IS_GOOD(pa_stream_get_state(m_capture))
                && m_pulse->Wait(pa_stream_update_timing_info(m_capture, &CPulseConnection::SignalOnSuccess,
                                                              m_pulse.get()));
            if (!answered)
                m_error = m_pulse->ErrorText().empty() ? m_pulse->ServerErrorText() : m_pulse->ErrorText();
        }
        pa_stream_set_read_callback(m_capture, nullptr, nullptr);
        pa_stream_set_state_callback(m_capture, nullptr, nullptr);
        pa_stream_disconnect(m_capture);
        pa_stream_unref(m_capture);
        m_capture = nullptr;
    }
    m_pulse.reset();
    return answered;
}

bool CWaveDevice::Stop()
{
    return StopCapture(true);
}

bool CWaveDevice::Pause()
{
    return StopCapture(true);
}

bool CWaveDevice::Delete()
{
    const bool stopped = StopCapture(true);
    std::lock_guard<std::mutex> lock(m_samplesMutex);
    m_samples.clear();
    return stopped;
}

bool CWaveDevice::Play(void (*pump)())
{
    StopCapture(false);
    CPulseConnection pulse;
    if (!pulse.Connect(kAppName, true))
        return Fail(pulse.ErrorText());
    const pa_sample_spec format{PA_SAMPLE_S16LE, uint32_t(m_rate), uint8_t(m_channels)};
    // A short buffer: Play returns soon after the sound ends, not after the server's default 2 s.
    pa_buffer_attr attr{};
    attr.maxlength = uint32_t(-1);
    attr.tlength = uint32_t(m_rate / 20 * m_channels * 2);
    attr.prebuf = uint32_t(-1);
    attr.minreq = uint32_t(-1);
    attr.fragsize = uint32_t(-1);
    Playback playback{&pulse, reinterpret_cast<const char*>(m_samples.data()), m_samples.size() * sizeof(int16_t)};
    pa_stream* stream = nullptr;
    std::string error;
    {
        CPulseConnection::Lock lock(pulse);
        stream = pa_stream_new(pulse.Context(), "Word", &format, nullptr);
        if (!stream)
            return Fail(pulse.ServerErrorText());
        pa_stream_set_state_callback(stream, &CPulseConnection::SignalOnStream, &pulse);
        pa_stream_set_write_callback(stream, &onWritable, &playback);
        if (pa_stream_connect_playback(stream, nullptr, &attr, kStreamFlags, nullptr, nullptr) < 0
            || !pulse.WaitReady(stream))
            error = pulse.ErrorText().empty() ? pulse.ServerErrorText() : pulse.ErrorText();
        else if (playback.bytes == 0 && !playback.draining)
            startDrain(stream, &playback);
    }
    // The sound's own length, and then the server has a while to finish it.
    const auto length = std::chrono::microseconds(int64_t(Frames()) * 1000000 / std::max(m_rate, 1));
    const auto deadline = Clock::now() + length + CPulseConnection::kAnswerTime;
    // The windows keep painting while the word plays; user input waits.
    while (error.empty()) {
        {
            CPulseConnection::Lock lock(pulse);
            if (!playback.drained && !playback.failed && PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) {
                const auto now = Clock::now();
                if (now >= deadline) {
                    error = CPulseConnection::kNoAnswer;
                    break;
                }
                pulse.WaitUntil([&playback] { return playback.drained || playback.failed; },
                                std::min(deadline, now + std::chrono::milliseconds(5)));
            }
            if (playback.drained)
                break;
            if (playback.failed || !PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) {
                error = pulse.ServerErrorText();
                break;
            }
        }
        if (pump)
            pump();
    }
    {
        CPulseConnection::Lock lock(pulse);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
    }
    if (!error.empty())
        return Fail(error);
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
