#include "sound/CWaveDevice.h"

#include "model/CAtomicFile.h"
#include "model/CSafeFile.h"
#include "sound/CPulseConnection.h"

#include <pulse/pulseaudio.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
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
    // A sound folder may be shared: no link of someone else's is followed, and a pipe
    // or a device is refused before a read could wait on it.
    std::string why;
    const int fd = CSafeFile::Open(nativePath, O_RDONLY, &why);
    if (fd < 0)
        return Fail(why + ".");
    SF_INFO info{};
    // The descriptor stays ours, so it is closed exactly once whatever libsndfile does.
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    if (!file) {
        ::close(fd);
        return Fail(std::string(sf_strerror(nullptr)) + ".");
    }
    if (info.channels < 1 || info.samplerate < 1 || info.frames < 0) {
        sf_close(file);
        ::close(fd);
        return Fail("The file is not a sound file.");
    }
    m_channels = info.channels;
    m_rate = info.samplerate;
    std::vector<int16_t> block(4096 * size_t(m_channels));
    sf_count_t got;
    while ((got = sf_readf_short(file, block.data(), 4096)) > 0)
        m_samples.insert(m_samples.end(), block.begin(), block.begin() + got * m_channels);
    sf_close(file);
    ::close(fd);
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
    if (!pulse->Connect(kAppName))
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
    if (!pulse.Connect(kAppName))
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

namespace {
// A WAVE file made in memory, so that it reaches the disk as every other file does.
struct MemoryFile {
    std::string bytes;
    sf_count_t at = 0;

    static sf_count_t Length(void* self) { return sf_count_t(static_cast<MemoryFile*>(self)->bytes.size()); }
    static sf_count_t Seek(sf_count_t offset, int whence, void* self)
    {
        auto* file = static_cast<MemoryFile*>(self);
        const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? file->at : Length(self);
        if (base + offset < 0)
            return -1;
        file->at = base + offset;
        return file->at;
    }
    static sf_count_t Read(void* to, sf_count_t count, void* self)
    {
        auto* file = static_cast<MemoryFile*>(self);
        const sf_count_t n = std::max<sf_count_t>(0, std::min(count, Length(self) - file->at));
        std::memcpy(to, file->bytes.data() + file->at, size_t(n));
        file->at += n;
        return n;
    }
    static sf_count_t Write(const void* from, sf_count_t count, void* self)
    {
        auto* file = static_cast<MemoryFile*>(self);
        const size_t end = size_t(file->at + count);
        if (end > file->bytes.size())
            file->bytes.resize(end);
        std::memcpy(file->bytes.data() + file->at, from, size_t(count));
        file->at += count;
        return count;
    }
    static sf_count_t Tell(void* self) { return static_cast<MemoryFile*>(self)->at; }
};
}

bool CWaveDevice::Save(const std::string& nativePath, SaveMode mode)
{
    if (nativePath.empty())
        return Fail("No file name was given.");
    std::vector<int16_t> samples;
    {
        std::lock_guard<std::mutex> lock(m_samplesMutex);
        samples = m_samples;
    }
    SF_INFO info{};
    info.samplerate = m_rate;
    info.channels = m_channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SF_VIRTUAL_IO io{&MemoryFile::Length, &MemoryFile::Seek, &MemoryFile::Read, &MemoryFile::Write, &MemoryFile::Tell};
    MemoryFile memory;
    SNDFILE* file = sf_open_virtual(&io, SFM_WRITE, &info, &memory);
    if (!file)
        return Fail(std::string(sf_strerror(nullptr)) + ".");
    const sf_count_t frames = sf_count_t(samples.size() / size_t(m_channels));
    const bool written = sf_writef_short(file, samples.data(), frames) == frames;
    const std::string writeError = written ? std::string() : std::string(sf_strerror(file)) + ".";
    sf_close(file);
    if (!written)
        return Fail(writeError);
    // All or nothing, as every save; only links of this user's are written through.
    std::string error;
    const bool saved = mode == SaveMode::replace
        ? CAtomicFile::WriteFileAtomically(nativePath, memory.bytes, &error)
        : CAtomicFile::WriteNewFile(nativePath, memory.bytes, 0666, &error);
    return saved || Fail(error + ".");
}
