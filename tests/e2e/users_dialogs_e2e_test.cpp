// The users' dialogs in the built program under a window manager, driven by keys alone: the
// login dialog logs in on Enter in its password box or on its user list, "Change Password" opens
// in front of the options dialog with the keyboard, so the password typed goes into it, and Enter
// in the add-user dialog is Add User.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e_program.h"

using namespace testsupport;

namespace {

// Keys to whatever has the keyboard: the test gives no window the focus itself.
void Type_To_Focus(const XInput& input, const QString& text) { input.run({"type", "--delay", "60", text}); }
void Keys_To_Focus(const XInput& input, const QStringList& keys) {
    input.run(QStringList{"key", "--delay", "120"} + keys);
}

// A gated last user: the login dialog comes first, with the cursor in its password box. The
// password and Enter start the program as that user: Enter in the password box, or on the user
// list a Tab away, under Qt's own desktop theme and under the GTK one (which would have Enter open
// the list).
TEST(UsersDialogs, EnterInTheLoginPasswordBoxOrOnTheUserListLogsIn) {
    struct Case {
        const char* theme;
        QStringList keys;  // after the password
    };
    const Case cases[] = {
        {"", {"Return"}}, {"", {"Tab", "Return"}}, {"gtk3", {"Return"}}, {"gtk3", {"Tab", "Return"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("theme '") + c.theme + "', " + c.keys.join(' ').toStdString());
        E2EProgram e;
        e.platformTheme = c.theme;
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
        Keys_To_Focus(e.input, c.keys);
        EXPECT_NE(e.waitForMainWindow(login, 15000), 0u) << "Enter did not log in: " << e.input.visibleWindows();
        EXPECT_TRUE(e.input.waitForNoWindow(loginTitle));
    }
}

// Help -> Setup opens the options dialog on its Users page; four Tabs from the page's tab bar
// reach "Change Password" and Space presses it. The dialog comes up above the options dialog
// (which keeps itself above the main window) with the keyboard: the new password, Tab, the
// confirmation and Enter change the password, and the program says so.
TEST(UsersDialogs, ChangePasswordOpensInFrontOfTheOptionsDialogWithTheKeyboard) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const auto wm = Start_Window_Manager(e.x);
    ASSERT_TRUE(wm->ready()) << wm->error();
    e.writeItems({{"170000000002", "Rolleiflex 3.5F", 3 * 86400}});
    e.writeConfig("Sound=0\r\nLastUser=buyer1\r\n", "[Users]\r\nbuyer1=Secret1\r\n");
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

    const qulonglong options = e.openSetup(main);
    ASSERT_NE(options, 0u) << "Help -> Setup showed nothing: " << e.input.visibleWindows();
    Keys_To_Focus(e.input, {"Tab", "Tab", "Tab", "Tab", "space"});

    const QString changeTitle = "^Change buyer1 Password$";
    const qulonglong change = e.input.waitForWindow(changeTitle, 15000);
    ASSERT_NE(change, 0u) << "Change Password showed nothing: " << e.input.visibleWindows();
    // In front of the options dialog with the keyboard, and still so once the window manager has
    // settled what the opening set going.
    std::vector<qulonglong> stack;
    const auto place = [&](qulonglong w) { return std::find(stack.begin(), stack.end(), w) - stack.begin(); };
    const auto inFront = [&] {
        stack = e.input.stacking();
        return place(options) < static_cast<long>(stack.size()) && place(change) < static_cast<long>(stack.size()) &&
               place(change) > place(options) && e.input.activeWindow() == change;
    };
    ASSERT_TRUE(waitUntil(inFront, 5000)) << "not in front of the options dialog with the keyboard";
    EXPECT_FALSE(waitUntil([&] { return !inFront(); }, 2000)) << "behind the options dialog a moment later";
    EXPECT_GT(place(options), place(main)) << "the options dialog fell behind the main window";

    Type_To_Focus(e.input, "N3wSecret");
    Keys_To_Focus(e.input, {"Tab"});
    Type_To_Focus(e.input, "N3wSecret");
    Keys_To_Focus(e.input, {"Return"});
    const qulonglong said = e.input.waitForWindow("^Tolvane Rerode II$", 10000);
    ASSERT_NE(said, 0u) << "no message: the keys went elsewhere. " << e.input.visibleWindows();
    Keys_To_Focus(e.input, {"Return"});
    EXPECT_TRUE(e.input.waitForNoWindow(changeTitle)) << e.input.visibleWindows();
    EXPECT_TRUE(waitUntil([&] { return e.storedConfig().find("buyer1=N3wSecret\r\n") != std::string::npos; }, 15000))
        << "the new password was not stored";
}

// Help -> Setup, three Tabs from the Users page's tab bar reach "Add New User" and Space presses it.
// The ID, the password and its confirmation are typed, and Tab goes on to the "Require Users
// Password" box the confirmation enabled: Enter there is Add User, under Qt's own desktop theme
// and under the GTK one (which would have Enter tick the box), and the new user is stored with
// no password gate.
TEST(UsersDialogs, EnterOnTheAddUserPasswordGateIsAddUserUnderEveryTheme) {
    for (const char* theme : {"", "gtk3"}) {
        SCOPED_TRACE(std::string("theme '") + theme + "'");
        E2EProgram e;
        e.platformTheme = theme;
        ASSERT_TRUE(e.x.running()) << e.x.error();
        const auto wm = Start_Window_Manager(e.x);
        ASSERT_TRUE(wm->ready()) << wm->error();
        e.writeItems({{"170000000003", "Yashica Mat 124G", 3 * 86400}});
        e.writeConfig("Sound=0\r\nLastUser=buyer1\r\n", "[Users]\r\nbuyer1=Secret1\r\n");
        RunningProgram program = e.start();
        ASSERT_TRUE(program.started());
        const qulonglong main = e.waitForMainWindow();
        ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

        const qulonglong options = e.openSetup(main);
        ASSERT_NE(options, 0u) << "Help -> Setup showed nothing: " << e.input.visibleWindows();
        Keys_To_Focus(e.input, {"Tab", "Tab", "Tab", "space"});
        const QString addTitle = "^Add New User$";
        const qulonglong add = e.input.waitForWindow(addTitle, 15000);
        ASSERT_NE(add, 0u) << "Add New User showed nothing: " << e.input.visibleWindows();
        ASSERT_TRUE(waitUntil([&] { return e.input.activeWindow() == add; }, 10000));

        Type_To_Focus(e.input, "buyer7");
        Keys_To_Focus(e.input, {"Tab"});
        Type_To_Focus(e.input, "Pass7");
        Keys_To_Focus(e.input, {"Tab"});
        Type_To_Focus(e.input, "Pass7");
        Keys_To_Focus(e.input, {"Tab", "Return"});
        EXPECT_TRUE(e.input.waitForNoWindow(addTitle)) << "Enter did not add the user: " << e.input.visibleWindows();
        EXPECT_TRUE(waitUntil([&] { return e.storedConfig().find("buyer7=Pass7\r\n") != std::string::npos; }, 15000))
            << "the new user was not stored";
        EXPECT_NE(e.storedConfig().find("buyer7=0\r\n"), std::string::npos) << "Enter ticked the password gate";
    }
}

}  // namespace
