#pragma once
#include <string>
#include <vector>

// The list of the user guide's pictures (docs/images/pictures.txt): each picture with the
// source files that lay out what it shows and one hash of their contents. Pixels differ
// from machine to machine with the fonts; the sources don't, so a picture is stale when
// the hash of its sources no longer matches.
class CPictureManifest {
public:
    static constexpr const char* kFileName = "pictures.txt";

    struct Entry {
        std::string picture;              // "start.png", in the manifest's folder
        std::string hash;                 // SourcesHash of sources
        std::vector<std::string> sources; // paths relative to the source tree's root
    };

    // SHA-256 (hex) over each source's path and contents in the order given; a missing
    // file counts as empty, so it changes the hash too.
    static std::string SourcesHash(const std::string& sourceRoot, const std::vector<std::string>& sources);
    // One line a picture: picture, tab, hash, tab, the sources separated by blanks.
    static std::string Text(const std::vector<Entry>& entries);
    // The entries of a manifest's text; lines starting with "#" are comments.
    static std::vector<Entry> Parse(const std::string& text);
};
