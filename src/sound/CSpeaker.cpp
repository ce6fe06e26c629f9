#include "sound/CSpeaker.h"

#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "model/KMessage.h"
#include "sound/CResampler.h"
#include "sound/CSoundRecorder.h"
#include "sound/CWaveDevice.h"

CSpeaker::CSpeaker(CSoundRecorder& recorder)
    : m_recorder(recorder)
{
}

void CSpeaker::Configure(const std::string& voice, int wordsPerMinute)
{
    m_engine.SetVoice(voice);
    m_engine.SetRate(wordsPerMinute);
}

void CSpeaker::ReportUnavailableOnce()
{
    if (!m_engine.Unavailable() || m_reportedUnavailable)
        return;
    m_reportedUnavailable = true;
    ShowMessage(m_engine.ErrorText());
}

int CSpeaker::Listen(const std::string& folder, const std::string& word, bool speakMissing)
{
    if (speakMissing) {
        // A file the sound layer can't open can't be played either, nor can a word that
        // can't name a file; say the word instead.
        int played = 0;
        if (m_recorder.PlayWordIfItOpens(folder, word, played))
            return played;
        std::vector<int16_t> samples;
        if (m_engine.Synthesize(word, samples))
            return m_recorder.PlaySamples(samples, m_engine.SampleRate(), 1, word);
        // Speech that can't work at all is told once; a reason of this word's own
        // (too long to say) is told with the word's message.
        if (!m_engine.Unavailable())
            return m_recorder.PlayWord(folder, word, m_engine.ErrorText());
        ReportUnavailableOnce();
    }
    return m_recorder.PlayWord(folder, word);
}

bool CSpeaker::ToRecordingFormat(const std::vector<int16_t>& mono, std::vector<int16_t>& frames, std::string& error)
{
    CResampler resampler;
    std::vector<int16_t> resampled;
    if (!resampler.Resample(mono, m_engine.SampleRate(), CSoundRecorder::kSamplesPerSecond, 1, resampled)) {
        error = resampler.ErrorText();
        return false;
    }
    frames = CResampler::MonoToStereo(resampled);
    return true;
}

int CSpeaker::SpeakToTempRecording(const std::string& word)
{
    std::vector<int16_t> samples;
    std::vector<int16_t> frames;
    std::string error;
    if (!m_engine.Synthesize(word, samples)) {
        ShowMessage(m_engine.ErrorText());
        return 0;
    }
    if (!ToRecordingFormat(samples, frames, error)) {
        ShowMessage(error + "\r\nError trying to Save sound.");
        return 0;
    }
    return m_recorder.SaveSamples(frames, CSoundRecorder::kSamplesPerSecond, CSoundRecorder::kChannels, std::string());
}

int CSpeaker::Say(const std::string& text)
{
    std::vector<int16_t> samples;
    if (!m_engine.Synthesize(text, samples)) {
        ShowMessage(m_engine.ErrorText());
        return 0;
    }
    return m_recorder.PlaySamples(samples, m_engine.SampleRate(), 1, text);
}

bool CSpeaker::SpeakToFile(const std::string& word, const std::string& nativePath, CWaveDevice::SaveMode mode,
                           std::string& error)
{
    std::vector<int16_t> samples;
    std::vector<int16_t> frames;
    if (!m_engine.Synthesize(word, samples)) {
        error = m_engine.ErrorText();
        return false;
    }
    if (!ToRecordingFormat(samples, frames, error))
        return false;
    // Straight to the sound layer, so that no message box stops a caller working through a list.
    CWaveDevice device;
    device.Load(std::move(frames), CSoundRecorder::kSamplesPerSecond, CSoundRecorder::kChannels);
    if (!device.Save(nativePath, mode)) {
        error = device.ErrorText();
        return false;
    }
    return true;
}

CSpeaker::MissingSounds CSpeaker::WriteMissingSounds(const std::string& folder, const std::vector<std::string>& words,
                                                     const Progress& progress)
{
    MissingSounds result;
    const int total = int(words.size());
    for (int i = 0; i < total; ++i) {
        if (progress && !progress(i, total)) {
            result.cancelled = true;
            break;
        }
        std::string path;
        if (!CPath::WordSoundPath(folder, words[size_t(i)], path)) {
            ++result.skipped;
            continue;
        }
        const std::string native = CPath::ToNative(path);
        if (CAtomicFile::Exists(native)) {
            ++result.existing;
            continue;
        }
        std::string error;
        if (SpeakToFile(words[size_t(i)], native, CWaveDevice::SaveMode::newOnly, error)) {
            ++result.written;
            continue;
        }
        // Recorded meanwhile, perhaps on another machine: that sound is kept.
        if (CAtomicFile::Exists(native)) {
            ++result.existing;
            continue;
        }
        ++result.failed;
        if (result.firstError.empty())
            result.firstError = words[size_t(i)] + ": " + error;
        if (m_engine.Unavailable())
            break; // every other word would fail the same way
    }
    if (progress && !result.cancelled)
        progress(total, total);
    return result;
}

std::string CSpeaker::Summary(const MissingSounds& result)
{
    auto count = [](int n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string text = count(result.written, "spoken sound file was written.", "spoken sound files were written.");
    if (result.existing > 0)
        text += "\r\n" + count(result.existing, "word already had a sound file and was left as it was.",
                                "words already had a sound file and were left as they were.");
    if (result.skipped > 0)
        text += "\r\n" + count(result.skipped, "word was skipped because it can't be used as a file name.",
                                "words were skipped because they can't be used as file names.");
    if (result.failed > 0)
        text += "\r\n" + count(result.failed, "word could not be written", "words could not be written")
            + ", the first one because of this:\r\n" + result.firstError;
    if (result.cancelled)
        text += "\r\nYou stopped before the end of the list.";
    return text;
}
