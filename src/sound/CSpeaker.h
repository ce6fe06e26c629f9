#pragma once
#include "sound/CSpeechEngine.h"
#include "sound/CWaveDevice.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CSoundRecorder;

// Spoken words where no recording exists. The speech engine makes the sound; the
// document's recorder plays it or writes it, through the same sound layer and the
// same blocking Play as a recording. Held by the document beside its recorder.
class CSpeaker {
public:
    struct MissingSounds {
        int written = 0;  // new spoken sound files
        int existing = 0; // words that already had a sound file, left untouched
        int skipped = 0;  // words that can't be a file name
        int failed = 0;   // words that could not be spoken or written
        bool cancelled = false;
        std::string firstError; // why the first failure failed
    };
    // Called before each word with the words done so far; false cancels.
    using Progress = std::function<bool(int done, int total)>;

    explicit CSpeaker(CSoundRecorder& recorder);

    void Configure(const std::string& voice, int wordsPerMinute);
    CSpeechEngine& Engine() { return m_engine; }

    // Listen on the test page: plays path; when speakMissing is set and path can't be
    // opened as a sound, speaks word instead. When speech can't be produced the
    // recorder plays path as always and shows its own message (the first time
    // speech turns out to be unavailable, one message says why first).
    int Listen(const std::string& folder, const std::string& word, bool speakMissing);
    // Speaks word into the temporary recording in the recording format; shows why
    // when it can't.
    int SpeakToTempRecording(const std::string& word);
    // Speaks text aloud; shows why when it can't.
    int Say(const std::string& text);
    // Speaks word into a WAVE file at nativePath in the recording format; with newOnly
    // a file that is there by then is left as it is and the step fails. False, with the
    // reason in error and no message shown, when it can't.
    bool SpeakToFile(const std::string& word, const std::string& nativePath, CWaveDevice::SaveMode mode,
                     std::string& error);
    // A spoken sound file in folder for every word that has none; never replaces a file,
    // not even one recorded (on another machine) while the word was being spoken.
    MissingSounds WriteMissingSounds(const std::string& folder, const std::vector<std::string>& words,
                                     const Progress& progress = {});

    // What WriteMissingSounds did, for the user.
    static std::string Summary(const MissingSounds& result);

    // 44100 Hz stereo, as the recorder records, from the engine's mono samples.
    bool ToRecordingFormat(const std::vector<int16_t>& mono, std::vector<int16_t>& frames, std::string& error);

private:
    void ReportUnavailableOnce();

    CSoundRecorder& m_recorder;
    CSpeechEngine m_engine;
    bool m_reportedUnavailable = false;
};
