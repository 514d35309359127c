// timers.h — the program's timers and yielding waits.
//
// Everything runs on the one user-interface thread. A Timer is the program's
// equivalent of a form's timer control: an interval, an Enabled switch and a
// handler. Waits yield to the event loop so that timers keep running inside
// them (re-entry is expected and guarded by the callers' own flags).
// All of it goes through one TimerService so that tests can drive time; the
// waits measure time on the program's clock (platform/clock.h) and nothing else.
#pragma once

#include <QtGlobal>
#include <functional>
#include <memory>

namespace platform {

class TimerService {
public:
    virtual ~TimerService() = default;

    // Timers: handler called every intervalMs while enabled.
    virtual int addTimer(std::function<void()> handler) = 0;
    virtual void removeTimer(int id) = 0;
    virtual void setTimer(int id, int intervalMs, bool enabled) = 0;
    // A precise timer fires at its interval to the millisecond, not within a coarse tolerance.
    virtual void setPrecise(int id, bool precise) {}

    // Runs what is waiting in the event loop once (the program's DoEvents).
    virtual void doEvents() = 0;
    // Yields until `ms` milliseconds have passed on the clock.
    virtual void waitMs(qint64 ms) = 0;
    // Yields until `done` returns true or `maxMs` have passed; returns done().
    virtual bool waitUntil(const std::function<bool()>& done, qint64 maxMs) = 0;
    // Wakes a waitUntil that sleeps for events, so it checks its condition now.
    virtual void wake() = 0;
};

TimerService& timers();
// Swaps the service (nullptr puts the real one back). Every live Timer moves over: it stops on the
// old service and runs on the new one with its interval and Enabled state, its interval counted
// from the swap.
void setTimerServiceForTests(TimerService* t);

// A timer control: Interval and Enabled as on a form; the handler runs on the UI thread.
class Timer {
public:
    explicit Timer(std::function<void()> handler = {});
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void setHandler(std::function<void()> handler);
    void setInterval(int ms);
    void setEnabled(bool on);
    // Fires at its interval to the millisecond (for what must happen at a given moment).
    void setPrecise(bool precise);
    int interval() const { return m_interval; }
    bool enabled() const { return m_enabled; }

private:
    friend void setTimerServiceForTests(TimerService* t);
    void apply();
    void detach();  // stops and forgets its timer on the service that holds it
    std::shared_ptr<std::function<void()>> m_handler;
    int m_id = 0;
    int m_interval = 0;
    bool m_enabled = false;
    bool m_precise = false;
    TimerService* m_service = nullptr;
};

}  // namespace platform
