// The users' dialogs in the built program under a window manager, driven by keys alone: the
// login dialog logs in on Enter in its password box.
#include <gtest/gtest.h>

#include "e2e_program.h"

using namespace testsupport;

namespace {

// Keys to whatever has the keyboard: the test gives no window the focus itself.
void Type_To_Focus(const XInput& input, const QString& text) { input.run({"type", "--delay", "60", text}); }
void Keys_To_Focus(const XInput& input, const QStringList& keys) {
    input.run(QStringList{"key", "--delay", "120"} + keys);
}

// A gated last user: the login dialog comes first, with the cursor in its password box. The
// password and Enter start the program as that user.
TEST(UsersDialogs, EnterInTheLoginPasswordBoxLogsIn) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const auto wm = Start_Window_Manager(e.x);
    ASSERT_TRUE(wm->ready()) << wm->error();
    e.writeItems({{"170000000001", "Hasselblad 500CM", 3 * 86400}});
    e.writeConfig("Sound=0\r\nLastUser=buyer1\r\n", "[Users]\r\nbuyer1=Secret1\r\n[LogIn]\r\nbuyer1=1\r\n");
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());

    const QString loginTitle = "^Tolvane Rerode II Login$";
    const qulonglong login = e.input.waitForWindow(loginTitle);
    ASSERT_NE(login, 0u) << e.input.visibleWindows() << program.output();
    ASSERT_TRUE(waitUntil([&] { return e.input.activeWindow() == login; }, 10000))
        << "the login dialog has not the keyboard";
    Type_To_Focus(e.input, "Secret1");
    Keys_To_Focus(e.input, {"Return"});
    EXPECT_NE(e.waitForMainWindow(login, 15000), 0u) << "Enter did not log in: " << e.input.visibleWindows();
    EXPECT_TRUE(e.input.waitForNoWindow(loginTitle));
}

}  // namespace
