#include "platform/timers.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <vector>

#include "platform/clock.h"

namespace platform {
namespace {

class QtTimerService final : public TimerService {
public:
    int addTimer(std::function<void()> handler) override {
        const int id = ++m_next;
        auto* t = new QTimer();
        QObject::connect(t, &QTimer::timeout, [handler] {
            if (handler) handler();
        });
        m_timers[id] = t;
        return id;
    }
    void removeTimer(int id) override {
        auto it = m_timers.find(id);
        if (it == m_timers.end()) return;
        it->second->stop();
        it->second->deleteLater();
        m_timers.erase(it);
    }
    void setTimer(int id, int intervalMs, bool enabled) override {
        auto it = m_timers.find(id);
        if (it == m_timers.end()) return;
        QTimer* t = it->second;
        t->setInterval(intervalMs < 0 ? 0 : intervalMs);
        if (!enabled || intervalMs <= 0)
            t->stop();
        else if (!t->isActive())
            t->start();
    }
    void setPrecise(int id, bool precise) override {
        auto it = m_timers.find(id);
        if (it != m_timers.end()) it->second->setTimerType(precise ? Qt::PreciseTimer : Qt::CoarseTimer);
    }
    void doEvents() override {
        if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    void waitMs(qint64 ms) override {
        waitUntil([] { return false; }, ms);
    }
    bool waitUntil(const std::function<bool()>& done, qint64 maxMs) override {
        if (done()) return true;
        if (!QCoreApplication::instance()) return done();
        const qint64 start = clock().tickMs();
        // A timer at the deadline wakes the sleeping loop; any other event wakes it too.
        // It is re-armed for what is left on the clock, since a timer may fire a little early.
        QTimer deadline;
        deadline.setSingleShot(true);
        deadline.setTimerType(Qt::PreciseTimer);
        while (!done()) {
            const qint64 left = maxMs - (clock().tickMs() - start);
            if (left <= 0) break;
            if (!deadline.isActive())
                deadline.start(static_cast<int>(std::min<qint64>(left, std::numeric_limits<int>::max())));
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
        }
        return done();
    }
    void wake() override {
        if (auto* d = QAbstractEventDispatcher::instance()) d->wakeUp();
    }

private:
    int m_next = 0;
    std::map<int, QTimer*> m_timers;
};

TimerService* g_override = nullptr;

// Every Timer alive, so that a swap of the service can move them all.
std::set<Timer*>& liveTimers() {
    static auto* live = new std::set<Timer*>();  // outlives timers of static objects
    return *live;
}

}  // namespace

TimerService& timers() {
    static QtTimerService* real = new QtTimerService();  // lives as long as the process
    return g_override ? *g_override : *real;
}

void setTimerServiceForTests(TimerService* t) {
    // The old service is still alive here: its timers stop before the new one takes them.
    std::vector<Timer*> armed;
    for (Timer* timer : liveTimers()) {
        if (!timer->m_service) continue;
        timer->detach();
        armed.push_back(timer);
    }
    g_override = t;
    for (Timer* timer : armed) timer->apply();
}

Timer::Timer(std::function<void()> handler)
    : m_handler(std::make_shared<std::function<void()>>(std::move(handler))) {
    liveTimers().insert(this);
}

Timer::~Timer() {
    liveTimers().erase(this);
    detach();
}

void Timer::detach() {
    if (m_service && m_id) m_service->removeTimer(m_id);
    m_service = nullptr;
    m_id = 0;
}

void Timer::setHandler(std::function<void()> handler) { *m_handler = std::move(handler); }

void Timer::setInterval(int ms) {
    m_interval = ms;
    apply();
}

void Timer::setPrecise(bool precise) {
    m_precise = precise;
    apply();
}

void Timer::setEnabled(bool on) {
    m_enabled = on;
    apply();
}

void Timer::apply() {
    TimerService& svc = timers();
    if (m_service != &svc) {
        detach();
        m_service = &svc;
        std::weak_ptr<std::function<void()>> h = m_handler;
        m_id = svc.addTimer([h] {
            if (auto f = h.lock(); f && *f) (*f)();
        });
    }
    svc.setPrecise(m_id, m_precise);
    svc.setTimer(m_id, m_interval, m_enabled);
}

}  // namespace platform
