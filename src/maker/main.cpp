// kelto4-make-sample: makes what the program brings with it, while the program is built.
//   kelto4-make-sample [--no-sounds] LIST-FOLDER SOUND-FOLDER
// writes LIST-FOLDER/"Sample List.ktr", whose words name SOUND-FOLDER, and (unless
// --no-sounds) speaks every word into SOUND-FOLDER/WORD.wav. Installing writes the list
// again with the folder where the sounds are installed.
//   kelto4-make-sample --banks SCOWL-FOLDER EXCLUSIONS BANK-FILE
// writes the word banks (docs/wordbanks.md) from SCOWL's English word lists, leaving out
// the words of the EXCLUSIONS file.
#include "document/CSampleList.h"
#include "model/CAtomicFile.h"
#include "model/CPath.h"
#include "sound/CSoundRecorder.h"
#include "sound/CSpeaker.h"
#include "spelling/CWordBank.h"
#include "spelling/CWordBankMaker.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unordered_set>
#include <vector>

namespace {
// SCOWL's size classes of words common to every English spelling: 10, 20 and 35 give
// levels 1 to 3; the larger classes only help to recognise stems (enjoy in enjoyment).
constexpr const char* kLevelLists[] = {"english-words.10", "english-words.20", "english-words.35"};
constexpr const char* kStemLists[] = {"english-words.40", "english-words.50"};

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

bool ReadLines(const std::string& path, std::vector<std::string>& lines)
{
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "kelto4-make-sample: %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return true;
}

// An exclusion is a word, or a beginning followed by "*"; "#" starts a comment line.
bool Excluded(const std::string& word, const std::vector<std::string>& exclusions)
{
    for (const std::string& e : exclusions) {
        if (!e.empty() && e.back() == '*' ? word.compare(0, e.size() - 1, e, 0, e.size() - 1) == 0 : word == e)
            return true;
    }
    return false;
}

int MakeBanks(const std::string& scowl, const std::string& exclusionFile, const std::string& out)
{
    std::vector<std::string> exclusions;
    std::vector<std::string> lines;
    if (!ReadLines(exclusionFile, lines))
        return 1;
    for (const std::string& line : lines)
        if (!line.empty() && line[0] != '#')
            exclusions.push_back(line);
    std::vector<std::vector<std::string>> levels;
    std::unordered_set<std::string> dictionary;
    for (const char* name : kLevelLists) {
        levels.emplace_back();
        if (!ReadLines(scowl + "/" + name, levels.back()))
            return 1;
        dictionary.insert(levels.back().begin(), levels.back().end());
    }
    for (const char* name : kStemLists) {
        lines.clear();
        if (!ReadLines(scowl + "/" + name, lines))
            return 1;
        dictionary.insert(lines.begin(), lines.end());
    }
    CWordBankMaker maker(std::move(dictionary));
    CWordBank bank;
    for (const CWordBank::Topic& topic : CWordBank::Topics())
        for (int level = 1; level <= CWordBank::kLevels; ++level)
            for (const std::string& word : levels[std::size_t(level - 1)])
                if (CWordBankMaker::IsPlainWord(word) && !Excluded(word, exclusions) && maker.Belongs(topic.rule, word))
                    bank.Add(topic.rule, level, word);
    std::string error;
    if (!MakeFolder(std::filesystem::path(out).parent_path().string())
        || !CAtomicFile::WriteFileAtomically(out, bank.Text(), &error)) {
        std::fprintf(stderr, "kelto4-make-sample: %s: %s\n", out.c_str(), error.c_str());
        return 1;
    }
    return 0;
}
}

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--banks") == 0)
        return MakeBanks(argv[2], argv[3], argv[4]);
    int first = 1;
    const bool sounds = !(argc > 1 && std::strcmp(argv[1], "--no-sounds") == 0);
    if (!sounds)
        ++first;
    if (argc - first != 2) {
        std::fprintf(stderr, "usage: kelto4-make-sample [--no-sounds] LIST-FOLDER SOUND-FOLDER\n"
                             "       kelto4-make-sample --banks SCOWL-FOLDER EXCLUSIONS BANK-FILE\n");
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
