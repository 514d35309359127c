// The help as a user opens it: F1 in the main window shows the installed help page in the
// program's browser window.
#include <gtest/gtest.h>

#include "e2e_program.h"

using namespace testsupport;

namespace {

TEST(Help, F1InTheMainWindowOpensTheHelpPageInTheProgramsBrowser) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    e.writeItems({{"120000000001", "Leica M3 body", 3 * 86400}});
    e.writeConfig("Sound=0\r\n");
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(e.data.exists("Help/TLIIHelp.Htm")) << "the installation puts the help page in the data folder";
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

    e.input.key(main, "F1");
    // The browser window takes the page's title once the page is loaded.
    const qulonglong help = e.input.waitForWindow("^Tolvane Rerode II Help$", 60000);
    EXPECT_NE(help, 0u) << e.input.visibleWindows() << program.output();
}

}  // namespace
