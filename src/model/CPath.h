#pragma once
#include <string>
#include <string_view>

// Paths are held as Windows-1252 text like every other text; the file system
// wants UTF-8. Joining always puts exactly one "/" between folder and name.
class CPath {
public:
    static std::string Join(std::string_view folder, std::string_view name);
    // The folder part of path: "." without a slash, "/" for a file in the root.
    static std::string FolderOf(const std::string& path);
    // The Windows-1252 path as the file system's (UTF-8) bytes.
    static std::string ToNative(std::string_view path);
    static std::string FromNative(std::string_view nativePath);
    // Can Windows-1252 text hold the native path exactly, so that ToNative(FromNative(p))
    // names the same file? Not when it has characters beyond Windows-1252 or bytes that
    // are no UTF-8.
    static bool CanHold(std::string_view nativePath);

    // Does name end with extension (".ktr"), in any letter case?
    static bool HasExtension(std::string_view name, std::string_view extension);
    // Why name can't be one file inside a folder, if it can't; each caller words it.
    enum class NameProblem { None, NotAName, Slash, ZeroByte, TooLong };
    // NotAName: empty, "." or ".."; TooLong: longer than the file system allows.
    static NameProblem CheckFileName(std::string_view name);
    // Can a sound file have name? why (if given) gets a sentence for the user.
    static bool IsSingleFileName(std::string_view name, std::string* why = nullptr);
    // A word's sound file: folder + "/" + word + ".wav". False (path untouched) when the
    // word would not stay one file inside the folder; why says so.
    static bool WordSoundPath(std::string_view folder, std::string_view word, std::string& path,
                              std::string* why = nullptr);
};
