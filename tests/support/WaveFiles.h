#pragma once
// A sound file for the sound tests: seconds of 440 Hz at a third of full scale, in any
// rate, channel count and sample format libsndfile writes as WAVE.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <string>
#include <vector>

inline void WriteWave(const std::string& path, int rate, int channels, int format, double seconds)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | format;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr);
    const int frames = int(rate * seconds);
    std::vector<float> data(size_t(frames * channels));
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            data[size_t(i * channels + c)] = float(0.3 * std::sin(2 * M_PI * 440.0 * i / rate));
    sf_writef_float(f, data.data(), frames);
    sf_close(f);
}

// seconds of sound in the program's recording format.
inline void WriteTone(const std::string& path, double seconds)
{
    WriteWave(path, 44100, 2, SF_FORMAT_PCM_16, seconds);
}
