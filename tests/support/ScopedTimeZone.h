#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

// Qt 6.4 converts local times through the C library, which reads TZ again after tzset().
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const char *zone)
    {
        if (const char *old = std::getenv("TZ"))
            mSaved = std::string(old);
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (mSaved)
            setenv("TZ", mSaved->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone &) = delete;
    ScopedTimeZone &operator=(const ScopedTimeZone &) = delete;

private:
    std::optional<std::string> mSaved;
};
