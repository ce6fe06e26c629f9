#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CWaveDevice;

// The one sound recorder, held by the document. Records the microphone into the
// temporary recording folder + "/TempWord.wav", plays WAVE files (blocking until the
// sound has ended while windows keep painting) and copies the temporary recording
// to a word's sound file. Every operation shows its own failures and returns 1 or 0.
class CSoundRecorder {
public:
    CSoundRecorder();
    ~CSoundRecorder();
    CSoundRecorder(const CSoundRecorder&) = delete;
    CSoundRecorder& operator=(const CSoundRecorder&) = delete;

    int OpenDevice(const std::string& name);
    int SetRecordingFormat();
    int OpenForRecording();
    int Record();
    int Stop();
    int Play(const std::string& name);
    int Save(const std::string& name);
    // A word's sound file, folder + "/" + word + ".wav": played or saved like Play and
    // Save, but a word that would not stay one file inside the folder fails with the
    // step's own message and touches no file.
    // note (if any) goes on a line of its own at the end of PlayWord's message: why
    // another way to sound the word (speaking it) did not work either.
    int PlayWord(const std::string& folder, const std::string& word, const std::string& note = std::string());
    int SaveWord(const std::string& folder, const std::string& word);
    // PlayWord for a caller with another way to say the word: false, with nothing shown
    // and nothing played, when the word's sound file can't be opened; else true, with
    // PlayWord's result in played.
    bool PlayWordIfItOpens(const std::string& folder, const std::string& word, int& played);
    // While Record, Stop, Play or Save runs (the events that Play lets through may
    // ask), the device is closed only when that call returns.
    int Close();
    int Pause();
    int DeleteSound();

    // Why a step failed. The sound layer's and the word name's reasons are worded by
    // whoever found them; ErrorText gives the words of the last such failure.
    enum class Error { notOpen = 1, noFileName, soundLayer, wordName };
    std::string ErrorText(Error code) const;
    void SetFolder(const std::string& folder);

    // Sounds made by the program (spoken words), interleaved 16-bit samples: played
    // like Play, blocking while windows paint, with name in its message; or saved
    // like Save to name, or to the temporary recording when name is empty.
    int PlaySamples(const std::vector<int16_t>& samples, int samplesPerSecond, int channels, const std::string& name);
    int SaveSamples(const std::vector<int16_t>& samples, int samplesPerSecond, int channels, const std::string& name);

    const std::string& GetFolder() const { return m_folder; }
    // folder + "/" + "TempWord.wav"
    std::string GetTempPath() const;
    bool IsOpen() const;

    static constexpr int kChannels = 2;
    static constexpr int kSamplesPerSecond = 44100;
    static constexpr int kBitsPerSample = 16;

private:
    // Held by every call that may block or show a message.
    class Busy;
    void CloseDevice();
    // Opens name as the device; false, with the sound layer's reason in why, when it can't.
    bool OpenQuietly(const std::string& name, std::string& why);
    int PlayOpenDevice(const std::string& name);
    void LoadDevice(const std::vector<int16_t>& samples, int samplesPerSecond, int channels);

    std::unique_ptr<CWaveDevice> m_device; // the open device, or null
    int m_busy = 0;
    bool m_closeLater = false;
    unsigned m_deviceId = 0;
    std::string m_folder;
    // Shows ErrorText(code) followed by what, and returns 0.
    int Report(Error code, const std::string& what);
    // notOpen without a device; else soundLayer, keeping the device's reason.
    Error DeviceError();
    Error SoundLayerError(const std::string& why);
    Error WordNameError(const std::string& why);
    std::string m_soundLayerText;
    std::string m_wordNameText;
    std::string m_note; // added to every message while PlayWord runs
};
