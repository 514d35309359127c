#include "platform/clock.h"

#include <QElapsedTimer>
#include <ctime>

namespace platform {
namespace {

class SystemClock final : public Clock {
public:
    SystemClock() { m_timer.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 tickMs() const override { return m_timer.elapsed(); }
    bool setSystemTime(const QDateTime& local) override {
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
