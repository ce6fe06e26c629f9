#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A test's date stamp read back. The test page writes it with the C library's
// "%x, %I:%M %p" in the library's default locale, so a readable stamp looks exactly
// like "12/06/26, 06:02 PM"; anything else (such as "Time Error") can't be placed in time.
class CDateStamp {
public:
    // Nothing if stamp isn't a valid date and time in that form. Two-digit years are
    // read as strptime reads them: 69 to 99 are 1969 to 1999, 00 to 68 are 2000 to 2068.
    static std::optional<CDateStamp> Read(std::string_view stamp);

    // Minutes since 1 January 1970, 00:00, on the stamp's own (local) clock.
    std::int64_t Minutes() const;
    // "2026-12-06 18:02": a form every spreadsheet program reads as a date and time.
    std::string Iso() const;

    int m_year = 1970;
    int m_month = 1;  // 1 to 12
    int m_day = 1;    // 1 to the month's length
    int m_hour = 0;   // 0 to 23
    int m_minute = 0; // 0 to 59
};
