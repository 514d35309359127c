#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

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
