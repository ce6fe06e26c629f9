#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Builds a CSV text as RFC 4180 has it: fields joined by commas, rows ended by CR LF,
// a field holding a comma, a quote or a line break put in quotes with its quotes
// doubled. The program's Windows-1252 texts go out as UTF-8; a file starts with
// ByteOrderMark() so that spreadsheet programs take it for UTF-8. A text that begins
// with "=", "+", "-", "@", a tab or a carriage return gets a leading apostrophe, so that
// no spreadsheet program takes it for a formula; numbers and grades stay numbers.
class CCsvWriter {
public:
    static constexpr std::string_view ByteOrderMark() { return "\xEF\xBB\xBF"; }

    // A Windows-1252 text.
    void Field(std::string_view text);
    // A UTF-8 text from outside the program, such as a file name that Windows-1252 can't
    // hold; a malformed sequence becomes "?".
    void Utf8Field(std::string_view text);
    void Number(std::int64_t value);
    // The grade in percent as a number, rounded as the reports page shows it; an empty
    // field for a record of no words.
    void Grade(std::int32_t correct, std::int32_t words);
    // A readable date stamp as "2026-12-06 18:02", any other stamp as it stands.
    void Date(std::string_view stamp);
    void EndRow();

    std::string& Text() { return m_text; }
    const std::string& Text() const { return m_text; }

private:
    void Separate();
    void Put(std::string_view text, void (*append)(std::string&, std::string_view));

    std::string m_text;
    bool m_inRow = false;
    std::string m_lastStamp;
    std::string m_lastDate;
};
