#pragma once
#include <string>
#include <string_view>

// Texts live as Windows-1252 bytes in memory and in files; these convert at the edges.
// A character Windows-1252 lacks becomes "?". The five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same
// value, as Windows does, so every byte string survives a round trip.

std::string Cp1252ToUtf8(std::string_view text);
// The same, appended to out, for writers that build one long text.
void AppendCp1252AsUtf8(std::string& out, std::string_view text);
// Each malformed UTF-8 sequence gives one "?".
std::string Utf8ToCp1252(std::string_view text);
// A UTF-8 text from outside (a file name) appended as it is, but each malformed
// sequence as one "?", so that out stays valid UTF-8.
void AppendValidUtf8(std::string& out, std::string_view text);
// The archive's wide form: UTF-16LE code units (an odd last byte is dropped); a surrogate
// pair, or a lone surrogate, becomes one "?".
std::string Utf16LeToCp1252(std::string_view bytes);
// One Unicode code point as a Windows-1252 byte, or '?'.
char UnicodeToCp1252(char32_t codePoint);
char32_t Cp1252ToUnicode(unsigned char byte);
// The letter in lower (upper) case, Windows-1252 letters beyond ASCII too (the Latin-1
// letters, and Š Œ Ž Ÿ), whatever the process locale says; every other byte as it is.
char Cp1252ToLower(char c);
char Cp1252ToUpper(char c);
// <0, 0 or >0 as a comes before, with or after b when letter case is not looked at.
int Cp1252CompareIgnoringCase(std::string_view a, std::string_view b);
