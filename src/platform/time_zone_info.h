// time_zone_info.h — the PC's time-zone information in the form the program keeps it.
//
// Answers from the zone of platform::timeZoneId() (injectable) at the time of platform::clock()
// (injectable). Biases are minutes, UTC minus local time. A zone with daylight saving gives this
// year's two changes as absolute dates at the local wall time just before each change; a zone
// without it gives all-zero change records and the answer kTimeZoneIdUnknown.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct SystemTime {  // a calendar moment or a change rule, field by field
    int16_t wYear = 0;
    int16_t wMonth = 0;
    int16_t wDayOfWeek = 0;  // 0 = Sunday
    int16_t wDay = 0;
    int16_t wHour = 0;
    int16_t wMinute = 0;
    int16_t wSecond = 0;
    int16_t wMilliseconds = 0;
    bool operator==(const SystemTime&) const = default;
};

struct TimeZoneInformation {
    long Bias = 0;               // standard offset: UTC − local, minutes (480 for Pacific time)
    std::string StandardName;
    SystemTime StandardDate;     // change to standard time
    long StandardBias = 0;
    std::string DaylightName;
    SystemTime DaylightDate;     // change to daylight time
    long DaylightBias = 0;       // −60 for a one-hour daylight saving
};

inline constexpr long kTimeZoneIdUnknown = 0;   // the zone has no daylight saving
inline constexpr long kTimeZoneIdStandard = 1;
inline constexpr long kTimeZoneIdDaylight = 2;

// Fills `info` and answers which time is in force now (one of the three ids above).
long getTimeZoneInformation(TimeZoneInformation& info);

}  // namespace platform
