#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Word lists in the files teachers already have, and the list's words written for other
// programs. Read: plain text (a word a line, or words between commas, semicolons or
// tabs), CSV, KDE's vocabulary files (KVTML 2.0, as KWordQuiz and Parley write them) and
// Anki's notes exported as plain text. Encodings: UTF-8 with or without a byte-order
// mark, UTF-16 with one, else Windows-1252; any line ends. Written: plain UTF-8 text, a
// word a line, and KVTML 2.0.
class CWordFile {
public:
    enum class Format { Text, Csv, Kvtml, Anki };
    // A word list is small; a larger file is refused before it is read, so that a wrong
    // choice (a film, a disk image) can't fill the memory.
    static constexpr std::size_t kMaxFileSize = 8u << 20;

    // The entries of the file at nativePath, in order, as UTF-8 with the blanks around
    // them removed; blank entries are left out. False, with a sentence for the user in
    // error (Windows-1252), when the file can't be read: then entries is empty. Only a
    // regular file is opened, so a pipe or a device never makes the program wait.
    static bool Read(const std::string& nativePath, std::vector<std::string>& entries, std::string& error);
    // The same for a file's bytes; fileName (native) tells the format where the content
    // doesn't, and names the file in error.
    static bool Parse(std::string_view bytes, std::string_view fileName, std::vector<std::string>& entries,
                      std::string& error);
    static Format FormatOf(std::string_view bytes, std::string_view fileName);

    // The words (Windows-1252) as a UTF-8 text file, a word a line. A word that holds a
    // separator, a quote or blanks at its ends is quoted, so that reading the file gives
    // back every word as it was.
    static std::string TextFile(const std::vector<std::string>& words);
    // The words (Windows-1252) as a KVTML 2.0 file, one entry each, in one lesson named title.
    static std::string KvtmlFile(const std::vector<std::string>& words, const std::string& title);
};
