#include "model/CCalendarDay.h"

#include <chrono>
#include <cstdio>

namespace {
using std::chrono::day;
using std::chrono::days;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

year_month_day Date(int32_t number)
{
    return year_month_day(sys_days(days(number)));
}
}

CCalendarDay CCalendarDay::FromTime(std::time_t time)
{
    // localtime_r need not look at the zone again; a laptop may have travelled.
    tzset();
    std::tm local{};
    if (!localtime_r(&time, &local))
        return CCalendarDay();
    const int64_t y = int64_t(local.tm_year) + 1900;
    if (y < 1970)
        return CCalendarDay(kFirst);
    if (y > 9999)
        return CCalendarDay(kLast);
    const sys_days date = year(int(y)) / month(unsigned(local.tm_mon + 1)) / day(unsigned(local.tm_mday));
    return CCalendarDay(int32_t(date.time_since_epoch().count()));
}

std::optional<CCalendarDay> CCalendarDay::FromDate(int y, int m, int d)
{
    if (y < 1970 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31)
        return std::nullopt;
    const year_month_day date{year{y}, month{unsigned(m)}, day{unsigned(d)}};
    if (!date.ok())
        return std::nullopt;
    return CCalendarDay(int32_t(sys_days(date).time_since_epoch().count()));
}

std::optional<CCalendarDay> CCalendarDay::FromIso(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    auto number = [&text](size_t from, size_t length) {
        int value = 0;
        for (size_t i = from; i < from + length; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const int y = number(0, 4), m = number(5, 2), d = number(8, 2);
    if (y < 0 || m < 0 || d < 0)
        return std::nullopt;
    return FromDate(y, m, d);
}

int CCalendarDay::Year() const
{
    return int(Date(m_number).year());
}

int CCalendarDay::Month() const
{
    return int(unsigned(Date(m_number).month()));
}

int CCalendarDay::Day() const
{
    return int(unsigned(Date(m_number).day()));
}

int CCalendarDay::Weekday() const
{
    // 1 January 1970 was a Thursday.
    return int((m_number + 4) % 7);
}

std::string CCalendarDay::Iso() const
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", Year(), Month(), Day());
    return text;
}

std::string CCalendarDay::Spoken(int thisYear) const
{
    static const char* const weekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    static const char* const months[] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
    std::string text = std::string(weekdays[Weekday()]) + " " + std::to_string(Day()) + " " + months[Month() - 1];
    if (Year() != thisYear)
        text += " " + std::to_string(Year());
    return text;
}
