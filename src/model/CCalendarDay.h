#pragma once
#include <compare>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

// A calendar day, held as the number of days since 1 January 1970. Adding days counts
// calendar days, so a change to or from summer time never makes a day of 23 or 25 hours.
// Days run from 1 January 1970 to 31 December 9999; anything beyond is kept at the ends.
class CCalendarDay {
public:
    static constexpr int32_t kFirst = 0;        // 1970-01-01
    static constexpr int32_t kLast = 2932896;   // 9999-12-31

    constexpr CCalendarDay() = default;
    // number is kept within kFirst..kLast.
    constexpr explicit CCalendarDay(int32_t number)
        : m_number(number < kFirst ? kFirst : number > kLast ? kLast : number)
    {
    }

    // The day time falls on by the local clock (the first day when the system can't say).
    static CCalendarDay FromTime(std::time_t time);
    // Nothing unless year, month and day name a real date within the range.
    static std::optional<CCalendarDay> FromDate(int year, int month, int day);
    // Nothing unless text is exactly "YYYY-MM-DD" naming a real date within the range.
    static std::optional<CCalendarDay> FromIso(std::string_view text);

    int32_t Number() const { return m_number; }
    CCalendarDay AddDays(int32_t days) const { return CCalendarDay(int32_t(int64_t(m_number) + days)); }
    int32_t DaysSince(CCalendarDay earlier) const { return m_number - earlier.m_number; }

    int Year() const;
    int Month() const; // 1 to 12
    int Day() const;   // 1 to 31
    // 0 Sunday to 6 Saturday.
    int Weekday() const;

    // "2026-12-06".
    std::string Iso() const;
    // "Sunday 6 December", with " 2027" after it when the day is not in thisYear.
    std::string Spoken(int thisYear) const;

    auto operator<=>(const CCalendarDay&) const = default;

private:
    int32_t m_number = kFirst;
};
