#include "sound/CSoundRecorder.h"

#include "model/CBlockingCall.h"
#include "model/CPath.h"
#include "model/KMessage.h"
#include "sound/CWaveDevice.h"

#include <QCoreApplication>
#include <QDir>

namespace {
const char* const kNotOpen = "The specified device is not open.";

void pumpEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
}
}

class CSoundRecorder::Busy {
public:
    explicit Busy(CSoundRecorder& recorder) : m_recorder(recorder) { ++m_recorder.m_busy; }
    ~Busy()
    {
        if (--m_recorder.m_busy == 0 && m_recorder.m_closeLater) {
            m_recorder.m_closeLater = false;
            m_recorder.CloseDevice();
        }
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    CSoundRecorder& m_recorder;
    CBlockingCall m_blocking;
};

// The system's temporary folder stands for the drive root the recorder started on:
// always there and writable, and the document moves the recorder on at once.
CSoundRecorder::CSoundRecorder()
    : m_folder(CPath::FromNative(QDir::tempPath().toStdString()))
{
}

CSoundRecorder::~CSoundRecorder()
{
    CloseDevice();
}

std::string CSoundRecorder::ErrorText(Error code) const
{
    switch (code) {
    case Error::notOpen:
        return kNotOpen;
    case Error::noFileName:
        return "No file name was given.";
    case Error::soundLayer:
        return m_soundLayerText;
    case Error::wordName:
        return m_wordNameText;
    }
    return std::string();
}

int CSoundRecorder::Report(Error code, const std::string& what)
{
    ShowMessage(ErrorText(code) + what + m_note);
    return 0;
}

CSoundRecorder::Error CSoundRecorder::DeviceError()
{
    return m_device ? SoundLayerError(m_device->ErrorText()) : Error::notOpen;
}

CSoundRecorder::Error CSoundRecorder::SoundLayerError(const std::string& why)
{
    m_soundLayerText = why;
    return Error::soundLayer;
}

CSoundRecorder::Error CSoundRecorder::WordNameError(const std::string& why)
{
    m_wordNameText = why;
    return Error::wordName;
}

std::string CSoundRecorder::GetTempPath() const
{
    return CPath::Join(m_folder, "TempWord.wav");
}

bool CSoundRecorder::IsOpen() const
{
    return m_device != nullptr;
}

void CSoundRecorder::SetFolder(const std::string& folder)
{
    m_folder = folder;
}

bool CSoundRecorder::OpenQuietly(const std::string& name, std::string& why)
{
    auto device = std::make_unique<CWaveDevice>();
    if (!device->Open(CPath::ToNative(name))) {
        why = device->ErrorText();
        return false;
    }
    CloseDevice();
    m_device = std::move(device);
    ++m_deviceId;
    return true;
}

int CSoundRecorder::OpenDevice(const std::string& name)
{
    Busy busy(*this);
    std::string why;
    if (!OpenQuietly(name, why)) {
        return Report(SoundLayerError(why), "\r\nError opening device for waveaudio " + name);
    }
    return 1;
}

int CSoundRecorder::SetRecordingFormat()
{
    Busy busy(*this);
    const bool ok = m_device ? m_device->SetFormat(kSamplesPerSecond, kChannels, kBitsPerSample) : false;
    if (!ok) {
        return Report(DeviceError(), "\r\nError trying to set recording format.");
    }
    return 1;
}

int CSoundRecorder::OpenForRecording()
{
    if (!OpenDevice(std::string()))
        return 0;
    return SetRecordingFormat();
}

int CSoundRecorder::Record()
{
    Busy busy(*this);
    OpenForRecording();
    if (!m_device || !m_device->Record()) {
        const Error code = DeviceError();
        CloseDevice();
        return Report(code, "\r\nError recording word.");
    }
    return 1;
}

int CSoundRecorder::Stop()
{
    Busy busy(*this);
    int result = 1;
    if (!m_device || !m_device->Stop()) {
        result = Report(DeviceError(), "\r\nError trying to Stop.");
    }
    Save(GetTempPath());
    CloseDevice();
    return result;
}

int CSoundRecorder::Play(const std::string& name)
{
    Busy busy(*this);
    const std::string file = name.empty() ? GetTempPath() : name;
    if (!OpenDevice(file))
        return 0;
    return PlayOpenDevice(name);
}

// Plays what the open device holds to its end, reports a failure under name, and closes.
int CSoundRecorder::PlayOpenDevice(const std::string& name)
{
    int result = 1;
    if (!m_device->Play(&pumpEvents)) {
        const Error code = DeviceError();
        CloseDevice();
        result = Report(code, "Error trying to Play " + name + ".");
    }
    CloseDevice();
    return result;
}

int CSoundRecorder::Save(const std::string& name)
{
    Busy busy(*this);
    bool openedHere = false;
    if (!m_device && !name.empty()) {
        OpenDevice(GetTempPath());
        openedHere = true;
    }
    int result = 1;
    if (!m_device || name.empty() || !m_device->Save(CPath::ToNative(name))) {
        result = Report(m_device && name.empty() ? Error::noFileName : DeviceError(), "\r\nError trying to Save sound.");
        CloseDevice();
    }
    if (openedHere)
        CloseDevice();
    return result;
}

int CSoundRecorder::PlayWord(const std::string& folder, const std::string& word, const std::string& note)
{
    m_note = note.empty() ? std::string() : "\r\n" + note;
    std::string path;
    std::string why;
    int result;
    if (!CPath::WordSoundPath(folder, word, path, &why)) {
        Busy busy(*this);
        result = Report(WordNameError(why), "\r\nError opening device for waveaudio " + CPath::Join(folder, word + ".wav"));
    } else {
        result = Play(path);
    }
    m_note.clear();
    return result;
}

bool CSoundRecorder::PlayWordIfItOpens(const std::string& folder, const std::string& word, int& played)
{
    Busy busy(*this);
    std::string path;
    std::string why;
    if (!CPath::WordSoundPath(folder, word, path) || !OpenQuietly(path, why))
        return false;
    played = PlayOpenDevice(path);
    return true;
}

int CSoundRecorder::SaveWord(const std::string& folder, const std::string& word)
{
    std::string path;
    std::string why;
    if (!CPath::WordSoundPath(folder, word, path, &why)) {
        Busy busy(*this);
        const Error code = WordNameError(why);
        CloseDevice();
        return Report(code, "\r\nError trying to Save sound.");
    }
    return Save(path);
}

int CSoundRecorder::Close()
{
    if (m_busy > 0)
        m_closeLater = true;
    else
        CloseDevice();
    return 1;
}

void CSoundRecorder::CloseDevice()
{
    m_device.reset();
}

int CSoundRecorder::Pause()
{
    Busy busy(*this);
    if (!m_device || !m_device->Pause()) {
        return Report(DeviceError(), "\r\nError trying to Pause sound.");
    }
    return 1;
}

int CSoundRecorder::DeleteSound()
{
    Busy busy(*this);
    if (!m_device || !m_device->Delete()) {
        return Report(DeviceError(), "\r\nError trying to Delete sound.");
    }
    return 1;
}

int CSoundRecorder::PlaySamples(const std::vector<int16_t>& samples, int samplesPerSecond, int channels,
                                const std::string& name)
{
    Busy busy(*this);
    LoadDevice(samples, samplesPerSecond, channels);
    return PlayOpenDevice(name);
}

int CSoundRecorder::SaveSamples(const std::vector<int16_t>& samples, int samplesPerSecond, int channels,
                                const std::string& name)
{
    Busy busy(*this);
    LoadDevice(samples, samplesPerSecond, channels);
    const std::string file = name.empty() ? GetTempPath() : name;
    int result = 1;
    if (!m_device->Save(CPath::ToNative(file))) {
        result = Report(DeviceError(), "\r\nError trying to Save sound.");
    }
    CloseDevice();
    return result;
}

// A device that holds samples made in memory, as if a file of them had been opened.
void CSoundRecorder::LoadDevice(const std::vector<int16_t>& samples, int samplesPerSecond, int channels)
{
    CloseDevice();
    m_device = std::make_unique<CWaveDevice>();
    ++m_deviceId;
    m_device->Load(samples, samplesPerSecond, channels);
}
