#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Changes the sample rate of 16-bit PCM with libsoxr, so a spoken word (22050 Hz
// mono) becomes a sound file in the recording format (44100 Hz stereo).
class CResampler {
public:
    // Interleaved samples of `channels` channels from inRate to outRate. False with
    // the library's reason in ErrorText() when it can't be done.
    bool Resample(const std::vector<int16_t>& in, int inRate, int outRate, int channels, std::vector<int16_t>& out);
    // Each mono sample repeated on both channels.
    static std::vector<int16_t> MonoToStereo(const std::vector<int16_t>& mono);

    const std::string& ErrorText() const { return m_error; }

private:
    std::string m_error;
};
