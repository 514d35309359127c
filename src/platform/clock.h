// clock.h — where the program gets the time of day, a monotonic tick, and sets the PC clock.
#pragma once

#include <QDateTime>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;   // wall time, local (the PC clock)
    virtual qint64 tickMs() const = 0;   // monotonic milliseconds
    // Sets the PC clock to the given local time; false when the system refuses, and without
    // trying where the process lacks CAP_SYS_TIME or a time service (NTP) keeps the clock in step.
    virtual bool setSystemTime(const QDateTime& local) = 0;
};

Clock& clock();                    // the one the program uses
void setClockForTests(Clock* c);   // nullptr puts the real clock back

}  // namespace platform
