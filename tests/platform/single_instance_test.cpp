#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLockFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>

#include "fake_clock.h"
#include "platform/single_instance.h"
#include "platform/timers.h"

using platform::SingleInstance;
using Outcome = platform::SingleInstance::Outcome;

namespace {

// A private data folder and runtime folder for one test ($XDG_RUNTIME_DIR points there).
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* r = std::getenv("XDG_RUNTIME_DIR")) oldRuntime = r;
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        ::setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    }
    void TearDown() override {
        if (oldRuntime) ::setenv("XDG_RUNTIME_DIR", oldRuntime->c_str(), 1);
        else ::unsetenv("XDG_RUNTIME_DIR");
    }
    std::string dataFolder(const char* name = "data") {
        QDir(home.path()).mkpath(name);
        return (home.path() + "/" + name + "/").toStdString();
    }
    QTemporaryDir home;
    QTemporaryDir runtime;
    std::optional<std::string> oldRuntime;
};

TEST_F(SingleInstanceTest, ALaterStartHandsOverAndOtherFoldersDoNotMeet) {
    SingleInstance first(dataFolder());
    int shown = 0;
    ASSERT_EQ(first.start([&] { ++shown; }), Outcome::First);

    SingleInstance other(dataFolder("other"));
    EXPECT_EQ(other.start([] {}), Outcome::First);

    SingleInstance second(dataFolder());
    EXPECT_EQ(second.start([] {}), Outcome::HandedOver);
    EXPECT_TRUE(platform::timers().waitUntil([&] { return shown == 1; }, 5000));
}

// The lock and socket live where no other user can put or hold them, and go when the program ends.
TEST_F(SingleInstanceTest, LockAndSocketLiveInAPrivateFolderAndGoAtTheEnd) {
    const std::string data = dataFolder();
    struct Case {
        const char* runtimeMode;  // "private", "shared" (group and others may write), or "unset"
        bool inRuntime;
    };
    for (const Case c : {Case{"private", true}, Case{"shared", false}, Case{"unset", false}}) {
        if (std::string(c.runtimeMode) == "unset") ::unsetenv("XDG_RUNTIME_DIR");
        if (std::string(c.runtimeMode) == "shared") QFile::setPermissions(runtime.path(), QFileDevice::Permissions(0x7777));
        SingleInstance first(data);
        const std::string folder = c.inRuntime ? runtime.path().toStdString() + "/" : data;
        EXPECT_EQ(QFileInfo(QString::fromStdString(first.lockPath())).absolutePath().toStdString() + "/", folder)
            << c.runtimeMode;
        EXPECT_EQ(QFileInfo(QString::fromStdString(first.socketPath())).absolutePath().toStdString() + "/", folder)
            << c.runtimeMode;
        ASSERT_EQ(first.start([] {}), Outcome::First) << c.runtimeMode;
        EXPECT_TRUE(QFile::exists(QString::fromStdString(first.lockPath())));
        EXPECT_TRUE(QFile::exists(QString::fromStdString(first.socketPath())));
        first.release();
        EXPECT_FALSE(QFile::exists(QString::fromStdString(first.lockPath()))) << c.runtimeMode;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(first.socketPath()))) << c.runtimeMode;
    }
}

// A data folder too deep for a socket address still gets its lock: a later start cannot hand
// over, but it cannot start a second instance either.
TEST_F(SingleInstanceTest, ADataFolderTooDeepForASocketKeepsItsLock) {
    ::unsetenv("XDG_RUNTIME_DIR");
    const std::string deep = dataFolder(std::string(110, 'd').c_str());
    SingleInstance first(deep);
    EXPECT_EQ(first.socketPath(), "");
    EXPECT_EQ(first.lockPath(), deep + "TolvaneRerodeII.lock");
    ASSERT_EQ(first.start([] {}), Outcome::First);
    testsupport::FakeTime time;
    SingleInstance second(deep);
    EXPECT_EQ(second.start([] {}), Outcome::Held);
}

// The lock is held and nobody answers (the holder hangs, or is still starting): the later
// start keeps trying for a while, then gives up rather than run beside it.
TEST_F(SingleInstanceTest, AHeldLockWithoutAnAnswerIsNeverRunBeside) {
    const std::string data = dataFolder();
    SingleInstance probe(data);
    QLockFile holder(QString::fromStdString(probe.lockPath()));
    ASSERT_TRUE(holder.tryLock(0));

    testsupport::FakeTime time;
    const qint64 started = time.clock.tickMs();
    SingleInstance second(data);
    EXPECT_EQ(second.start([] {}), Outcome::Held);
    EXPECT_GE(time.clock.tickMs() - started, SingleInstance::kHandOverMs);
    EXPECT_LE(time.clock.tickMs() - started, SingleInstance::kHandOverMs + 2 * SingleInstance::kRetryMs);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(second.socketPath())));

    // A holder that lets go within the tries leaves the start to this process.
    platform::Timer letGo([&] { holder.unlock(); });
    letGo.setInterval(1000);
    letGo.setEnabled(true);
    SingleInstance third(data);
    EXPECT_EQ(third.start([] {}), Outcome::First);
}

// What a crashed run leaves (a socket file nobody listens on, no lock held) is taken over.
TEST_F(SingleInstanceTest, ASocketLeftByACrashIsTakenOver) {
    const std::string data = dataFolder();
    SingleInstance next(data);
    QFile left(QString::fromStdString(next.socketPath()));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();
    int shown = 0;
    ASSERT_EQ(next.start([&] { ++shown; }), Outcome::First);
    SingleInstance later(data);
    EXPECT_EQ(later.start([] {}), Outcome::HandedOver);
    EXPECT_TRUE(platform::timers().waitUntil([&] { return shown == 1; }, 5000));
}

}  // namespace
