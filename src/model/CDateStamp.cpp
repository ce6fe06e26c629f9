#include "model/CDateStamp.h"


namespace {
bool TwoDigits(std::string_view text, std::size_t at, int& value)
{
    const char a = text[at];
    const char b = text[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return false;
    value = (a - '0') * 10 + (b - '0');
    return true;
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(int year, int month, int day)
{
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return std::int64_t(era) * 146097 + dayOfEra - 719468;
}
}

std::optional<CDateStamp> CDateStamp::Read(std::string_view stamp)
{
    // "MM/DD/YY, HH:MM AM": every character has its place.
    if (stamp.size() != 18 || stamp[2] != '/' || stamp[5] != '/' || stamp[8] != ',' || stamp[9] != ' ' ||
        stamp[12] != ':' || stamp[15] != ' ' || stamp[17] != 'M')
        return std::nullopt;
    int month, day, year, hour, minute;
    if (!TwoDigits(stamp, 0, month) || !TwoDigits(stamp, 3, day) || !TwoDigits(stamp, 6, year) ||
        !TwoDigits(stamp, 10, hour) || !TwoDigits(stamp, 13, minute))
        return std::nullopt;
    const bool pm = stamp[16] == 'P';
    if (!pm && stamp[16] != 'A')
        return std::nullopt;
    CDateStamp date;
    date.m_year = year < 69 ? 2000 + year : 1900 + year;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(date.m_year, month))
        return std::nullopt;
    // %I runs 12, 01, ..., 11: 12 AM is midnight and 12 PM is noon.
    if (hour < 1 || hour > 12 || minute > 59)
        return std::nullopt;
    date.m_month = month;
    date.m_day = day;
    date.m_hour = hour % 12 + (pm ? 12 : 0);
    date.m_minute = minute;
    return date;
}

std::int64_t CDateStamp::Minutes() const
{
    return DaysFromCivil(m_year, m_month, m_day) * 1440 + m_hour * 60 + m_minute;
}

std::string CDateStamp::Iso() const
{
    // Written by hand: an export writes one for every row.
    std::string text = "0000-00-00 00:00";
    const auto put = [&text](std::size_t at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + std::size_t(i)] = char('0' + value % 10);
    };
    put(0, m_year, 4);
    put(5, m_month, 2);
    put(8, m_day, 2);
    put(11, m_hour, 2);
    put(14, m_minute, 2);
    return text;
}
