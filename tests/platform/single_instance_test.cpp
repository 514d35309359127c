#include <gtest/gtest.h>

#include <QFile>
#include <QLocalServer>

#include "platform/single_instance.h"
#include "platform/timers.h"

TEST(SingleInstance, ALaterStartReachesTheFirstAndOtherFoldersDoNot) {
    platform::SingleInstance first("/tmp/a-data-folder/");
    int shown = 0;
    ASSERT_TRUE(first.listen([&] { ++shown; }));

    platform::SingleInstance other("/tmp/another-data-folder/");
    EXPECT_FALSE(other.anotherIsRunning());

    platform::SingleInstance second("/tmp/a-data-folder/");
    EXPECT_TRUE(second.anotherIsRunning());
    EXPECT_TRUE(platform::timers().waitUntil([&] { return shown == 1; }, 5000));
}

// Two starts at the same moment: the later one cannot take the name from the first.
TEST(SingleInstance, ALateListenerLeavesTheLiveOneItsName) {
    platform::SingleInstance first("/tmp/a-racing-data-folder/");
    int shown = 0;
    ASSERT_TRUE(first.listen([&] { ++shown; }));

    platform::SingleInstance racer("/tmp/a-racing-data-folder/");
    EXPECT_FALSE(racer.listen([] {}));
    EXPECT_TRUE(racer.anotherIsRunning());
    EXPECT_TRUE(platform::timers().waitUntil([&] { return shown == 1; }, 5000));
}

// A name left behind by a process that ended without closing it is taken over.
TEST(SingleInstance, ANameNobodyAnswersOnIsTakenOver) {
    std::string name;
    {
        platform::SingleInstance gone("/tmp/a-left-behind-data-folder/");
        name = gone.serverName();
    }
    // What a crashed process leaves: the socket file, with nobody listening on it.
    QLocalServer stale;
    stale.setSocketOptions(QLocalServer::UserAccessOption);
    ASSERT_TRUE(stale.listen(QString::fromStdString(name)));
    const QString file = stale.fullServerName();
    stale.close();
    if (!QFile::exists(file)) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    platform::SingleInstance next("/tmp/a-left-behind-data-folder/");
    EXPECT_FALSE(next.anotherIsRunning());
    EXPECT_TRUE(next.listen([] {}));
}
