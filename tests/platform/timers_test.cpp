#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "fake_clock.h"
#include "platform/clock.h"
#include "platform/timers.h"

// The program's real waits: a wait that nothing ends must still end at its limit, also when
// it runs inside the handler of a zero-interval timer (whose own event cannot fire again while
// its handler runs, so only the wait's deadline can wake the loop).
TEST(RealWaits, AWaitInsideAZeroIntervalTimerEndsAtItsLimit) {
    for (const bool singleShot : {true, false}) {
        QTimer zero;
        zero.setInterval(0);
        zero.setSingleShot(singleShot);
        bool waited = false;
        bool result = true;
        qint64 took = -1;
        QObject::connect(&zero, &QTimer::timeout, [&] {
            if (waited) return;
            waited = true;
            QElapsedTimer el;
            el.start();
            result = platform::timers().waitUntil([] { return false; }, 30);
            took = el.elapsed();
            zero.stop();
        });
        zero.start();
        ASSERT_TRUE(platform::timers().waitUntil([&] { return took >= 0; }, 60000)) << singleShot;
        EXPECT_FALSE(result);
        EXPECT_GE(took, 30) << singleShot;
    }
}

// A wait ends as soon as its condition holds, when a zero-interval timer started meanwhile sets it.
TEST(RealWaits, AWaitEndsWhenATimerStartedDuringItSetsTheCondition) {
    bool done = false;
    QTimer zero;
    zero.setInterval(0);
    zero.setSingleShot(true);
    QObject::connect(&zero, &QTimer::timeout, [&] { done = true; });
    QTimer::singleShot(1, [&] { zero.start(); });
    EXPECT_TRUE(platform::timers().waitUntil([&] { return done; }, 60000));
}

// The real service's waits measure time on the program's clock: a wait ends when that clock says
// its time is up, and not before, whatever the wall time does.
TEST(RealWaits, AWaitEndsByTheProgramsClock) {
    testsupport::FakeClock clock;
    platform::setClockForTests(&clock);

    // The clock jumps a minute on the first event: the minute's wait is over at once.
    QTimer::singleShot(0, [&] { clock.setTick(clock.tickMs() + 60000); });
    QElapsedTimer real;
    real.start();
    EXPECT_FALSE(platform::timers().waitUntil([] { return false; }, 60000));
    EXPECT_LT(real.elapsed(), 30000);

    // The clock stands still: a 1 ms wait is not over until its condition holds.
    bool done = false;
    QTimer::singleShot(30, [&] { done = true; });
    EXPECT_TRUE(platform::timers().waitUntil([&] { return done; }, 1));

    platform::setClockForTests(nullptr);
}

// A swap of the timer service moves every live timer: the old service never fires it again, the
// new one does with the same interval and Enabled state, and back again when the test's service goes.
TEST(TimerSwap, LiveTimersMoveToTheServiceInForce) {
    int made = 0, armedUnderFake = 0;
    platform::Timer madeReal([&] { ++made; });
    madeReal.setInterval(1);
    madeReal.setEnabled(true);
    platform::Timer laterOff([&] { ++armedUnderFake; });
    ASSERT_TRUE(platform::timers().waitUntil([&] { return made > 0; }, 60000)) << "runs on the real service";

    {
        testsupport::FakeTime time;
        made = 0;
        QElapsedTimer real;  // real events for a while: the real service's timer must stay quiet
        real.start();
        while (real.elapsed() < 20) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        EXPECT_EQ(made, 0);
        EXPECT_EQ(time.timers.enabledTimerCount(), 1u);
        time.advanceMs(10);
        EXPECT_EQ(made, 10) << "the fake fires it every millisecond";

        laterOff.setInterval(1);
        laterOff.setEnabled(true);
        time.advanceMs(2);
        EXPECT_EQ(armedUnderFake, 2);
        laterOff.setEnabled(false);
    }

    // Back on the real service: the enabled timer runs, the disabled one stays off.
    made = armedUnderFake = 0;
    EXPECT_TRUE(platform::timers().waitUntil([&] { return made >= 3; }, 60000));
    EXPECT_EQ(armedUnderFake, 0);
}
