#include "sound/CResampler.h"

#include <soxr.h>

bool CResampler::Resample(const std::vector<int16_t>& in, int inRate, int outRate, int channels,
                          std::vector<int16_t>& out)
{
    out.clear();
    if (inRate < 1 || outRate < 1 || channels < 1) {
        m_error = "The sound has no valid format.";
        return false;
    }
    const size_t inFrames = in.size() / size_t(channels);
    if (inRate == outRate) {
        out.assign(in.begin(), in.begin() + std::ptrdiff_t(inFrames * size_t(channels)));
        return true;
    }
    // Room for every output frame plus the filter's rounding.
    const size_t outFrames = size_t(double(inFrames) * outRate / inRate) + 16;
    out.resize(outFrames * size_t(channels));
    const soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    size_t done = 0;
    const soxr_error_t error = soxr_oneshot(double(inRate), double(outRate), unsigned(channels), in.data(), inFrames,
                                            nullptr, out.data(), outFrames, &done, &io, &quality, nullptr);
    if (error) {
        out.clear();
        m_error = std::string(error) + ".";
        return false;
    }
    out.resize(done * size_t(channels));
    return true;
}

std::vector<int16_t> CResampler::MonoToStereo(const std::vector<int16_t>& mono)
{
    std::vector<int16_t> stereo(mono.size() * 2);
    for (size_t i = 0; i < mono.size(); ++i)
        stereo[2 * i] = stereo[2 * i + 1] = mono[i];
    return stereo;
}
