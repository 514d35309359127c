// The X11 input journal under a private Xvfb: keys synthesised through XTEST come back through
// the RECORD connection as the macro file's messages and virtual keys.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <vector>

#include "platform/input_journal.h"

namespace {

class Xvfb : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // A free display: Xvfb writes the number it took to the file it is given.
        server.setProgram("/bin/sh");
        server.setArguments({"-c", "exec Xvfb -displayfd 3 -screen 0 1024x768x24 3>\"$0\"", dir.filePath("display")});
        server.start();
        ASSERT_TRUE(server.waitForStarted(5000));
        QElapsedTimer t;
        t.start();
        QByteArray display;
        while (t.elapsed() < 10000) {
            QFile f(dir.filePath("display"));
            if (f.open(QIODevice::ReadOnly)) display = f.readAll().trimmed();
            if (!display.isEmpty()) break;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        ASSERT_FALSE(display.isEmpty());
        qputenv("DISPLAY", ":" + display);
    }
    void TearDown() override {
        platform::inputJournal().stopRecording();
        server.kill();
        server.waitForFinished(5000);
    }
    QTemporaryDir dir;
    QProcess server;
};

TEST_F(Xvfb, SynthesisedKeysAndMovesAreRecordedWithVirtualKeys) {
    platform::InputJournal& in = platform::inputJournal();
    ASSERT_TRUE(in.available());
    EXPECT_EQ(in.screenWidth(), 1024);
    EXPECT_EQ(in.screenHeight(), 768);
    std::vector<platform::JournalEvent> seen;
    ASSERT_TRUE(in.startRecording([&](const platform::JournalEvent& e) { seen.push_back(e); }));
    in.key(65, true);
    in.key(65, false);
    in.moveAbsolute(512 * 64, 384 * 85);  // the replay's units for (512, 384)
    QElapsedTimer t;
    t.start();
    while (seen.size() < 3 && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    in.stopRecording();
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[0].message, 256);
    EXPECT_EQ(seen[0].paramL, 65);
    EXPECT_EQ(seen[1].message, 257);
    EXPECT_EQ(seen[2].message, 512);
    EXPECT_EQ(seen[2].paramL, 512);
    EXPECT_NEAR(seen[2].paramH, 384, 2);
    EXPECT_FALSE(in.escapeDown());
}

}  // namespace
