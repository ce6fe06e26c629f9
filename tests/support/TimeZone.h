#pragma once
#include <cstdlib>
#include <ctime>
#include <string>

// Local time follows zone (a POSIX TZ value such as "UTC0") while this lives, whatever
// the machine says; the old zone comes back afterwards.
class TimeZone {
public:
    explicit TimeZone(const char* zone = "UTC0")
    {
        const char* tz = std::getenv("TZ");
        m_had = tz != nullptr;
        if (tz)
            m_old = tz;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone()
    {
        if (m_had)
            setenv("TZ", m_old.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    bool m_had = false;
    std::string m_old;
};
