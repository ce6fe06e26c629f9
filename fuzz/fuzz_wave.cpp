// Any bytes as a word's sound file, read through the sound layer's file reader (libsndfile
// into the buffer that playback uses): it must read a sound or fail with a reason.
#include "sound/CWaveDevice.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path =
        std::filesystem::temp_directory_path() / ("kelto4-fuzz-word-" + std::to_string(::getpid()) + ".wav");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    CWaveDevice device;
    if (!device.Open(path)) {
        if (device.ErrorText().empty())
            __builtin_trap();
        return 0;
    }
    if (device.Channels() < 1 || device.SamplesPerSecond() < 1)
        __builtin_trap();
    // The buffer holds whole frames only.
    (void)device.Frames();
    return 0;
}
