// fake_clock.h — a clock and timer service that tests drive by hand.
//
// Install with FakeTime (RAII). advanceMs() moves the clock and fires every timer
// that falls due, in time order; a wait inside the program advances the clock by
// itself, so a ten-second count-down runs in milliseconds. waitUntil() also lets
// real events in (sockets of test servers), a few milliseconds of real time per step.
// A fake server's thread may read now() while the test runs (a time server answering by the
// fake clock); the time is set only from the test's thread, before the servers are asked.
#pragma once

#include <QDateTime>
#include <atomic>
#include <functional>
#include <map>
#include <vector>

#include "platform/clock.h"
#include "platform/timers.h"

namespace testsupport {

class FakeClock final : public platform::Clock {
public:
    QDateTime now() const override { return m_now.addMSecs(m_tick.load()); }
    qint64 tickMs() const override { return m_tick.load(); }
    bool setSystemTime(const QDateTime& local) override {
        m_setCalls.push_back(local);
        if (!m_allowSet) return false;
        m_now = local.addMSecs(-m_tick.load());
        return true;
    }
    void setNow(const QDateTime& t) { m_now = t.addMSecs(-m_tick.load()); }
    void setTick(qint64 t) { m_tick = t; }
    void allowSetTime(bool on) { m_allowSet = on; }
    const std::vector<QDateTime>& setTimeCalls() const { return m_setCalls; }

private:
    QDateTime m_now = QDateTime(QDate(2026, 6, 1), QTime(12, 0));
    std::atomic<qint64> m_tick{0};
    bool m_allowSet = true;
    std::vector<QDateTime> m_setCalls;
};

class FakeTimerService final : public platform::TimerService {
public:
    explicit FakeTimerService(FakeClock& clock) : m_clock(clock) {}

    int addTimer(std::function<void()> handler) override;
    void removeTimer(int id) override;
    void setTimer(int id, int intervalMs, bool enabled) override;
    void doEvents() override;
    void waitMs(qint64 ms) override;
    bool waitUntil(const std::function<bool()>& done, qint64 maxMs) override;
    void wake() override {}

    // Moves the clock on by ms, firing due timers in order.
    void advanceMs(qint64 ms);
    // How far the fake clock moves per step of waitUntil (default 20 ms).
    void setWaitStepMs(qint64 ms) { m_step = ms; }
    // Real milliseconds each waitUntil step lets real events in (default 2 ms).
    void setRealSliceMs(int ms) { m_realSlice = ms; }
    bool timerEnabled(int id) const;
    size_t enabledTimerCount() const;

private:
    struct T {
        std::function<void()> handler;
        int interval = 0;
        bool enabled = false;
        qint64 due = 0;
        bool running = false;
    };
    void fireDue(qint64 upTo);
    void processRealEvents(int ms);
    FakeClock& m_clock;
    std::map<int, T> m_timers;
    int m_next = 0;
    qint64 m_step = 20;
    int m_realSlice = 2;
};

// Installs a fake clock and timer service for the life of the object.
class FakeTime {
public:
    FakeTime();
    ~FakeTime();
    FakeClock clock;
    FakeTimerService timers{clock};
    void advanceMs(qint64 ms) { timers.advanceMs(ms); }
};

}  // namespace testsupport
