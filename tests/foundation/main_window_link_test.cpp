// The main window's duties as the lower parts reach them: a duty goes to whoever took it on, does
// nothing while nobody holds it, and menu items are named only by their constants.
#include <gtest/gtest.h>

#include <type_traits>

#include "foundation/main_window_link.h"
#include "recording_main_window.h"

using namespace testsupport;
using TLMainLink::MenuItem;

namespace {

// A menu item is named by its constant: text does not stand for one.
static_assert(!std::is_convertible_v<const char*, MenuItem>);
static_assert(!std::is_invocable_v<decltype(&TLMainLink::Menus::menuChecked), const TLMainLink::Menus&, const char*>);
static_assert(!std::is_invocable_v<decltype(&TLMainLink::Menus::setMenuChecked), TLMainLink::Menus&, const char*, bool>);

TEST(MainWindowLink, ADutyNobodyHoldsDoesNothing) {
    TLMainLink::statusLine().setStatus("lost");
    EXPECT_EQ(TLMainLink::statusLine().statusText(), "");
    TLMainLink::menus().setMenuChecked(MenuItem::MnuDBHttpEnabled, true);
    EXPECT_FALSE(TLMainLink::menus().menuChecked(MenuItem::MnuDBHttpEnabled));
    EXPECT_EQ(TLMainLink::window().widget(), nullptr);
    EXPECT_EQ(TLMainLink::itemNumberBox().itemNumberText(), "");
    EXPECT_EQ(TLMainLink::trayAndWheel().wakeUpTipText(), "");
}

TEST(MainWindowLink, EachDutyGoesToWhoeverTookItOn) {
    RecordingMainWindow window;
    {
        RecordingStatusLine status;  // takes the status line only
        TLMainLink::statusLine().setStatus("to the status line");
        TLMainLink::menus().setMenuChecked(MenuItem::MnuDBSuspend, true);
        EXPECT_EQ(status.status, "to the status line");
        EXPECT_EQ(window.status, "");
        EXPECT_TRUE(window.checked[MenuItem::MnuDBSuspend]);
    }
    // Once it goes, the status line is nobody's until the window takes it on again.
    TLMainLink::statusLine().setStatus("lost");
    EXPECT_EQ(window.status, "");
    TLMainLink::registerDuties(&window);
    TLMainLink::statusLine().setStatus("to the window");
    EXPECT_EQ(window.status, "to the window");
    EXPECT_EQ(TLMainLink::window().widget(), &window);

    TLMainLink::toolbar().setToolbarButtonTip(7, "eBay Home");
    TLMainLink::sounds().SoundEffects("AddItem", 2);
    TLMainLink::logBox().showLogBox("log");
    EXPECT_EQ(window.tips[7], "eBay Home");
    ASSERT_EQ(window.played.size(), 1u);
    EXPECT_EQ(window.played[0].repeat, 2);
    EXPECT_TRUE(window.logBoxShown);
}

TEST(MainWindowLink, MenuItemsHaveTheirWindowNames) {
    EXPECT_EQ(TLMainLink::menuItemName(MenuItem::MnuDB), "MnuDB");
    EXPECT_EQ(TLMainLink::menuItemName(MenuItem::MnuDBHttpEnabled), "MnuDBHttpEnabled");
    EXPECT_EQ(TLMainLink::menuItemName(MenuItem::MnuDBNonSession), "MnuDBNonSession");
}

}  // namespace
