// wake_alarm.h — the alarm that wakes a sleeping PC at a set time.
//
// The system's alarm is a timerfd on CLOCK_REALTIME_ALARM (it needs CAP_WAKE_ALARM), else the
// real-time clock's own alarm, /sys/class/rtc/rtc0/wakealarm (writable by root). Either is used
// only where the machine has a real-time clock with an alarm; elsewhere nothing can be armed.
// There is at most one alarm: arming again replaces its time. "Expired" is looked at without
// waiting, so the heartbeat can poll it every second.
#pragma once

#include <QtGlobal>
#include <ctime>
#include <memory>
#include <string>

namespace platform {

class WakeAlarm {
public:
    virtual ~WakeAlarm() = default;
    // Arms the alarm for that moment (milliseconds since the epoch, UTC); false when it could not be armed.
    virtual bool arm(qint64 utcMs) = 0;
    // Disarms it, so that it can no longer wake the PC.
    virtual void cancel() = 0;
    // The armed time has come (read without waiting).
    virtual bool expired() = 0;
    // Why the last arm() failed, in words for the user ("" when it did not fail).
    virtual std::string whyNotArmed() const { return {}; }
};

WakeAlarm& wakeAlarm();                   // the one the program uses
void setWakeAlarmForTests(WakeAlarm* a);  // nullptr puts the system's back

// The system's backends, for the tests of each (the program chooses through wakeAlarm()):
// a timerfd on the given clock (CLOCK_REALTIME_ALARM for the program), and the real-time
// clock's alarm file.
std::unique_ptr<WakeAlarm> Make_Timerfd_Wake_Alarm(clockid_t clock);
std::unique_ptr<WakeAlarm> Make_Rtc_Wake_Alarm(const std::string& wakealarmFile);

inline constexpr const char* kRtcWakeAlarmFile = "/sys/class/rtc/rtc0/wakealarm";

}  // namespace platform
