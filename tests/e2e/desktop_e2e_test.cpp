// The program on a desktop as users have it: a window manager (openbox) and, where the case needs
// one, a system tray (trayer). The window is never lost: the tray icon hides and shows it round
// after round, and without a tray the close box ends the program through its question instead of
// leaving it iconified with no way back. The keys of the program's own boxes work.
#include <gtest/gtest.h>

#include <QRect>

#include "e2e_program.h"

using namespace testsupport;

namespace {

// A first start through the wizard by keys alone (the cursor waits in its first field, Enter is
// Next), then three hide-show rounds by left clicks on the tray icon.
TEST(Desktop, AFirstStartByKeysThenTheTrayIconHidesAndShowsTheWindowEveryTime) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const auto wm = Start_Window_Manager(e.x);
    ASSERT_TRUE(wm->ready()) << wm->error();
    const auto tray = Start_System_Tray(e.x);
    ASSERT_TRUE(tray->ready()) << tray->error();
    e.install();  // no settings yet: a new installation
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());

    const qulonglong wizard = e.input.waitForWindow("^Tolvane Rerode II New Installation Setup$");
    ASSERT_NE(wizard, 0u) << e.input.visibleWindows() << program.output();
    e.input.key(wizard, "Return");                    // the welcome: Next
    e.input.type(wizard, "trayuser\tpw1\tpw1\n");     // the user's ID, password and confirmation: Next
    // The introduction, the checks (Enter waits while they run), the closing step and Done: Enter
    // on whatever has the keyboard (a box the checks raise takes its default).
    qulonglong main = 0;
    waitUntil([&] {
        e.input.run({"key", "--clearmodifiers", "Return"});
        main = e.waitForMainWindow(0, 1500);
        return main != 0;
    }, 90000);
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();
    bool typedIntoTheIdField = false;
    for (const RecordedRequest& r : e.fake.requests())
        if (r.body.find("trayuser") != std::string::npos || r.target.find("trayuser") != std::string::npos)
            typedIntoTheIdField = true;
    EXPECT_TRUE(typedIntoTheIdField || e.storedConfig().find("trayuser") != std::string::npos)
        << "the ID typed at once went elsewhere";

    // The icon: trayer shows only ours, so the middle of its panel is the icon.
    qulonglong panel = 0;
    QRect icon;
    waitUntil([&] {
        panel = e.input.run({"search", "--onlyvisible", "--class", "trayer"}).split('\n').first().toULongLong();
        icon = panel ? e.input.geometry(panel) : QRect();
        return icon.width() > 0 && icon.width() < 200;
    }, 15000);
    ASSERT_TRUE(icon.isValid()) << "no tray icon: " << e.input.visibleWindows();
    ASSERT_TRUE(waitUntil([&] { return e.input.viewable(main); }, 10000));
    for (int round = 1; round <= 3; ++round) {
        e.input.clickScreen(icon.center().x(), icon.center().y());
        EXPECT_TRUE(waitUntil([&] { return !e.input.viewable(main); }, 10000)) << "round " << round << ": not hidden";
        e.input.clickScreen(icon.center().x(), icon.center().y());
        ASSERT_TRUE(waitUntil([&] { return e.input.viewable(main); }, 10000)) << "round " << round << ": not shown";
    }
    EXPECT_EQ(program.process().state(), QProcess::Running);
}

// No tray, the presets Close to Tray on and Show in Taskbar off, a bid pending: the close box asks
// the pending-bids question in the program's message window. Esc is its last button, No: the
// window stays on screen. Ctrl+Q asks again; Yes, one Shift+Tab from the focused No, ends it.
TEST(Desktop, WithoutATrayTheCloseBoxAsksAndEndsAndTheQuestionTakesEscAndYes) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const auto wm = Start_Window_Manager(e.x);
    ASSERT_TRUE(wm->ready()) << wm->error();
    e.writeItems({{"150000000011", "Rolleiflex 2.8F", 3 * 3600, 10}});
    e.writeConfig("Sound=0\r\nLastUser=buyer1\r\nClosetoTray=1\r\nTaskbar=0\r\nBidsPendWarning=1\r\n");
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

    const QString question = "^Tolvane Rerode II$";
    e.input.closeBox(main);
    qulonglong ask = e.input.waitForWindow(question, 10000);
    ASSERT_NE(ask, 0u) << "the close box asked nothing: " << e.input.visibleWindows();
    e.input.key(ask, "Escape");
    ASSERT_TRUE(e.input.waitForNoWindow(question));
    EXPECT_EQ(program.process().state(), QProcess::Running);
    EXPECT_TRUE(e.input.viewable(main)) << "the window left the screen";

    e.input.key(main, "ctrl+q");
    ask = e.input.waitForWindow(question, 10000);
    ASSERT_NE(ask, 0u) << "Ctrl+Q asked nothing: " << e.input.visibleWindows();
    e.input.key(ask, "shift+Tab");
    e.input.key(ask, "Return");
    EXPECT_TRUE(program.process().waitForFinished(15000)) << e.input.visibleWindows();
}

}  // namespace
