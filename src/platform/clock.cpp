#include "platform/clock.h"

#include <QElapsedTimer>
#include <ctime>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/timex.h>
#include <unistd.h>

namespace platform {
namespace {

// The process holds the right to set the system clock.
bool haveSysTime() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    if (::syscall(SYS_capget, &header, data) != 0) return false;
    return (data[CAP_SYS_TIME / 32].effective >> (CAP_SYS_TIME % 32) & 1U) != 0;
}

// A time service (NTP) keeps the kernel's clock in step: setting it would fight that service.
bool disciplinedByTimeService() {
    timex tx{};
    const int state = ::adjtimex(&tx);
    return state != -1 && state != TIME_ERROR && (tx.status & STA_UNSYNC) == 0;
}

class SystemClock final : public Clock {
public:
    SystemClock() { m_timer.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 tickMs() const override { return m_timer.elapsed(); }
    bool setSystemTime(const QDateTime& local) override {
        if (!haveSysTime() || disciplinedByTimeService()) return false;
        const qint64 ms = local.toMSecsSinceEpoch();
        timespec ts{};
        ts.tv_sec = static_cast<time_t>(ms / 1000);
        ts.tv_nsec = static_cast<long>((ms % 1000) * 1000000);
        return ::clock_settime(CLOCK_REALTIME, &ts) == 0;
    }

private:
    QElapsedTimer m_timer;
};

Clock* g_override = nullptr;

}  // namespace

Clock& clock() {
    static SystemClock real;
    return g_override ? *g_override : real;
}

void setClockForTests(Clock* c) { g_override = c; }

}  // namespace platform
