// A first start as a new user meets it: the set-up wizard, closed with its close box, leaves the
// program running with its main window, never a process without a window.
#include <gtest/gtest.h>

#include "e2e_program.h"

using namespace testsupport;

namespace {

TEST(FirstStart, TheWizardsCloseBoxGoesOnToTheMainWindow) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    e.install();  // no settings yet: a new installation
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());

    const QString wizardTitle = "^Tolvane Rerode II New Installation Setup$";
    const qulonglong wizard = e.input.waitForWindow(wizardTitle);
    ASSERT_NE(wizard, 0u) << e.input.visibleWindows() << program.output();
    // The close box is refused while the wizard's checks run; once they end, without a stored
    // user it asks first. Return takes the question's default, Yes.
    qulonglong ask = 0;
    waitUntil([&] {
        e.input.closeBox(wizard);
        ask = e.input.waitForWindow("^Tolvane Rerode II$", 1000);
        return ask != 0;
    }, 30000);
    ASSERT_NE(ask, 0u) << e.input.visibleWindows();
    e.input.key(ask, "Return");

    EXPECT_NE(e.waitForMainWindow(ask), 0u) << e.input.visibleWindows() << program.output();
    EXPECT_TRUE(e.input.waitForNoWindow(wizardTitle));
    EXPECT_EQ(program.process().state(), QProcess::Running);
    EXPECT_NE(e.storedConfig().find("[Options]\r\n"), std::string::npos) << "the presets were saved";
}

}  // namespace
