// kelto4-make-sample: makes the sample list and its spoken words while the program is built.
//   kelto4-make-sample [--no-sounds] LIST-FOLDER SOUND-FOLDER
// writes LIST-FOLDER/"Sample List.ktr", whose words name SOUND-FOLDER, and (unless
// --no-sounds) speaks every word into SOUND-FOLDER/WORD.wav. Installing writes the list
// again with the folder where the sounds are installed.
#include "document/CSampleList.h"
#include "model/CPath.h"
#include "sound/CSoundRecorder.h"
#include "sound/CSpeaker.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {
bool MakeFolder(const std::string& folder)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        std::fprintf(stderr, "kelto4-make-sample: %s: %s\n", folder.c_str(), ec.message().c_str());
        return false;
    }
    return true;
}
}

int main(int argc, char** argv)
{
    int first = 1;
    const bool sounds = !(argc > 1 && std::strcmp(argv[1], "--no-sounds") == 0);
    if (!sounds)
        ++first;
    if (argc - first != 2) {
        std::fprintf(stderr, "usage: kelto4-make-sample [--no-sounds] LIST-FOLDER SOUND-FOLDER\n");
        return 2;
    }
    const std::string listFolder = argv[first], soundFolder = argv[first + 1];
    std::string error;
    if (!MakeFolder(listFolder) || (sounds && !MakeFolder(soundFolder)))
        return 1;
    if (!CSampleList::WriteList(listFolder, soundFolder, error)) {
        std::fprintf(stderr, "kelto4-make-sample: %s: %s\n", listFolder.c_str(), error.c_str());
        return 1;
    }
    if (!sounds)
        return 0;
    // The recorder only lends the speaker its format; nothing is played here.
    CSoundRecorder recorder;
    CSpeaker speaker(recorder);
    // One voice for every build, so the installed sounds don't depend on the build machine.
    speaker.Configure("en-us", CSpeechEngine::kDefaultRate);
    for (const std::string& word : CSampleList::Words()) {
        std::string path;
        if (!CPath::WordSoundPath(CPath::FromNative(soundFolder), word, path)
            || !speaker.SpeakToFile(word, CPath::ToNative(path), CWaveDevice::SaveMode::replace, error)) {
            std::fprintf(stderr, "kelto4-make-sample: %s: %s\n", word.c_str(), error.c_str());
            return 1;
        }
    }
    return 0;
}
