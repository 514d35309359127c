// The options dialog in the built program under a real X server and window manager, opened from
// the Help menu by keys: Enter presses "Done" and Esc presses "Cancel", and either way the
// dialog can be opened again.
#include <gtest/gtest.h>

#include "e2e_program.h"

using namespace testsupport;

namespace {

TEST(OptionsDialog, EnterPressesDoneAndEscCancels) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const auto wm = Start_Window_Manager(e.x);
    ASSERT_TRUE(wm->ready()) << wm->error();
    e.writeItems({{"160000000001", "Mamiya RB67 body", 3 * 86400}});
    e.writeConfig("Sound=0\r\nLastUser=buyer1\r\n");
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

    const QString options = "^Tolvane Rerode II Setup$";
    for (const char* key : {"Return", "Escape", "KP_Enter"}) {
        SCOPED_TRACE(key);
        e.input.key(main, "alt+h");
        e.input.run({"key", "--delay", "120", "Down", "Return"});  // Help -> Setup
        const qulonglong dialog = e.input.waitForWindow(options, 15000);
        ASSERT_NE(dialog, 0u) << "Help -> Setup showed nothing: " << e.input.visibleWindows();
        e.input.key(dialog, key);
        EXPECT_TRUE(e.input.waitForNoWindow(options)) << e.input.visibleWindows();
    }
    EXPECT_EQ(program.process().state(), QProcess::Running);
}

}  // namespace
