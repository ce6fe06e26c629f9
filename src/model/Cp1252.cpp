#include "model/Cp1252.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace {
// Unicode of bytes 0x80 to 0x9F; the undefined ones stand for themselves.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Windows-1252 has upper-case letters outside ASCII: the Latin-1 block 0xC0-0xDE
// (without the multiplication sign 0xD7), and Š Œ Ž Ÿ at 0x8A, 0x8C, 0x8E, 0x9F.
constexpr std::array<unsigned char, 256> MakeLowerTable()
{
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[size_t(c)] = static_cast<unsigned char>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[size_t(c)] = static_cast<unsigned char>(c + 0x20);
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7)
            table[size_t(c)] = static_cast<unsigned char>(c + 0x20);
    table[0x8A] = 0x9A;
    table[0x8C] = 0x9C;
    table[0x8E] = 0x9E;
    table[0x9F] = 0xFF;
    return table;
}
constexpr std::array<unsigned char, 256> kLower = MakeLowerTable();

// The same pairs the other way round. 0xDF (sharp s), 0xB5 (micro) and 0xAA/0xBA have
// no single-byte capital and stay as they are.
constexpr std::array<unsigned char, 256> MakeUpperTable()
{
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[size_t(c)] = static_cast<unsigned char>(c);
    for (int c = 0; c < 256; ++c)
        if (kLower[size_t(c)] != c)
            table[kLower[size_t(c)]] = static_cast<unsigned char>(c);
    return table;
}
constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}
}

char32_t Cp1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHigh[byte - 0x80];
    return byte;
}

char UnicodeToCp1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (unsigned i = 0; i < 32; ++i) {
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    AppendCp1252AsUtf8(out, text);
    return out;
}

void AppendCp1252AsUtf8(std::string& out, std::string_view text)
{
    for (char ch : text)
        AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(ch)));
}

namespace {
// Calls take(c, bytes) for each character of a UTF-8 text, in order; a broken sequence
// gives U+FFFD with no bytes, and the bytes taken so far are passed over, the rest read anew.
template <class Take>
void DecodeUtf8(std::string_view text, Take take)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            take(char32_t(lead), text.substr(i, 1));
            ++i;
            continue;
        }
        size_t extra;
        char32_t c;
        char32_t min;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1; c = lead & 0x1Fu; min = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2; c = lead & 0x0Fu; min = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3; c = lead & 0x07u; min = 0x10000;
        } else {
            take(char32_t(0xFFFD), std::string_view());
            ++i;
            continue;
        }
        size_t k = 1;
        while (k <= extra && i + k < n && (p[i + k] & 0xC0) == 0x80) {
            c = (c << 6) | (p[i + k] & 0x3Fu);
            ++k;
        }
        if (k <= extra || c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            take(char32_t(0xFFFD), std::string_view());
        else
            take(c, text.substr(i, k));
        i += k;
    }
}
}

std::string Utf8ToCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    DecodeUtf8(text, [&out](char32_t c, std::string_view) { out.push_back(UnicodeToCp1252(c)); });
    return out;
}

void AppendValidUtf8(std::string& out, std::string_view text)
{
    DecodeUtf8(text, [&out](char32_t, std::string_view bytes) {
        if (bytes.empty())
            out.push_back('?');
        else
            out.append(bytes);
    });
}

std::string Utf16LeToCp1252(std::string_view bytes)
{
    std::string out;
    const size_t units = bytes.size() / 2;
    out.reserve(units);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = 0; i < units; ++i) {
        const char16_t u = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const char16_t next = static_cast<char16_t>(p[2 * i + 2] | (p[2 * i + 3] << 8));
            if (next >= 0xDC00 && next <= 0xDFFF)
                ++i;
            out.push_back('?');
            continue;
        }
        out.push_back(UnicodeToCp1252(u));
    }
    return out;
}

char Cp1252ToUpper(char c)
{
    return static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
}

char Cp1252ToLower(char c)
{
    return static_cast<char>(kLower[static_cast<unsigned char>(c)]);
}

int Cp1252CompareIgnoringCase(std::string_view a, std::string_view b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const unsigned char ca = kLower[static_cast<unsigned char>(a[i])];
        const unsigned char cb = kLower[static_cast<unsigned char>(b[i])];
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}
