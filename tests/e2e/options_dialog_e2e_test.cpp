// The options dialog in the built program under a real X server and window manager, opened from
// the Help menu by keys, under Qt's own desktop theme and under the GTK one: Enter presses "Done"
// and Esc presses "Cancel", and either way the dialog can be opened again; Enter is "Done" in a
// text box and on a check box too.
#include <gtest/gtest.h>

#include <QRect>
#include <functional>
#include <string>

#include "e2e_program.h"

using namespace testsupport;

namespace {

// Under both themes: Enter, keypad Enter and Esc close the dialog from the control it opens on.
// Enter in a text box closes it with what was typed kept; on a check box it closes it with the
// box as it was. (The GTK theme has Enter press a focused check box as Space does, and a frame
// around a box take Enter without passing it on.)
TEST(OptionsDialog, EnterIsDoneAndEscCancelsUnderEveryTheme) {
    for (const char* theme : {"", "gtk3"}) {
        SCOPED_TRACE(std::string("theme '") + theme + "'");
        E2EProgram e;
        e.platformTheme = theme;
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
        const auto openSetup = [&] { return e.openSetup(main); };
        for (const char* key : {"Return", "Escape", "KP_Enter"}) {
            SCOPED_TRACE(key);
            const qulonglong dialog = openSetup();
            ASSERT_NE(dialog, 0u) << "Help -> Setup showed nothing: " << e.input.visibleWindows();
            e.input.key(dialog, key);
            EXPECT_TRUE(e.input.waitForNoWindow(options)) << e.input.visibleWindows();
        }

        // The eMail page (the fifth) by Ctrl+Tab from the tab row, then Tab to its first control,
        // the "Work:" check box.
        const auto toWorkCheckBox = [&]() -> qulonglong {
            const qulonglong dialog = openSetup();
            if (dialog != 0)
                for (const char* key : {"ctrl+Tab", "ctrl+Tab", "ctrl+Tab", "ctrl+Tab", "Tab", "Tab"})
                    e.input.key(dialog, key);
            return dialog;
        };
        qulonglong dialog = toWorkCheckBox();
        ASSERT_NE(dialog, 0u) << "Help -> Setup showed nothing: " << e.input.visibleWindows();
        e.input.key(dialog, "Return");
        EXPECT_TRUE(e.input.waitForNoWindow(options)) << "Enter on a check box: " << e.input.visibleWindows();

        dialog = toWorkCheckBox();
        ASSERT_NE(dialog, 0u) << "Help -> Setup showed nothing: " << e.input.visibleWindows();
        e.input.key(dialog, "Tab");  // the "Work:" address box
        e.input.type(dialog, "buyer@example.com");
        e.input.key(dialog, "Return");
        EXPECT_TRUE(e.input.waitForNoWindow(options)) << "Enter in a text box: " << e.input.visibleWindows();

        // The settings are written a few seconds after the last change.
        EXPECT_TRUE(waitUntil([&] { return e.storedConfig().find("Email0=buyer@example.com") != std::string::npos; },
                              20000))
            << e.storedConfig();
        EXPECT_EQ(e.storedConfig().find("EmailEn0=1"), std::string::npos) << "the check box was pressed";
        EXPECT_EQ(program.process().state(), QProcess::Running);
    }
}

// The update server's box on the Options page (the fourth), reached by keys: Ctrl+Tab from the
// tab row, then Tab through the page's first column. An address the box would refuse is typed;
// Cancel, by Esc or by a click, closes the dialog at once and leaves no server stored. Enter
// (Done) is told that the address is refused and the dialog stays for it to be mended.
TEST(OptionsDialog, CancelDropsARefusedUpdateServerAddress) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const auto wm = Start_Window_Manager(e.x);
    ASSERT_TRUE(wm->ready()) << wm->error();
    e.writeItems({{"160000000002", "Mamiya C330 body", 3 * 86400}});
    e.writeConfig("Sound=0\r\nLastUser=buyer1\r\n");
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

    const QString options = "^Tolvane Rerode II Setup$";
    const auto toServerBox = [&]() -> qulonglong {
        const qulonglong dialog = e.openSetup(main);
        if (dialog == 0) return 0;
        for (int i = 0; i < 3; ++i) e.input.key(dialog, "ctrl+Tab");
        for (int i = 0; i < 15; ++i) e.input.key(dialog, "Tab");
        e.input.type(dialog, "ftp://updates.example.com");
        return dialog;
    };
    struct Way {
        const char* what;
        std::function<void(qulonglong dialog)> cancel;
    };
    const Way ways[] = {
        {"Esc", [&](qulonglong dialog) { e.input.key(dialog, "Escape"); }},
        {"a click on Cancel",
         [&](qulonglong dialog) {
             // The buttons sit along the bottom on the right: Done, Cancel, Help.
             const QRect g = e.input.geometry(dialog);
             e.input.click(dialog, g.width() - 130, g.height() - 18);
         }},
    };
    for (const Way& w : ways) {
        SCOPED_TRACE(w.what);
        const qulonglong dialog = toServerBox();
        ASSERT_NE(dialog, 0u) << "Help -> Setup showed nothing: " << e.input.visibleWindows();
        w.cancel(dialog);
        EXPECT_TRUE(e.input.waitForNoWindow(options)) << e.input.visibleWindows();
        EXPECT_TRUE(e.input.waitForNoWindow("^Tolvane Rerode II$", 1000)) << "a message came";
    }

    const qulonglong dialog = toServerBox();
    ASSERT_NE(dialog, 0u) << "Help -> Setup showed nothing: " << e.input.visibleWindows();
    e.input.key(dialog, "Return");
    const qulonglong said = e.input.waitForWindow("^Tolvane Rerode II$", 10000);
    ASSERT_NE(said, 0u) << "Enter did not check the address: " << e.input.visibleWindows();
    e.input.key(said, "Return");
    EXPECT_FALSE(e.input.waitForNoWindow(options, 1500)) << "the dialog closed on a refused address";
    e.input.key(dialog, "Escape");
    EXPECT_TRUE(e.input.waitForNoWindow(options)) << e.input.visibleWindows();

    waitUntil([] { return false; }, 6000);  // the settings are written a few seconds after a change
    EXPECT_EQ(e.storedConfig().find("UpdateServerURL"), std::string::npos) << e.storedConfig();
    EXPECT_EQ(program.process().state(), QProcess::Running);
}

}  // namespace
