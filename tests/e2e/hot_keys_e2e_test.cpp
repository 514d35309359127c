// The built program under a real X server, driven by keys as a user presses them: the window
// sees every key, every time, not only the first of the session, and each press acts once.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>

#include "e2e_program.h"

using namespace testsupport;

namespace {

// A line of an earlier run, for a log view to show. The program writes its own "Program Started"
// line at its first heartbeat, which may come after a quick user's first keys, so a clearing is
// told by this line's going, not by that text's.
const char* const kEarlierLine = "Dec-10-26 09:00:00 - Program Started\r\n";

// The operation log holds what its clearing writes, and nothing from before.
bool Log_Was_Cleared(const E2EProgram& e) {
    const std::string log = e.data.read("OperationLog.txt");
    return log.find(" - LOG CLEARED....\r\n") != std::string::npos && log.find(kEarlierLine) == std::string::npos;
}

TEST(HotKeys, WorkAfterAStartUpBoxAnsweredWithReturn) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    e.writeItems({{"120000000001", "Leica M3 body", 3 * 86400}, {"120000000002", "Nikon FM2 body", 4 * 86400},
                  {"120000000003", "Pentax 67 body", 5 * 86400}});
    e.writeConfig("Sound=0\r\n");
    e.data.write("OperationLog.txt", kEarlierLine);  // something for Ctrl+O to show
    e.install();
    QFile::remove(QString::fromStdString(e.data.path("Renewlet")));  // the start-up box: no updater beside it
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());

    const qulonglong box = e.input.waitForWindow("^Tolvane Rerode II$");
    ASSERT_NE(box, 0u) << program.output();
    // The box comes first; the main window shows when it is answered.
    e.input.key(box, "Return");
    const qulonglong main = e.waitForMainWindow(box);
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

    // A plain Delete asks, and so does the next one.
    for (int round = 1; round <= 2; ++round) {
        e.input.key(main, "Delete");
        const qulonglong ask = e.input.waitForWindow("^Delete Auction Item\\(s\\)$", 10000);
        ASSERT_NE(ask, 0u) << "Delete number " << round << " asked nothing";
        e.input.key(ask, "Escape");  // No
        ASSERT_TRUE(e.input.waitForNoWindow("^Delete Auction Item\\(s\\)$"));
    }
    EXPECT_EQ(e.storedItemNumbers().size(), 3u);

    // Shift+Delete deletes the selected item without asking.
    e.input.key(main, "shift+Delete");
    EXPECT_TRUE(waitUntil([&] { return e.storedItemNumbers().size() == 2; }, 10000));

    // Ctrl+O shows the operation log; Shift+C over it clears it without asking.
    e.input.key(main, "ctrl+o");
    e.input.key(main, "shift+c");
    EXPECT_TRUE(waitUntil([&] { return Log_Was_Cleared(e); }, 10000)) << e.data.read("OperationLog.txt");
    EXPECT_TRUE(e.input.waitForNoWindow("^Clear Log$", 1000)) << "Shift+C asked";

    // F9 turns the sound on; the setting reaches the file a few seconds later.
    e.input.key(main, "F9");
    EXPECT_TRUE(waitUntil([&] { return e.storedConfig().find("Sound=1\r\n") != std::string::npos; }, 15000));
}

// F9 switches the sound once for each press: on, off, on, off. Each press is a quick tap (its
// release comes at once), and the stored setting shows each switch before the next press.
TEST(HotKeys, F9SwitchesTheSoundOncePerPress) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    e.writeItems({{"170000000001", "Rollei 35 body", 3 * 86400}});
    e.writeConfig("Sound=0\r\nLastUser=buyer1\r\n");
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

    const QString w = QString::number(main);
    for (int press = 1; press <= 4; ++press) {
        const std::string expected = press % 2 == 1 ? "Sound=1\r\n" : "Sound=0\r\n";
        e.input.run({"windowfocus", "--sync", w});
        e.input.run({"key", "--clearmodifiers", "--delay", "0", "F9"});
        // The setting reaches the file five seconds after its last change.
        EXPECT_TRUE(waitUntil([&] { return e.storedConfig().find(expected) != std::string::npos; }, 12000))
            << "press " << press << " left " << e.storedConfig();
    }
}

// Shift+C clears the shown operation log without asking; the menu's View > Clear Log > Operations
// asks first, and No keeps the log.
TEST(HotKeys, ShiftCClearsTheShownLogWithoutAskingTheMenuAsks) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const auto wm = Start_Window_Manager(e.x);
    ASSERT_TRUE(wm->ready()) << wm->error();
    e.writeItems({{"170000000002", "Yashica Mat 124G", 3 * 86400}});
    e.writeConfig("Sound=0\r\nLastUser=buyer1\r\n");
    e.data.write("OperationLog.txt", kEarlierLine);
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

    // View -> Clear Log -> Operations, answered No; false when it asked nothing.
    const auto clearFromTheMenuSayingNo = [&] {
        e.input.key(main, "alt+v");
        e.input.run({"key", "--delay", "120", "Up", "Right", "Return"});
        const qulonglong ask = e.input.waitForWindow("^Clear Log$", 10000);
        if (ask == 0) return false;
        e.input.key(ask, "Escape");
        return e.input.waitForNoWindow("^Clear Log$");
    };
    ASSERT_TRUE(clearFromTheMenuSayingNo()) << e.input.visibleWindows();
    EXPECT_NE(e.data.read("OperationLog.txt").find(kEarlierLine), std::string::npos) << "No cleared the log";

    e.input.key(main, "ctrl+o");
    e.input.key(main, "shift+c");
    EXPECT_TRUE(waitUntil([&] { return Log_Was_Cleared(e); }, 10000)) << e.data.read("OperationLog.txt");
    EXPECT_TRUE(e.input.waitForNoWindow("^Clear Log$", 1000)) << "Shift+C asked";

    // The menu asks again after the hot key.
    e.input.key(main, "Escape");
    EXPECT_TRUE(clearFromTheMenuSayingNo()) << e.input.visibleWindows();
}

}  // namespace
