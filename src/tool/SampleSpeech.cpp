#include "tool/SampleSpeech.h"

#include "words/CSoundRecorder.h"
#include "words/CSpeaker.h"
#include "words/CWaveDevice.h"

#include <cstdint>
#include <vector>

namespace {
// The speaker converts to the recording format; its recorder never plays anything here.
CSpeaker& Speaker()
{
    static CSoundRecorder recorder;
    static CSpeaker speaker(recorder);
    // One voice for every build, so the installed sounds don't depend on the build machine.
    static const bool configured = (speaker.Configure("en-us", CSpeechEngine::kDefaultRate), true);
    (void)configured;
    return speaker;
}
}

bool SampleSpeechAvailable()
{
    return true;
}

bool SpeakWordToFile(const std::string& word, const std::string& nativePath, std::string& error)
{
    CSpeaker& speaker = Speaker();
    std::vector<int16_t> samples;
    std::vector<int16_t> frames;
    if (!speaker.Engine().Synthesize(word, samples)) {
        error = speaker.Engine().ErrorText();
        return false;
    }
    if (!speaker.ToRecordingFormat(samples, frames, error))
        return false;
    CWaveDevice device;
    device.Load(std::move(frames), CSoundRecorder::kSamplesPerSecond, CSoundRecorder::kChannels);
    if (!device.Save(nativePath)) {
        error = device.ErrorText();
        return false;
    }
    return true;
}
