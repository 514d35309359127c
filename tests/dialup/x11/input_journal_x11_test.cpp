// The X11 input journal under a private Xvfb: keys synthesised through XTEST come back through
// the RECORD connection as the macro file's messages and virtual keys.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <sys/prctl.h>
#include <vector>

#include "dialup/connect_macro.h"
#include "foundation/startup.h"
#include "platform/input_journal.h"

namespace {

// One display server for the suite: the journal keeps its connection for the life of the process.
class Xvfb : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new QTemporaryDir;
        server = new QProcess;
        // A free display: Xvfb writes the number it took to the file it is given.
        server->setProgram("/bin/sh");
        // The display server ends with this test program, however that ends.
        server->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        server->setArguments({"-c", "exec Xvfb -displayfd 3 -screen 0 1024x768x24 3>\"$0\"", dir->filePath("display")});
        server->start();
        if (!server->waitForStarted(5000)) return;
        QElapsedTimer t;
        t.start();
        QByteArray display;
        while (t.elapsed() < 10000) {
            QFile f(dir->filePath("display"));
            if (f.open(QIODevice::ReadOnly)) display = f.readAll().trimmed();
            if (!display.isEmpty()) break;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        if (!display.isEmpty()) qputenv("DISPLAY", ":" + display);
    }
    static void TearDownTestSuite() {
        server->kill();
        server->waitForFinished(5000);
        delete server;
        delete dir;
    }
    void SetUp() override { ASSERT_FALSE(qgetenv("DISPLAY").isEmpty()) << "Xvfb did not start"; }
    void TearDown() override { platform::inputJournal().stopRecording(); }

    static inline QTemporaryDir* dir = nullptr;
    static inline QProcess* server = nullptr;
};

// The display server takes a record context on its own connection: input synthesised at once on
// another connection could come before it.
void letServerStart() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 200) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Waits (letting events in) until `done` or 5 seconds.
bool settle(const std::function<bool()>& done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST_F(Xvfb, SynthesisedKeysAndMovesAreRecordedWithVirtualKeys) {
    platform::InputJournal& in = platform::inputJournal();
    ASSERT_TRUE(in.available());
    EXPECT_EQ(in.screenWidth(), 1024);
    EXPECT_EQ(in.screenHeight(), 768);
    std::vector<platform::JournalEvent> seen;
    ASSERT_TRUE(in.startRecording([&](const platform::JournalEvent& e) { seen.push_back(e); }));
    letServerStart();
    in.key(65, true);
    in.key(65, false);
    in.moveAbsolute(512 * 64, 384 * 85);  // the replay's units for (512, 384)
    ASSERT_TRUE(settle([&] { return seen.size() >= 3; })) << seen.size();
    in.stopRecording();
    EXPECT_EQ(seen[0].message, 256);
    EXPECT_EQ(seen[0].paramL, 65);
    EXPECT_EQ(seen[1].message, 257);
    EXPECT_EQ(seen[2].message, 512);
    EXPECT_EQ(seen[2].paramL, 512);
    EXPECT_NEAR(seen[2].paramH, 384, 2);
}

TEST_F(Xvfb, ConnectMacroIsRecordedToItsFileAndReplayedOnTheDesktop) {
    modTLMain::DataFolder = dir->path().toStdString() + "/";
    platform::InputJournal& in = platform::inputJournal();
    bool ended = false;
    ASSERT_TRUE(SysHook::Start_Macro_Recording([&] { ended = true; }));
    letServerStart();
    in.key(65, true);
    in.key(65, false);
    in.key(27, true);  // Esc ends the recording
    ASSERT_TRUE(settle([&] { return ended; }));
    in.key(27, false);
    QFile file(dir->filePath("Connect.mac"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.size(), 60);
    file.close();

    ASSERT_TRUE(SysHook::Load_Connect_Macro());
    ASSERT_EQ(SysHook::MacroEvents[0].message, 2);
    EXPECT_EQ(SysHook::MacroEvents[1].message, 256);
    EXPECT_EQ(SysHook::MacroEvents[1].paramL, 65);
    EXPECT_EQ(SysHook::MacroEvents[2].message, 257);
    EXPECT_FALSE(in.escapeDown());

    // The replay, on the program's timers, puts the same keys on the desktop.
    std::vector<platform::JournalEvent> replayed;
    ASSERT_TRUE(in.startRecording([&](const platform::JournalEvent& e) { replayed.push_back(e); }));
    letServerStart();
    bool done = false;
    SysHook::Play_Macro([&] { done = true; });
    ASSERT_TRUE(settle([&] { return done && replayed.size() >= 2; })) << done << " " << replayed.size();
    in.stopRecording();
    EXPECT_EQ(replayed[0].message, 256);
    EXPECT_EQ(replayed[0].paramL, 65);
    EXPECT_EQ(replayed[1].message, 257);
}

}  // namespace
