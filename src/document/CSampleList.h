#pragma once
#include <string>
#include <vector>

// The sample list that comes with the program: twelve common words of a first spelling
// test, each with a spoken sound made when the program is built.
class CSampleList {
public:
    static constexpr const char* kFileName = "Sample List.ktr";
    // The folder beside the list that holds the words' sounds.
    static constexpr const char* kSoundFolderName = "Sample List";

    static const std::vector<std::string>& Words();
    // Writes nativeFolder/"Sample List.ktr" all or nothing: one entry per word, without
    // author, each naming nativeSoundFolder. False, with the reason in error, when it can't.
    static bool WriteList(const std::string& nativeFolder, const std::string& nativeSoundFolder,
                          std::string& error);
    // The installed list, else the one made by the build; empty when there is neither.
    static std::string Find();
};
