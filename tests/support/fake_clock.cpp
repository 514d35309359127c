#include "fake_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace testsupport {

int FakeTimerService::addTimer(std::function<void()> handler) {
    const int id = ++m_next;
    m_timers[id].handler = std::move(handler);
    return id;
}

void FakeTimerService::removeTimer(int id) { m_timers.erase(id); }

void FakeTimerService::setTimer(int id, int intervalMs, bool enabled) {
    auto it = m_timers.find(id);
    if (it == m_timers.end()) return;
    T& t = it->second;
    const bool wasOn = t.enabled && t.interval > 0;
    t.enabled = enabled && intervalMs > 0;
    if (t.enabled && (!wasOn || t.interval != intervalMs)) t.due = m_clock.tickMs() + intervalMs;
    t.interval = intervalMs;
}

bool FakeTimerService::timerEnabled(int id) const {
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second.enabled;
}

size_t FakeTimerService::enabledTimerCount() const {
    size_t n = 0;
    for (const auto& [id, t] : m_timers) n += t.enabled ? 1 : 0;
    return n;
}

void FakeTimerService::fireDue(qint64 upTo) {
    for (;;) {
        int bestId = 0;
        qint64 bestDue = 0;
        for (const auto& [id, t] : m_timers) {
            if (!t.enabled || t.running || t.due > upTo) continue;
            if (!bestId || t.due < bestDue) bestId = id, bestDue = t.due;
        }
        if (!bestId) return;
        if (bestDue > m_clock.tickMs()) m_clock.setTick(bestDue);
        T& t = m_timers[bestId];
        t.due = bestDue + t.interval;
        if (t.due <= m_clock.tickMs()) t.due = m_clock.tickMs() + t.interval;
        auto handler = t.handler;  // the handler may remove its own timer
        t.running = true;
        if (handler) handler();
        auto it = m_timers.find(bestId);
        if (it != m_timers.end()) it->second.running = false;
    }
}

void FakeTimerService::advanceMs(qint64 ms) {
    const qint64 target = m_clock.tickMs() + ms;
    fireDue(target);
    if (m_clock.tickMs() < target) m_clock.setTick(target);
}

void FakeTimerService::processRealEvents(int ms) {
    if (!QCoreApplication::instance()) return;
    if (ms <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void FakeTimerService::doEvents() {
    processRealEvents(0);
    fireDue(m_clock.tickMs());
}

void FakeTimerService::waitMs(qint64 ms) {
    const qint64 target = m_clock.tickMs() + ms;
    while (m_clock.tickMs() < target) {
        processRealEvents(0);
        const qint64 step = std::min(target, m_clock.tickMs() + m_step);
        fireDue(step);
        if (m_clock.tickMs() < step) m_clock.setTick(step);
    }
    processRealEvents(0);
}

bool FakeTimerService::waitUntil(const std::function<bool()>& done, qint64 maxMs) {
    const qint64 target = m_clock.tickMs() + maxMs;
    for (;;) {
        if (done()) return true;
        processRealEvents(m_realSlice);
        if (done()) return true;
        if (m_clock.tickMs() >= target) return done();
        const qint64 step = std::min(target, m_clock.tickMs() + m_step);
        fireDue(step);
        if (m_clock.tickMs() < step) m_clock.setTick(step);
    }
}

FakeTime::FakeTime() {
    platform::setClockForTests(&clock);
    platform::setTimerServiceForTests(&timers);
}

FakeTime::~FakeTime() {
    platform::setTimerServiceForTests(nullptr);
    platform::setClockForTests(nullptr);
}

}  // namespace testsupport
